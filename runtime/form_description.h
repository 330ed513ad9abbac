#pragma once

#include "form.h"

#include <QStringView>

#include <cstdint>
#include <optional>
#include <span>

namespace lumasio::runtime {

// Positions and sizes are in twips, 1/1440 inch: 15 twips make one pixel at
// 96 dots per inch.
using Twips = int;

// 0x00BBGGRR. With the top bit set, the low bits are a system colour number.
using Colour = std::uint32_t;
constexpr Colour SystemColourFlag = 0x8000'0000U;

enum class ControlKind {
    CommandButton,
    Frame,
    ComboBox,
    OptionButton,
    TextBox,
    Label,
    Line,
};

struct FontDescription {
    QStringView face = {};
    int charset = 0;
    double points = 9.0;
    int weight = 400;
};

// A line's geometry runs from (left, top) to (left + width, top + height).
struct TwipsRect {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;
};

enum class Cursor {
    Default,
    PointingHand,
};

struct ControlDescription {
    QStringView name = {};
    ControlKind kind = ControlKind::Label;
    QStringView container = {}; // the form's name or a frame's
    QStringView caption = {};   // caption, or initial text of a text or combo box
    TwipsRect geometry = {};
    int tabIndex = -1; // -1: not in the tab order
    std::optional<FontDescription> font = {};
    std::optional<Colour> foreground = {};
    std::optional<Colour> background = {};
    std::span<const QStringView> items = {}; // a combo box's list
    bool visible = true;
    bool selected = false; // an option button's initial Value
    bool opaque = false;   // a label that hides what lies behind it
    Cursor cursor = Cursor::Default;
    QStringView toolTip = {};
    // A label names the control it captions: a screen reader reads the label
    // with that control's value.
    QStringView buddy = {};
    // What a screen reader calls a control without a caption of its own.
    QStringView accessibleName = {};
};

using Handler = void (*)(Form &form);

enum class Event {
    Click,
};

struct EventBinding {
    QStringView control = {};
    Event event = Event::Click;
    Handler handler = nullptr;
};

// One image of the window icon: a Qt resource path and its square size in
// pixels. Knowing the size lets the image load only when it is drawn.
struct IconImage {
    QStringView file = {};
    int size = 0;
};

struct FormDescription {
    QStringView name = {};
    QStringView caption = {};
    Twips clientWidth = 0;
    Twips clientHeight = 0;
    FontDescription defaultFont = {};
    std::span<const IconImage> icon = {};
    // Controls in their stacking order: a later control lies behind an
    // earlier one of the same container.
    std::span<const ControlDescription> controls = {};
    std::span<const EventBinding> bindings = {};
};

} // namespace lumasio::runtime
