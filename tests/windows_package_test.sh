#!/usr/bin/env bash
# Makes the Windows zip or installer from a finished cross build and tries it
# under Wine the way a user on a bare Windows would: in a fresh prefix, with
# none of the build's DLLs on the path, on a display of its own. The program
# must start from what the package holds, load every DLL it ships and its
# Chinese Qt texts, show its window and quit with status 0 when it is closed.
# The installer must also update an installed copy in place and never replace
# a running one.
# usage: windows_package_test.sh ZIP|NSIS BUILD_DIR WINE_RUN VERSION DESKTOP_CHANGE
# where WINE_RUN is scripts/wine-run, not the build tree's shim, which would
# bring the build's prefix and DLLs along, and DESKTOP_CHANGE the test program
# that changes the desktop's look under a running program.
set -euo pipefail
kind=$1
build=$2
wine_run=$3
version=$4
desktop_change=$5
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
unset LUMASIO_WINE_DLL_DIRS WINEPATH
xvfb=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

# Polls COMMAND... every half second for up to SECONDS.
wait_for() { # seconds, command...
    local tries=$(($1 * 2))
    shift
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.5
    done
}

(cd "$build" && cpack -G "$kind" -B "$work/out" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"
    exit 1
}
package=$(find "$work/out" -maxdepth 1 -type f -name "Lumasio-$version-win64.*" | head -n 1)
[ -n "$package" ] || { echo "no package was made"; cat "$work/cpack.log"; exit 1; }
echo "$(basename "$package"): $(stat -c %s "$package") bytes"

"$wine_run" # the prefix, before the clock of any wait starts
# Qt's messages go to stderr, where a program without a console would send
# them to the debugger.
"$wine_run" reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /d 1 /f >/dev/null

# A display of its own.
# shellcheck source=../scripts/xvfb.sh
source "$source/scripts/xvfb.sh"
start_xvfb "$work" -screen 0 1024x768x24 || exit 1

shipped=(Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libgcc_s_seh-1.dll libstdc++-6.dll
    libwinpthread-1.dll platforms/qwindows.dll styles/qmodernwindowsstyle.dll)
licenses=(NOTICE.txt LICENSE.txt LGPL-3.0.txt GPL-3.0.txt GCC-exception-3.1.txt mingw-w64.txt
    qt-translations.txt qt-third-party.txt)
expected_files() { # extra files...
    printf '%s\n' lumasio.exe qt.conf translations/qtbase_zh_CN.qm "${shipped[@]}" \
        "${licenses[@]/#/licenses/}" "$@" | sort
}
check_files() { # folder, extra files...
    local dir=$1
    shift
    local found
    found=$(cd "$dir" && find . -type f | sed 's|^\./||' | sort)
    check "holds exactly the program, its DLLs, plugins, texts and licences" \
        test "$found" = "$(expected_files "$@")"
    [ "$found" = "$(expected_files "$@")" ] || diff <(echo "$found") <(expected_files "$@") || true
}

# What lets the folder be published: the licences in full, as Debian has
# them; the notice, naming the Qt and the Debian source it was built from;
# and what Qt's DLLs hold, FreeType's credit among it, but nothing of what
# this Qt leaves out (JPEG) or Lumasio doesn't ship (the test library).
check_licenses() { # folder
    local dir=$1/licenses notice
    notice=$(tr -d '\r' <"$dir/NOTICE.txt")
    check "licenses: LGPL-3.0 and GPL-3.0 in full" \
        bash -c 'cmp -s "$1/LGPL-3.0.txt" /usr/share/common-licenses/LGPL-3 &&
            cmp -s "$1/GPL-3.0.txt" /usr/share/common-licenses/GPL-3' _ "$dir"
    check "licenses: Lumasio's own terms" cmp -s "$dir/LICENSE.txt" "$source/LICENSE"
    check "licenses: the GCC Runtime Library Exception 3.1, to its last line" bash -c \
        'grep -qx "Version 3.1, 31 March 2009" "$1" && test "$(tail -n 1 "$1")" = "requirements of the license of GCC."' \
        _ "$dir/GCC-exception-3.1.txt"
    # A paragraph of a copyright file, found by its first line.
    paragraph() { # file, first line
        tr -d '\r' <"$1" | awk -v first="$2" 'BEGIN { RS = "" } index($0, first "\n") == 1 { print; exit }'
    }
    local files debian=/usr/share/doc/mingw-w64-common/copyright
    for files in '*' 'mingw-w64-libraries/winpthreads/*'; do
        check "licenses: the mingw-w64 paragraph on $files, as Debian's copyright file has it" test \
            -n "$(paragraph "$debian" "Files: $files")" -a \
            "$(paragraph "$dir/mingw-w64.txt" "Files: $files")" = "$(paragraph "$debian" "Files: $files")"
    done
    local licence
    for licence in "$source"/third-party/qttranslations/LICENSES/*; do
        check "licenses: the Chinese texts' ${licence##*/}, in full" \
            bash -c '[[ "$(tr -d "\r" <"$1")" == *"$(<"$2")"* ]]' _ "$dir/qt-translations.txt" "$licence"
    done
    check "licenses: the notice opens in Chinese, marked UTF-8" \
        test "$(head -c 12 "$dir/NOTICE.txt" | od -An -tx1 | tr -d ' \n')" = efbbbf4c756d6173696f20e4
    check "licenses: the notice names Qt ${qt_debian%%+*} built from Debian's qt6-base $qt_debian" bash -c \
        'grep -qF "Qt ${2%%+*}" <<<"$1" && grep -qF "qt6-base $2" <<<"$1"' _ "$notice" "$qt_debian"
    # Long lines are broken to fit the installer's page.
    check "licenses: and FreeType's credit" grep -qF \
        "Portions of this software are copyright © 2024 The FreeType Project (www.freetype.org). All rights reserved." \
        <<<"$(tr '\n' ' ' <<<"$notice")"
    # Each at the version Qt's own attributions give it.
    local component version attributions
    attributions="$(sed -n 's/^CMAKE_PREFIX_PATH:PATH=//p' "$build/CMakeCache.txt")/attribution/qt_attribution.json"
    for component in "Freetype 2" HarfBuzz-NG LibPNG PCRE2 "Data Compression Library (zlib)" TinyCBOR \
        WebGradients; do
        version=$(python3 -c 'import json, sys
print(next((e.get("Version", "") for e in json.load(open(sys.argv[1])) if e["Name"] == sys.argv[2]), "?"))' \
            "$attributions" "$component")
        check "licenses: Qt's DLLs hold $component $version" grep -qx "  $component${version:+ $version}" <<<"$notice"
    done
    check "licenses: and its licence text" grep -q "The FreeType Project LICENSE" "$dir/qt-third-party.txt"
    # Each component the notice lists has its section in qt-third-party.txt,
    # titled between a pair of rules of 72 "=", and no section stands there
    # unlisted.
    local listed titled
    listed=$(sed -n '/^编入 Qt 的第三方软件$/,/^GCC 运行库$/p' <<<"$notice" | sed -n 's/^  \([^ ]\)/\1/p')
    titled=$(awk 'BEGIN { rule = sprintf("%72s", ""); gsub(/ /, "=", rule) }
        $0 == rule { rules++; next } rules % 2 == 1' "$dir/qt-third-party.txt")
    check "licenses: every component the notice lists has its section in qt-third-party.txt, and no other" \
        test -n "$listed" -a "$listed" = "$titled"
    [ "$listed" = "$titled" ] || diff <(echo "$listed") <(echo "$titled") || true
    # And each section holds a licence's text: a "--- FILE ---" heading with
    # lines under it.
    local bare
    bare=$(awk 'BEGIN { rule = sprintf("%72s", ""); gsub(/ /, "=", rule) }
        function close_section() { if (title != "" && !text) print title }
        $0 == rule { if (++rules % 2 == 1) { close_section(); text = heading = 0 } next }
        rules % 2 == 1 { title = $0; next }
        /^--- .+ ---$/ { heading = 1; next }
        heading && NF { text = 1 }
        END { close_section() }' "$dir/qt-third-party.txt")
    check "licenses: and each section holds its licence text" test -z "$bare"
    [ -z "$bare" ] || echo "without licence text: $bare"
    check "licenses: but not JPEG, Markdown or the PDF writer's sRGB profile, left out of this Qt, nor the test library's Valgrind or Catch2" \
        bash -c '! grep -qE "^(LibJPEG|MD4C|sRGB color profile|Valgrind|Catch2)" "$1"' _ "$dir/qt-third-party.txt"
}
# The version of Debian's qt6-base source package the Qt was built from.
qt_debian=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)

window_shown() {
    xdotool search --onlyvisible --name '^Lumasio$' >/dev/null 2>&1
}
program_ended() {
    ! kill -0 "$1" 2>/dev/null
}
# Gives a program started in the background SECONDS to end, and ends it if
# it has not. The Wine runner heeds a signal only once its program has
# ended, so the program is ended in the prefix: by its image name, failing
# that with everything else there.
end_program() { # pid, image name, seconds
    wait_for "$3" program_ended "$1" && return
    "$wine_run" taskkill /f /im "$2" >/dev/null 2>&1 || true
    wait_for 10 program_ended "$1" || wineserver -k >/dev/null 2>&1 || true
}

# A program started in the background, whose window is up; closed as a user
# would (taskkill without /f sends WM_CLOSE).
start_program() { # folder
    "$wine_run" "$1/lumasio.exe" >/dev/null 2>&1 &
    program=$!
    check "its window Lumasio appears" wait_for 60 window_shown
}
close_program() {
    "$wine_run" taskkill /im lumasio.exe >/dev/null 2>&1 || true
    end_program "$program" lumasio.exe 30
    wait "$program" || true
}

# Starts the program, waits for its window, closes it and checks how it ended
# and what it loaded.
run_program() { # folder
    local dir=$1
    WINEDEBUG=trace+loaddll,trace+file,trace+system "$wine_run" "$dir/lumasio.exe" >"$work/program.out" 2>"$work/trace" &
    local pid=$!
    check "its window Lumasio appears" wait_for 60 window_shown
    "$wine_run" taskkill /im lumasio.exe >/dev/null 2>&1 || true
    end_program "$pid" lumasio.exe 30
    local status=0
    wait "$pid" || status=$?
    check "closing the window ends it with status 0 (got $status)" test "$status" -eq 0

    # Wine's traces, case-blind and with single forward slashes; the folder
    # as Windows names it is where lumasio.exe was loaded from.
    local trace prefix loaded
    trace=$(tr '[:upper:]' '[:lower:]' <"$work/trace" | sed 's|\\\\|/|g')
    prefix=$(grep -o 'loaddll:.* loaded l"[^"]*/lumasio\.exe"' <<<"$trace" | head -n 1 |
        sed 's|.*loaded l"||; s|lumasio\.exe"$||')
    loaded=$(grep -o 'loaddll:.* loaded l"[^"]*\.dll"' <<<"$trace" | sed 's|.*loaded l"||; s|"$||' |
        while read -r path; do
            if [[ $path == "$prefix"* ]]; then echo "${path#"$prefix"}"; fi
        done | sort -u)
    local shipped_dlls
    shipped_dlls=$(printf '%s\n' "${shipped[@],,}" | sort)
    check "loads every DLL it ships and no other from its folder" test "$loaded" = "$shipped_dlls"
    [ "$loaded" = "$shipped_dlls" ] || diff <(echo "$loaded") <(echo "$shipped_dlls") || true
    check "reads Qt's Chinese texts beside it" \
        grep -qF "createfilew l\"//?/${prefix}translations/qtbase_zh_cn.qm\" generic_read" <<<"$trace"
    # Wine's own record of what the process told Windows, once, whoever did
    # (the manifest, qt.conf's platform arguments or Qt): per-monitor v2,
    # context 0x22 in Wine's numbering.
    local awareness pid
    pid=$(grep -o '^[0-9a-f]*:trace:loaddll:.* loaded l"[^"]*lumasio\.exe"' <<<"$trace" | head -n 1 | cut -d: -f1)
    awareness=$(grep -o "^$pid:trace:system:.*SetProcessDpiAwarenessContext set to 0x[0-9a-f]*" "$work/trace" |
        sed 's/.*Context //' || true)
    check "it runs per-monitor v2 DPI aware" test -n "$pid" -a "$awareness" = "set to 0x22"
    echo "$awareness"
}

# The form's places at 100 % (window/form1.ui), in the window, which is Wine's
# X window without a window manager: the market-state box Combo1 at (56, 14),
# 78 × 27; the price box Text1 at (217, 14), 43 × 31; 计算 at (35, 98),
# 190 × 36; the results from Text2's (63, 154) to Text3's right edge, 29 high;
# and the price label at (147, 21), 71 × 19 but for the pixel under the price
# box's frame. The label reads "结算价:" until "开盘中" is picked.
find_window() { # sets x, y, width and height of the program's window
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '^Lumasio$')")"
    x=$X y=$Y width=$WIDTH height=$HEIGHT
}
crop() { import -window root -crop "$1" -depth 8 rgb:- | sha256sum; }
whole() { crop "${width}x${height}+$x+$y"; }
results() { crop "197x29+$((x + 63))+$((y + 154))"; }
# Types a price over what the box holds, and Return, into whatever has the
# keys; with "click", clicks the price box first. The keys landed there if
# the results changed.
type_price() { # digits, [click]
    local before
    before=$(results)
    [ -z "${2:-}" ] || xdotool mousemove $((x + 238)) $((y + 29)) click 1
    xdotool key ctrl+a
    xdotool type --delay 50 "$1"
    xdotool key Return
    results_changed() { test "$(results)" != "$before"; }
    wait_for 5 results_changed
}
# The desktop's look changed as Windows changes it, told to every window.
change_desktop() { # theme | colours | accent | dark | light
    check "the desktop changes: $1" "$wine_run" "$desktop_change" "$1"
}

# The market-state box and the price box as a person uses them, with real
# clicks and keys through X, while the desktop changes under the program: a
# click on the box's arrow opens its list, which stays open, and a click on an
# item picks it and switches the price label. Keys typed then land in the
# price box once it is clicked, and with no click after the desktop changed,
# as the program keeps the keyboard.
pick_market_states() { # folder
    start_program "$1"
    find_window
    label() { crop "69x19+$((x + 147))+$((y + 21))"; }
    combo() { crop "60x21+$((x + 59))+$((y + 17))"; }
    list() { # the geometry of the open list: the window below the box
        local w geometry
        for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
            geometry=$(xdotool getwindowgeometry --shell "$w")
            grep -qx "X=$((x + 56))" <<<"$geometry" || continue
            echo "$geometry"
            return 0
        done
        return 1
    }
    list_open() { list >/dev/null; }
    list_closed() { ! list_open; }
    local settlement before step row name change price=3000
    settlement=$(label)
    for step in "- 1 未开盘" "theme 0 开盘中" "dark 1 未开盘"; do
        read -r change row name <<<"$step"
        if [ "$change" != - ]; then
            change_desktop "$change"
            sleep 1
            price=$((price + 100))
            check "after the change ($change), keys typed still land in the price box" type_price $price
        fi
        before=$(combo)
        xdotool mousemove $((x + 56 + 78 - 8)) $((y + 14 + 13)) click 1
        check "a click on the arrow opens the list, to pick $name" wait_for 5 list_open
        sleep 1
        check "which stays open" list_open
        local X Y WIDTH HEIGHT SCREEN WINDOW
        eval "$(list)"
        xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * row + 1) / 4)) click 1
        check "a click on $name closes it" wait_for 5 list_closed
        check "and puts $name in the box" test "$(combo)" != "$before"
        if [ "$name" = 未开盘 ]; then
            check "the label reads 结算价:" test "$(label)" = "$settlement"
        else
            check "the label changes from 结算价:" test "$(label)" != "$settlement"
        fi
        price=$((price + 100))
        check "keys typed after a click on the price box land there" type_price $price click
        sleep 1
    done
    change_desktop light
    close_program
}

# After each change of the desktop, the running window is the window a fresh
# start under the new setting shows: a price calculated, and the pointer and
# the keyboard's caret away from it (the focus on 计算). In the dark mode the
# classic look keeps its light palette, as Qt's style sets it.
compare_with_fresh_starts() { # folder
    calculate() {
        find_window
        type_price 3000 click
        xdotool mousemove $((x + 130)) $((y + 116)) click 1 mousemove 0 0
        sleep 1
    }
    start_program "$1"
    calculate
    local fresh change dark
    fresh=$(whole)
    same_as() { test "$(whole)" = "$1"; }
    for change in theme colours accent; do
        change_desktop "$change"
        check "after it ($change) the window is the one a fresh start shows" wait_for 5 same_as "$fresh"
    done
    change_desktop dark
    sleep 2
    dark=$(whole)
    close_program
    start_program "$1"
    calculate
    check "after it (dark) the window is the one a fresh start shows" test "$(whole)" = "$dark"
    change_desktop light
    check "back in the light mode, the window is the one a fresh start shows" wait_for 5 same_as "$fresh"
    close_program
}

# The list of Windows' own DLLs is exact: installing with one of them left
# out, or with one more that nothing imports, fails and names it.
check_windows_dlls() {
    local what change expected out
    while IFS='|' read -r what change expected; do
        sed "/^ *set(LUMASIO_WINDOWS_DLLS /$change" "$build/app/cmake_install.cmake" >"$work/install.cmake"
        out=$(cmake -DCMAKE_INSTALL_PREFIX="$work/dlls" -P "$work/install.cmake" 2>&1 || true)
        check "installing with $what fails and names it" grep -qiF "$expected" <<<"$out"
    done <<'ROWS'
user32.dll left out|s/;user32\.dll//I|Loaded but neither shipped nor Windows' own: USER32.dll
msvcr120.dll added|s/\[\[/[[msvcr120.dll;/|Listed as Windows' own but imported by nothing shipped: msvcr120.dll
ROWS
}

case $kind in
ZIP)
    check_windows_dlls
    mkdir "$work/unzipped"
    (cd "$work/unzipped" && cmake -E tar xf "$package")
    check_files "$work/unzipped"
    check_licenses "$work/unzipped"
    run_program "$work/unzipped"
    pick_market_states "$work/unzipped"
    compare_with_fresh_starts "$work/unzipped"
    ;;
NSIS)
    # Asks for no elevation: Windows shows no UAC prompt.
    check "the installer runs as the invoking user" \
        grep -q 'level="asInvoker"' <<<"$(wrestool -x --raw --type=24 "$package")"
    wrestool -x --type=14 "$package" >"$work/installer.ico"
    check "the installer shows the program's icon, in every size" \
        test "$(icotool -l "$work/installer.ico" | grep -o -- '--width=[0-9]*' | sort -u)" = \
        "$(icotool -l "$source/window/icons/lumasio.ico" | grep -o -- '--width=[0-9]*' | sort -u)"

    installer_exe=$(basename "$package")
    users=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public | head -n 1)
    dir="$users/AppData/Local/Programs/Lumasio"
    programs="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
    shortcut="$programs/Lumasio.lnk"
    uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    key="$uninstall\Lumasio"
    installer_windows() {
        xdotool search --onlyvisible --name '^Lumasio 安装' 2>/dev/null | sort
    }
    has_windows() { # count
        test "$(installer_windows | wc -l)" -eq "$1"
    }
    # Presses Return in one of the installer's windows, looked up again at
    # each try: Wine 10 may answer the first look-up of a new window with an
    # X window it replaces a moment later, and a key sent there goes nowhere.
    press_return() { # only | main | box (the installer's second window)
        local window _
        for _ in 1 2 3 4 5; do
            case $1 in
            only) window=$(installer_windows | head -n 1) ;;
            main) window=$main ;;
            box) window=$(installer_windows | grep -vx "$main" | head -n 1) ;;
            esac
            [ -n "$window" ] && xdotool key --window "$window" Return 2>/dev/null && return 0
            sleep 1
        done
        return 1
    }

    # Windows as Wine plays it: a version by name, or, for Windows 10 of a
    # given build, no name and the build in the registry as Windows keeps it.
    windows_version() { # win7 | win81 | win10 | build number
        local nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
        if [[ $1 == win* ]]; then
            "$wine_run" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f
        else
            "$wine_run" reg delete 'HKCU\Software\Wine' /v Version /f || true
            "$wine_run" reg add "$nt" /v CurrentMajorVersionNumber /t REG_DWORD /d 10 /f
            "$wine_run" reg add "$nt" /v CurrentMinorVersionNumber /t REG_DWORD /d 0 /f
            "$wine_run" reg add "$nt" /v CurrentBuild /d "$1" /f
            "$wine_run" reg add "$nt" /v CurrentBuildNumber /d "$1" /f
        fi >/dev/null 2>&1
    }
    # Refused, the installer ends with status 3 before it writes a thing.
    check_refused() { # what, installer arguments...
        local what=$1 status=0
        shift
        "$wine_run" "$package" "$@" >/dev/null 2>&1 || status=$?
        check "$what: refused with status 3 (got $status)" test "$status" -eq 3
    }
    check_untouched() { # what
        check "$1: no program folder, no shortcut, no entry" bash -c \
            '! test -e "$1" -o -e "$2" && ! "$3" reg query "$4" >/dev/null 2>&1' \
            _ "$dir" "$shortcut" "$wine_run" "$key"
    }
    for older_windows in "win7:Windows 7" "win81:Windows 8.1" "17134:Windows 10 1803 (build 17134)"; do
        windows_version "${older_windows%%:*}"
        check_refused "${older_windows#*:}" /S
        check_untouched "${older_windows#*:}"
    done
    # Shown, it says why in a box of its own and ends when that is closed.
    "$wine_run" "$package" >/dev/null 2>&1 &
    installer=$!
    if check "Windows 10 1803, shown: it says why" wait_for 60 has_windows 1; then
        press_return only || true
    fi
    # One that installs instead stays open on its next page.
    end_program "$installer" "$installer_exe" 20
    status=0
    wait "$installer" || status=$?
    check "and ends with status 3 (got $status)" test "$status" -eq 3
    check_untouched "Windows 10 1803, shown"

    # An update: the same installer made as an older version is there first,
    # on the oldest Windows it allows.
    (cd "$build" && cpack -G NSIS -B "$work/older" -D CPACK_PACKAGE_VERSION=0.9.0.0 \
        >"$work/cpack-older.log" 2>&1) || {
        cat "$work/cpack-older.log"
        exit 1
    }
    older=$(find "$work/older" -maxdepth 1 -type f -name 'Lumasio-*-win64.exe' | head -n 1)
    windows_version 17763
    "$wine_run" "$older" /S || true
    check "the older version installs on Windows 10 1809 (build 17763)" \
        grep -q "DisplayVersion *REG_SZ *0.9.0.0" <<<"$("$wine_run" reg query "$key" 2>/dev/null)"
    # The Windows check comes before the installed copy is touched.
    windows_version win81
    check_refused "Windows 8.1, over an installed copy" /S
    check "which stays as it was" \
        grep -q "DisplayVersion *REG_SZ *0.9.0.0" <<<"$("$wine_run" reg query "$key" 2>/dev/null)"
    check "with its program" test -f "$dir/lumasio.exe"
    windows_version win10

    # Over it this version, then this version once more: each time one copy,
    # one shortcut and one entry, of this version.
    check_installed() { # what
        check_files "$dir" Uninstall.exe
        # The shortcut's target is stored in ANSI, its icon in UTF-16.
        check "$1: one Start-menu shortcut" \
            test "$(find "$programs" -iname '*lumasio*' | wc -l)" -eq 1
        check "$1: to the program" \
            grep -qi 'Programs\\Lumasio\\lumasio.exe$' <<<"$(strings -a "$shortcut" 2>/dev/null)"
        check "$1: with the program's icon" \
            grep -qi 'Programs\\Lumasio\\lumasio.exe$' <<<"$(strings -el "$shortcut" 2>/dev/null)"
        local entries entry
        entries=$("$wine_run" reg query "$uninstall" /s 2>/dev/null || true)
        check "$1: one entry in the list of programs" \
            test "$(grep -c 'DisplayName *REG_SZ *Lumasio$' <<<"$entries")" -eq 1
        entry=$("$wine_run" reg query "$key" 2>/dev/null || true)
        check "$1: the user's, with its uninstaller" \
            grep -qi 'UninstallString.*Uninstall.exe' <<<"$entry"
        check "$1: of version $version" grep -q "DisplayVersion *REG_SZ *$version" <<<"$entry"
        check "$1: none for the machine" \
            bash -c '! "$1" reg query "${2/HKCU/HKLM}" >/dev/null 2>&1' _ "$wine_run" "$key"
    }
    check "the update installs on Windows 10" "$wine_run" "$package" /S
    check_installed "updated"
    check_licenses "$dir"
    check "the same version installs again" "$wine_run" "$package" /S
    check_installed "installed again"
    run_program "$dir"

    # While Lumasio runs, /S waits for it a while, then gives up with status 2
    # and leaves the copy as it was; the uninstaller likewise. In place (_?=)
    # the uninstaller's status is its own, not its temporary copy's.
    start_program "$dir"
    status=0
    "$wine_run" "$package" /S >/dev/null 2>&1 || status=$?
    check "installing while it runs gives up with status 2 (got $status)" test "$status" -eq 2
    status=0
    "$wine_run" "$dir/Uninstall.exe" /S "_?=$("$wine_run" winepath -w "$dir")" >/dev/null 2>&1 || status=$?
    check "uninstalling while it runs gives up with status 2 (got $status)" test "$status" -eq 2
    check "it runs on" kill -0 "$program"
    check_installed "still"
    # Closed while the installer waits, the installer goes on.
    "$wine_run" "$package" /S >/dev/null 2>&1 &
    installer=$!
    sleep 3
    close_program
    end_program "$installer" "$installer_exe" 30
    status=0
    wait "$installer" || status=$?
    check "closed while the installer waits, it installs (status $status)" test "$status" -eq 0
    check_installed "installed once closed"

    # Shown, the installer asks to close Lumasio in a message box (the
    # installer's second window) and, told to retry once it is closed, goes
    # on. Return presses each window's default button: 下一步 on the notice,
    # which asks for no consent, 安装 on the folder page, Retry in the box,
    # 完成 on the last page, which starts Lumasio.
    start_program "$dir"
    "$wine_run" "$package" >/dev/null 2>&1 &
    installer=$!
    if check "the installer shows its window" wait_for 60 has_windows 1; then
        main=$(installer_windows)
        press_return main || true
        sleep 1
        press_return main || true
        if check "and asks to close Lumasio" wait_for 30 has_windows 2; then
            close_program
            sleep 1
            press_return box || true
            check "told to retry once it is closed, it goes on" wait_for 30 has_windows 1
            # Until the last page, Return finds no button to press.
            for _ in $(seq 30); do
                ! program_ended "$installer" || break
                xdotool key --window "$main" Return 2>/dev/null || true
                sleep 2
            done
        fi
    fi
    end_program "$installer" "$installer_exe" 10
    status=0
    wait "$installer" || status=$?
    check "and ends with status 0 (got $status)" test "$status" -eq 0
    check_installed "installed after asking"
    "$wine_run" taskkill /im lumasio.exe >/dev/null 2>&1 || true
    no_window() { ! window_shown; }
    wait_for 30 no_window || true

    # The uninstaller runs a copy of itself from the temporary folder and
    # returns at once; the copy's work shows in the folder going away.
    "$wine_run" "$dir/Uninstall.exe" /S
    check "uninstalling removes the folder" wait_for 60 bash -c '! test -e "$1"' _ "$dir"
    check "and the shortcut" test ! -e "$shortcut"
    check "and the uninstaller entry" bash -c '! "$1" reg query "$2" >/dev/null 2>&1' _ "$wine_run" "$key"
    ;;
*)
    echo "usage: $0 ZIP|NSIS BUILD_DIR WINE_RUN VERSION DESKTOP_CHANGE" >&2
    exit 2
    ;;
esac

check_summary
