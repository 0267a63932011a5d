#!/usr/bin/env python3
"""Checks that setup.exe can start on every Windows it names.

  check_setup_binary.py OBJDUMP SETUP.EXE SETUP.MAP ALLOWED_IMPORTS LATE_BOUND_TABLE

- Every static import is a (library, function) pair of the allow-list of
  functions Windows 98 exports, and none is by ordinal: Windows refuses to
  start a program one of whose imports it lacks.
- No function of the late-bound table is imported: those are bound at run
  time because some Windows lacks them or exports only a stub.
- The PE header asks for Windows 4.0 (the 9x family refuses 5.0 and above)
  and the GUI subsystem.
- No MMX or SSE instruction: the floor is an i686-class processor. The
  exception tables that the linker places in .text are data, found from the
  link map and skipped.
- At most 256 KiB: a library member pulled in again (the standard exception
  classes, iostreams) shows here.
- The embedded manifest asks for administrator rights in the trustInfo form
  that Windows XP and 2000 ignore safely (one asm.v2 namespace, no prefix),
  and still names the common-controls dependency.
"""
import os, re, subprocess, sys

objdump, program, map_file, allowed_file, table_file = sys.argv[1:6]
faults = []

allowed = set()
for line in open(allowed_file, encoding="utf-8"):
    fields = line.split("#", 1)[0].split()
    if len(fields) == 2:
        allowed.add((fields[0].lower(), fields[1]))
late_bound = set(re.findall(r'\{"[\w.]+", "(\w+)", (?:true|false)\}', open(table_file).read()))

headers = subprocess.run([objdump, "-p", program], capture_output=True, text=True, check=True).stdout
library = None
for line in headers.splitlines():
    if not line.strip() or re.match(r"\S", line):  # a blank line or a heading ends a library's rows
        library = None
    elif m := re.match(r"\s*DLL Name: (\S+)", line):
        library = m.group(1).lower()
    elif library and (m := re.match(r"\s+[0-9a-f]+\s+(\d+)\s+(\S+)", line)):
        name = m.group(2)
        if name == "<none>":
            faults.append(f"{library} import by ordinal")
        elif (library, name) not in allowed:
            faults.append(f"{library} {name}: not known to exist on Windows 98")
        if name in late_bound:
            faults.append(f"{library} {name}: imported, but bound at run time on purpose")
for field, expected in [("MajorOSystemVersion", "4"), ("MinorOSystemVersion", "0"),
                        ("MajorSubsystemVersion", "4"), ("MinorSubsystemVersion", "0"),
                        ("Subsystem", "00000002")]:
    m = re.search(rf"^{field}\s+(\S+)", headers, re.M)
    if not m or m.group(1) != expected:
        faults.append(f"PE header {field} is {m.group(1) if m else 'missing'}, not {expected}")

data = []  # (start, end) of the exception tables inside .text
in_tables = False
for line in open(map_file, encoding="utf-8", errors="replace"):
    if line.startswith(" *("):
        in_tables = line.startswith(" *(.gcc_except_table)")
    elif in_tables and (m := re.match(r"\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s", line)):
        data.append((int(m.group(1), 16), int(m.group(1), 16) + int(m.group(2), 16)))
code = subprocess.run([objdump, "-d", "-j", ".text", program], capture_output=True, text=True, check=True).stdout
for line in code.splitlines():
    m = re.match(r"\s*([0-9a-f]+):\s.*%(x|y)?mm\d", line)
    if m and not any(start <= int(m.group(1), 16) < end for start, end in data):
        faults.append(f"MMX/SSE instruction: {line.strip()}")

binary = open(program, "rb").read()
manifest = re.search(rb"<assembly .*?</assembly>", binary, re.S)
manifest = manifest.group(0).decode("utf-8", "replace") if manifest else ""
for needed in ['<trustInfo xmlns="urn:schemas-microsoft-com:asm.v2">',
               '<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>',
               'name="Microsoft.Windows.Common-Controls"']:
    if needed not in manifest:
        faults.append(f"manifest lacks {needed}")
if "asm.v3" in manifest:
    faults.append("manifest names asm.v3, which Windows XP before SP3 may fail on")

if os.path.getsize(program) > 256 * 1024:
    faults.append(f"{os.path.getsize(program)} bytes, more than 256 KiB")

print("\n".join(faults) if faults else f"{program}: imports, header, instructions, size and manifest fit Windows 98 on an i686")
sys.exit(1 if faults else 0)
