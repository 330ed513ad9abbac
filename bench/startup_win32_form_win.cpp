// Windows' own floor: Form1's controls at their places (window/form1.ui),
// made as Windows' own controls in 14 pt 宋体, with no Qt. Like the other
// start-up probes it says "first frame" on standard output once the window
// and every control on it are painted, and stays until it is ended.
#include <array>
#include <cstdio>
#include <windows.h>

namespace {

struct Control {
    const wchar_t *windowClass;
    const wchar_t *text;
    DWORD style;
    int x, y, width, height;
};

// The form's controls, their places in the window's client area. The group
// boxes come first, so the controls on them are drawn above them.
constexpr DWORD Child = WS_CHILD | WS_VISIBLE;
const std::array<Control, 20> Controls{{
    {L"BUTTON", L"输入", Child | BS_GROUPBOX, 7, 0, 260, 92},
    {L"BUTTON", L"结果", Child | BS_GROUPBOX, 7, 133, 260, 57},
    {L"BUTTON", L"更多软件", Child | BS_GROUPBOX, 7, 189, 260, 43},
    {L"STATIC", L"", Child | SS_ETCHEDHORZ, 14, 224, 246, 1},
    {L"STATIC", L"更多软件：lumasio.test", Child | SS_NOTIFY, 21, 203, 225, 19},
    {L"STATIC", L"涨停：", Child, 14, 161, 50, 19},
    {L"STATIC", L"跌停：", Child, 140, 161, 50, 19},
    {L"EDIT", L"", Child | WS_BORDER | ES_READONLY, 63, 154, 71, 29},
    {L"EDIT", L"", Child | WS_BORDER | ES_READONLY, 189, 154, 71, 29},
    {L"STATIC", L"昨结价:", Child, 147, 21, 71, 19},
    {L"STATIC", L"状态", Child, 14, 21, 40, 19},
    {L"STATIC", L"结算价:", Child, 147, 21, 71, 19},
    {L"EDIT", L"", Child | WS_BORDER | WS_TABSTOP, 217, 14, 43, 31},
    {L"BUTTON", L"7%", Child | BS_AUTORADIOBUTTON, 21, 63, 43, 15},
    {L"BUTTON", L"8%", Child | BS_AUTORADIOBUTTON, 77, 63, 43, 15},
    {L"BUTTON", L"9%", Child | BS_AUTORADIOBUTTON, 140, 63, 43, 15},
    {L"BUTTON", L"10%", Child | BS_AUTORADIOBUTTON, 203, 63, 57, 15},
    {L"COMBOBOX", L"", Child | CBS_DROPDOWN, 56, 14, 78, 200},
    {L"BUTTON", L"计算", Child | BS_PUSHBUTTON, 35, 98, 190, 36},
    {L"BUTTON", L"", WS_CHILD | BS_PUSHBUTTON, 231, 98, 36, 29},
}};

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

// Windows' own names for the parameters, as its header declares them.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/,
                    int nShowCmd)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = hInstance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"LumasioWin32Form";
    RegisterClassW(&windowClass);
    RECT frame{0, 0, 270, 237};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowW(windowClass.lpszClassName, L"Lumasio", style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, hInstance, nullptr);
    HDC screen = GetDC(nullptr);
    const int pixels = -MulDiv(14, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontW(pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, L"宋体");
    for (const Control &control : Controls) {
        HWND child =
            CreateWindowW(control.windowClass, control.text, control.style, control.x, control.y,
                          control.width, control.height, window, nullptr, hInstance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, nShowCmd);
    // Every control painted now, before the line goes out.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::puts("first frame");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return 0;
}
