#pragma once

#include "form.h"

class QWidget;

namespace lumasio::runtime {

// The control properties of a real window, by the objectName of a widget
// below it. The widgets belong to the window; this only looks
// them up.
class WidgetForm : public Form
{
public:
    explicit WidgetForm(QWidget *window)
        : m_window(window)
    {}

    [[nodiscard]] QString text(QStringView name) const override;
    void setText(QStringView name, const QString &text) override;
    [[nodiscard]] bool value(QStringView name) const override;
    void setVisible(QStringView name, bool visible) override;
    void launch(const QUrl &address) override;

    // Runs a handler the way a user event does: an error it raises is shown
    // in a warning box, never passed on into the event loop, and the program
    // goes on.
    void dispatch(Handler handler);

    // Names each control that labels caption by the front-most of its labels
    // that is not hidden, so a screen reader reads the caption the user sees.
    void nameCaptionedControls();

private:
    [[nodiscard]] QWidget *control(QStringView name, QStringView property) const;

    QWidget *m_window;
};

} // namespace lumasio::runtime
