#!/usr/bin/env python3
"""Writes the smallest files that carry the marks of Word formats older than Word 97, for the
tests: word6.doc, an OLE compound file whose WordDocument stream begins as Word 6.0 writes it
(wIdent 0xA5DC, nFib 101), and word2.doc, a file that begins as Word for Windows 2.0 writes one
(wIdent 0xA5DB, nFib 45). Neither holds text; they stand for files too old to be read.
Standard library only; the outputs are committed beside this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
FREE, END, FAT = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD


def directory_entry(name, kind, start, size, child=0xFFFFFFFF):
    encoded = (name + '\0').encode('utf-16-le') if name else b''
    return (encoded.ljust(64, b'\0') + struct.pack('<HBB', len(encoded), kind, 1) +
            struct.pack('<III', 0xFFFFFFFF, 0xFFFFFFFF, child) + b'\0' * 16 +
            struct.pack('<I', 0) + b'\0' * 16 + struct.pack('<IQ', start, size))


def compound_file(stream_name, stream):
    sectors = (len(stream) + 511) // 512
    header = (b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' + b'\0' * 16 +
              struct.pack('<HHHHH', 0x3E, 3, 0xFFFE, 9, 6) + b'\0' * 6 +
              struct.pack('<IIIIIIIII', 0, 1, 1, 0, 4096, END, 0, END, 0) +
              struct.pack('<I', 0) + struct.pack('<I', FREE) * 108)
    fat = [FAT, END] + [3 + i for i in range(sectors - 1)] + [END]
    fat_sector = b''.join(struct.pack('<I', v) for v in fat).ljust(512, b'\xFF')
    entries = (directory_entry('Root Entry', 5, END, 0, child=1) +
               directory_entry(stream_name, 2, 2, len(stream)) +
               directory_entry('', 0, 0, 0) * 2)
    return header + fat_sector + entries + stream.ljust(sectors * 512, b'\0')


def main():
    fib6 = struct.pack('<HHHH', 0xA5DC, 101, 0x2065, 0x0409)
    with open(os.path.join(HERE, 'word6.doc'), 'wb') as f:
        f.write(compound_file('WordDocument', fib6.ljust(4096, b'\0')))
    fib2 = struct.pack('<HHHH', 0xA5DB, 45, 0x0025, 0x0409)
    with open(os.path.join(HERE, 'word2.doc'), 'wb') as f:
        f.write(fib2.ljust(2048, b'\0'))


if __name__ == '__main__':
    main()
