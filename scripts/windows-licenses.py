#!/usr/bin/python3
"""Writes the licenses folder of the Windows program: the notice, Lumasio's
own terms and the licence texts and copyright notices of everything shipped
beside it, all taken from the Qt build's cache and from Debian's files.
Run when installing (app/CMakeLists.txt), with what the program's folder
holds beside lumasio.exe as ORIGIN=PLACE pairs:

  windows-licenses.py --out DIR --qt-prefix DIR --qt-version VERSION
      --template NOTICE.txt.in --lumasio-license LICENSE --homepage URL
      --qttranslations DIR --sources FILE... --ships ORIGIN=PLACE...

A shipped file from the Qt prefix is Qt's; a .qm is Qt's Chinese texts,
compiled from the translation source in --qttranslations; any other comes
from a Debian package, the GCC run time or mingw-w64. --sources names the
files of the release's source/ folder. Qt's third-party components count
when the Qt build compiled one of their files into a shipped Qt file
(attribution/compiled/); the rest of Qt's attributions stay out.
"""
import argparse
import glob
import json
import os
import posixpath
import re
import shutil
import subprocess
import sys
import tarfile
import unicodedata

from debian.copyright import Copyright, NotMachineReadableError


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


def copyright_text(package):
    path = f"/usr/share/doc/{package}/copyright"
    if not os.path.exists(path):
        fail(f"{package} has no {path}")
    return read(path)


def machine_readable(text, what):
    """A machine-readable copyright file, parsed by python3-debian."""
    try:
        return Copyright(text.splitlines(keepends=True), strict=False)
    except NotMachineReadableError:
        fail(f"the copyright file of {what} is not machine-readable any more")


def raw(paragraph):
    return paragraph.dump().rstrip("\n")


def gcc_exception(text):
    """The GCC Runtime Library Exception as Debian's copyright file of GCC,
    which is not machine-readable, quotes it: from its title to its last
    sentence, both checked, so a change of layout fails here."""
    first, last = "GCC RUNTIME LIBRARY EXCEPTION", "requirements of the license of GCC."
    lines = text.split("\n")
    if first not in lines:
        fail("no GCC Runtime Library Exception in the GCC copyright file")
    start = lines.index(first)
    end = next((i for i in range(start, len(lines)) if lines[i].strip() == last), None)
    if end is None:
        fail(f"the GCC Runtime Library Exception no longer ends with '{last}'")
    exception = "\n".join(lines[start:end + 1]) + "\n"
    if "Version 3.1," not in exception or "2. No Weakening of GCC Copyleft." not in exception:
        fail("the GCC Runtime Library Exception found is not version 3.1 in full")
    return exception


def mingw_runtime(text):
    """The paragraphs of mingw-w64's copyright file that cover its run time
    and winpthreads, as they are, with the licences they name."""
    parsed = machine_readable(text, "mingw-w64")
    standalone = {p.license.synopsis: p for p in parsed.all_license_paragraphs()}

    def shipped(pattern):
        # Profiling, test programs and tests are never linked into a program.
        return (pattern == "*" or pattern.startswith("mingw-w64-crt/")
                or pattern.startswith("mingw-w64-libraries/winpthreads/")) and \
            not re.search(r"/(profile|testcases|tests_pthread)/", pattern)

    kept, needed = [], []
    for paragraph in parsed.all_files_paragraphs():
        if any(shipped(p) for p in paragraph.files):
            kept.append(raw(paragraph))
            for name in re.split(r"\s+(?:and|or)\s+", paragraph.license.synopsis):
                if name in standalone and name not in needed:
                    needed.append(name)
    if not any("winpthreads" in k for k in kept):
        fail("no winpthreads paragraph in the mingw-w64 copyright file")
    return "\n\n".join(kept + [raw(standalone[n]) for n in needed]) + "\n"


# Third-party data that reaches the DLLs by another way than a file of its
# own being compiled, so the compiler's records never name it: counted when
# the file that carries it in was compiled.
CARRIED_IN = {
    # Qt's resource of the PDF writer, built into Gui with it.
    "icc-sRGB-color-profile": "src/gui/painting/qpdf.cpp",
    # The gradient presets, generated from the CSS into this file.
    "webgradients": "src/gui/painting/webgradients.cpp",
}


def compiled_into(attribution, qt_files):
    """The source files and headers compiled into the shipped Qt files."""
    compiled = set()
    for name in qt_files:
        listing = os.path.join(attribution, "compiled", name + ".txt")
        if not os.path.exists(listing):
            fail(f"the Qt cache records nothing compiled into {name}: build it again")
        compiled.update(line for line in read(listing).split("\n") if line)
    return compiled


def components(attribution, compiled):
    """Qt's third-party attributions with a file in what the build compiled."""
    entries = json.loads(read(os.path.join(attribution, "qt_attribution.json")))
    found = []
    for entry in entries:
        path = posixpath.normpath(entry["Path"])
        files = [f for f in re.split(r",\s*|\s+", entry.get("Files", "").strip()) if f]
        if files:
            hit = any(posixpath.normpath(posixpath.join(path, f)) in compiled for f in files)
        else:
            hit = any(c == path or c.startswith(path + "/") for c in compiled)
        if hit or CARRIED_IN.get(entry["Id"]) in compiled:
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


def third_party_text(attribution, found, qt_files):
    rule = "=" * 72
    out = [
        "Qt 的 DLL 中编入的第三方软件（依 Qt 源代码中的说明）",
        "Third-party software compiled into Qt's DLLs, as Qt's sources state it",
        "",
        ", ".join(qt_files),
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
    """Breaks each long paragraph line to fit Notepad's window, which doesn't
    wrap by default on Windows 10: between words, or between Chinese
    characters, never before closing punctuation nor after opening. An
    indented line is an entry of a list (a component, a file) and stays
    whole, so that each entry reads as one."""
    out = []
    for line in text.split("\n"):
        if line.startswith(" "):
            out.append(line)
            continue
        tokens = re.findall(r"[ ]+|[（「]*(?:[^\s\u2e80-\u9fff\u3000-\u303f\uff00-\uffef]+|.)"
                            r"[，。、：；）」]*", line)
        current = ""
        for token in tokens:
            if current.strip() and width(current + token.rstrip()) > columns:
                out.append(current.rstrip())
                current = ""
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
    main = next((p for p in machine_readable(text, "Qt").all_files_paragraphs()
                 if p.files == ("*",)), None)
    if not main or not main.copyright:
        fail("the Debian copyright file of Qt has no Files: * copyright")
    return main.copyright.replace("\n", "; ")


def provenance(directory):
    """Where third-party/'s copy comes from, as its README says: repository,
    tag and licence, and the licence texts that come with it (LICENSES/)."""
    readme = read(os.path.join(directory, "README.md"))
    found = dict(re.findall(r"^- (repository|tag): (\S+?),?(?:\s|$)", readme, re.M))
    licence = re.search(r"^Licence: ([^;\n]+);", readme, re.M)
    if set(found) != {"repository", "tag"} or not licence:
        fail(f"{directory}/README.md names no repository, tag and licence")
    texts = sorted(glob.glob(os.path.join(directory, "LICENSES", "*.txt")))
    if not texts:
        fail(f"{directory}/LICENSES holds no licence text")
    return found["repository"], found["tag"], licence.group(1), texts


def windows_names(places):
    """Places in the program's folder as Windows writes them, the folder's
    own files first: "Qt6Core.dll", "platforms\\qwindows.dll"."""
    return [p.replace("/", "\\") for p in sorted(places, key=lambda p: ("/" in p, p.lower()))]


def listing(names, conjunction, comma):
    """Names as a sentence lists them: "a, b and c"."""
    if len(names) < 2:
        return "".join(names)
    return comma.join(names[:-1]) + conjunction + names[-1]


def main():
    parser = argparse.ArgumentParser()
    for name in ("out", "qt-prefix", "qt-version", "template", "lumasio-license", "homepage",
                 "qttranslations"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--sources", nargs="+", required=True)
    parser.add_argument("--ships", nargs="+", required=True)
    args = parser.parse_args()

    qt_prefix = os.path.realpath(args.qt_prefix)
    attribution = os.path.join(qt_prefix, "attribution")
    source = os.path.join(qt_prefix, "source")
    if not os.path.isdir(source):
        fail(f"{source} is missing: Qt's DLLs can't ship without their source")

    # What ships, by whose it is: Qt's (by their place in Qt's prefix), Qt's
    # Chinese texts, and the rest by the Debian package they come from.
    qt, qt_places, texts, packages = [], [], [], {}
    for pair in args.ships:
        origin, place = pair.split("=", 1)
        real = os.path.realpath(origin)
        if real.startswith(qt_prefix + "/"):
            qt.append(os.path.relpath(real, qt_prefix))
            qt_places.append(place)
        elif place.endswith(".qm"):
            texts.append(place)
        else:
            packages.setdefault(debian_package(real), []).append(place)
    gcc = [(p, v, f) for (p, v), f in packages.items() if p.startswith("gcc-mingw-w64-")]
    mingw = [(p, v, f) for (p, v), f in packages.items() if p.startswith("mingw-w64-")]
    others = [p for (p, _) in packages if not p.startswith(("gcc-mingw-w64-", "mingw-w64-"))]
    if others or len(gcc) != 1 or len(mingw) != 1 or not texts:
        fail(f"the notice covers Qt, its Chinese texts, one GCC run time and one mingw-w64; "
             f"shipped from: {sorted(p for p, _ in packages)}, texts {texts}")
    (gcc_package, gcc_version, gcc_files), = gcc
    (mingw_package, mingw_version, mingw_files), = mingw

    found = components(attribution, compiled_into(attribution, qt))
    if not found:
        fail("no third-party component of Qt matches what the build compiled")

    repository, tag, translations_licence, translations = provenance(args.qttranslations)

    def files(names, language):
        return listing(windows_names(names),
                       *((" 和 ", "、") if language == "zh" else (" and ", ", ")))

    values = {
        "QT_VERSION": args.qt_version,
        "QT_DEBIAN_VERSION": debian_source_version(source),
        "QT_COPYRIGHT": qt_copyright(source),
        "SOURCE_FILES": "\n".join("    source/" + f for f in sorted(args.sources)),
        "HOMEPAGE": args.homepage,
        "COMPONENTS": "\n".join("  " + title(e) for e in found),
        "FREETYPE_CREDIT": freetype_credit(attribution, found),
        "GCC_VERSION": gcc_version.split("-", 1)[0],
        "GCC_PACKAGE": gcc_package,
        "GCC_DEBIAN_VERSION": gcc_version,
        "MINGW_VERSION": mingw_version.split("-", 1)[0],
        "MINGW_PACKAGE": mingw_package,
        "MINGW_DEBIAN_VERSION": mingw_version,
        "QM_REPOSITORY": repository,
        "QM_TAG": tag,
        "QM_LICENSE": translations_licence,
    }
    for language in ("zh", "en"):
        suffix = "_" + language.upper()
        values["QT_FILES" + suffix] = files(qt_places, language)
        values["GCC_FILES" + suffix] = files(gcc_files, language)
        values["MINGW_FILES" + suffix] = files(mingw_files, language)
        values["QM_FILES" + suffix] = files(texts, language)
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
          + gcc_exception(copyright_text(gcc_package)))
    write("mingw-w64.txt", quoted(mingw_package, mingw_version, "the paragraphs on the run time "
                                  "and winpthreads, with the licences they name")
          + mingw_runtime(copyright_text(mingw_package)))
    write("qt-translations.txt", f"Qt's Chinese texts, {repository} {tag}: {translations_licence}, "
          "as the repository has its texts\n\n"
          + "\n\n".join(read(t).strip("\n") for t in translations) + "\n")
    write("qt-third-party.txt", third_party_text(attribution, found, windows_names(qt_places)))
    print("windows-licenses: Qt's third-party components:\n" + values["COMPONENTS"])


main()
