#!/usr/bin/python3
"""Index files written by the engine against an independent reader, Perl's XBase::Index (Debian's
libdbd-xbase-perl), which reads NTX files with character and numeric keys (its documentation marks
date keys untested; it writes no NTX files).

The driver writes an empty index (the header page and an empty root leaf, from the file layout),
and a file of random adds and deletes with many equal keys; engine_ntx_probe applies them. Then:
1. Perl walks the whole file (fetch): it must return the driver's model, sorted by key and then
   record number, for key size 10 (50 keys a page) and key size 226 (2 keys a page, the program's
   composite key).
2. Perl positions on keys (prepare_select_eq) and fetches: the first key not smaller than the key
   sought, as the model says.
3. A numeric index (key size 10, 2 decimals) of positive and negative numbers, stored in the
   engine's numeric key form: Perl decodes every key to the number added, in ascending order.
"""
import os
import random
import struct
import subprocess
import sys
import tempfile

import oxtest
from oxtest import check, check_list, winpath

def probe(*args):
    return oxtest.run("engine_ntx_probe", *args)


def empty_index(path, key_size, decimals, expression):
    item = key_size + 8
    max_keys = (1022 // (item + 2) - 1) // 2 * 2
    header = struct.pack("<HHIIHHHHH", 6, 0, 1024, 0, item, key_size, decimals, max_keys, max_keys // 2)
    header += expression.encode("ascii").ljust(256, b"\0")
    header = header.ljust(1024, b"\0")
    slots = 2 + 2 * (max_keys + 1)
    page = struct.pack("<H", 0) + b"".join(struct.pack("<H", slots + i * item) for i in range(max_keys + 1))
    with open(path, "wb") as f:
        f.write(header + page.ljust(1024, b"\0"))


PERL_WALK = r"""
use XBase::Index;
my ($file, $type) = @ARGV;
my $index = new XBase::Index $file, type => $type or die XBase::Index->errstr;
$index->prepare_select;
while (my ($key, $recno) = $index->fetch) {
    print(($type eq "C" ? unpack("H*", $key) : $key), " $recno\n");
}
"""

PERL_SEEK = r"""
use XBase::Index;
my ($file, @keys) = @ARGV;
my $index = new XBase::Index $file, type => "C" or die XBase::Index->errstr;
for my $hex (@keys) {
    $index->prepare_select_eq(pack("H*", $hex));
    my ($key, $recno) = $index->fetch;
    print(defined $key ? unpack("H*", $key) . " $recno\n" : "none\n");
}
"""


def perl(script, *args):
    run = subprocess.run(["perl", "-e", script] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         timeout=300)
    if run.returncode != 0:
        raise RuntimeError("perl failed: %s" % run.stderr.decode("latin-1"))
    return run.stdout.decode("latin-1").splitlines()


def key_text(k, key_size):
    text = "U%d %06d" % (k % 3, (k * 7919) % 1000000)
    if key_size > 120:
        text = text.ljust(120) + chr(ord("a") + k % 26) * 100
    return text.ljust(key_size)[:key_size].encode("ascii")


def character_index(folder, key_size, ops, distinct, seed):
    rng = random.Random(seed)
    path = os.path.join(folder, "char%d.ntx" % key_size)
    empty_index(path, key_size, 0, "NAME")
    model = set()
    lines = []
    for _ in range(ops):
        if not model or rng.random() < 0.7:
            key = key_text(rng.randrange(distinct), key_size)
            recno = rng.randrange(1, 100000)
            while (key, recno) in model:
                recno = rng.randrange(1, 100000)
            model.add((key, recno))
            lines.append("a %d %s" % (recno, key.hex()))
        else:
            key, recno = rng.choice(sorted(model))
            model.discard((key, recno))
            lines.append("d %d %s" % (recno, key.hex()))
    operations = os.path.join(folder, "ops%d.txt" % key_size)
    with open(operations, "w") as f:
        f.write("\n".join(lines) + "\n")
    probe("apply", winpath(path), winpath(operations))
    expected = sorted(model)

    walked = []
    for line in perl(PERL_WALK, path, "C"):
        hexkey, recno = line.split()
        walked.append((bytes.fromhex(hexkey), int(recno)))
    check("key size %d: Perl's walk (%d keys)" % (key_size, len(expected)), expected, walked)

    keys = [k for k, _ in expected]
    sought = [key_text(rng.randrange(distinct * 2), key_size) for _ in range(40)]
    answers = perl(PERL_SEEK, path, *[k.hex() for k in sought])
    for key, answer in zip(sought, answers):
        following = [e for e in expected if e[0] >= key]
        want = "%s %d" % (following[0][0].hex(), following[0][1]) if following else "none"
        check("key size %d: Perl's seek of %r" % (key_size, key.strip()), want, answer)
    return len(expected)


def numeric_index(folder, count, seed):
    rng = random.Random(seed)
    path = os.path.join(folder, "amount.ntx")
    empty_index(path, 10, 2, "AMOUNT")
    model = []
    lines = []
    for recno in range(1, count + 1):
        cents = rng.randrange(-9999999, 10000000)
        if rng.random() < 0.1 and model:
            cents = rng.choice(model)[0]   # equal numbers
        model.append((cents, recno))
        lines.append("n %d %.2f" % (recno, cents / 100))
    operations = os.path.join(folder, "amount.txt")
    with open(operations, "w") as f:
        f.write("\n".join(lines) + "\n")
    probe("apply", winpath(path), winpath(operations))
    walked = []
    for line in perl(PERL_WALK, path, "N"):
        number, recno = line.split()
        walked.append((round(float(number) * 100), int(recno)))
    check("numeric keys: Perl's walk decodes the numbers in order", sorted(model), walked)


def main():
    with tempfile.TemporaryDirectory() as folder:
        small = character_index(folder, 10, 4000, 500, 17)
        large = character_index(folder, 226, 1200, 300, 18)
        numeric_index(folder, 1500, 19)
    return oxtest.report("%d checks (%d and %d keys), %d failures" % (oxtest.checks, small, large, len(oxtest.failures)))


if __name__ == "__main__":
    sys.exit(main())
