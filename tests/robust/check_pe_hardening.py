#!/usr/bin/env python3
"""Checks that each PE file given carries ASLR (a movable image with high
entropy) and DEP, and has no section both writable and executable.
Usage: check_pe_hardening.py FILE..."""
import struct
import sys


def problems(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size, characteristics = struct.unpack_from("<H12xHH", data, pe + 6)
    optional = pe + 24
    if data[pe:pe + 4] != b"PE\0\0" or struct.unpack_from("<H", data, optional)[0] != 0x20B:
        return ["not a 64-bit PE image"]
    dll = struct.unpack_from("<H", data, optional + 70)[0]
    found = ["no %s in DllCharacteristics" % name for flag, name in
             ((0x40, "DYNAMIC_BASE"), (0x20, "HIGH_ENTROPY_VA"), (0x100, "NX_COMPAT")) if not dll & flag]
    # Without base relocations the loader cannot move the image, whatever DYNAMIC_BASE says.
    if characteristics & 0x1 or struct.unpack_from("<I", data, optional + 112 + 5 * 8 + 4)[0] == 0:
        found.append("no base relocations: the image cannot be moved")
    for header in range(optional + optional_size, optional + optional_size + 40 * sections, 40):
        if struct.unpack_from("<I", data, header + 36)[0] & 0xA0000000 == 0xA0000000:  # MEM_WRITE | MEM_EXECUTE
            found.append("section %s is writable and executable" % data[header:header + 8].rstrip(b"\0").decode("latin-1"))
    return found


failed = len(sys.argv) < 2
for path in sys.argv[1:]:
    found = problems(path)
    print("%s: %s" % (path, "; ".join(found) if found else "ASLR, high-entropy ASLR, DEP, no W+X section"))
    failed |= bool(found)
sys.exit(1 if failed else 0)
