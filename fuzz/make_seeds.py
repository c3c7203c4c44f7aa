#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz/corpus/ (files named seed-*, which
scripts/fuzz --merge keeps). The targets read the sizes of
the received pieces (and the clock's steps, the pauses) from the end of the
input, as FuzzedDataProvider does; this lays them out so that each seed
delivers exactly the pieces written here."""
import hashlib
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def encode(options, pieces, widths):
    """options: first byte; pieces: list of (bytes, extra ints); widths: byte widths of
    the size and of each extra int, in the order the target consumes them."""
    front = bytes([options])
    back = b""
    for piece, extras in pieces:
        front += piece
        values = [len(piece) - 1] + list(extras)
        for value, width in zip(values, widths):
            # Read from the end, most significant byte first.
            back = value.to_bytes(width, "little") + back
    return front + back


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for seed in seeds:
        name = hashlib.sha1(seed).hexdigest()
        # libFuzzer names what it keeps by the same hash: no second copy.
        if os.path.exists(os.path.join(folder, name)):
            os.remove(os.path.join(folder, name))
        with open(os.path.join(folder, "seed-" + name), "wb") as f:
            f.write(seed)


GROUPS = [b"0123\r\n", b"0456\r\n", b"0789\r\n", b"1000\r\n"]
STREAMS = [
    (0x20, GROUPS),                                       # normal groups, recorded
    (0x20, [b"0123\r", b"\n0456", b"\r\n07", b"89\r\n"]),  # split CR LF and groups
    (0x21, [b"1#?Z\r\n", b"\xff\x98\x00\b\b", b"abc"]),   # garbage
    (0x22, [b"7" * 300, b"8" * 280 + b"\r\n"]),           # long lines
    (0x20, [b"0500\r\n", b"9999\r\n", b"0501\r\n"]),      # thermocouple break
    (0x34, [b"0100\r\n"] * 5),                            # alarm temperature
    (0x20, [b"\b12\b3\r\n", b" 12.5\r\n", b"-.5\n"]),    # backspaces, other numbers
    (0x23, [b"23\r\n0123\r\n", b"\r\r\n\n"]),            # tail of a group at the open
]

write("fuzz_line", [encode(o, [(p, [640, i % 2]) for i, p in enumerate(ps)], [2, 2, 1]) for o, ps in STREAMS])
write("fuzz_terminal", [encode(f, [(p, []) for p in ps], [2]) for f, (_, ps) in zip([0, 0, 3, 200, 0, 199, 0, 0], STREAMS)])
write("fuzz_record", [encode(h, [(p, [1000]) for p in ps], [2, 4]) for h, (_, ps) in zip([0, 10, 0, 63, 0, 1, 0, 0], STREAMS)])
write("fuzz_settings", [
    "[Properties]\nSettings=9600,n,8,1\nCommPort=2\nHandshaking=1\nEcho=True\nGroundColor=255\n"
    "PenColor=65280\nIndicator=False\nButton=True\nSpeed=3\nPassOver=0\nColor=2\nThin=4\nVGrid=5\n"
    "SigTemp=300\nOpto=False\nY2=True\nLegend=False\nSnapShot=True\n".encode(),
    b"[Properties]\nCommPort=3.0\nSpeed=-1\nGroundColor=99999999\nHandshaking=x\n",
    b"[Properties]\nSettings=9600, n, 8, 1\nSigTemp=\"12,5\"\nThin=1e3\n",
    b"[Properties]\nCommPort=16\nPassOver=5\nVGrid=0\nColor=3\nOpto=0\nY2=-1\n",
    b"\x00\xff[\n=\n[Properties\nCommPort\n",
])
write("fuzz_numbers", [
    b"\x00200", b"\x00 1 2 e3", b"\x00-2147483649", b"\x00+7.5e-1x", b"\x00 2147483647.4",
    b"\x01266\\x10\\x20" + bytes([3, 3, 5, 3, 3]),
    b"\x01-5\\x40000\\x-32768.4" + bytes([9, 0, 0, 0, 0]),
    b"\x029600,n,8,1", b"\x02 19200 , E , 7 , 1.5", b"\x02300,m,5,2", b"\x0257600,o,5,2",
    b"\x039600,n,8,1", b"\x03garbage,,,", b"\x03,", b"\x031.5",
])
