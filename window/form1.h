#pragma once

#include "form_window.h"
#include "widget_form.h"

#include <QColor>
#include <QPalette>

#include <memory>
#include <vector>

namespace Ui {
class Form1;
}

namespace lumasio::window {

// The program's one window, laid out in form1.ui. Its four Clicks run their
// handlers through the window's control properties.
class Form1 : public runtime::FormWindow
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A colour that carries meaning (red up, green down) and the background
    // it must read against.
    struct MeaningColour {
        QWidget *control;
        QPalette::ColorRole role;
        QPalette::ColorRole background;
        QColor colour;
        double minimumContrast;
    };

    void keepReadable(const MeaningColour &meaning);
    void growOptionsToFitCaptions();
    void bind();

    // The typed widgets of form1.ui, owned by this window as their parent.
    std::unique_ptr<::Ui::Form1> m_ui;
    runtime::WidgetForm m_form{this};
    std::vector<MeaningColour> m_meaningColours;
};

// Form1 as the start-up window.
[[nodiscard]] std::unique_ptr<QWidget> createForm1();

} // namespace lumasio::window
