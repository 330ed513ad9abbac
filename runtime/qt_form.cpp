#include "qt_form.h"

#include "controls.h"
#include "error.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <cmath>

namespace lumasio::runtime {

using namespace Qt::StringLiterals;

int TwipsScale::toPixels(Twips twips) const
{
    return static_cast<int>(std::lround(twips * m_dotsPerInch / 1440.0));
}

QRect TwipsScale::toPixels(const TwipsRect &rect) const
{
    const int left = toPixels(rect.left);
    const int top = toPixels(rect.top);
    return {left, top, toPixels(rect.left + rect.width) - left,
            toPixels(rect.top + rect.height) - top};
}

namespace {

// The window system's colours, by number, as the nearest palette role.
[[nodiscard]] QPalette::ColorRole systemColourRole(Colour number)
{
    switch (number) {
    case 0: // scroll bar track: a light grey
        return QPalette::Midlight;
    case 5: // window background
        return QPalette::Base;
    case 15: // button face
        return QPalette::Button;
    case 16: // button shadow
        return QPalette::Mid;
    default: // 8, window text, and anything unknown
        return QPalette::WindowText;
    }
}

[[nodiscard]] QColor toQColor(Colour colour, const QPalette &palette)
{
    if ((colour & SystemColourFlag) != 0) {
        return palette.color(systemColourRole(colour & ~SystemColourFlag));
    }
    return QColor(static_cast<int>(colour & 0xFFU), static_cast<int>((colour >> 8) & 0xFFU),
                  static_cast<int>((colour >> 16) & 0xFFU));
}

[[nodiscard]] QFont toQFont(const FontDescription &font)
{
    QFont result(font.face.toString());
    result.setPointSizeF(font.points);
    result.setWeight(static_cast<QFont::Weight>(font.weight));
    return result;
}

[[nodiscard]] double logicalDotsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

[[nodiscard]] QWidget *createWidget(const ControlDescription &control, const TwipsScale &scale,
                                    QWidget *parent)
{
    switch (control.kind) {
    case ControlKind::CommandButton:
        return new QPushButton(control.caption.toString(), parent);
    case ControlKind::Frame: {
        auto *frame = new QGroupBox(control.caption.toString(), parent);
        frame->setFocusPolicy(Qt::NoFocus);
        return frame;
    }
    case ControlKind::ComboBox: {
        auto *combo = new PickComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const QStringView item : control.items) {
            combo->addItem(item.toString());
        }
        combo->setCurrentIndex(-1);
        combo->setEditText(control.caption.toString());
        return combo;
    }
    case ControlKind::OptionButton: {
        auto *option = new QRadioButton(control.caption.toString(), parent);
        option->setChecked(control.selected);
        return option;
    }
    case ControlKind::TextBox:
        return new QLineEdit(control.caption.toString(), parent);
    case ControlKind::Label:
        return new ClickableLabel(control.caption.toString(), parent);
    case ControlKind::Line: {
        const TwipsRect &g = control.geometry;
        const QPoint from(scale.toPixels(g.left), scale.toPixels(g.top));
        const QPoint to(scale.toPixels(g.left + g.width), scale.toPixels(g.top + g.height));
        return new LineWidget(from, to, parent);
    }
    }
    return nullptr;
}

// Text colours and a button's face colour. Only controls with colours of
// their own get a palette of their own; the rest share the window's.
void applyColours(QWidget *widget, const ControlDescription &control)
{
    QPalette palette = widget->palette();
    if (control.foreground) {
        const QColor colour = toQColor(*control.foreground, palette);
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::Text, colour);
        palette.setColor(QPalette::ButtonText, colour);
    }
    if (control.background) {
        palette.setColor(QPalette::Button, toQColor(*control.background, palette));
        // Native button styles ignore the palette's button colour; Fusion
        // draws it on every platform.
        if (qobject_cast<QPushButton *>(widget) != nullptr
            && QApplication::style()->name().compare(u"fusion"_s, Qt::CaseInsensitive) != 0) {
            if (QStyle *fusion = QStyleFactory::create(u"Fusion"_s)) {
                fusion->setParent(widget);
                widget->setStyle(fusion);
            }
        }
    }
    widget->setPalette(palette);
}

} // namespace

QtForm::QtForm(const FormDescription &description)
    : m_window(std::make_unique<QWidget>())
{
    const TwipsScale scale(logicalDotsPerInch());

    QWidget *window = m_window.get();
    window->setObjectName(description.name.toString());
    window->setWindowTitle(description.caption.toString());
    window->setFont(toQFont(description.defaultFont));
    // A fixed-size window: no maximize button and no resizing.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint);
    window->setFixedSize(scale.toPixels(description.clientWidth),
                         scale.toPixels(description.clientHeight));
    if (!description.icon.empty()) {
        QIcon icon;
        for (const IconImage &image : description.icon) {
            icon.addFile(image.file.toString(), QSize(image.size, image.size));
        }
        window->setWindowIcon(icon);
    }
    m_controls.insert(description.name.toString(), window);

    for (const ControlDescription &control : description.controls) {
        createControl(control, scale);
    }
    // The description lists controls front to back; Qt stacks later siblings
    // on top, so raise them from the back forwards.
    for (auto it = description.controls.rbegin(); it != description.controls.rend(); ++it) {
        if (QWidget *widget = m_controls.value(it->name.toString())) {
            widget->raise();
        }
    }
    applyTabOrder(description.controls);
    linkBuddies(description.controls);
    for (const EventBinding &binding : description.bindings) {
        bind(binding);
    }
}

QtForm::~QtForm() = default;

void QtForm::createControl(const ControlDescription &control, const TwipsScale &scale)
{
    QWidget *parent = m_controls.value(control.container.toString());
    Q_ASSERT_X(parent != nullptr, "QtForm", "a container must be listed before its controls");
    if (parent == nullptr) {
        return;
    }
    QWidget *widget = createWidget(control, scale, parent);
    widget->setObjectName(control.name.toString());
    if (control.font) {
        widget->setFont(toQFont(*control.font));
    }
    if (control.kind != ControlKind::Line) {
        QRect geometry = scale.toPixels(control.geometry);
        // An option button too small for its caption in the face at hand
        // would cut it off: it grows to fit, rightwards and centred
        // vertically on its place.
        if (control.kind == ControlKind::OptionButton) {
            const QSize needed = widget->sizeHint();
            const int grow = std::max(0, needed.height() - geometry.height());
            geometry.adjust(0, -(grow / 2), std::max(0, needed.width() - geometry.width()),
                            grow - grow / 2);
        }
        widget->setGeometry(geometry);
    }

    if (control.foreground || control.background) {
        applyColours(widget, control);
    }
    if (control.opaque) {
        widget->setAutoFillBackground(true);
    }
    if (control.cursor == Cursor::PointingHand) {
        widget->setCursor(Qt::PointingHandCursor);
    }
    if (!control.toolTip.isEmpty()) {
        widget->setToolTip(control.toolTip.toString());
    }
    const QStringView name =
        control.accessibleName.isEmpty() ? control.caption : control.accessibleName;
    if (!name.isEmpty()) {
        widget->setAccessibleName(name.toString());
    }
    if (control.tabIndex < 0 || !control.visible) {
        widget->setFocusPolicy(Qt::NoFocus);
    }
    widget->setVisible(control.visible);
    m_controls.insert(control.name.toString(), widget);
}

void QtForm::applyTabOrder(std::span<const ControlDescription> controls)
{
    std::vector<const ControlDescription *> ordered;
    for (const ControlDescription &control : controls) {
        const QWidget *widget = m_controls.value(control.name.toString());
        if (control.tabIndex >= 0 && widget != nullptr && widget->focusPolicy() != Qt::NoFocus) {
            ordered.push_back(&control);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto *a, const auto *b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < ordered.size(); ++i) {
        QWidget::setTabOrder(m_controls.value(ordered[i - 1]->name.toString()),
                             m_controls.value(ordered[i]->name.toString()));
    }
    // The window opens with the focus in the first control of the tab order.
    if (!ordered.empty()) {
        m_controls.value(ordered.front()->name.toString())->setFocus(Qt::OtherFocusReason);
    }
}

void QtForm::linkBuddies(std::span<const ControlDescription> controls)
{
    for (const ControlDescription &control : controls) {
        auto *label = qobject_cast<QLabel *>(m_controls.value(control.name.toString()));
        QWidget *buddy = m_controls.value(control.buddy.toString());
        if (label != nullptr && buddy != nullptr) {
            label->setBuddy(buddy);
            m_captions.append(label);
        }
    }
    updateAccessibleNames();
}

// A captioned control is named by the front-most of its labels that is not
// hidden: Text1 reads "结算价:" or "昨结价:" as the market state switches.
void QtForm::updateAccessibleNames()
{
    QSet<QWidget *> named;
    for (const QPointer<QLabel> &label : std::as_const(m_captions)) {
        QWidget *buddy = label ? label->buddy() : nullptr;
        if (buddy != nullptr && !label->isHidden() && !named.contains(buddy)) {
            buddy->setAccessibleName(label->text());
            named.insert(buddy);
        }
    }
}

void QtForm::bind(const EventBinding &binding)
{
    QWidget *widget = m_controls.value(binding.control.toString());
    const Handler handler = binding.handler;
    if (widget == nullptr || handler == nullptr) {
        return;
    }
    const auto run = [this, handler] { dispatch(handler); };
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QObject::connect(button, &QPushButton::clicked, window(), run);
    } else if (auto *combo = qobject_cast<PickComboBox *>(widget)) {
        QObject::connect(combo, &PickComboBox::picked, window(), run);
    } else if (auto *label = qobject_cast<ClickableLabel *>(widget)) {
        QObject::connect(label, &ClickableLabel::clicked, window(), run);
    }
}

void QtForm::dispatch(Handler handler)
{
    try {
        handler(*this);
    } catch (const Error &error) {
        showErrorBox(window(), error.message());
    } catch (const std::exception &error) {
        showErrorBox(window(), u"内部错误：%1"_s.arg(QString::fromUtf8(error.what())));
    }
}

QWidget *QtForm::control(QStringView name, QStringView property) const
{
    QWidget *widget = m_controls.value(name.toString());
    if (widget == nullptr) {
        throw Error::controlCall(name, property);
    }
    return widget;
}

QString QtForm::text(QStringView name) const
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

void QtForm::setText(QStringView name, const QString &text)
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

bool QtForm::value(QStringView name) const
{
    if (const auto *option = qobject_cast<QRadioButton *>(control(name, u"Value"))) {
        return option->isChecked();
    }
    throw Error::controlCall(name, u"Value");
}

void QtForm::setVisible(QStringView name, bool visible)
{
    QWidget *widget = control(name, u"Visible");
    widget->setVisible(visible);
    if (qobject_cast<QLabel *>(widget) != nullptr) {
        updateAccessibleNames();
    }
}

void QtForm::launch(const QUrl &address)
{
    if (!address.isValid() || !QDesktopServices::openUrl(address)) {
        throw Error::launch(address.toDisplayString());
    }
}

void showErrorBox(QWidget *window, const QString &message)
{
    const QString title =
        window != nullptr ? window->windowTitle() : QApplication::applicationDisplayName();
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace lumasio::runtime
