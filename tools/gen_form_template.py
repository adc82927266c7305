#!/usr/bin/env python3
"""Writes data/Data/Pagelark.oft: the Outlook form template of the program's message class.

The file is an Outlook item file ([MS-OXMSG], "Outlook Item (.msg) File Format") inside a
compound file ([MS-CFB], "Compound File Binary File Format"); docs/outlook-automation.md lists
the facts relied on. Written by this script alone, so the bytes are ours and reproducible:

    python3 tools/gen_form_template.py            # rewrites data/Data/Pagelark.oft
"""
import pathlib
import struct
import uuid

MESSAGE_CLASS = "IPM.Note.Pagelark"

# [MS-CFB] constants.
SECTOR = 512
MINI_SECTOR = 64
MINI_CUTOFF = 4096
FREESECT, ENDOFCHAIN, FATSECT, NOSTREAM = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFF
STORAGE, STREAM, ROOT = 1, 2, 5
BLACK = 1

# The class Outlook's own template files carry on their root storage (a .msg file carries
# {00020D0B-0000-0000-C000-000000000046} instead); [MS-OXMSG] itself requires none.
TEMPLATE_CLSID = uuid.UUID("0006F046-0000-0000-C000-000000000046").bytes_le

# MAPI property types and the properties of the template's message ([MS-OXPROPS] tags).
PT_LONG, PT_UNICODE = 0x0003, 0x001F
PROPATTR_READABLE_WRITABLE = 0x00000006
PROPERTIES = [
    (0x001A, PT_UNICODE, MESSAGE_CLASS),   # PidTagMessageClass
    (0x0E07, PT_LONG, 0x00000008),         # PidTagMessageFlags: mfUnsent, like any new template item
    (0x340D, PT_LONG, 0x00040000),         # PidTagStoreSupportMask: STORE_UNICODE_OK, strings are UTF-16
]


def property_stream(props, streams):
    """The top-level message's property stream ([MS-OXMSG] 2.4.1): a 32-byte header, then one
    16-byte entry per property; variable-length values live in their own substg streams."""
    out = bytearray(8)                                  # reserved
    out += struct.pack("<IIII", 0, 0, 0, 0)             # next recipient id, next attachment id, counts
    out += bytes(8)                                     # reserved
    for prop_id, prop_type, value in props:
        tag = (prop_id << 16) | prop_type
        if prop_type == PT_UNICODE:
            data = value.encode("utf-16-le")
            streams["__substg1.0_%08X" % tag] = data
            # The size of a string counts its terminating null character, which the stream lacks.
            out += struct.pack("<IIII", tag, PROPATTR_READABLE_WRITABLE, len(data) + 2, 0)
        else:
            out += struct.pack("<IIQ", tag, PROPATTR_READABLE_WRITABLE, value)
    return bytes(out)


class Entry:
    def __init__(self, name, kind, data=b"", children=None, clsid=bytes(16)):
        self.name, self.kind, self.data, self.children, self.clsid = name, kind, data, children or [], clsid
        self.sid = None
        self.left = self.right = self.child = NOSTREAM
        self.start, self.size = ENDOFCHAIN, 0


def cfb_order(entry):
    # [MS-CFB] 2.6.4: shorter names first, then by upper-cased name.
    return (len(entry.name), entry.name.upper())


def build_tree(children):
    """Siblings as a balanced binary search tree (all black); returns the root's id."""
    if not children:
        return NOSTREAM
    children = sorted(children, key=cfb_order)
    middle = len(children) // 2
    node = children[middle]
    node.left = build_tree(children[:middle])
    node.right = build_tree(children[middle + 1:])
    return node.sid


def compound_file(root):
    entries = []

    def number(entry):
        entry.sid = len(entries)
        entries.append(entry)
        for child in entry.children:
            number(child)

    number(root)
    for entry in entries:
        entry.child = build_tree(entry.children)

    # Every stream is below the cut-off, so all of them go into the mini stream.
    mini_stream = bytearray()
    mini_fat = []
    for entry in entries:
        if entry.kind != STREAM:
            continue
        entry.size = len(entry.data)
        if entry.size == 0:
            continue
        assert entry.size < MINI_CUTOFF
        count = (entry.size + MINI_SECTOR - 1) // MINI_SECTOR
        entry.start = len(mini_fat)
        mini_fat += [len(mini_fat) + i + 1 for i in range(count - 1)] + [ENDOFCHAIN]
        mini_stream += entry.data + bytes(count * MINI_SECTOR - entry.size)

    def sectors_for(size):
        return (size + SECTOR - 1) // SECTOR

    mini_stream_sectors = sectors_for(len(mini_stream))
    mini_fat_sectors = sectors_for(len(mini_fat) * 4)
    directory_sectors = sectors_for(len(entries) * 128)
    data_sectors = mini_stream_sectors + mini_fat_sectors + directory_sectors
    fat_sectors = 1
    while (data_sectors + fat_sectors) > fat_sectors * (SECTOR // 4):
        fat_sectors += 1

    fat = []

    def chain(count):
        first = len(fat)
        fat.extend(first + i + 1 for i in range(count - 1))
        fat.append(ENDOFCHAIN)
        return first

    root.start = chain(mini_stream_sectors) if mini_stream_sectors else ENDOFCHAIN
    root.size = len(mini_stream)
    first_mini_fat = chain(mini_fat_sectors) if mini_fat_sectors else ENDOFCHAIN
    first_directory = chain(directory_sectors)
    first_fat = len(fat)
    fat.extend([FATSECT] * fat_sectors)
    fat.extend([FREESECT] * (fat_sectors * (SECTOR // 4) - len(fat)))

    header = bytearray()
    header += bytes.fromhex("D0CF11E0A1B11AE1") + bytes(16)
    header += struct.pack("<HHHHH", 0x003E, 0x0003, 0xFFFE, 9, 6) + bytes(6)
    header += struct.pack("<IIIIIIIII", 0, fat_sectors, first_directory, 0, MINI_CUTOFF, first_mini_fat,
                          mini_fat_sectors, ENDOFCHAIN, 0)
    difat = [first_fat + i for i in range(fat_sectors)] + [FREESECT] * (109 - fat_sectors)
    header += struct.pack("<109I", *difat)
    assert len(header) == SECTOR

    directory = bytearray()
    for entry in entries:
        name = entry.name.encode("utf-16-le") + b"\0\0"
        assert len(name) <= 64
        directory += name + bytes(64 - len(name))
        directory += struct.pack("<HBBIII", len(name), entry.kind, BLACK, entry.left, entry.right, entry.child)
        directory += entry.clsid + bytes(4 + 16)   # state bits, creation and modification times
        directory += struct.pack("<IQ", entry.start if entry.kind != STORAGE else 0, entry.size)
    # Unused directory slots are empty entries whose links point nowhere.
    while len(directory) % SECTOR:
        directory += bytes(64) + struct.pack("<HBBIII", 0, 0, 0, NOSTREAM, NOSTREAM, NOSTREAM) + bytes(16 + 4 + 16 + 12)

    def padded(data):
        return bytes(data) + bytes(sectors_for(len(data)) * SECTOR - len(data))

    body = padded(mini_stream) + padded(struct.pack("<%dI" % len(mini_fat), *mini_fat)) + bytes(directory)
    body += struct.pack("<%dI" % len(fat), *fat)
    return bytes(header) + body


def template():
    streams = {}
    properties = property_stream(PROPERTIES, streams)
    children = [Entry("__properties_version1.0", STREAM, properties)]
    children += [Entry(name, STREAM, data) for name, data in sorted(streams.items())]
    # The named-property mapping storage with its three (here empty) streams ([MS-OXMSG] 2.2.3).
    nameid = Entry("__nameid_version1.0", STORAGE, children=[
        Entry("__substg1.0_00020102", STREAM), Entry("__substg1.0_00030102", STREAM),
        Entry("__substg1.0_00040102", STREAM)])
    children.append(nameid)
    return compound_file(Entry("Root Entry", ROOT, children=children, clsid=TEMPLATE_CLSID))


def main():
    target = pathlib.Path(__file__).resolve().parent.parent / "data" / "Data" / "Pagelark.oft"
    target.write_bytes(template())


if __name__ == "__main__":
    main()
