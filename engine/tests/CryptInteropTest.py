#!/usr/bin/python3
"""The engine's ciphers and record digest against independent implementations on the Linux side.

- Blowfish: engine_crypt_probe.exe derives the 72-byte key text of a password and enciphers
  buffers with it. The key text is derived here from its rule; the buffers are enciphered with
  OpenSSL's libcrypto (BF_set_key with the 72 bytes, BF_ecb_encrypt) through ctypes, with each
  little-endian half turned big-endian for it, and a buffer whose length is not a multiple of 8
  has its last 8 bytes enciphered first.
- The older scrambler: the same bytes computed here from the rule of the tables and of the
  per-byte substitution.
- db_calc_md5: the probe writes a table with two memo fields (deleted record, long, empty and
  missing memo texts) and prints each record's digest; here hashlib.md5 of the record's bytes in
  the DBF file followed by the memo texts read from the DBT file must give the same upper-case
  digits.
"""
import ctypes
import hashlib
import os
import random
import struct
import tempfile

import oxtest
from oxtest import check, winpath

KEY_BYTES = 72


def derive_key(password):
    key = bytearray(password)
    while len(key) < KEY_BYTES:
        p = key[-1] if key else 0
        key.append((p * len(key) * 97) % 255 + 1)
    return bytes(key)


class OpenSslBlowfish:
    def __init__(self, key):
        self.lib = ctypes.CDLL("libcrypto.so.3")
        self.schedule = (ctypes.c_uint32 * (18 + 4 * 256))()
        self.lib.BF_set_key(self.schedule, len(key[:KEY_BYTES]), key[:KEY_BYTES])

    def block(self, data):
        """One engine block: two little-endian halves."""
        swapped = data[3::-1] + data[7:3:-1]
        out = ctypes.create_string_buffer(8)
        self.lib.BF_ecb_encrypt(swapped, out, self.schedule, 1)
        raw = out.raw
        return raw[3::-1] + raw[7:3:-1]

    def encode(self, data):
        buf = bytearray(data)
        n = len(buf)
        if n < 8:
            return bytes(buf)
        if n % 8:
            buf[n - 8:] = self.block(bytes(buf[n - 8:]))
        for at in range(0, n - n % 8, 8):
            buf[at:at + 8] = self.block(bytes(buf[at:at + 8]))
        return bytes(buf)


def probe_lines(*args):
    out = oxtest.run("engine_crypt_probe", *args)
    return dict(line.split(" ", 1) for line in out.splitlines() if " " in line)


def check_blowfish():
    rnd = random.Random(28)
    passwords = [b"", b"a", b"geheim", b"Qm8{\xf6Trv5<Hz", b"k" * 72, b"x" * 80]
    for password in passwords:
        data = bytes(rnd.randrange(256) for _ in range(64)) + b"ABCDEFGHIJKL"
        for length in (8, 12, 64, 76):
            part = data[:length]
            lines = probe_lines("blowfish", password.hex().upper(), part.hex().upper())
            key = derive_key(password)
            check("key text of %r" % password, key.hex().upper(), lines.get("key"))
            check("%d bytes under %r" % (length, password), OpenSslBlowfish(key).encode(part).hex().upper(),
                  lines.get("data"))


def scramble(password, position, data):
    key = bytearray((password * 8)[:8]) + bytearray([0, 1])
    encode = [0] * 128
    i = 0
    for start in range(13):
        for q in range(start, 128, 13):
            encode[q] = ((((key[0] - i) & 0xFF) ^ 7) & 0x7F) + 0x20
            i += 1
    value = position
    for _ in range(16):
        if value & 1:
            break
        value >>= 1
    d = value & 0xFF
    if d >= 128:
        d -= 61
    k = ((((d + key[2]) & 0xFF) ^ key[1]) & 0x3F) + 3
    out = bytearray(data)
    j = 0
    for i, b in enumerate(out):
        if b < 0x20 or b >= 0xA0:
            continue
        r = len(out) - 1 - i
        t = (((r & 0xFF) ^ 5) + k + key[j]) & 0xFF
        out[i] = encode[((b - 0x20) + t) & 0x7F]
        j = (j + 1) % 10
    return bytes(out)


def check_scrambler():
    data = bytes(range(256)) + b"Ein Satz mit Text, der l\xe4nger ist als zehn Zeichen" * 3
    for password in (b"abc", b"Geheimes Wort", b"\xe4"):
        for position in (1, 2, 98, 1024, 0x40000, -36, 0):
            lines = probe_lines("scramble", password.hex().upper(), str(position), data.hex().upper())
            check("scrambled with %r at %d" % (password, position), scramble(password, position, data).hex().upper(),
                  lines.get("data"))


def memo_text(dbt, reference):
    reference = reference.strip()
    if not reference or not reference.isdigit() or int(reference) == 0:
        return b""
    start = int(reference) * 512
    end = dbt.find(b"\x1a", start)
    text = dbt[start:end if end >= 0 else len(dbt)]
    return text.split(b"\0")[0]


def check_md5():
    with tempfile.TemporaryDirectory(prefix="md5interop") as folder:
        out = oxtest.run("engine_crypt_probe", "md5", winpath(folder))
        digests = dict(line.split() for line in out.splitlines() if line.strip())
        with open(os.path.join(folder, "digest.dbf"), "rb") as f:
            table = f.read()
        with open(os.path.join(folder, "digest.dbt"), "rb") as f:
            dbt = f.read()
        count, header_length, record_length = struct.unpack("<IHH", table[4:12])
        check("records", 8, count)
        fields = []
        offset = 1
        for at in range(32, header_length - 1, 32):
            if table[at] == 0x0D:
                break
            fields.append((chr(table[at + 11]), offset, table[at + 16]))
            offset += table[at + 16]
        for n in range(1, count + 1):
            record = table[header_length + (n - 1) * record_length:header_length + n * record_length]
            data = record
            for kind, at, length in fields:
                if kind == "M":
                    data += memo_text(dbt, record[at:at + length].decode("latin-1"))
            check("digest of record %d" % n, hashlib.md5(data).hexdigest().upper(), digests.get(str(n)))
        check("record 5 is marked deleted", b"*", table[header_length + 4 * record_length:][:1])


def main():
    check_blowfish()
    check_scrambler()
    check_md5()
    return oxtest.report()


if __name__ == "__main__":
    raise SystemExit(main())
