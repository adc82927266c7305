#!/usr/bin/env python3
"""Reads data/Data/Pagelark.oft back with an independent compound-file reader (Debian's
python3-olefile) and checks what Outlook reads from it: an Outlook item file whose message class
is "IPM.Note.Pagelark", with a property stream that names that string property at its real size.
Usage: form_template_check.py PATH"""
import struct
import sys

import olefile


def main(path):
    if not olefile.isOleFile(path):
        return "not a compound file"
    with olefile.OleFileIO(path) as ole:
        if ole.root.clsid != "0006F046-0000-0000-C000-000000000046":
            return "root storage class %s is not the template class" % ole.root.clsid
        if not ole.exists("__nameid_version1.0"):
            return "the named-property storage is missing"
        message_class = ole.openstream("__substg1.0_001A001F").read().decode("utf-16-le")
        if message_class != "IPM.Note.Pagelark":
            return "message class %r" % message_class
        props = ole.openstream("__properties_version1.0").read()
        if len(props) < 32 or (len(props) - 32) % 16:
            return "property stream of %d bytes" % len(props)
        entries = {}
        for offset in range(32, len(props), 16):
            tag, flags, low, high = struct.unpack_from("<IIII", props, offset)
            entries[tag] = (flags, low, high)
        if 0x001A001F not in entries:
            return "the property stream lacks the message class"
        if entries[0x001A001F][1] != len(message_class.encode("utf-16-le")) + 2:
            return "message class size %d" % entries[0x001A001F][1]
        if entries.get(0x340D0003, (0, 0, 0))[1] & 0x00040000 == 0:
            return "strings are Unicode but STORE_UNICODE_OK is not set"
    return None


if __name__ == "__main__":
    problem = main(sys.argv[1])
    if problem:
        print("Pagelark.oft: " + problem)
        sys.exit(1)
    print("Pagelark.oft: IPM.Note.Pagelark template, read back with olefile " + olefile.__version__)
