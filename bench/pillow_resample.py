#!/usr/bin/python3
"""Times Pillow's LANCZOS reduction of a raw 24-bit picture; prints CPU milliseconds per picture."""
import sys
import time

from PIL import Image

path, width, height, out_w, out_h, runs = sys.argv[1], *map(int, sys.argv[2:7])
with open(path, "rb") as f:
    picture = Image.frombytes("RGB", (width, height), f.read())
picture.resize((out_w, out_h), Image.LANCZOS)  # warm-up
start = time.process_time()
for _ in range(runs):
    picture.resize((out_w, out_h), Image.LANCZOS)
print(f"{(time.process_time() - start) * 1000.0 / runs:.3f}")
