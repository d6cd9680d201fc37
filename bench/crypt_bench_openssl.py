#!/usr/bin/python3
"""Blowfish and MD5 of the engine next to OpenSSL's libcrypto on the same machine, in one run:
runs bench_crypt.exe under Wine (the figures of the engine's own code), then the same work with
libcrypto through ctypes (EVP "BF-ECB" from the legacy provider with the engine's 72-byte key, and
EVP MD5), on buffers of the same sizes, and prints both figures and their ratio.

    /usr/bin/python3 bench/crypt_bench_openssl.py            (after tools/build.sh)

OX_BUILD_DIR chooses the build folder (default: build/ beside bench/).
"""
import ctypes
import os
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("OX_BUILD_DIR", os.path.join(ROOT, "build"))
BUFFER = 1 << 20
ROUNDS = 64


def engine_figures():
    env = dict(os.environ, WINEPREFIX=os.path.join(BUILD, "wineprefix"), WINEDEBUG="-all", LC_ALL="de_DE.UTF-8")
    out = subprocess.run(["/usr/lib/wine/wine64", os.path.join(BUILD, "bin", "bench_crypt.exe")], env=env,
                         stdout=subprocess.PIPE, check=True).stdout.decode()
    figures = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) >= 2:
            figures[parts[0]] = float(parts[1])
    return figures


class LibCrypto:
    def __init__(self):
        c = ctypes.CDLL("libcrypto.so.3")
        for name in ("OSSL_PROVIDER_load", "EVP_CIPHER_fetch", "EVP_CIPHER_CTX_new", "EVP_MD_CTX_new", "EVP_md5"):
            getattr(c, name).restype = ctypes.c_void_p
        c.OSSL_PROVIDER_load(None, b"legacy")
        c.OSSL_PROVIDER_load(None, b"default")
        self.c = c

    def blowfish(self, piece):
        c = self.c
        ctx = ctypes.c_void_p(c.EVP_CIPHER_CTX_new())
        c.EVP_EncryptInit_ex2(ctx, ctypes.c_void_p(c.EVP_CIPHER_fetch(None, b"BF-ECB", None)), None, None, None)
        c.EVP_CIPHER_CTX_set_key_length(ctx, 72)
        c.EVP_EncryptInit_ex2(ctx, None, bytes(range(1, 73)), None, None)
        c.EVP_CIPHER_CTX_set_padding(ctx, 0)
        data = ctypes.create_string_buffer(BUFFER)
        out = ctypes.create_string_buffer(BUFFER + 64)
        written = ctypes.c_int()

        def once():
            for at in range(0, BUFFER, piece):
                c.EVP_EncryptUpdate(ctx, out, ctypes.byref(written), ctypes.byref(data, at), piece)

        return measure(once, ROUNDS if piece == BUFFER else 4)

    def md5(self, piece):
        c = self.c
        data = ctypes.create_string_buffer(BUFFER)
        digest = ctypes.create_string_buffer(16)
        size = ctypes.c_uint()
        md = ctypes.c_void_p(c.EVP_md5())

        def once():
            for at in range(0, BUFFER, piece):
                c.EVP_Digest(ctypes.byref(data, at), ctypes.c_size_t(piece), digest, ctypes.byref(size), md, None)

        return measure(once, ROUNDS if piece == BUFFER else 4)


def measure(work, rounds):
    work()
    start = time.perf_counter()
    for _ in range(rounds):
        work()
    return BUFFER * rounds / (time.perf_counter() - start) / 1e6


def main():
    engine = engine_figures()
    lib = LibCrypto()
    rows = [
        ("Blowfish, 1 MB buffers", engine["blowfish_encode"], lib.blowfish(BUFFER)),
        ("Blowfish, 256-byte records", engine["blowfish_records256"], lib.blowfish(256)),
        ("MD5, 1 MB buffers", engine["md5"], lib.md5(BUFFER)),
        ("MD5, 256-byte records", engine["md5_records256"], lib.md5(256)),
    ]
    print("%-30s %12s %12s %8s" % ("work", "engine MB/s", "OpenSSL MB/s", "ratio"))
    for what, ours, theirs in rows:
        print("%-30s %12.1f %12.1f %8.2f" % (what, ours, theirs, ours / theirs))
    print("(engine under Wine; OpenSSL natively through ctypes, whose per-call cost weighs on the 256-byte rows)")
    print("Blowfish key schedules: %.0f /s" % engine["blowfish_key_schedules"])
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
