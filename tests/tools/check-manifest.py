#!/usr/bin/env python3
"""Checks a program's application manifest from the Linux side: the manifest file its resource
script embeds parses as XML and asks for the execution level, names the five supported systems
and, for a program with windows (--windows), declares DPI awareness and the common controls 6;
and the built program holds that file byte for byte (windres embeds RT_MANIFEST unchanged).
Usage: check-manifest.py MANIFEST EXE LEVEL [--windows]"""
import sys
import xml.etree.ElementTree as ET

ASM1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
WS2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
WS2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
SYSTEMS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}

manifest_path, exe_path, level = sys.argv[1:4]
windows = "--windows" in sys.argv[4:]
failures = []


def expect(what, actual, wanted):
    if actual != wanted:
        failures.append(f"{what}: {actual!r}, expected {wanted!r}")


data = open(manifest_path, "rb").read()
root = ET.fromstring(data)
expect("root element", root.tag, ASM1 + "assembly")
requested = root.findall(f"{ASM3}trustInfo/{ASM3}security/{ASM3}requestedPrivileges/{ASM3}requestedExecutionLevel")
expect("requestedExecutionLevel", [(r.get("level"), r.get("uiAccess")) for r in requested], [(level, "false")])
ids = [s.get("Id") for s in root.findall(f"{COMPAT}compatibility/{COMPAT}application/{COMPAT}supportedOS")]
expect("supportedOS", sorted(ids), sorted(SYSTEMS))

settings = f"{ASM3}application/{ASM3}windowsSettings/"
aware = [e.text.strip() for e in root.findall(settings + WS2005 + "dpiAware")]
awareness = [[m.strip() for m in e.text.split(",")] for e in root.findall(settings + WS2016 + "dpiAwareness")]
controls = [a.attrib for a in root.findall(f"{ASM1}dependency/{ASM1}dependentAssembly/{ASM1}assemblyIdentity")]
if windows:
    expect("dpiAware", aware, ["true/pm"])
    expect("dpiAwareness", awareness, [["PerMonitorV2", "PerMonitor"]])
    expect("common controls", [(c.get("name"), c.get("version"), c.get("processorArchitecture"),
                                c.get("publicKeyToken")) for c in controls],
           [("Microsoft.Windows.Common-Controls", "6.0.0.0", "*", "6595b64144ccf1df")])
else:
    expect("DPI settings and dependencies of a program without windows", (aware, awareness, controls), ([], [], []))

if data not in open(exe_path, "rb").read():
    failures.append(f"{exe_path} does not hold {manifest_path} byte for byte")

for failure in failures:
    print("FAIL:", failure)
print(f"{manifest_path} in {exe_path}: {'failed' if failures else 'ok'}")
sys.exit(1 if failures else 0)
