#!/usr/bin/env python3
"""Writes the full-charge alarm sound, notification.wav, beside this script.

A short two-note chime (E6 then A6, each with a soft attack and an
exponential fade), 16-bit mono PCM at 22050 Hz: the format QSoundEffect
plays everywhere without a decoder. The output is deterministic, so running
the script again gives the same bytes. Run by hand after changing a note:
    python3 resources/sounds/make_notification.py
"""

import math
import os
import struct
import wave

RATE = 22050
NOTES = [(1318.51, 0.0, 0.45), (1760.00, 0.22, 0.60)]  # (Hz, start s, length s)
LENGTH = 0.85  # seconds of the whole sound
PEAK = 0.45  # of full scale, leaves room where the notes overlap


def sample(t):
    value = 0.0
    for freq, start, length in NOTES:
        local = t - start
        if local < 0 or local > length:
            continue
        attack = min(1.0, local / 0.008)  # 8 ms ramp: no click at the start
        fade = math.exp(-local * 6.0)
        tail = min(1.0, (length - local) / 0.02)  # 20 ms to silence at the end
        # A quiet octave above gives the bell-like colour.
        tone = math.sin(2 * math.pi * freq * local) + 0.25 * math.sin(4 * math.pi * freq * local)
        value += attack * fade * tail * tone / 1.25
    return max(-1.0, min(1.0, value * PEAK))


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "notification.wav")
    frames = bytearray()
    for i in range(int(RATE * LENGTH)):
        frames += struct.pack("<h", int(round(sample(i / RATE) * 32767)))
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))
    print(out)


if __name__ == "__main__":
    main()
