#!/usr/bin/env python3
"""Writes the data image of assets/data_image.S as a C++ source, for
compilers whose assembler has no .incbin (WebAssembly): the same files back
to back in the same order, and the same table of blocks.

    data_image_source.py ASSEMBLER_FILE OUTPUT

The bytes are one string literal, which compilers read far faster than a
list of numbers: printable characters as themselves, the rest as three-digit
octal escapes, which no following character can extend."""
import pathlib
import re
import sys

BLOCK = re.compile(r'^\s*block\s+"([^"]+)",\s*(\d+),\s*(-?\d+)\s*$', re.M)
PLAIN = frozenset(range(0x20, 0x7F)) - {ord("\\"), ord('"'), ord("?")}
LINE_BYTES = 96


def literal(data):
    escaped = [chr(b) if b in PLAIN else "\\%03o" % b for b in range(256)]
    for start in range(0, len(data), LINE_BYTES):
        yield '"' + "".join(escaped[b] for b in data[start:start + LINE_BYTES]) + '"\n'


def source(assembler_file):
    folder = assembler_file.parent
    data = bytearray()
    table = []
    for name, kind, number in BLOCK.findall(assembler_file.read_text()):
        content = (folder / name).read_bytes()
        table.append("    {%d, %d, %s, %s},\n" % (len(data), len(content), kind, number))
        data += content
    if not table:
        raise SystemExit("%s: no blocks" % assembler_file)
    yield "// Generated from %s by data_image_source.py.\n" % assembler_file.name
    yield '#include "assets/data_image.h"\n\nextern "C" {\n'
    # The literal's closing NUL is one byte past the data.
    yield "alignas(16) const uint8_t BuiltInData[%d] =\n" % (len(data) + 1)
    yield from literal(data)
    yield ";\n\nconst BuiltInBlock BuiltInBlocks[] = {\n"
    yield from table
    yield "};\n\nconst uint32_t BuiltInBlockCount = %d;\n}\n" % len(table)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: data_image_source.py ASSEMBLER_FILE OUTPUT")
    output = pathlib.Path(sys.argv[2])
    text = "".join(source(pathlib.Path(sys.argv[1])))
    # Written whole or not at all, so a failed run leaves no half source behind.
    partial = output.with_name(output.name + ".partial")
    partial.write_text(text)
    partial.replace(output)


if __name__ == "__main__":
    main()
