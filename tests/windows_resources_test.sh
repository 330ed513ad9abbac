#!/usr/bin/env bash
# Reads the resources of the Windows executable as Windows would show them:
# the version in the file's properties, the icon in Explorer, and the
# language every resource is tagged with.
# usage: windows_resources_test.sh LUMASIO.EXE VERSION ICON_SIZE...
set -euo pipefail
exe=$1
version=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

resources=$(wrestool -l "$exe")
echo "$resources"
check "has an icon" grep -q -- '--type=14 ' <<<"$resources"
check "has a version" grep -q -- '--type=16 ' <<<"$resources"
check "every resource is Simplified Chinese (2052)" \
    test -z "$(grep -v -- '--language=2052 ' <<<"$resources")"

wrestool -x --type=14 "$exe" >"$work/icon.ico"
icons=$(icotool -l "$work/icon.ico")
echo "$icons"
for size in "$@"; do
    # The 32x32 image keeps the 256 colours it had from the start.
    if [ "$size" = 32 ]; then bits=8 colours="256 colours"; else bits=32 colours="32 bits"; fi
    check "icon ${size}x$size in $colours" \
        grep -q -- "--width=$size --height=$size --bit-depth=$bits " <<<"$icons"
done
check "no other icon" test "$(wc -l <<<"$icons")" -eq $#

# The icon group names each image by its size and resource id; the images
# are the resources of type 3 by those ids. The 256x256 one is stored as PNG.
group=$work/group.bin
wrestool -x --raw --type=14 "$exe" >"$group"
image() { # size -> the image's bytes on stdout, as the icon group names them
    local count i width id
    count=$(od -An -tu2 -j4 -N2 "$group" | tr -d ' ')
    for ((i = 0; i < count; i++)); do
        width=$(od -An -tu1 -j $((6 + 14 * i)) -N1 "$group" | tr -d ' ')
        id=$(od -An -tu2 -j $((6 + 14 * i + 12)) -N2 "$group" | tr -d ' ')
        if [ "$width" -eq $(($1 % 256)) ]; then
            wrestool -x --raw --type=3 --name="$id" "$exe"
            return
        fi
    done
}
check "the 256x256 image is PNG" test "$(image 256 | head -c 8 | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a
# The two images the window had from the start, pixel for pixel (a fully
# transparent pixel has no colour of its own).
pixels() { # size bits -> the SHA-256 of the image's RGBA pixels
    icotool -x --width="$1" --bit-depth="$2" -o "$work/$1.png" "$work/icon.ico" &&
        convert "$work/$1.png" -background black -alpha background -depth 8 rgba:- | sha256sum | cut -c1-64
}
check "the 32x32 image is the original one" \
    test "$(pixels 32 8)" = f619152b16c4d0abcae89a79c86267d763827d399ac817e365bba93161a607ca
check "the 48x48 image is the original one" \
    test "$(pixels 48 32)" = 02e4acd4671557aba8378825acac7aa3eda8bafc7bb6f95b70f86ad6ad0af517

# The application manifest, where Windows looks for it (resource type 24, id
# 1). It holds exactly these elements: no dependency, no other setting.
manifest=$(wrestool -x --raw --type=24 --name=1 "$exe" | tr -s ' \n\r\t' ' ')
echo "$manifest"
check "has a manifest" test -n "$manifest"
check "the manifest has no element beyond its three settings" test \
    "$(grep -o '<[A-Za-z][A-Za-z0-9]*' <<<"$manifest" | sort -u | tr -d '<' | tr '\n' ' ')" = \
    "application assembly compatibility dpiAwareness requestedExecutionLevel requestedPrivileges security supportedOS trustInfo windowsSettings "
check "runs as the invoking user" \
    grep -q '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' <<<"$manifest"
# One id stands for Windows 10 and 11.
check "is written for Windows 10 and 11, and no other" \
    test "$(grep -o '<supportedOS Id="[^"]*"' <<<"$manifest")" = \
    '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'
check "declares per-monitor v2 DPI awareness, the mode Qt sets" \
    grep -q '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2</dpiAwareness>' <<<"$manifest"
check "and no other mode" test "$(grep -o '[Dd]piAware' <<<"$manifest" | wc -l)" -eq 2

# VS_FIXEDFILEINFO: its signature, a struct version, then the file and the
# product version, each as two DWORDs (major<<16|minor, patch<<16|tweak).
wrestool -x --raw --type=16 "$exe" >"$work/version.bin"
signature=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$work/version.bin" | head -n 1 | cut -d: -f1)
read -r -a words <<<"$(od -An -tu2 -j $((signature + 8)) -N 16 "$work/version.bin")"
check "fixed FileVersion $version" test "${words[1]}.${words[0]}.${words[3]}.${words[2]}" = "$version"
check "fixed ProductVersion $version" test "${words[5]}.${words[4]}.${words[7]}.${words[6]}" = "$version"
strings=$(strings -el "$work/version.bin")
check "FileVersion text $version" grep -qx "$version" <<<"$(grep -A1 -x FileVersion <<<"$strings")"
check "ProductVersion text $version" grep -qx "$version" <<<"$(grep -A1 -x ProductVersion <<<"$strings")"
check "texts in the Simplified-Chinese Unicode table" grep -qx 080404b0 <<<"$strings"

check_summary
