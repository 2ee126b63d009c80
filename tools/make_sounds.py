#!/usr/bin/env python3
"""Writes the two sounds that ship beside the program.

message.wav: a gentle two-note chime for reminders (about 0.6 s).
break.wav:   three insistent beeps for the long-activity warning (about 1 s).

Both are 16-bit PCM, mono, 22050 Hz, small enough for PlaySound to load at once.
Needs only Python 3's standard library. Usage: tools/make_sounds.py
"""

import math
import pathlib
import struct
import wave

RATE = 22050
OUT = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources" / "sounds"


def bell(freq, start, length, level):
    """A soft bell: quick attack, exponential decay, a quiet octave for shine."""
    def sample(t):
        t -= start
        if t < 0 or t >= length:
            return 0.0
        envelope = min(t / 0.006, 1.0) * math.exp(-t / 0.16)
        tone = (math.sin(2 * math.pi * freq * t)
                + 0.30 * math.sin(2 * math.pi * 2 * freq * t) * math.exp(-t / 0.08)
                + 0.08 * math.sin(2 * math.pi * 3 * freq * t) * math.exp(-t / 0.05))
        return level * envelope * tone / 1.38
    return sample


def beep(freq, start, length, level):
    """A firm beep: odd harmonics give it the edge of a square wave without its harshness."""
    def sample(t):
        t -= start
        if t < 0 or t >= length:
            return 0.0
        envelope = min(t / 0.008, 1.0, (length - t) / 0.012)
        tone = (math.sin(2 * math.pi * freq * t)
                + math.sin(2 * math.pi * 3 * freq * t) / 3
                + math.sin(2 * math.pi * 5 * freq * t) / 5)
        return level * envelope * tone / 1.25
    return sample


def render(path, duration, voices):
    count = int(duration * RATE)
    fade = int(0.03 * RATE)  # the file must end in silence, or PlaySound ends with a click
    frames = bytearray()
    for i in range(count):
        value = sum(voice(i / RATE) for voice in voices)
        if i > count - fade:
            value *= (count - i) / fade
        value = max(-1.0, min(1.0, value))
        frames += struct.pack("<h", int(round(value * 32767)))
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    # G5 then C6, a rising fourth that sounds friendly rather than alarming.
    render(OUT / "message.wav", 0.6, [bell(783.99, 0.0, 0.6, 0.45), bell(1046.50, 0.17, 0.43, 0.45)])
    render(OUT / "break.wav", 1.0, [beep(880.0, start, 0.2, 0.5) for start in (0.0, 0.32, 0.64)])
    print("written into", OUT)


if __name__ == "__main__":
    main()
