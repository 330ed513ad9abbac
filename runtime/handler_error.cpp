#include "handler_error.h"

namespace lumasio::runtime {

using namespace Qt::StringLiterals;

Error::Error(ErrorKind kind, QString message)
    : m_kind(kind)
    , m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{}

const char *Error::what() const noexcept
{
    return m_utf8.constData();
}

Error Error::typeMismatch(QStringView text)
{
    if (text.trimmed().isEmpty()) {
        return {ErrorKind::TypeMismatch, u"类型不匹配：请输入一个数字。"_s};
    }
    return {ErrorKind::TypeMismatch,
            u"类型不匹配：“%1”不是有效的数字。"_s.arg(quoteForMessage(text))};
}

Error Error::numberOutOfRange(QStringView text)
{
    return {ErrorKind::Overflow,
            u"溢出：“%1”超出了可计算的数值范围。"_s.arg(quoteForMessage(text))};
}

Error Error::integerOverflow()
{
    return {ErrorKind::Overflow, u"溢出：计算结果超出了 -2147483648 到 2147483647 的范围。"_s};
}

Error Error::floatingPoint()
{
    return {ErrorKind::FloatingPoint, u"浮点运算错误：计算结果不是有限的数。"_s};
}

Error Error::controlCall(QStringView control, QStringView property)
{
    return {ErrorKind::ControlCall, u"控件调用失败：%1.%2"_s.arg(control, property)};
}

Error Error::launch(QStringView address)
{
    return {ErrorKind::Launch, u"无法打开网址：%1"_s.arg(address)};
}

QString quoteForMessage(QStringView text)
{
    constexpr qsizetype MaxQuotedLength = 40;
    if (text.size() <= MaxQuotedLength) {
        return text.toString();
    }
    qsizetype cut = MaxQuotedLength;
    if (text[cut - 1].isHighSurrogate() && text[cut].isLowSurrogate()) {
        --cut;
    }
    return text.first(cut).toString() + u'…';
}

} // namespace lumasio::runtime
