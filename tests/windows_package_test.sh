#!/usr/bin/env bash
# Makes the Windows zip or installer from a finished cross build and tries it
# under Wine the way a user on a bare Windows would: in a fresh prefix, with
# none of the build's DLLs on the path, on a display of its own. The program
# must start from what the package holds, load every DLL it ships and its
# Chinese Qt texts, show its window and quit with status 0 when it is closed.
# usage: windows_package_test.sh ZIP|NSIS BUILD_DIR WINE_RUN VERSION
# where WINE_RUN is scripts/wine-run, not the build tree's shim, which would
# bring the build's prefix and DLLs along.
set -euo pipefail
kind=$1
build=$2
wine_run=$3
version=$4
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

# A display of its own: -displayfd picks a free number without the race two
# xvfb-run -a started together can lose.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
wait_for 20 test -s "$work/display" || { cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

shipped=(Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libgcc_s_seh-1.dll libstdc++-6.dll
    libwinpthread-1.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll)
expected_files() { # extra files...
    printf '%s\n' lumasio.exe qt.conf translations/qtbase_zh_CN.qm "${shipped[@]}" "$@" | sort
}
check_files() { # folder, extra files...
    local dir=$1
    shift
    local found
    found=$(cd "$dir" && find . -type f | sed 's|^\./||' | sort)
    check "holds exactly the program, its DLLs, plugins and texts" \
        test "$found" = "$(expected_files "$@")"
    [ "$found" = "$(expected_files "$@")" ] || diff <(echo "$found") <(expected_files "$@") || true
}

window_shown() {
    xdotool search --onlyvisible --name '^Lumasio$' >/dev/null 2>&1
}
program_ended() {
    ! kill -0 "$1" 2>/dev/null
}

# Starts the program, waits for its window, closes it as a user would (taskkill
# without /f sends WM_CLOSE) and checks how it ended and what it loaded.
run_program() { # folder
    local dir=$1
    WINEDEBUG=trace+loaddll,trace+file "$wine_run" "$dir/lumasio.exe" >"$work/program.out" 2>"$work/trace" &
    local pid=$!
    check "its window Lumasio appears" wait_for 60 window_shown
    "$wine_run" taskkill /im lumasio.exe >/dev/null 2>&1 || true
    if ! wait_for 30 program_ended "$pid"; then
        kill "$pid" 2>/dev/null || true
    fi
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
}

case $kind in
ZIP)
    mkdir "$work/unzipped"
    (cd "$work/unzipped" && cmake -E tar xf "$package")
    check_files "$work/unzipped"
    run_program "$work/unzipped"
    ;;
NSIS)
    # Asks for no elevation: Windows shows no UAC prompt.
    check "the installer runs as the invoking user" \
        grep -q 'level="asInvoker"' <<<"$(wrestool -x --raw --type=24 "$package")"
    "$wine_run" "$package" /S
    users=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public | head -n 1)
    dir="$users/AppData/Local/Programs/Lumasio"
    shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Lumasio.lnk"
    key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumasio'
    check_files "$dir" Uninstall.exe
    # The shortcut's target is stored in ANSI, its icon in UTF-16.
    check "a Start-menu shortcut to the program" \
        grep -qi 'Programs\\Lumasio\\lumasio.exe$' <<<"$(strings -a "$shortcut" 2>/dev/null)"
    check "with the program's icon" \
        grep -qi 'Programs\\Lumasio\\lumasio.exe$' <<<"$(strings -el "$shortcut" 2>/dev/null)"
    entry=$("$wine_run" reg query "$key" 2>/dev/null || true)
    check "an uninstaller entry for the user" grep -qi 'UninstallString.*Uninstall.exe' <<<"$entry"
    check "of version $version" grep -q "DisplayVersion *REG_SZ *$version" <<<"$entry"
    check "none for the machine" bash -c '! "$1" reg query "${2/HKCU/HKLM}" >/dev/null 2>&1' _ "$wine_run" "$key"
    run_program "$dir"

    # The uninstaller runs a copy of itself from the temporary folder and
    # returns at once; the copy's work shows in the folder going away.
    "$wine_run" "$dir/Uninstall.exe" /S
    check "uninstalling removes the folder" wait_for 60 bash -c '! test -e "$1"' _ "$dir"
    check "and the shortcut" test ! -e "$shortcut"
    check "and the uninstaller entry" bash -c '! "$1" reg query "$2" >/dev/null 2>&1' _ "$wine_run" "$key"
    ;;
*)
    echo "usage: $0 ZIP|NSIS BUILD_DIR WINE_RUN VERSION" >&2
    exit 2
    ;;
esac

check_summary
