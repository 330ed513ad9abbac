#pragma once

#include <QString>
#include <QUrl>

namespace lumasio::runtime {

// What a handler may do with its form: read and set control properties by
// control name, and launch a web address. The Qt form and the in-memory form
// of the tests both implement it, so handlers run unchanged against either.
// Every operation raises the failed-control-call error for a control the form
// doesn't have or whose kind lacks the property.
class Form
{
public:
    Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;
    virtual ~Form() = default;

    // Text of a text box or of a combo box's edit field.
    [[nodiscard]] virtual QString text(QStringView control) const = 0;
    virtual void setText(QStringView control, const QString &text) = 0;

    // Value of an option button: whether it is selected.
    [[nodiscard]] virtual bool value(QStringView control) const = 0;

    virtual void setVisible(QStringView control, bool visible) = 0;

    // Opens the address in the default web browser without waiting for it.
    // Raises the launch error when nothing could be started.
    virtual void launch(const QUrl &address) = 0;
};

// An event handler: a method of the form without arguments, reaching the
// controls only through the form.
using Handler = void (*)(Form &form);

} // namespace lumasio::runtime
