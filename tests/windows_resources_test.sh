#!/usr/bin/env bash
# Reads the resources of the Windows executable as Windows would show them:
# the version in the file's properties, the icon in Explorer, and the
# language every resource is tagged with.
# usage: windows_resources_test.sh LUMASIO.EXE VERSION
set -euo pipefail
exe=$1
version=$2
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
check "icon 32x32 in 256 colours" grep -q -- '--width=32 --height=32 --bit-depth=8 ' <<<"$icons"
check "icon 48x48 in 32 bits" grep -q -- '--width=48 --height=48 --bit-depth=32' <<<"$icons"

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
