#!/usr/bin/python3
"""Checks what the built executable carries: PE header facts, imports,
manifest, application icon and version block.

    check_executable.py EXE {i686|x86_64}
"""
import re
import struct
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll",
               "shell32.dll", "ole32.dll", "comctl32.dll", "ucrtbase.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

passed = failed = 0


def check(what, expected, seen):
    global passed, failed
    if expected == seen:
        passed += 1
    else:
        failed += 1
        print(f"FAIL {what}: expected {expected!r}, saw {seen!r}")


def resources(pe, type_id):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            return entry.directory.entries
    return []


def data_of(pe, name_entry):
    lang = name_entry.directory.entries[0]
    rva, size = lang.data.struct.OffsetToData, lang.data.struct.Size
    return pe.get_data(rva, size), lang.id


def main(path, arch):
    pe = pefile.PE(path)
    machine = {"i686": 0x14C, "x86_64": 0x8664}[arch]
    check("machine", hex(machine), hex(pe.FILE_HEADER.Machine))
    check("subsystem (GUI)", 2, pe.OPTIONAL_HEADER.Subsystem)
    dll = pe.OPTIONAL_HEADER.DllCharacteristics
    check("ASLR (DYNAMIC_BASE)", True, bool(dll & 0x40))
    check("DEP (NX_COMPAT)", True, bool(dll & 0x100))
    imports = sorted(e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT)
    check("only system DLLs imported", [], [d for d in imports if d not in SYSTEM_DLLS])

    manifests = resources(pe, RT_MANIFEST)
    check("manifest ids", [1], [e.id for e in manifests])
    manifest = data_of(pe, manifests[0])[0].decode("utf-8") if manifests else ""
    identity = re.search(r"<assemblyIdentity[^>]*>", manifest)
    identity = identity.group(0) if identity else ""
    check("manifest identity type", True, 'type="win32"' in identity)
    check("manifest identity architecture", True, 'processorArchitecture="x86"' in identity)
    dependency = re.search(r"<dependentAssembly>\s*(<assemblyIdentity[^>]*>)", manifest)
    dependency = dependency.group(1) if dependency else ""
    for attribute in ('name="Microsoft.Windows.Common-Controls"', 'version="6.0.0.0"',
                      'processorArchitecture="x86"', 'language="*"',
                      'publicKeyToken="6595b64144ccf1df"', 'type="win32"'):
        check(f"common controls dependency has {attribute}", True, attribute in dependency)
    check("no execution level requested", False, "requestedExecutionLevel" in manifest)
    check("no DPI awareness declared", False, "dpiAware" in manifest)

    groups = resources(pe, RT_GROUP_ICON)
    check("first icon group name", "DEFAULT_ICON", str(groups[0].name) if groups else None)
    if groups:
        data = data_of(pe, groups[0])[0]
        count = struct.unpack_from("<H", data, 4)[0]
        images = []
        for i in range(count):
            w, h, colours, _, planes, bits, _, _ = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
            images.append((w or 256, h or 256, colours, bits))
        check("icon images (size, colours, bits)",
              [(16, 16, 16, 4), (32, 32, 16, 4), (48, 48, 16, 4)], sorted(images))

    versions = resources(pe, RT_VERSION)
    check("one version block", 1, len(versions))
    if versions:
        fixed = pe.VS_FIXEDFILEINFO[0]
        check("file version", (1, 0, 0, 0), (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                                             fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF))
        check("product version", (fixed.FileVersionMS, fixed.FileVersionLS),
              (fixed.ProductVersionMS, fixed.ProductVersionLS))
        check("file type application", 1, fixed.FileType)
        check("file OS 32-bit Windows", 0x4, fixed.FileOS)
        check("no file flags", 0, fixed.FileFlags)
        tables, translations = {}, []
        for info in pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                for table in info.StringTable:
                    tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
            if info.Key == b"VarFileInfo":
                for var in info.Var:
                    translations.append(var.entry.get(b"Translation"))
        check("string tables", ["080404b0"], [k.lower() for k in tables])
        strings = next(iter(tables.values()), {})
        check("FileVersion string", "1.0.0.0", strings.get("FileVersion"))
        check("ProductVersion string", "1.0.0.0", strings.get("ProductVersion"))
        check("ProductName string", "休息提醒", strings.get("ProductName"))
        check("translation entry", ["0x0804 0x04b0"], [t.decode().lower() if isinstance(t, bytes) else str(t).lower() for t in translations])

    print(f"check_executable: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
