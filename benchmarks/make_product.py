#!/usr/bin/env python3
"""Writes a product folder to measure the unpacking with: COUNT files in
nested folders, SIZE_MB in all, half of them text-like (deflates well) and
half noise (barely compresses), sizes spread from a few KB to a few MB.
With COUNT 1, one file of SIZE_MB whose megabytes alternate between text
and noise.

    make_product.py <folder> <count> <size in MB>"""
import os
import random
import sys


def text_bytes(rng, words, size):
    data = bytearray()
    while len(data) < size:
        data += b" ".join(rng.choices(words, k=64)) + b"\r\n"
    return bytes(data[:size])


def single_file(folder, size_mb, rng, words):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Morvane.dat"), "wb") as out:
        for i in range(size_mb):
            out.write(text_bytes(rng, words, 1000 * 1000) if i % 2 == 0
                      else rng.randbytes(1000 * 1000))


def main():
    folder, count, size_mb = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(20240601)
    total = size_mb * 1000 * 1000
    # Sizes spread over three orders of magnitude, scaled to the total.
    weights = [rng.lognormvariate(0, 1.2) for _ in range(count)]
    scale = total / sum(weights)
    words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9)))
             for _ in range(2000)]
    if count == 1:
        single_file(folder, size_mb, rng, words)
        return
    for i, weight in enumerate(weights):
        size = max(1, int(weight * scale))
        sub = os.path.join(folder, f"module{i % 40:02d}", f"part{i % 7}")
        os.makedirs(sub, exist_ok=True)
        if i % 2 == 0:
            data = text_bytes(rng, words, size)
        else:
            data = rng.randbytes(size)
        with open(os.path.join(sub, f"file{i:05d}.{'txt' if i % 2 == 0 else 'bin'}"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
