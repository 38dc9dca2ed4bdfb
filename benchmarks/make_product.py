#!/usr/bin/env python3
"""Writes a product folder to measure the unpacking with: COUNT files in
nested folders, SIZE_MB in all, half of them text-like (deflates well) and
half noise (barely compresses), sizes spread from a few KB to a few MB."""
import os
import random
import sys


def main():
    folder, count, size_mb = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(20240601)
    total = size_mb * 1000 * 1000
    # Sizes spread over three orders of magnitude, scaled to the total.
    weights = [rng.lognormvariate(0, 1.2) for _ in range(count)]
    scale = total / sum(weights)
    words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9)))
             for _ in range(2000)]
    for i, weight in enumerate(weights):
        size = max(1, int(weight * scale))
        sub = os.path.join(folder, f"module{i % 40:02d}", f"part{i % 7}")
        os.makedirs(sub, exist_ok=True)
        if i % 2 == 0:
            data = bytearray()
            while len(data) < size:
                data += b" ".join(rng.choices(words, k=64)) + b"\r\n"
            data = bytes(data[:size])
        else:
            data = rng.randbytes(size)
        with open(os.path.join(sub, f"file{i:05d}.{'txt' if i % 2 == 0 else 'bin'}"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
