#include "form1.h"

#include "calculate.h"
#include "contrast.h"
#include "handlers.h"
#include "product.h"
#include "ui_form1.h"

#include <QDir>
#include <QEvent>

#include <algorithm>

namespace lumasio::window {

using namespace Qt::StringLiterals;

Form1::Form1(QWidget *parent)
    : runtime::FormWindow(parent)
    , m_ui(std::make_unique<::Ui::Form1>())
{
    m_ui->setupUi(this);

    // A fixed-size window: no maximize button and no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    // Every image of the icon in its own size, so the desktop scales and
    // blurs none of them.
    QIcon icon;
    for (const QFileInfo &image : QDir(u":/icons"_s).entryInfoList(QDir::Files)) {
        icon.addFile(image.filePath());
    }
    setWindowIcon(icon);

    const QUrl site = publisherSite();
    m_ui->Label4->setText(u"更多软件："_s + site.host());
    m_ui->Label4->setToolTip(site.toString());

    // The form file keeps whole points only: the window's face is 14.25 pt,
    // which every control takes but the 15 pt boxes.
    QFont exact = font();
    exact.setPointSizeF(14.25);
    setFont(exact);
    growOptionsToFitCaptions();
    // Large bold results need 3:1 against their box, the captions 4.5:1.
    m_meaningColours = {
        {m_ui->Text2, QPalette::Text, QPalette::Base, {}, 3.0},
        {m_ui->Text3, QPalette::Text, QPalette::Base, {}, 3.0},
        {m_ui->Label2, QPalette::WindowText, QPalette::Window, {}, 4.5},
        {m_ui->Label3, QPalette::WindowText, QPalette::Window, {}, 4.5},
    };
    for (MeaningColour &meaning : m_meaningColours) {
        meaning.colour = meaning.control->palette().color(meaning.role);
        keepReadable(meaning);
        meaning.control->installEventFilter(this);
    }
    runtime::showButtonColour(m_ui->Command1);
    m_form.nameCaptionedControls();
    // Label6 lies over Label1: as it shows or hides, the price box's name
    // changes from one caption to the other.
    m_ui->Label6->installEventFilter(this);
    bind();
    // Return in the price box calculates, as if "计算" were the window's
    // default button; on the focused button it clicks it (autoDefault).
    connect(m_ui->Text1, &QLineEdit::returnPressed, m_ui->Command1, &QPushButton::click);
    // The window opens with the focus in the first control of the tab order.
    m_ui->Text1->setFocus(Qt::OtherFocusReason);
}

Form1::~Form1() = default;

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->Label6
        && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        m_form.nameCaptionedControls();
    }
    // The desktop switched theme: a control's palette has just been resolved
    // anew, its background with it.
    if (event->type() == QEvent::PaletteChange) {
        const auto meaning = std::ranges::find(m_meaningColours, watched, &MeaningColour::control);
        if (meaning != m_meaningColours.end()) {
            keepReadable(*meaning);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::keepReadable(const MeaningColour &meaning)
{
    QPalette palette = meaning.control->palette();
    const QColor readable =
        readableOn(meaning.colour, palette.color(meaning.background), meaning.minimumContrast);
    // Setting it sends the control another palette change; it finds the
    // colour already in place.
    if (palette.color(meaning.role) != readable) {
        palette.setColor(meaning.role, readable);
        meaning.control->setPalette(palette);
    }
}

// An option button too small for its caption in the face at hand would cut
// it off: it grows to fit, rightwards and centred vertically on its place.
void Form1::growOptionsToFitCaptions()
{
    for (QWidget *option : {m_ui->Option1, m_ui->Option2, m_ui->Option3, m_ui->Option4}) {
        QRect geometry = option->geometry();
        const QSize needed = option->sizeHint();
        const int grow = std::max(0, needed.height() - geometry.height());
        geometry.adjust(0, -(grow / 2), std::max(0, needed.width() - geometry.width()),
                        grow - grow / 2);
        option->setGeometry(geometry);
    }
}

void Form1::bind()
{
    const auto run = [this](runtime::Handler handler) {
        return [this, handler] { m_form.dispatch(handler); };
    };
    connect(m_ui->Combo1, &runtime::PickComboBox::picked, this, run(&combo1Click));
    connect(m_ui->Command1, &QPushButton::clicked, this, run(&limits::calculate));
    connect(m_ui->Command4, &QPushButton::clicked, this, run(&command4Click));
    connect(m_ui->Label4, &runtime::ClickableLabel::clicked, this, run(&label4Click));
}

std::unique_ptr<QWidget> createForm1()
{
    return std::make_unique<Form1>();
}

} // namespace lumasio::window
