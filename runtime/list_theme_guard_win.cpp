#include "list_theme_guard.h"

#include <qt_windows.h>

#include <array>
#include <string_view>

namespace lumasio::runtime {

namespace {

// The style's name for the window's class; Qt puts its version in front and,
// where another Qt in the process took the name first, a UUID behind.
constexpr std::wstring_view ListThemeWindowClass = L"QTreeViewThemeHelperWindowClass";

// A thread's CBT hook is asked before any of its windows is activated; a
// non-zero answer refuses it, and the active window stays as it was.
LRESULT CALLBACK refuseListThemeActivation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        std::array<wchar_t, 256> name{};
        // For HCBT_ACTIVATE the hook's word parameter is the window.
        const auto window = reinterpret_cast<HWND>(wParam); // NOLINT(performance-no-int-to-ptr)
        const int length = GetClassNameW(window, name.data(), int(name.size()));
        if (length > 0
            && std::wstring_view(name.data(), std::size_t(length)).find(ListThemeWindowClass)
                   != std::wstring_view::npos) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void guardListTheme()
{
    // For the life of the thread, which is the program's.
    [[maybe_unused]] static const HHOOK hook =
        SetWindowsHookExW(WH_CBT, &refuseListThemeActivation, nullptr, GetCurrentThreadId());
}

} // namespace lumasio::runtime
