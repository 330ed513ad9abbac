// Changes the desktop's look the way Windows does, telling every top-level
// window, so a test can change it under a running program:
//
//   desktop_change theme    WM_THEMECHANGED, as a new theme or High Contrast
//                           turned on or off brings
//   desktop_change colours  SetSysColors with the colours as they are, which
//                           sends WM_SYSCOLORCHANGE
//   desktop_change accent   WM_DWMCOLORIZATIONCOLORCHANGED, as a new accent
//                           colour brings, even one a wallpaper slideshow
//                           picks by itself
//   desktop_change dark     the apps' light or dark mode set, then
//   desktop_change light    WM_SETTINGCHANGE "ImmersiveColorSet"
//
// Exits 0 once every window has had the message, 2 on a wrong argument, 1 if
// Windows refused.
#include <array>
#include <cstdio>
#include <cstring>
#include <windows.h>

namespace {

[[nodiscard]] bool broadcast(UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(HWND_BROADCAST, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                               &result)
           != 0;
}

[[nodiscard]] bool setAppsLight(DWORD light)
{
    const wchar_t *key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    for (const wchar_t *value : {L"AppsUseLightTheme", L"SystemUsesLightTheme"}) {
        if (RegSetKeyValueW(HKEY_CURRENT_USER, key, value, REG_DWORD, &light, sizeof light)
            != ERROR_SUCCESS) {
            return false;
        }
    }
    static constexpr std::array<wchar_t, 18> area{L"ImmersiveColorSet"};
    return broadcast(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area.data()));
}

[[nodiscard]] bool resetColours()
{
    const std::array<int, 1> elements{COLOR_WINDOW};
    const std::array<COLORREF, 1> colours{GetSysColor(COLOR_WINDOW)};
    return SetSysColors(int(elements.size()), elements.data(), colours.data()) != FALSE;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: desktop_change theme|colours|accent|dark|light\n", stderr);
        return 2;
    }
    const char *change = argv[1];
    bool done = false;
    if (std::strcmp(change, "theme") == 0) {
        done = broadcast(WM_THEMECHANGED, 0, 0);
    } else if (std::strcmp(change, "colours") == 0) {
        done = resetColours();
    } else if (std::strcmp(change, "accent") == 0) {
        // Windows' own blue, opaque.
        done = broadcast(WM_DWMCOLORIZATIONCOLORCHANGED, 0xff0078d7, TRUE);
    } else if (std::strcmp(change, "dark") == 0 || std::strcmp(change, "light") == 0) {
        done = setAppsLight(std::strcmp(change, "light") == 0 ? 1 : 0);
    } else {
        std::fprintf(stderr, "desktop_change: no change called %s\n", change);
        return 2;
    }
    if (!done) {
        std::fprintf(stderr, "desktop_change: Windows refused the change %s (error %lu)\n", change,
                     GetLastError());
        return 1;
    }
    return 0;
}
