#!/usr/bin/env python3
"""Checks Parrun-windows.zip: check_zip.py ZIP DATA_DIR.

The zip holds one folder, Parrun, with the 32-bit program, the read-me and every file of the
game folder byte for byte. The program is a 32-bit GUI program that needs no DLL beyond
Windows' own (the C++ runtime is linked in), and it carries its icon and palette bitmap.
"""
import struct
import sys
import zipfile
from pathlib import Path

# DLLs every Windows has; anything else would have to ship beside the program.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "ole32.dll",
               "dsound.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll"}
I386 = 0x14C
GUI = 2


def rva_to_offset(sections, rva):
    for virtual_address, size, raw_offset in sections:
        if virtual_address <= rva < virtual_address + size:
            return rva - virtual_address + raw_offset
    raise ValueError(f"address {rva:#x} lies in no section")


def read_pe(exe):
    """Returns the machine, the subsystem, the imported DLLs and the resource names."""
    if exe[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    if exe[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, section_count = struct.unpack_from("<HH", exe, pe + 4)
    optional_size = struct.unpack_from("<H", exe, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", exe, optional)[0]
    subsystem = struct.unpack_from("<H", exe, optional + 68)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    sections = []
    for i in range(section_count):
        header = optional + optional_size + 40 * i
        size, address, raw_size, raw_offset = struct.unpack_from("<IIII", exe, header + 8)
        sections.append((address, max(size, raw_size), raw_offset))

    imports = set()
    import_rva = struct.unpack_from("<I", exe, directories + 8)[0]
    entry = rva_to_offset(sections, import_rva)
    while True:
        name_rva = struct.unpack_from("<I", exe, entry + 12)[0]
        if name_rva == 0:
            break
        name = rva_to_offset(sections, name_rva)
        imports.add(exe[name:exe.index(b"\0", name)].decode("ascii").lower())
        entry += 20

    resource_rva = struct.unpack_from("<I", exe, directories + 16)[0]
    root = rva_to_offset(sections, resource_rva)
    names = set()
    # Level one: resource types; level two: names, given as counted UTF-16 strings.
    named, numbered = struct.unpack_from("<HH", exe, root + 12)
    for i in range(named + numbered):
        type_id, type_dir = struct.unpack_from("<II", exe, root + 16 + 8 * i)
        level2 = root + (type_dir & 0x7FFFFFFF)
        n2, m2 = struct.unpack_from("<HH", exe, level2 + 12)
        for j in range(n2 + m2):
            name_id = struct.unpack_from("<I", exe, level2 + 16 + 8 * j)[0]
            if name_id & 0x80000000:
                at = root + (name_id & 0x7FFFFFFF)
                length = struct.unpack_from("<H", exe, at)[0]
                names.add((type_id, exe[at + 2:at + 2 + 2 * length].decode("utf-16-le")))
    return machine, subsystem, imports, names


def main():
    zip_path, data_dir = sys.argv[1], Path(sys.argv[2])
    failures = []
    with zipfile.ZipFile(zip_path) as archive:
        members = {info.filename: info for info in archive.infolist() if not info.is_dir()}
        exe = archive.read("Parrun/Parrun.exe")
        machine, subsystem, imports, resources = read_pe(exe)
        if machine != I386:
            failures.append(f"machine {machine:#x}, not the 32-bit {I386:#x}")
        if subsystem != GUI:
            failures.append(f"subsystem {subsystem}, not a GUI program")
        if imports - SYSTEM_DLLS:
            failures.append(f"needs DLLs beyond Windows' own: {sorted(imports - SYSTEM_DLLS)}")
        for wanted in ((14, "MYICON"), (2, "MYPALLET")):  # RT_GROUP_ICON, RT_BITMAP
            if wanted not in resources:
                failures.append(f"resource {wanted[1]} of type {wanted[0]} missing")
        readme = archive.read("Parrun/readme.txt").decode("utf-8-sig")
        for text in ("Parrun.exe", "key.dat", "a.dat", "F4", "Esc"):
            if text not in readme:
                failures.append(f"the read-me does not mention {text}")
        expected = {"Parrun/Parrun.exe", "Parrun/readme.txt"}
        for path in sorted(p for p in data_dir.rglob("*") if p.is_file()):
            member = "Parrun/" + path.relative_to(data_dir).as_posix()
            expected.add(member)
            if member not in members:
                failures.append(f"{member} missing")
            elif archive.read(member) != path.read_bytes():
                failures.append(f"{member} differs from the game folder's")
        for extra in sorted(set(members) - expected):
            failures.append(f"unexpected {extra}")
    for failure in failures:
        print(f"FAIL {failure}")
    print(f"{zip_path}: 32-bit GUI program, {len(members)} files"
          if not failures else f"{len(failures)} problem(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
