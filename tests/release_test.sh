#!/usr/bin/env bash
# The release, as a publisher makes it and anyone checks it, from the last
# commit of SOURCE_DIR:
#
#   release_test.sh SOURCE_DIR
#
# Reproducible: clones the commit twice into folders of different names and
# builds the release in each, the second with another umask, time zone and
# locale and a minute later: every file must be the same bytes, and SHA256SUMS
# must check. Beside the downloads, source/ holds Debian's whole source
# package of Qt, its build recipe and Qt's own source of its Chinese texts,
# which lrelease must build to the very file the zip ships, and the build-info
# names the commit, the date and environment the release fixes, the
# downloads' checksums and every package of the machine that built it. A tree with an uncommitted
# change must be refused, and so must a Qt without its source.
#
# Signed: builds it a third time, signed with a throwaway code-signing
# certificate: the program in the zip and in the installer, and the
# installer, must verify against it; nothing else may differ from the first,
# unsigned, release; and the password must appear on no command line, in no
# output and nowhere in the build. A fourth build, given the signed
# release's signatures instead of the key, must be that release byte for
# byte, as a rebuild of it is.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

reproducible() {
    unset SOURCE_DATE_EPOCH SIGN_PKCS12 SIGN_PASSWORD_FILE SIGN_TIMESTAMP_URL
    git clone --quiet "$source_dir" "$work/first"
    git clone --quiet "$source_dir" "$work/second-clone"
    local commit_time
    commit_time=$(git -C "$work/first" log -1 --format=%ct)

    mkdir "$work/tmp1" "$work/tmp2"
    local status=0
    (cd "$work/first" && TMPDIR="$work/tmp1" bash scripts/release) >"$work/first.log" 2>&1 || status=$?
    check "the first release builds" test "$status" -eq 0
    [ "$status" -eq 0 ] || { tail -n 40 "$work/first.log"; return; }
    (cd "$work/second-clone" && umask 077 && TMPDIR="$work/tmp2" TZ=Asia/Shanghai LC_ALL=C LANG=C \
        bash scripts/release out/here) >"$work/second.log" 2>&1 || status=$?
    check "the second release builds" test "$status" -eq 0
    [ "$status" -eq 0 ] || { tail -n 40 "$work/second.log"; return; }

    local a="$work/first/release" b="$work/second-clone/out/here"
    local files
    files=$(cd "$a" && ls)
    echo "$files"
    check "holds the zip, the installer, the Debian package, the build-info, SHA256SUMS and source/" \
        test "$(grep -cEx 'Lumasio-[0-9.]+-win64\.(exe|zip)|lumasio_[0-9.]+(_amd64\.deb|\.buildinfo)|SHA256SUMS|source' \
            <<<"$files")" -eq 6 -a "$(wc -l <<<"$files")" -eq 6
    # What dpkg's own database says is installed here, where it was built.
    check "the build-info names every package installed, at its version" test \
        "$(sed -n '/^Installed-Build-Depends:$/,/^[^ ]/ s/^ \(.*)\),\{0,1\}$/\1/p' "$a"/lumasio_*.buildinfo)" = \
        "$(awk -v RS= -F '\n' -v arch="$(dpkg --print-architecture)" '/\nStatus: install ok installed\n/ {
            delete f
            for (i = 1; i <= NF; i++) if (split($i, kv, ": ") > 1) f[kv[1]] = substr($i, length(kv[1]) + 3)
            name = f["Package"] (f["Architecture"] == arch || f["Architecture"] == "all" ? "" : ":" f["Architecture"])
            print name " (= " f["Version"] ")"
        }' /var/lib/dpkg/status | LC_ALL=C sort)"
    # What was built, from what, and the same whoever built it: the second
    # build's caller had another environment.
    local info
    info=$(cat "$a"/lumasio_*.buildinfo)
    check "the build-info names the commit" grep -qx "Commit: $(git -C "$work/first" rev-parse HEAD)" <<<"$info"
    check "and is dated at the commit" grep -qx "Build-Date: $(LC_ALL=C date -u -d "@$commit_time" \
        '+%a, %d %b %Y %H:%M:%S +0000')" <<<"$info"
    check "and records the environment the release fixes" test "$(sed -n '/^Environment:$/,$p' <<<"$info")" \
        = "$(printf '%s\n' Environment: ' LC_ALL="C.UTF-8"' " SOURCE_DATE_EPOCH=\"$commit_time\"" ' TZ="UTC"' \
            ' UMASK="0022"')"
    check "and the checksum and size of each download" test "$(sed -n '/^Checksums-Sha256:$/,/^[^ ]/ s/^ //p' \
        <<<"$info")" = "$(cd "$a" && for f in Lumasio-*-win64.exe Lumasio-*-win64.zip lumasio_*.deb; do
            echo "$(sha256sum <"$f" | cut -c1-64) $(wc -c <"$f") $f"; done)"
    local qt_debian sources
    # Named by the source package's version, which a binary's rebuild (+b1)
    # leaves as it was.
    qt_debian=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
    sources=$(cd "$a" && find source -type f | LC_ALL=C sort)
    echo "$sources"
    check "source/ holds Qt's Debian source package, its build recipe and the Chinese texts' source" \
        test "$sources" = "$(printf '%s\n' source/cmake/toolchains/mingw-w64-x86_64.cmake \
            "source/qt6-base_$qt_debian.debian.tar.xz" "source/qt6-base_$qt_debian.dsc" \
            "source/qt6-base_${qt_debian%-*}.orig.tar.xz" source/qttranslations/LICENSES/GPL-3.0-only.txt \
            source/qttranslations/LICENSES/Qt-GPL-exception-1.0.txt source/qttranslations/README.md \
            source/qttranslations/qtbase_zh_CN.ts source/scripts/build-qt-windows)"
    check "the Chinese texts' source is Qt's own file, unchanged" test "$(sha256sum \
        <"$a/source/qttranslations/qtbase_zh_CN.ts" | cut -c1-64)" = \
        21c2d863020a5fdd86ddf6c30d3875b37795efb7002b47d623e0e4b8dbea3ce8
    check "SHA256SUMS lists the three downloads and the source" test "$(awk '{print $2}' "$a/SHA256SUMS" |
        LC_ALL=C sort)" = "$(cd "$a" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort)"
    check "SHA256SUMS checks" bash -c 'cd "$1" && sha256sum --quiet -c SHA256SUMS' _ "$a"
    # The .dsc's own checksums: the source package is whole, as Debian made it.
    check "the Debian source package is whole" bash -c 'cd "$1/source" && sed -n "/^Checksums-Sha256:/,/^[^ ]/p" \
        qt6-base_*.dsc | awk "NF == 3 {print \$1 \"  \" \$3}" | sha256sum --quiet -c' _ "$a"
    check "the build recipe is the commit's" bash -c 'cmp -s "$1/source/scripts/build-qt-windows" \
        "$2/scripts/build-qt-windows" && cmp -s "$1/source/cmake/toolchains/mingw-w64-x86_64.cmake" \
        "$2/cmake/toolchains/mingw-w64-x86_64.cmake"' _ "$a" "$work/first"
    check "the second release has the same files" test "$(cd "$b" && ls)" = "$files" -a \
        "$(cd "$b" && find source -type f | LC_ALL=C sort)" = "$sources"
    local file
    for file in $files $sources; do
        [ -f "$a/$file" ] || continue
        if check "$file is the same bytes in both" cmp -s "$a/$file" "$b/$file"; then
            continue
        fi
        if command -v diffoscope >/dev/null; then
            timeout 300 diffoscope --text - --max-report-size 200000 "$a/$file" "$b/$file" || true
        fi
    done

    # The commit's time, not the build's, and not a time zone's: in the PE
    # headers (a 32-bit count of seconds 8 bytes into them) and on every entry.
    local zip pe_file pe stamps
    zip=$(find "$a" -name 'Lumasio-*-win64.zip')
    mkdir "$work/unzipped"
    (cd "$work/unzipped" && unzip -q "$zip")
    stamps=$(find "$work/unzipped" -name '*.exe' -o -name '*.dll' | while read -r pe_file; do
        pe=$(od -An -tu4 -j 60 -N 4 "$pe_file" | tr -d ' ')
        echo "$(od -An -tu4 -j $((pe + 8)) -N 4 "$pe_file" | tr -d ' ') ${pe_file##*/}"
    done)
    check "lumasio.exe and every DLL are dated at the commit, $commit_time" \
        test -n "$stamps" -a -z "$(grep -v "^$commit_time " <<<"$stamps")"
    grep -v "^$commit_time " <<<"$stamps" || true
    check "so is every file in the zip" test -z "$(find "$work/unzipped" -type f \
        \( ! -newermt "@$((commit_time - 1))" -o -newermt "@$commit_time" \))"
    /usr/lib/qt6/bin/lrelease -silent "$a/source/qttranslations/qtbase_zh_CN.ts" -qm "$work/rebuilt.qm" || true
    check "lrelease builds the shipped Chinese texts from their source, byte for byte" \
        cmp "$work/rebuilt.qm" "$work/unzipped/translations/qtbase_zh_CN.qm"

    # A Qt cache that has lost the source it was built from.
    local prefix nosource
    prefix=$(cd "$source_dir" && bash scripts/build-qt-windows 2>/dev/null | tail -n 1)
    nosource="$work/cache/$(basename "$prefix")"
    mkdir -p "$nosource"
    touch "$nosource/.complete"
    status=0
    (cd "$work/first" && LUMASIO_CACHE="$work/cache" bash scripts/release "$work/nosource") \
        >"$work/nosource.log" 2>&1 || status=$?
    check "a Qt without its source is refused" \
        test "$status" -ne 0 -a -n "$(grep 'never ship without their source' "$work/nosource.log")"
    check "and releases nothing" test ! -e "$work/nosource"

    echo "// not committed" >>"$work/first/app/main.cpp"
    status=0
    (cd "$work/first" && bash scripts/release) >"$work/dirty.log" 2>&1 || status=$?
    check "a tree with an uncommitted change is refused" \
        test "$status" -ne 0 -a -n "$(grep 'uncommitted changes' "$work/dirty.log")"
    check "and leaves the last release alone" cmp -s "$a/SHA256SUMS" "$b/SHA256SUMS"
}

signed() {
    unset SOURCE_DATE_EPOCH SIGN_TIMESTAMP_URL SIGN_TIME
    git clone --quiet "$source_dir" "$work/clone"
    # A password no file could hold by chance.
    local password
    password="pw-$(head -c 18 /dev/urandom | base64 | tr '+/' '-_')"
    (
        umask 077
        printf '%s\n' "$password" >"$work/password"
    )
    local name
    for name in publisher stranger; do
        openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=Lumasio test $name" \
            -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature \
            -keyout "$work/$name.key" -out "$work/$name.pem" 2>/dev/null
    done
    openssl pkcs12 -export -inkey "$work/publisher.key" -in "$work/publisher.pem" \
        -passout "file:$work/password" -out "$work/publisher.p12"

    # The first release of the reproducible builds is this one unsigned.
    local unsigned="$work/first/release"
    [ -f "$unsigned/SHA256SUMS" ] || { check "an unsigned release to compare with" false; return; }
    mkdir "$work/tmp"
    local status=0
    # Every program started on the way, with its arguments and environment;
    # the build folder is kept to be searched.
    (cd "$work/clone" && TMPDIR="$work/tmp" RELEASE_KEEP=1 \
        SIGN_PKCS12="$work/publisher.p12" SIGN_PASSWORD_FILE="$work/password" \
        strace -f --seccomp-bpf -qq -v -s 65536 -e trace=execve -e signal=none -o "$work/exec.log" \
        bash scripts/release "$work/signed") >"$work/signed.log" 2>&1 || status=$?
    check "the signed release builds" test "$status" -eq 0
    [ "$status" -eq 0 ] || { tail -n 40 "$work/signed.log"; return; }

    local zip installer deb
    zip=$(cd "$work/signed" && ls Lumasio-*-win64.zip)
    installer=$(cd "$work/signed" && ls Lumasio-*-win64.exe)
    deb=$(cd "$work/signed" && ls lumasio_*.deb)
    mkdir "$work/signed-unzipped" "$work/installer"
    (cd "$work/signed-unzipped" && unzip -q "$work/signed/$zip")
    7z x -o"$work/installer" "$work/signed/$installer" >/dev/null
    verify() { # certificate, file
        osslsigncode verify -CAfile "$1" -in "$2" >"$work/verify.log" 2>&1
    }
    check "lumasio.exe in the zip verifies against the certificate" \
        verify "$work/publisher.pem" "$work/signed-unzipped/lumasio.exe"
    check "so does lumasio.exe in the installer" verify "$work/publisher.pem" "$work/installer/lumasio.exe"
    check "and the installer" verify "$work/publisher.pem" "$work/signed/$installer"
    check "by SHA-256" grep -q 'Message digest algorithm *: SHA256' "$work/verify.log"
    check "not against another certificate" bash -c '! osslsigncode verify -CAfile "$1" -in "$2" >/dev/null 2>&1' \
        _ "$work/stranger.pem" "$work/signed/$installer"
    check "the zip's program and the installer's are the same bytes" \
        cmp -s "$work/signed-unzipped/lumasio.exe" "$work/installer/lumasio.exe"

    # Signing touches the signed files only.
    entries() { # zip: the CRC and name of every entry but the program
        unzip -v "$1" | awk 'length($7) == 8 && $7 ~ /^[0-9a-f]+$/ && $8 != "lumasio.exe" {print $7, $8}'
    }
    local unsigned_entries
    unsigned_entries=$(entries "$unsigned/$zip")
    check "no other file in the zip differs from the unsigned release's" test -n "$unsigned_entries" -a \
        "$unsigned_entries" = "$(entries "$work/signed/$zip")"
    check "the Debian package is the unsigned release's" cmp -s "$unsigned/$deb" "$work/signed/$deb"
    check "the signed release's SHA256SUMS checks" \
        bash -c 'cd "$1" && sha256sum --quiet -c SHA256SUMS' _ "$work/signed"

    # As a rebuild does it, without the key: the published signatures
    # attached to a fresh unsigned build give the signed release's bytes.
    mkdir "$work/signatures"
    cp "$work/signed/$installer" "$work/signed-unzipped/lumasio.exe" "$work/signatures/"
    status=0
    (cd "$work/clone" && SIGN_SIGNATURES="$work/signatures" SIGN_CAFILE="$work/publisher.pem" \
        bash scripts/release "$work/attached") \
        >"$work/attached.log" 2>&1 || status=$?
    check "the published signatures attach to a fresh build" test "$status" -eq 0
    [ "$status" -eq 0 ] || tail -n 40 "$work/attached.log"
    check "which is then the signed release, byte for byte" \
        diff -r -q "$work/signed" "$work/attached"

    check "the signer read the password from its file" grep -q -- '-readpass' "$work/exec.log"
    check "the password is on no command line" bash -c '! grep -qF -- "$1" "$2"' \
        _ "$password" "$work/exec.log"
    check "nor in the output" bash -c '! grep -qF -- "$1" "$2"' _ "$password" "$work/signed.log"
    check "nor in the build, the clone or the release" bash -c '! grep -rqF -- "$1" "$2" "$3" "$4"' \
        _ "$password" "$work/tmp" "$work/clone" "$work/signed"
}

reproducible
signed

check_summary
