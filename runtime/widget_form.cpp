#include "widget_form.h"

#include "handler_error.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSet>

namespace lumasio::runtime {

using namespace Qt::StringLiterals;

namespace {

// The warning box titled with the window's title, the message shown as plain
// text so that markup a user typed is never rendered.
void showErrorBox(QWidget *window, const QString &message)
{
    QMessageBox box(QMessageBox::Warning, window->windowTitle(), message, QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void WidgetForm::dispatch(Handler handler)
{
    try {
        handler(*this);
    } catch (const Error &error) {
        showErrorBox(m_window, error.message());
    } catch (const std::exception &error) {
        showErrorBox(m_window, u"内部错误：%1"_s.arg(QString::fromUtf8(error.what())));
    }
}

QWidget *WidgetForm::control(QStringView name, QStringView property) const
{
    auto *widget = m_window->findChild<QWidget *>(name.toString());
    if (widget == nullptr) {
        throw Error::controlCall(name, property);
    }
    return widget;
}

QString WidgetForm::text(QStringView name) const
{
    QWidget *widget = control(name, u"Text");
    if (const auto *edit = qobject_cast<QLineEdit *>(widget)) {
        return edit->text();
    }
    if (const auto *combo = qobject_cast<QComboBox *>(widget)) {
        return combo->currentText();
    }
    throw Error::controlCall(name, u"Text");
}

void WidgetForm::setText(QStringView name, const QString &text)
{
    QWidget *widget = control(name, u"Text");
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(text);
        return;
    }
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        combo->setEditText(text);
        return;
    }
    throw Error::controlCall(name, u"Text");
}

bool WidgetForm::value(QStringView name) const
{
    const auto *button = qobject_cast<QAbstractButton *>(control(name, u"Value"));
    if (button != nullptr && button->isCheckable()) {
        return button->isChecked();
    }
    throw Error::controlCall(name, u"Value");
}

void WidgetForm::setVisible(QStringView name, bool visible)
{
    control(name, u"Visible")->setVisible(visible);
}

void WidgetForm::launch(const QUrl &address)
{
    if (!QDesktopServices::openUrl(address)) {
        throw Error::launch(address.toDisplayString());
    }
}

void WidgetForm::nameCaptionedControls()
{
    // Later siblings lie in front, so walk the labels back to front and let
    // the front-most visible one win.
    const QList<QLabel *> labels = m_window->findChildren<QLabel *>();
    QSet<QWidget *> named;
    for (auto it = labels.crbegin(); it != labels.crend(); ++it) {
        QLabel *label = *it;
        QWidget *buddy = label->buddy();
        if (buddy != nullptr && !label->isHidden() && !named.contains(buddy)) {
            buddy->setAccessibleName(label->text());
            named.insert(buddy);
        }
    }
}

} // namespace lumasio::runtime
