#!/usr/bin/env python3
"""Writes the hand-made sample files in samples/ and, beside each, the memory image the board should keep."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "..", "samples") if len(sys.argv) < 2 else sys.argv[1]


def checksum(text_through_seven):
    return (-sum(ord(c) for c in text_through_seven)) & 0xFFFF


def record(fields, sequence):
    """One 80-column record: fields, checksum, F, blanks, sequence number in columns 77-80."""
    body = fields + "7"
    body += "%04X" % checksum(body) + "F"
    return body.ljust(76) + "%04d" % sequence


def image_text(words):
    return "".join("%04X=%04X\n" % (a, words[a]) for a in sorted(words))


def write(name, data, binary=False):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data if binary else data.encode("ascii"))


def object_records(records):
    lines = [record(fields, i + 1) for i, fields in enumerate(records)]
    lines.append(record("", len(lines) + 1))  # assemblers close with an empty checksum-only record
    lines.append(":       SAMPLE  990 TAGGED OBJECT")
    return lines


def object_file(records):
    return "\r\n".join(object_records(records)) + "\r\n"


def demo():
    # A small absolute program at FE00: LWPI FF00, LI R0,>1234, MOV R0,@>FF20, then a jump to itself.
    program = [0x02E0, 0xFF00, 0x0200, 0x1234, 0xC800, 0xFF20, 0x10FF]
    table = [0x4845, 0x4C4C, 0x4F21]  # "HELLO!" at FF40
    words = {}
    first = "00000DEMO    9FE00"
    for i, w in enumerate(program[:4]):
        first += "B%04X" % w
        words[0xFE00 + 2 * i] = w
    second = "9FE08"
    for i, w in enumerate(program[4:]):
        second += "B%04X" % w
        words[0xFE08 + 2 * i] = w
    # A reserved block gives two address tags in a row; the data follow the second.
    third = "9FF209FF40" + "".join("B%04X" % w for w in table)
    for i, w in enumerate(table):
        words[0xFF40 + 2 * i] = w
    write("demo.obj", object_file([first, second, third]))
    write("demo.image", image_text(words))


def relocatable():
    # Relocatable code for a loader: A/C tags, an entry address and a definition; image for a bias of 0.
    words = {0x0100: 0x0200, 0x0102: 0x0104, 0x0104: 0x045B}
    fields = "00006RELOC   A0100B0200C0104B045B2010050100START "
    write("reloc.obj", object_file([fields]))
    write("reloc.image", image_text(words))


def fixed_records():
    # As a fixed-record disk file (DIS/FIX 80) holds it: 80-character records back to back, no line ends.
    words = {0xA000 + 2 * i: w for i, w in enumerate([0x0200, 0x0001, 0x0A10, 0xC000, 0x045B])}
    first = "00000FIXED   9A000" + "".join("B%04X" % words[a] for a in sorted(words)[:3])
    second = "9A006" + "".join("B%04X" % words[a] for a in sorted(words)[3:])
    write("records.obj", "".join(r.ljust(80) for r in object_records([first, second])))
    write("records.image", image_text(words))


def entry_and_definitions():
    # "DEF START,COUNT" and "END START": definitions (tag 6) and an entry address (tag 1) in their own record.
    words = {0xB000: 0x0460, 0xB002: 0xB000, 0xB004: 0x0005}
    code = "00000ENTRY   9B000" + "".join("B%04X" % words[a] for a in sorted(words))
    defs = "6B000START 6B004COUNT "
    write("entry.obj", object_file([code, defs, "1B000"]))
    write("entry.image", image_text(words))


def bad_checksum():
    good = record("9FE00B1111", 1)
    broken = record("9FE02B2222", 2)
    broken = broken[:11] + "%04X" % ((int(broken[11:15], 16) + 1) & 0xFFFF) + broken[15:]
    write("badsum.obj", "\r\n".join([good, broken, ":"]) + "\r\n")


def binaries():
    even = bytes([0x12, 0x34, 0x0A, 0xFF, 0x00, 0x01, 0xC8, 0x20, 0xFE, 0x04])
    write("even.bin", even, binary=True)
    write("even.image", image_text({0xFE00 + i: (even[i] << 8) | even[i + 1] for i in range(0, len(even), 2)}))
    write("odd.bin", bytes([0xAB, 0xCD, 0x01, 0x02, 0x7F]), binary=True)


def text():
    printable = "".join(chr(c) for c in range(0x20, 0x7F))
    lines = ["ALL PRINTABLE ASCII:", printable[:32], printable[32:64], printable[64:], "END"]
    write("ascii.txt", "\r\n".join(lines) + "\r\n")
    write("hello.bas", '10 REM SAMPLE PROGRAM\r\n20 PRINT "HELLO, TM 990"\r\n30 GOTO 20\r\n')


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    demo()
    relocatable()
    fixed_records()
    entry_and_definitions()
    bad_checksum()
    binaries()
    text()
