#pragma once

#include "widget_form.h"

#include <QWidget>

#include <memory>

namespace Ui {
class Form1;
}

namespace lumasio::window {

// The program's one window, laid out in form1.ui. Its four Clicks run their
// handlers through the window's control properties.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

private:
    void applyExactFontSizes();
    void growOptionsToFitCaptions();
    void bind();

    // The typed widgets of form1.ui, owned by this window as their parent.
    std::unique_ptr<::Ui::Form1> m_ui;
    runtime::WidgetForm m_form{this};
};

// Form1 as the start-up window.
[[nodiscard]] std::unique_ptr<QWidget> createForm1();

} // namespace lumasio::window
