#!/usr/bin/env python3
# Checks an application manifest: it parses as XML, asks for LEVEL, names the five supported
# systems and, with --windows, DPI awareness and the common controls 6 (else none of these); and
# EXE holds the file byte for byte, as windres embeds it. Usage: MANIFEST EXE LEVEL [--windows]
import sys
import xml.etree.ElementTree as ET

path, exe, level = sys.argv[1:4]
windows = sys.argv[4:] == ["--windows"]
data = open(path, "rb").read()
root = ET.fromstring(data)
ns = {"v1": "urn:schemas-microsoft-com:asm.v1", "v3": "urn:schemas-microsoft-com:asm.v3",
      "c": "urn:schemas-microsoft-com:compatibility.v1", "w5": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
      "w6": "http://schemas.microsoft.com/SMI/2016/WindowsSettings"}
# Per element found: the named attributes, or (None) its text without blanks.
found = lambda where, *names: [tuple(e.get(n) if n else e.text.replace(" ", "") for n in names)
                               for e in root.findall(where, ns)]
systems = ["{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Vista, 7
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8, 8.1
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]  # 10 and 11
checks = [
    ("level", found("v3:trustInfo/v3:security/v3:requestedPrivileges/v3:requestedExecutionLevel", "level", "uiAccess"),
     [(level, "false")]),
    ("systems", sorted(found("c:compatibility/c:application/c:supportedOS", "Id")), sorted((s,) for s in systems)),
    ("dpiAware", found("v3:application/v3:windowsSettings/w5:dpiAware", None), [("true/pm",)] * windows),
    ("dpiAwareness", found("v3:application/v3:windowsSettings/w6:dpiAwareness", None),
     [("PerMonitorV2,PerMonitor",)] * windows),
    ("controls", found("v1:dependency/v1:dependentAssembly/v1:assemblyIdentity", "name", "version", "processorArchitecture"),
     [("Microsoft.Windows.Common-Controls", "6.0.0.0", "*")] * windows),
    ("in the program", data in open(exe, "rb").read(), True),
]
failed = [f"FAIL: {name}: {got!r}, expected {want!r}" for name, got, want in checks if got != want]
print("\n".join(failed + [f"{path} in {exe}: {'failed' if failed else 'ok'}"]))
sys.exit(1 if failed else 0)
