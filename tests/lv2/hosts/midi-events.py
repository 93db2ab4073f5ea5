#!/usr/bin/env python3
"""midi-events.py FILE.mid: the channel messages of a Standard MIDI File, one a line, as
"TICK STATUS DATA..." in hexadecimal bytes, with the file's ticks per quarter note first."""
import sys


def number(data, at):
    """A variable-length quantity at `at`: its value and the position after it."""
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = value << 7 | byte & 0x7F
        if byte < 0x80:
            return value, at


def events(data):
    assert data[:4] == b"MThd", "no MIDI file"
    division = int.from_bytes(data[12:14], "big")
    at, found = 8 + int.from_bytes(data[4:8], "big"), []
    while at < len(data):
        tag, length = data[at:at + 4], int.from_bytes(data[at + 4:at + 8], "big")
        at += 8
        end, tick, status = at + length, 0, 0
        while tag == b"MTrk" and at < end:
            delta, at = number(data, at)
            tick += delta
            if data[at] == 0xFF:
                length, at = number(data, at + 2)
                at += length
                continue
            if data[at] in (0xF0, 0xF7):
                length, at = number(data, at + 1)
                at += length
                continue
            if data[at] >= 0x80:
                status, at = data[at], at + 1
            size = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
            found.append((tick, status, *data[at:at + size]))
            at += size
        at = end
    return division, found


division, found = events(open(sys.argv[1], "rb").read())
print("division", division)
for event in found:
    print(event[0], " ".join("%02X" % b for b in event[1:]))
