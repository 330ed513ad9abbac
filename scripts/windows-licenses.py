#!/usr/bin/env python3
"""Writes the licenses folder of the Windows program: the notice, Lumasio's
own terms and the licence texts and copyright notices of everything shipped
beside it, all taken from the Qt build's cache and from Debian's files.

  windows-licenses.py --out DIR --qt-prefix DIR --qt-version 6.4.2
      --template NOTICE.txt.in --lumasio-license LICENSE --homepage URL
      --qm qtbase_zh_CN.qm --gcc-runtime libstdc++-6.dll
      --winpthreads libwinpthread-1.dll

Qt's third-party components count when the Qt build compiled one of their
files into what Lumasio ships (attribution/compiled.txt); the rest of Qt's
attributions (other platforms, tests, tools) stay out.
"""
import argparse
import json
import os
import posixpath
import re
import shutil
import subprocess
import sys
import tarfile
import unicodedata


def fail(message):
    sys.exit(f"windows-licenses: {message}")


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def debian_package(path):
    """The Debian package that installed PATH, and its version."""
    real = os.path.realpath(path)
    found = subprocess.run(["dpkg-query", "-S", real], capture_output=True, text=True)
    if found.returncode != 0:
        fail(f"{real} belongs to no Debian package")
    package = found.stdout.split(":", 1)[0].split(",")[0].strip()
    version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                             capture_output=True, text=True, check=True).stdout
    return package, version


def copyright_file(package):
    path = f"/usr/share/doc/{package}/copyright"
    if not os.path.exists(path):
        fail(f"{package} has no {path}")
    return read(path)


def paragraphs(text):
    """Machine-readable copyright paragraphs as (raw text, fields)."""
    result = []
    for raw in re.split(r"\n[ \t]*\n", text):
        raw = raw.strip("\n")
        fields, key = {}, None
        for line in raw.split("\n"):
            if line[:1] in (" ", "\t") and key:
                fields[key] += "\n" + line.strip()
            elif ":" in line and not line.startswith("#"):
                key, value = line.split(":", 1)
                fields[key] = value.strip()
        if raw:
            result.append((raw, fields))
    return result


def license_names(fields):
    """The licence short names a Files paragraph's License field uses."""
    first = fields.get("License", "").split("\n", 1)[0]
    return [n for n in re.split(r"\s+(?:and|or)\s+", first) if n]


def gcc_exception(text):
    """The GCC Runtime Library Exception as Debian's copyright file quotes it."""
    lines = text.split("\n")
    try:
        start = lines.index("GCC RUNTIME LIBRARY EXCEPTION")
    except ValueError:
        fail("no GCC Runtime Library Exception in the GCC copyright file")
    end = start
    # It ends where two empty lines lead on to the next library.
    while end + 2 < len(lines) and not (lines[end + 1] == "" and lines[end + 2] == ""):
        end += 1
    exception = "\n".join(lines[start:end + 1]) + "\n"
    if "Version 3.1," not in exception or "2. No Weakening of GCC Copyleft." not in exception:
        fail("the GCC Runtime Library Exception found is not version 3.1 in full")
    return exception


def mingw_runtime(text):
    """The paragraphs of mingw-w64's copyright file that cover its run time
    and winpthreads, as they are, with the licences they name."""
    parts = paragraphs(text)
    standalone = {f["License"].split("\n", 1)[0]: raw for raw, f in parts
                  if "License" in f and "Files" not in f and "Format" not in f}

    def shipped(pattern):
        # Profiling, test programs and tests are never linked into a program.
        return (pattern == "*" or pattern.startswith("mingw-w64-crt/")
                or pattern.startswith("mingw-w64-libraries/winpthreads/")) and \
            not re.search(r"/(profile|testcases|tests_pthread)/", pattern)

    kept, needed = [], []
    for raw, fields in parts:
        patterns = fields.get("Files", "").split()
        if any(shipped(p) for p in patterns):
            kept.append(raw)
            for name in license_names(fields):
                if name in standalone and name not in needed:
                    needed.append(name)
    if not any("winpthreads" in raw for raw in kept):
        fail("no winpthreads paragraph in the mingw-w64 copyright file")
    return "\n\n".join(kept + [standalone[n] for n in needed]) + "\n"


def qt_translations(text):
    """The Files: * paragraph of the translations' copyright file, and the
    full text of its licence."""
    parts = paragraphs(text)
    main = next((p for p in parts if p[1].get("Files") == "*"), None)
    if not main:
        fail("no Files: * paragraph in the Qt translations' copyright file")
    name = main[1]["License"].split("\n", 1)[0]
    body = next((raw for raw, f in parts if "Files" not in f
                 and f.get("License", "").split("\n", 1)[0] == name), "")
    return "\n\n".join(p for p in (main[0], body) if p) + "\n", name


# Third-party data that reaches the DLLs by another way than a file of its
# own being compiled, so the compiler's records never name it: counted when
# the file that carries it in was compiled.
CARRIED_IN = {
    # Qt's resource of the PDF writer, built into Gui with it.
    "icc-sRGB-color-profile": "src/gui/painting/qpdf.cpp",
    # The gradient presets, generated from the CSS into this file.
    "webgradients": "src/gui/painting/webgradients.cpp",
}


def components(attribution):
    """Qt's third-party attributions with a file in what the build compiled."""
    entries = json.loads(read(os.path.join(attribution, "qt_attribution.json")))
    compiled = [line.strip() for line in read(os.path.join(attribution, "compiled.txt")).split("\n")
                if line.strip()]
    found = []
    for entry in entries:
        path = posixpath.normpath(entry["Path"])
        files = [f for f in re.split(r",\s*|\s+", entry.get("Files", "").strip()) if f]
        if files:
            wanted = {posixpath.normpath(posixpath.join(path, f)) for f in files}
            hit = any(c in wanted for c in compiled)
        else:
            hit = any(c == path or c.startswith(path + "/") for c in compiled)
        hit = hit or CARRIED_IN.get(entry["Id"]) in compiled
        if hit:
            found.append(entry)
    return sorted(found, key=lambda e: (e["Name"].lower(), e["Id"]))


def title(entry):
    """A component's name, with its version where it states one."""
    return entry["Name"] + (f" {entry['Version']}" if entry.get("Version") else "")


def licence_files(entry):
    files = list(entry.get("LicenseFiles") or [])
    if entry.get("LicenseFile") and entry["LicenseFile"] not in files:
        files.insert(0, entry["LicenseFile"])
    return files


def third_party_text(attribution, found):
    rule = "=" * 72
    out = [
        "Qt 的 DLL 中编入的第三方软件（依 Qt 源代码中的说明）",
        "Third-party software compiled into Qt's DLLs, as Qt's sources state it",
        "",
        "Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, platforms\\qwindows.dll, styles\\qwindowsvistastyle.dll",
        "",
    ]
    for entry in found:
        out += [rule, title(entry), rule]
        if entry.get("Description"):
            out.append(entry["Description"])
        if entry.get("Homepage"):
            out.append(f"Homepage: {entry['Homepage']}")
        licence = entry.get("License") or "(none stated)"
        if entry.get("LicenseId"):
            licence += f" ({entry['LicenseId']})"
        out.append(f"License: {licence}")
        out.append(f"In Qt's source: {entry['Path']}")
        out.append("")
        if entry.get("Copyright"):
            out += [entry["Copyright"].strip(), ""]
        if entry.get("CopyrightFile"):
            out += [read(os.path.join(attribution, entry["CopyrightFile"])).strip(), ""]
        for name in licence_files(entry):
            out += [f"--- {name} ---", "", read(os.path.join(attribution, name)).rstrip(), ""]
    return "\n".join(out) + "\n"


def freetype_credit(attribution, found):
    """FreeType's credit line, in the words its licence asks for, dated by the
    latest year of the copyright its attribution states."""
    entry = next((e for e in found if e["Id"] == "freetype"), None)
    if not entry:
        return ""
    licence = read(os.path.join(attribution, licence_files(entry)[0]))
    quoted = re.search(r'"""\s*(Portions of this software.*?)\s*"""', licence, re.S)
    if not quoted:
        fail("FreeType's licence has no credit line")
    years = re.findall(r"\b(?:19|20)\d\d\b", entry.get("Copyright", "")) or \
        re.findall(r"\b(?:19|20)\d\d\b", licence)
    credit = " ".join(quoted.group(1).split())
    return credit.replace("<year>", max(years))


def width(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def wrap(text, columns=64):
    """Breaks each long line to fit the installer's page: between words, or
    between Chinese characters, never before closing punctuation nor after
    opening; continuation lines keep the line's indent."""
    out = []
    for line in text.split("\n"):
        indent = line[:len(line) - len(line.lstrip(" "))]
        tokens = re.findall(r"[ ]+|[（「]*(?:[^\s\u2e80-\u9fff\u3000-\u303f\uff00-\uffef]+|.)"
                            r"[，。、：；）」]*", line[len(indent):])
        current = indent
        for token in tokens:
            if current.strip() and width(current + token.rstrip()) > columns:
                out.append(current.rstrip())
                current = indent
                if token.isspace():
                    continue
            current += token
        out.append(current.rstrip())
    return "\n".join(out)


def debian_source_version(source):
    dscs = [f for f in os.listdir(source) if f.endswith(".dsc")]
    if len(dscs) != 1:
        fail(f"{source} should hold one .dsc, holds {dscs}")
    version = re.search(r"^Version:\s*(\S+)", read(os.path.join(source, dscs[0])), re.M)
    if not version:
        fail(f"{dscs[0]} names no version")
    return version.group(1)


def qt_copyright(source):
    """The copyright of Qt's own files, from the Debian source's copyright."""
    tarballs = [f for f in os.listdir(source) if f.endswith((".debian.tar.xz", ".debian.tar.gz"))]
    if len(tarballs) != 1:
        fail(f"{source} should hold one Debian tarball, holds {tarballs}")
    with tarfile.open(os.path.join(source, tarballs[0])) as tar:
        text = tar.extractfile("debian/copyright").read().decode("utf-8")
    main = next((f for _, f in paragraphs(text) if f.get("Files") == "*"), None)
    if not main or not main.get("Copyright"):
        fail("the Debian copyright file of Qt has no Files: * copyright")
    return main["Copyright"].replace("\n", "; ")


def main():
    parser = argparse.ArgumentParser()
    for name in ("out", "qt-prefix", "qt-version", "template", "lumasio-license", "homepage",
                 "qm", "gcc-runtime", "winpthreads"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()

    attribution = os.path.join(args.qt_prefix, "attribution")
    source = os.path.join(args.qt_prefix, "source")
    if not os.path.isdir(source):
        fail(f"{source} is missing: Qt's DLLs can't ship without their source")
    found = components(attribution)
    if not found:
        fail("no third-party component of Qt matches what the build compiled")

    gcc_package, gcc_version = debian_package(args.gcc_runtime)
    mingw_package, mingw_version = debian_package(args.winpthreads)
    qm_package, qm_version = debian_package(args.qm)
    translations, translations_licence = qt_translations(copyright_file(qm_package))
    debian_version = debian_source_version(source)

    values = {
        "QT_VERSION": args.qt_version,
        "QT_DEBIAN_VERSION": debian_version,
        "QT_COPYRIGHT": qt_copyright(source),
        "QT_SOURCE_FILES": "\n".join("    source/" + f for f in sorted(os.listdir(source))),
        "HOMEPAGE": args.homepage,
        "COMPONENTS": "\n".join("  " + title(e) for e in found),
        "FREETYPE_CREDIT": freetype_credit(attribution, found),
        "GCC_VERSION": gcc_version.split("-", 1)[0],
        "GCC_PACKAGE": gcc_package,
        "GCC_DEBIAN_VERSION": gcc_version,
        "MINGW_VERSION": mingw_version.split("-", 1)[0],
        "MINGW_PACKAGE": mingw_package,
        "MINGW_DEBIAN_VERSION": mingw_version,
        "QM_PACKAGE": qm_package,
        "QM_DEBIAN_VERSION": qm_version,
        "QM_LICENSE": translations_licence,
    }
    notice = read(args.template)
    notice = wrap(re.sub(r"@([A-Z_]+)@", lambda m: values[m.group(1)], notice))

    if os.path.isdir(args.out):
        shutil.rmtree(args.out)
    os.makedirs(args.out)

    def write(name, text, windows=False):
        # The notice is also the installer's page, which reads plain text as
        # the system's code page unless it starts with a byte-order mark.
        with open(os.path.join(args.out, name), "w", encoding="utf-8-sig" if windows else "utf-8",
                  newline="\r\n" if windows else "\n") as f:
            f.write(text)

    write("NOTICE.txt", notice, windows=True)
    shutil.copyfile(args.lumasio_license, os.path.join(args.out, "LICENSE.txt"))
    shutil.copyfile("/usr/share/common-licenses/LGPL-3", os.path.join(args.out, "LGPL-3.0.txt"))
    shutil.copyfile("/usr/share/common-licenses/GPL-3", os.path.join(args.out, "GPL-3.0.txt"))

    def quoted(package, version, what):
        return f"From the copyright file of Debian's {package} {version}: {what}\n\n"

    write("GCC-exception-3.1.txt", quoted(gcc_package, gcc_version, "the exception, in full")
          + gcc_exception(copyright_file(gcc_package)))
    write("mingw-w64.txt", quoted(mingw_package, mingw_version, "the paragraphs on the run time "
                                  "and winpthreads, with the licences they name")
          + mingw_runtime(copyright_file(mingw_package)))
    write("qt-translations.txt", quoted(qm_package, qm_version, "the translations' copyright "
                                        "and licence") + translations)
    write("qt-third-party.txt", third_party_text(attribution, found))
    print("windows-licenses: Qt's third-party components:\n" + values["COMPONENTS"])


main()
