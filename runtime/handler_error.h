#pragma once

#include <QString>

#include <exception>

namespace lumasio::runtime {

enum class ErrorKind {
    TypeMismatch,
    Overflow,
    FloatingPoint,
    ControlCall,
    Launch,
};

// The one error every runtime operation raises. It ends the handler it occurs
// in; the dispatcher shows message() to the user and the program goes on.
class Error : public std::exception
{
public:
    Error(ErrorKind kind, QString message);

    [[nodiscard]] ErrorKind kind() const noexcept { return m_kind; }
    [[nodiscard]] const QString &message() const noexcept { return m_message; }
    [[nodiscard]] const char *what() const noexcept override;

    [[nodiscard]] static Error typeMismatch(QStringView text);
    [[nodiscard]] static Error numberOutOfRange(QStringView text);
    [[nodiscard]] static Error integerOverflow();
    [[nodiscard]] static Error floatingPoint();
    [[nodiscard]] static Error controlCall(QStringView control, QStringView property);
    [[nodiscard]] static Error launch(QStringView address);

private:
    ErrorKind m_kind;
    QString m_message;
    QByteArray m_utf8;
};

// Shortens what the user typed so that an error box quoting it stays readable,
// without splitting a surrogate pair.
[[nodiscard]] QString quoteForMessage(QStringView text);

} // namespace lumasio::runtime
