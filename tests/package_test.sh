#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, has lintian check it,
# unpacks it with dpkg-deb, checks its files and dependencies, and starts the
# unpacked program on the offscreen platform.
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

# Debian's own checks: an error or a warning fails, the notes show.
status=0
lintian --fail-on error,warning --pedantic -I -E --allow-root "$deb" >"$work/lintian.log" 2>&1 ||
    status=$?
cat "$work/lintian.log"
check "lintian finds no error or warning" \
    test "$status" -eq 0 -a "$(grep -cE '^[EW]: ' "$work/lintian.log")" -eq 0

dpkg-deb -x "$deb" "$work/root"
doc=$work/root/usr/share/doc/lumasio
for file in usr/bin/lumasio \
    usr/share/doc/lumasio/copyright \
    usr/share/doc/lumasio/changelog.gz \
    usr/share/man/man1/lumasio.1.gz \
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

# The copyright file is machine-readable and holds LICENSE word for word.
check "the copyright file is in the machine-readable format" test "$(head -n 1 "$doc/copyright")" = \
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
check "the copyright file states LICENSE" cmp -s "$(dirname "$0")/../LICENSE" \
    <(sed -n '/^License:/,$ { /^License:/d; s/^ //; s/^\.$//; p }' "$doc/copyright")
# gzip -9n: deflate, no file name, no time stamp, maximum compression.
for gz in "$doc/changelog.gz" "$work/root/usr/share/man/man1/lumasio.1.gz"; do
    check "${gz#"$work/root/"} is compressed with neither name nor time" \
        test "$(od -An -tx1 -N10 "$gz" | tr -d ' ')" = 1f8b0800000000000203
done
zcat "$doc/changelog.gz" >"$work/changelog"
check "the changelog's newest entry is the package's version" \
    test "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$(dpkg-deb --field "$deb" Version)"
check "the manual page formats without a warning" test -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$work/root/usr/share/man/man1/lumasio.1.gz" 2>&1 >/dev/null)"
check "the program binds every symbol at start-up" \
    grep -qE 'FLAGS_1.*NOW' <(readelf -dW "$work/root/usr/bin/lumasio")
check "the program has no .comment section" \
    test "$(readelf -SW "$work/root/usr/bin/lumasio" | grep -cF .comment)" -eq 0

# Started, it must still be running two seconds later: a crash or a missing
# library would have ended it.
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" "$work/root/usr/bin/lumasio" &
pid=$!
sleep 2
check "the unpacked program starts and keeps running" kill -0 "$pid"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

check_summary
