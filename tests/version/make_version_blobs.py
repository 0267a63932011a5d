#!/usr/bin/env python3
"""Writes raw RT_VERSION resources, well-formed and malformed, one file each.

    make_version_blobs.py OUTPUT_DIR

Each block is laid out as the system lays out version blocks: wLength,
wValueLength, wType, the key (UTF-16, NUL-terminated), padding to 32 bits,
the value, padding, and the child blocks on 32-bit boundaries. Overrides of
wLength, wValueLength and the key make the malformed variants.
"""
import struct
import sys
from pathlib import Path


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


def layout(key, value=b"", value_length=None, text=True, children=(), length=None):
    """A block with its padding measured from its own start."""
    data = struct.pack("<HHH", 0, 0, 1 if text else 0) + utf16z(key)
    data = pad4(data)
    data += value
    for child in children:
        data = pad4(data) + child
    if value_length is None:
        value_length = len(value) // 2 if text else len(value)
    total = len(data) if length is None else length
    return struct.pack("<HH", total & 0xFFFF, value_length) + data[4:]


def string_entry(key, text, value_length=None):
    return layout(key, utf16z(text), value_length=value_length)


def string_table(name, entries, length=None):
    return layout(name, children=entries, length=length)


def fixed_info():
    return struct.pack("<13I", 0xFEEF04BD, 0x00010000, 0x00010002, 0x00030004,
                       0x00010002, 0x00030004, 0x3F, 0, 0x4, 0x2, 0, 0, 0)


def translations(*pairs):
    value = b"".join(struct.pack("<HH", lang, cp) for lang, cp in pairs)
    return layout("VarFileInfo", children=[layout("Translation", value, text=False)])


def version_info(tables, var=None, key="VS_VERSION_INFO", length=None, value_length=None):
    children = [layout("StringFileInfo", children=tables)]
    if var is not None:
        children.append(var)
    root = layout(key, fixed_info(), text=False, children=children, value_length=value_length)
    if length is not None:
        root = struct.pack("<H", length) + root[2:]
    return root


def product_table(name="040904b0", version="3.1.4.1"):
    return string_table(name, [string_entry("ProductVersion", version)])


def blobs():
    us = translations((0x0409, 0x04B0))
    good = version_info([product_table()], us)
    yield "key_extra_chars", version_info([product_table()], us, key="VS_VERSION_INFOX")
    yield "key_wrong_case", version_info([product_table()], us, key="VS_VERSION_info")
    yield "value_length_above_length", version_info(
        [product_table()], us, value_length=len(good) + 1)
    yield "length_beyond_resource", version_info([product_table()], us, length=len(good) + 64)
    yield "length_equals_resource", version_info([product_table()], us, length=len(good))
    # No translation table: the default pairs name 040904e4 and 040904b0, so
    # only the walk finds the entries of 040704b0.
    yield "odd_entries", version_info([string_table("040704b0", [
        string_entry("Comments", "dropped", value_length=0),
        string_entry("ProductVersion", "6.6", value_length=1),
        string_entry("FileDescription", "kept"),
        string_entry("", "no key"),
        string_entry("LegalCopyright", "after the empty key"),
    ])])
    yield "table_beyond_buffer", version_info([string_table(
        "040704b0", [string_entry("ProductVersion", "7.7")], length=0xFFF0)])


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, data in blobs():
        path = out / (name + ".bin")
        if not path.exists() or path.read_bytes() != data:
            path.write_bytes(data)


if __name__ == "__main__":
    main()
