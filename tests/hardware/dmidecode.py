"""dmidecode.py TARGET FOLDER: the section against dmidecode on tables shaped as real machines give; seeds to FOLDER."""
import shutil
import struct
import subprocess
import sys
from pathlib import Path

# dmidecode's words for a value it cannot give (None: a field past the structure's length), where the section prints
# Unknown; it writes UUIDs in lower case and strings whole, where the section cuts them at 255 bytes.
UNKNOWN = {"Not Specified", "Not Present", "Not Settable", "Unknown", "Reserved", None}
MACHINE = [(1, "Manufacturer"), (1, "Product Name"), (1, "Serial Number"), (1, "UUID"), (3, "Type"), (0, "Vendor"),
           (0, "Version"), (0, "Release Date"), (2, "Manufacturer"), (2, "Product Name"), (2, "Serial Number")]
MODULE = ["Locator", "Size", "Type", "Speed", "Manufacturer", "Part Number"]


def kilobytes(value):
    count, unit = value.split()
    return int(count) << {"kB": 0, "MB": 10, "GB": 20}[unit]


def known(key, value):
    # Whole MB as the section prints them; dmidecode names in kB the sizes that are not whole MB.
    if key == "Size" and value not in UNKNOWN:
        value = f"{kilobytes(value) >> 10} MB" if kilobytes(value) % 1024 == 0 else f"{kilobytes(value)} KB"
    # dmidecode 3.4 reads the extended speed's reserved bit 31 as part of the speed.
    if key == "Speed" and value not in UNKNOWN and not value.startswith("<"):
        value = f"{int(value.split()[0]) & 0x7FFFFFFF} MT/s"
    # Its words in angle brackets (a bad string number, a code out of range) are "can't tell" too.
    return "Unknown" if value in UNKNOWN or value.startswith("<") else value.upper() if key == "UUID" else value[:255]


def structure(kind, body, *strings):
    return bytes([kind, 4 + len(body), kind, 0]) + body + (b"".join(s + b"\0" for s in strings) or b"\0") + b"\0"


def checksummed(data, at):
    return data[:at] + bytes([-sum(data) & 0xFF]) + data[at + 1:]


def machine(chassis, serial=3, strings=(b"Dell Inc.", b"OptiPlex 7090", b"5XYZ123"), uuid=bytes(range(16, 32))):
    return (structure(0, bytes([1, 2, 0, 0xE8, 3, 0]) + bytes(8), b"Dell Inc.", b"1.12.0", b"09/14/2022") +
            structure(1, bytes([1, 2, 0, serial]) + uuid + b"\6", *strings) +
            structure(2, bytes([1, 2, 0, 3]), b"Dell Inc.", b"0K1M8J", b"/5XYZ123/CNFCW0022P00XY/") +
            structure(3, bytes([1, chassis, 0, 0, 0]), b"Dell Inc."))


def oem(kind):
    return structure(kind, bytes([0xAA, 0x55]), b"OEM data")


def module(length, size, kind, speed, ext_size=0, ext_speed=0, part=b"HMA82GU6DJR8N-XN  "):
    body = struct.pack("<5H5B2H5BI4H", 0x1000, 0xFFFE, 64, 64, size, 9, 0, 1, 0, kind, 0x80, speed, 2, 0, 0, 3, 2,
                       ext_size, 0, 1200, 1200, 1200).ljust(0x50, b"\0") + struct.pack("<Q", ext_speed)
    return structure(17, body[:length - 4], b"DIMM%d" % size, b"80AD000080AD", part)


# UUID byte orders, empty slots, sizes in KB and of 32 GB on, bad string numbers, a tab, long text, odd chassis codes;
# OEM structures before the modules, and a second node's structures after the first's (a blade or multi-node server).
NODE2 = machine(0x1C, 4, (b"Dell Inc.", b"PowerEdge M640", b"NODE2"), bytes(range(48, 64)))
TABLES = {
    (2, 5): machine(3) + oem(0x80) + module(0x17, 1024, 0x13, 800) + module(0x1B, 0, 2, 0)
    + module(0x28, 8192, 0x18, 1600),
    (2, 6): machine(0x89, 9, (b"LENOVO", b"20HR\tThinkPad  ")) + module(0x28, 0x8800, 0x12, 0, part=b"9" * 300)
    + oem(0xD0) + module(0x28, 0x8200, 0x12, 0) + module(0x28, 0x8600, 0x12, 0),
    (3, 3): machine(0x17, uuid=bytes.fromhex("44454C4C350053108052B8C04F583432")) + oem(0xFF) + NODE2
    + module(0x5C, 0x7FFF, 0x1A, 3200, 65536) + module(0x5C, 0x7FFF, 0x22, 0xFFFF, 32768, 0x800020D0),
    (3, 2): machine(0x17, uuid=b"\xff" * 16) + module(0x28, 0xFFFF, 0x1A, 2400) + module(0x28, 8192, 0x1A, 2400),
    (3, 0): machine(0x40, 0, uuid=bytes(16)) + module(0x22, 0, 2, 0),
}
target, folder = sys.argv[1:]
shutil.rmtree(folder, ignore_errors=True)
Path(folder).mkdir()
for (major, minor), table in TABLES.items():
    name = f"{folder}/{major}.{minor}-"
    table += structure(127, b"")
    raw = struct.pack("<4BI", 0, major, minor, 0, len(table)) + table
    for cut in range(len(raw) + 1):
        Path(f"{name}{cut}").write_bytes(raw[:cut])
    # The entry point; the table at offset 32, without a structure count: type 127 ends it.
    sm3 = checksummed(b"_SM3_\0\x18" + bytes([major, minor, 0, 1, 0]) + struct.pack("<IQ", len(table), 32), 5)
    dmi = checksummed(b"_DMI_\0" + struct.pack("<HIHB", len(table), 32, 0, major << 4 | minor), 5)
    entry = sm3 if major == 3 else checksummed(b"_SM_\0\x1f" + bytes([major, minor, 0, 1]) + bytes(6) + dmi, 4)
    Path(f"{folder}.dump").write_bytes(entry.ljust(32, b"\0") + table)
    decoded = subprocess.run(["dmidecode", "--from-dump", f"{folder}.dump"], capture_output=True, check=True)
    found = {}
    for block in decoded.stdout.decode("latin-1").split("\nHandle ")[1:]:
        fields = dict(line[1:].split(": ", 1) for line in block.splitlines() if line[:1] == "\t" and ": " in line)
        found.setdefault(int(block.split("DMI type ")[1].split(",")[0]), []).append(fields)
    expected = [known(key, found[kind][0][key]) for kind, key in MACHINE]
    modules = [fields for fields in found.get(17, []) if fields["Size"] != "No Module Installed"]
    expected += [", ".join(known(key, fields.get(key)) for key in MODULE) for fields in modules] or ["Unknown"]
    # Installed where Windows gives no figure (XP, Server 2003): the modules' sum, Unknown if one's size is.
    sizes = [fields["Size"] for fields in modules]
    total = 0 if not sizes or UNKNOWN.intersection(sizes) else sum(map(kilobytes, sizes)) >> 10
    expected.insert(11, f"{total} MB" if total else "Unknown")
    printed = subprocess.run([target, "-detect_leaks=0", f"{name}{len(raw)}"], capture_output=True, check=True).stdout
    values = [line[24:] for line in printed.decode("latin-1").splitlines() if line[22:24] == ": "]
    ours = values[:11] + values[17:18] + values[19:]
    assert ours == expected, f"{name}: ours, then dmidecode's\n{ours}\n{expected}"
