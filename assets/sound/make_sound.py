#!/usr/bin/env python3
"""Makes Quillbox.wav, the machine's printing sound: a print head striking the paper four
times, each strike a sharp click of filtered noise with a short ring of the platen, then the
ratchet that advances the paper. Deterministic: the same file every time."""
import math
import random
import struct
import wave

RATE = 22050
random.seed(1999)


def strike(samples, start, loudness, pitch):
    length = int(0.035 * RATE)
    previous = 0.0
    for i in range(length):
        t = i / RATE
        noise = random.uniform(-1, 1)
        previous = 0.55 * previous + 0.45 * noise  # a little low-pass: a dull click
        ring = math.sin(2 * math.pi * pitch * t) * 0.35
        envelope = math.exp(-t * 140)
        samples[start + i] += loudness * envelope * (previous + ring)


def ratchet(samples, start):
    for tooth in range(3):
        strike(samples, start + int(tooth * 0.018 * RATE), 0.25, 2300)


def main():
    samples = [0.0] * int(0.32 * RATE)
    for n, at in enumerate((0.0, 0.045, 0.09, 0.135)):
        strike(samples, int(at * RATE), 0.8 - 0.08 * n, 900 + 40 * n)
    ratchet(samples, int(0.21 * RATE))
    peak = max(abs(s) for s in samples) or 1.0
    with wave.open("Quillbox.wav", "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(32000 * s / peak * 0.8)) for s in samples))


if __name__ == "__main__":
    main()
