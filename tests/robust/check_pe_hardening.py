#!/usr/bin/env python3
"""Checks that each PE file given carries ASLR (a movable image with high
entropy) and DEP, and has no section both writable and executable.
Usage: check_pe_hardening.py FILE..."""

import struct
import sys

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT = 0x40, 0x20, 0x100
RELOCS_STRIPPED = 0x1
MEM_EXECUTE, MEM_WRITE = 0x20000000, 0x80000000


def problems(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return ["not a PE file"]
    sections, optional_size, characteristics = struct.unpack_from("<H12xHH", data, pe + 6)
    optional = pe + 24
    if struct.unpack_from("<H", data, optional)[0] != 0x20B:
        return ["not a 64-bit image"]
    dll = struct.unpack_from("<H", data, optional + 70)[0]
    reloc_size = struct.unpack_from("<I", data, optional + 112 + 5 * 8 + 4)[0]
    found = ["no %s in DllCharacteristics" % name for flag, name in
             ((DYNAMIC_BASE, "DYNAMIC_BASE"), (HIGH_ENTROPY_VA, "HIGH_ENTROPY_VA"), (NX_COMPAT, "NX_COMPAT"))
             if not dll & flag]
    # Without base relocations the loader cannot move the image, whatever
    # DYNAMIC_BASE says.
    if characteristics & RELOCS_STRIPPED or reloc_size == 0:
        found.append("no base relocations: the image cannot be moved")
    for i in range(sections):
        header = optional + optional_size + 40 * i
        name = data[header:header + 8].rstrip(b"\0").decode("latin-1")
        flags = struct.unpack_from("<I", data, header + 36)[0]
        if flags & MEM_WRITE and flags & MEM_EXECUTE:
            found.append("section %s is writable and executable" % name)
    return found


failed = False
for path in sys.argv[1:]:
    found = problems(path)
    print("%s: %s" % (path, "; ".join(found) if found else "ASLR, high-entropy ASLR, DEP, no W+X section"))
    failed |= bool(found)
sys.exit(1 if failed or len(sys.argv) < 2 else 0)
