#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora from the tests' cases.

usage: fuzz-seeds.py TARGET...   the fuzz targets, as fuzz/CMakeLists.txt
passes them: cmake --build build-fuzz --target fuzz-seeds

Each seed is one selector byte (bits 0-1 locale: C, zh_CN, de_DE, fr_FR;
bits 2-3 tier; bit 4 UTF-16 text) followed by the text.
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent / "fuzz" / "corpus"

TEXTS = [
    "3000", "150", "50", "550", "3650", "3333", "12345", "5", "15", "1234.5", "-100", "-0",
    "30623", "30624", "30340", "30341", "30061", "30062", "29788", "29789", "1e300", "1.7e308",
    "1e400", "1e-400", "abc", "   ", "", "\u3000\u3000", "３０００", "１２３４．５", "－１００",
    "1,234", "12,345,678.25", "1.234,5", "1,2,3", "0x10", "inf", "nan", "--5", "5-", ".5", "5.",
    "2.5E-1", "3000元", "<b>x</b>", "%s%n", "\u0663\u0660",
]


def main() -> None:
    if len(sys.argv) < 2:
        sys.exit(f"usage: {sys.argv[0]} TARGET...")
    for target in sys.argv[1:]:
        folder = ROOT / target
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.iterdir():
            old.unlink()
        n = 0
        for text in TEXTS:
            for locale in range(4):
                tier = n % 4
                selector = locale | (tier << 2)
                (folder / f"seed-{n:03d}").write_bytes(bytes([selector]) + text.encode("utf-8"))
                n += 1
        # A few in UTF-16, including a lone surrogate.
        for text in ["3000", "\ud800", "12\udfff"]:
            data = text.encode("utf-16-le", "surrogatepass")
            (folder / f"seed-{n:03d}").write_bytes(bytes([0x10 | 1]) + data)
            n += 1


if __name__ == "__main__":
    main()
