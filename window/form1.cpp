#include "form1.h"

#include "calculate.h"
#include "market_state.h"
#include "publisher.h"

namespace lumasio::window {

namespace {

using runtime::ControlDescription;
using runtime::ControlKind;
using runtime::Cursor;
using runtime::EventBinding;
using runtime::FontDescription;

constexpr int ChineseGb2312 = 134;
constexpr int Normal = 400;
constexpr int Bold = 700;

constexpr FontDescription ChoiceFont{u"宋体", ChineseGb2312, 14.25, Normal};
constexpr FontDescription InputFont{u"宋体", ChineseGb2312, 15.0, Bold};
constexpr FontDescription CaptionFont{u"宋体", ChineseGb2312, 14.25, Bold};

constexpr runtime::Colour Red = 0x0000'00FF;
constexpr runtime::Colour Green = 0x0000'8000;
constexpr runtime::Colour Orange = 0x0000'80FF;
constexpr runtime::Colour ScrollBarGrey = runtime::SystemColourFlag | 0U;

constexpr QStringView MarketStates[] = {MarketState::Open, MarketState::NotOpen};

constexpr runtime::IconImage Icon[] = {{u":/icons/lumasio-32.png", 32},
                                       {u":/icons/lumasio-48.png", 48}};

// Front to back: Label6 lies in front of Label1 in the same place, so hiding
// it lets "昨结价:" show through.
constexpr ControlDescription Controls[] = {
    {.name = u"Command4",
     .kind = ControlKind::CommandButton,
     .container = u"Form1",
     .caption = u"Command4",
     .geometry = {3465, 1470, 540, 435},
     .tabIndex = 18,
     .visible = false},
    {.name = u"Command1",
     .kind = ControlKind::CommandButton,
     .container = u"Form1",
     .caption = u"计算",
     .geometry = {525, 1470, 2850, 540},
     .tabIndex = 6,
     .background = Orange},
    {.name = u"Frame1",
     .kind = ControlKind::Frame,
     .container = u"Form1",
     .geometry = {105, 0, 3900, 1380},
     .tabIndex = 0,
     .accessibleName = u"输入"},
    {.name = u"Combo1",
     .kind = ControlKind::ComboBox,
     .container = u"Frame1",
     .geometry = {735, 210, 1170, 405},
     .tabIndex = 15,
     .font = ChoiceFont,
     .items = MarketStates},
    {.name = u"Option4",
     .kind = ControlKind::OptionButton,
     .container = u"Frame1",
     .caption = u"10%",
     .geometry = {2940, 945, 855, 225},
     .tabIndex = 12,
     .font = ChoiceFont},
    {.name = u"Option3",
     .kind = ControlKind::OptionButton,
     .container = u"Frame1",
     .caption = u"9%",
     .geometry = {1995, 945, 645, 225},
     .tabIndex = 11,
     .font = ChoiceFont},
    {.name = u"Option2",
     .kind = ControlKind::OptionButton,
     .container = u"Frame1",
     .caption = u"8%",
     .geometry = {1050, 945, 645, 225},
     .tabIndex = 5,
     .font = ChoiceFont},
    {.name = u"Option1",
     .kind = ControlKind::OptionButton,
     .container = u"Frame1",
     .caption = u"7%",
     .geometry = {210, 945, 645, 225},
     .tabIndex = 4,
     .font = ChoiceFont,
     .selected = true},
    {.name = u"Text1",
     .kind = ControlKind::TextBox,
     .container = u"Frame1",
     .geometry = {3150, 210, 645, 465},
     .tabIndex = 3,
     .font = InputFont},
    {.name = u"Label6",
     .kind = ControlKind::Label,
     .container = u"Frame1",
     .caption = u"结算价:",
     .geometry = {2100, 315, 1065, 285},
     .tabIndex = 17,
     .font = CaptionFont,
     .opaque = true,
     .buddy = u"Text1"},
    {.name = u"Label5",
     .kind = ControlKind::Label,
     .container = u"Frame1",
     .caption = u"状态",
     .geometry = {105, 315, 600, 285},
     .tabIndex = 16,
     .font = CaptionFont,
     .buddy = u"Combo1"},
    {.name = u"Label1",
     .kind = ControlKind::Label,
     .container = u"Frame1",
     .caption = u"昨结价:",
     .geometry = {2100, 315, 1065, 285},
     .tabIndex = 2,
     .font = CaptionFont,
     .buddy = u"Text1"},
    {.name = u"Frame2",
     .kind = ControlKind::Frame,
     .container = u"Form1",
     .geometry = {105, 1995, 3900, 855},
     .tabIndex = 1,
     .accessibleName = u"结果"},
    {.name = u"Text3",
     .kind = ControlKind::TextBox,
     .container = u"Frame2",
     .geometry = {2730, 315, 1065, 435},
     .tabIndex = 8,
     .font = InputFont,
     .foreground = Green},
    {.name = u"Text2",
     .kind = ControlKind::TextBox,
     .container = u"Frame2",
     .geometry = {840, 315, 1065, 435},
     .tabIndex = 7,
     .font = InputFont,
     .foreground = Red},
    {.name = u"Label3",
     .kind = ControlKind::Label,
     .container = u"Frame2",
     .caption = u"跌停：",
     .geometry = {1995, 420, 750, 285},
     .tabIndex = 10,
     .font = ChoiceFont,
     .foreground = Green,
     .buddy = u"Text3"},
    {.name = u"Label2",
     .kind = ControlKind::Label,
     .container = u"Frame2",
     .caption = u"涨停：",
     .geometry = {105, 420, 750, 285},
     .tabIndex = 9,
     .font = ChoiceFont,
     .foreground = Red,
     .buddy = u"Text2"},
    {.name = u"Frame3",
     .kind = ControlKind::Frame,
     .container = u"Form1",
     .geometry = {105, 2835, 3900, 645},
     .tabIndex = 13,
     .accessibleName = u"更多软件"},
    // From (105, 525) to (3780, 525).
    {.name = u"Line1",
     .kind = ControlKind::Line,
     .container = u"Frame3",
     .geometry = {105, 525, 3675, 0},
     .foreground = ScrollBarGrey,
     .accessibleName = u"分隔线"},
    {.name = u"Label4",
     .kind = ControlKind::Label,
     .container = u"Frame3",
     .caption = u"更多软件：" LUMASIO_PUBLISHER_HOST,
     .geometry = {210, 210, 3375, 285},
     .tabIndex = 14,
     .font = ChoiceFont,
     .cursor = Cursor::PointingHand,
     .toolTip = LUMASIO_PUBLISHER_SITE},
};

constexpr EventBinding Bindings[] = {
    {.control = u"Combo1", .handler = &combo1Click},
    {.control = u"Command1", .handler = &limits::calculate},
    {.control = u"Command4", .handler = &command4Click},
    {.control = u"Label4", .handler = &label4Click},
};

constexpr runtime::FormDescription Form1{
    .name = u"Form1",
    .caption = u"Lumasio",
    .clientWidth = 4050,
    .clientHeight = 3555,
    // The form's own font, for the "计算" button: the face and size of the
    // option buttons, so one font serves both.
    .defaultFont = ChoiceFont,
    .icon = Icon,
    .controls = Controls,
    .bindings = Bindings,
};

constexpr runtime::ProjectDescription Project{
    .name = u"Lumasio",
    .version = LUMASIO_VERSION,
    .desktopFileName = LUMASIO_APP_ID,
    .startupForm = &Form1,
};

} // namespace

const runtime::FormDescription &form1()
{
    return Form1;
}

const runtime::ProjectDescription &project()
{
    return Project;
}

} // namespace lumasio::window
