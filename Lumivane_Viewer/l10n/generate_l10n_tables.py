#!/usr/bin/env python3
"""Turns L10nTexts.tsv into the key enumeration and the two text arrays.

Usage: generate_l10n_tables.py <L10nTexts.tsv> <output folder>

Writes L10nKey.h (the enumeration, in data-file order) and L10nTextData.cpp
(key names, English and French records). Stops with a message, and so fails
the build, when a line is malformed, a key repeats, or the two texts of a key
carry different placeholders.
"""

import pathlib
import re
import sys

# Names that cannot be C++ enumerators; they get a trailing underscore while
# their raw name stays as written.
CXX_RESERVED = set("""
    alignas alignof and and_eq asm auto bitand bitor bool break case catch char
    char8_t char16_t char32_t class compl concept const consteval constexpr
    constinit const_cast continue co_await co_return co_yield decltype default
    delete do double dynamic_cast else enum explicit export extern false float
    for friend goto if inline int long mutable namespace new noexcept not
    not_eq nullptr operator or or_eq private protected public register
    reinterpret_cast requires return short signed sizeof static static_assert
    static_cast struct switch template this thread_local throw true try typedef
    typeid typename union unsigned using virtual void volatile wchar_t while
    xor xor_eq
""".split())

PLACEHOLDER = re.compile(r"%[@d]")
IDENTIFIER = re.compile(r"[a-z][A-Za-z0-9_]*")


def fail(path, number, message):
    sys.exit(f"{path}:{number}: {message}")


def read_entries(path):
    entries = []
    seen = set()
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 3:
            fail(path, number, "expected key, English text and French text separated by tabs")
        key, english, french = fields
        if not IDENTIFIER.fullmatch(key):
            fail(path, number, f"'{key}' is not a lowerCamelCase key name")
        if key in seen:
            fail(path, number, f"key '{key}' appears twice")
        if PLACEHOLDER.findall(english) != PLACEHOLDER.findall(french):
            fail(path, number, f"'{key}' has different placeholders in English and French")
        seen.add(key)
        entries.append((key, english, french))
    return entries


def enumerator_names(entries):
    names = []
    taken = {key for key, _, _ in entries}
    for key, _, _ in entries:
        name = key
        if key in CXX_RESERVED:
            name = key + "_"
            if name in taken:
                sys.exit(f"no enumerator spelling left for '{key}': '{name}' is a key too")
        names.append(name)
    return names


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def key_header(entries):
    names = enumerator_names(entries)
    lines = [
        "// Generated from L10nTexts.tsv by generate_l10n_tables.py; edit the data file.",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
        "/// Every interface text key, in the order of the text data file; a",
        "/// 16-bit case index, as the text records store it.",
        "enum class L10nKey : std::uint16_t {",
    ]
    lines += [f"    {name}," for name in names]
    lines += [
        "};",
        "",
        f"inline constexpr int l10nKeyCount = {len(entries)};",
        "",
    ]
    return "\n".join(lines)


def text_source(entries):
    lines = [
        "// Generated from L10nTexts.tsv by generate_l10n_tables.py; edit the data file.",
        '#include "l10n/L10nTextData.h"',
        "",
        "namespace L10nTextData {",
        "",
        "const char *const keyNames[l10nKeyCount] = {",
    ]
    lines += [f"    {c_string(key)}," for key, _, _ in entries]
    lines += ["};", ""]
    for array, column in (("englishTexts", 1), ("frenchTexts", 2)):
        lines.append(f"const TextRecord {array}[l10nKeyCount] = {{")
        lines += [f"    {{{index}, {c_string(entry[column])}}},"
                  for index, entry in enumerate(entries)]
        lines += ["};", ""]
    lines += ["} // namespace L10nTextData", ""]
    return "\n".join(lines)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    data = pathlib.Path(sys.argv[1])
    output = pathlib.Path(sys.argv[2])
    entries = read_entries(data)
    if len(entries) > 0xFFFF:
        sys.exit("too many keys for a 16-bit key index")
    output.mkdir(parents=True, exist_ok=True)
    (output / "L10nKey.h").write_text(key_header(entries), encoding="utf-8")
    (output / "L10nTextData.cpp").write_text(text_source(entries), encoding="utf-8")


if __name__ == "__main__":
    main()
