#!/usr/bin/env python3
"""Writes small generated seed inputs for the fuzz targets: python3 make-seeds.py TARGET DIR."""

import struct
import sys
from pathlib import Path


def database(records, count=None, little=False):
    """A media database: 8 header bytes, the count at 8, then the records."""
    order = "<" if little else ">"
    out = b"\x00\x00\x07\xa9\x00\x00\x00\x02"
    out += struct.pack(order + "i", len(records) if count is None else count)
    for mob, filename, project in records:
        out += mob
        out += struct.pack(order + "h", len(filename)) + filename
        out += struct.pack(order + "h", len(project)) + project
        out += b"\x00" * 12
    return out


def media_with_trailer(project, body=b"RIFF\x24\x00\x00\x00WAVEfmt "):
    """A media file whose tail holds a "_PJ" field pointing at a 32-byte project name."""
    name_at = len(body)
    body += project.ljust(32, b"\x00")
    tail_length = 36
    tail = b"_PJ" + b"\x00" * 21 + struct.pack("<i", name_at) + b"\x00" * 4
    tail += struct.pack("<h", tail_length) + b"\x00\x00"
    assert len(tail) == tail_length
    return body + tail


def resource_fork(resources):
    """A classic resource fork holding (type, id, name or None, data) resources."""
    data = b""
    offsets = []
    for _, _, _, payload in resources:
        offsets.append(len(data))
        data += struct.pack(">I", len(payload)) + payload
    types = []
    for rtype, rid, name, _ in resources:
        if rtype not in types:
            types.append(rtype)
    type_list = struct.pack(">H", (len(types) - 1) & 0xFFFF)
    ref_lists = b""
    names = b""
    ref_start = 2 + 8 * len(types)
    for rtype in types:
        members = [i for i, r in enumerate(resources) if r[0] == rtype]
        type_list += rtype + struct.pack(">HH", len(members) - 1, ref_start + len(ref_lists))
        for i in members:
            _, rid, name, _ = resources[i]
            name_offset = 0xFFFF
            if name is not None:
                name_offset = len(names)
                names += bytes([len(name)]) + name
            ref_lists += struct.pack(">hHI", rid, name_offset, offsets[i] & 0xFFFFFF) + b"\x00" * 4
    type_list_offset = 28
    name_list_offset = type_list_offset + len(type_list) + len(ref_lists)
    map_body = type_list + ref_lists + names
    data_offset = 256
    map_offset = data_offset + len(data)
    map_length = 28 + len(map_body)
    header = struct.pack(">IIII", data_offset, map_offset, len(data), map_length)
    map_bytes = header + b"\x00" * 8 + struct.pack(">HH", type_list_offset, name_list_offset)
    map_bytes += map_body
    return header + b"\x00" * (data_offset - 16) + data + map_bytes


def omf1_fork(project):
    return resource_fork([
        (b"OMF1", 1000, None, b"\x00" * 12 + project.ljust(32, b"\x00")),
        (b"STR ", 128, b"Spot", b"\x04Spot"),
    ])


def looping_fork():
    """A map whose reference list is its own type list, and a count of 65,536 types."""
    header = struct.pack(">IIII", 16, 16, 64, 64)
    map_bytes = header + b"\x00" * 8 + struct.pack(">HH", 28, 28)
    map_bytes += b"\xff\xfe" + b"OMF1" + struct.pack(">HH", 0xFFFF, 0)
    return (map_bytes + b"\x00" * 64)[:80]


def apple_double(finder_info, fork):
    entries = [(9, finder_info), (2, fork)]
    out = struct.pack(">II", 0x00051607, 0x00020000) + b"\x00" * 16 + struct.pack(">H", len(entries))
    offset = len(out) + 12 * len(entries)
    body = b""
    for entry_id, payload in entries:
        out += struct.pack(">III", entry_id, offset + len(body), len(payload))
        body += payload
    return out + body


def seeds(target):
    mob = bytes.fromhex("237ff5e58d59ec22")
    if target == "fuzz_media_database":
        two = [(mob, b"V01A23BC.omf", b"Spot30"), (mob[::-1], b"A01A23BC.omf", b"Trailer")]
        yield "big_endian_2", database(two)
        yield "little_endian_2", database(two, little=True)
        yield "count_too_big", database(two[:1], count=0x7FFFFFFF)
        yield "negative_lengths", database([(mob, b"", b"")])[:20] + b"\xff\xff\xff\xfe" + b"\x00" * 12
        yield "cut_short", database(two)[:40]
    elif target == "fuzz_trailer":
        yield "wav_with_pj", media_with_trailer(b"Spot30")
        yield "aif_with_pj", media_with_trailer(b"Trailer 2", body=b"FORM\x00\x00\x00\x20AIFCCOMM")
        yield "sd2_fork", omf1_fork(b"Sound Project")
        # The tail is the whole file and its marker ends at the last byte: "\x10_" is the length.
        yield "marker_at_last_byte", b"\x00" * (0x5F10 - 4) + b"\x10_PJ"
        yield "tail_minus_one", b"_PJ" + b"\x00" * 21 + b"\xff\xff\x00\x00"
    elif target == "fuzz_resource_fork":
        yield "omf1", omf1_fork(b"Spot30")
        yield "looping", looping_fork()
    elif target == "fuzz_apple_double":
        info = b"Sd2fSd2a" + b"\x00" * 24
        yield "sd2_sidecar", apple_double(info, omf1_fork(b"Spot30"))
        yield "looping_sidecar", apple_double(info, looping_fork())
    else:
        raise SystemExit("unknown target " + target)


def main():
    target, folder = sys.argv[1], Path(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds(target):
        (folder / ("generated_" + name)).write_bytes(data)


if __name__ == "__main__":
    main()
