#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, unpacks it with
# dpkg-deb, checks its files and dependencies, and starts the unpacked
# program on the offscreen platform.
# usage: package_test.sh BUILD_DIR APP_ID VERSION ICON_SIZE...
set -euo pipefail
build=$1
id=$2
version=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(find "$work/out" -maxdepth 1 -name '*.deb' | head -n 1)
[ -n "$deb" ] || { echo "no package was made"; exit 1; }

# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
check "depends on Qt's widgets library" grep -q 'libqt6widgets6' <<<"$depends"
check "depends on the Qt platform plugins" grep -q 'qt6-qpa-plugins' <<<"$depends"
check "depends on a CJK font" grep -qF 'fonts-arphic-uming | fonts-noto-cjk' <<<"$depends"
check "version $version" test "$(dpkg-deb --field "$deb" Version)" = "$version"

dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/lumasio \
    "usr/share/applications/$id.desktop" \
    "usr/share/metainfo/$id.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$id.svg"; do
    check "ships $file" test -f "$work/root/$file"
done
for size in "$@"; do
    icon="usr/share/icons/hicolor/${size}x$size/apps/$id.png"
    check "ships $icon at its size" \
        test "$(identify -format %wx%h "$work/root/$icon" 2>/dev/null)" = "${size}x$size"
done

# Started, it must still be running two seconds later: a crash or a missing
# library would have ended it.
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" "$work/root/usr/bin/lumasio" &
pid=$!
sleep 2
check "the unpacked program starts and keeps running" kill -0 "$pid"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

check_summary
