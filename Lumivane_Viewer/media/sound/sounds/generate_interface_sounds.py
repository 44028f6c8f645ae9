#!/usr/bin/env python3
"""Synthesises the five interface sounds (mono, 16-bit, 22.05 kHz WAV).

Run from this folder to rewrite Pop.wav, Tink.wav, Glass.wav, Morse.wav and
Funk.wav; the output is deterministic, so the committed files match it.
"""
import math
import struct
import wave

RATE = 22050

# Silence after each sound: the sound-effect player of Qt 6.4 stops its output
# once it has handed over the last sample, dropping what the audio server still
# holds; the silent tail is what gets dropped instead.
TAIL_SECONDS = 0.25


def envelope(t, attack, decay):
    rise = min(1.0, t / attack) if attack > 0 else 1.0
    return rise * math.exp(-t / decay)


def render(seconds, voice):
    frames = int(seconds * RATE)
    samples = []
    for i in range(frames):
        t = i / RATE
        value = voice(t)
        # A short fade at the very end keeps the last sample from clicking.
        tail = min(1.0, (frames - i) / (0.004 * RATE))
        samples.append(max(-1.0, min(1.0, value * tail)))
    return samples + [0.0] * int(TAIL_SECONDS * RATE)


def pop(t):
    # A soft bubble: a quick downward sweep.
    phase = 2 * math.pi * (900 * t - 2200 * t * t)
    return 0.8 * envelope(t, 0.002, 0.025) * math.sin(phase)


def tink(t):
    # A small metallic tick: a high partial with its octave.
    bright = math.sin(2 * math.pi * 2637 * t) + 0.4 * math.sin(2 * math.pi * 5274 * t)
    return 0.55 * envelope(t, 0.001, 0.04) * bright


def glass(t):
    # A struck glass: inharmonic bell partials decaying at different rates.
    partials = ((1568, 1.0, 0.25), (4327, 0.45, 0.12), (8467, 0.2, 0.06))
    ring = sum(level * math.exp(-t / decay) * math.sin(2 * math.pi * freq * t)
               for freq, level, decay in partials)
    return 0.5 * min(1.0, t / 0.002) * ring


def morse(t):
    # Two short beeps.
    beep = (t % 0.11) < 0.06 and t < 0.22
    if not beep:
        return 0.0
    local = t % 0.11
    edge = min(1.0, local / 0.004, (0.06 - local) / 0.004)
    return 0.5 * edge * math.sin(2 * math.pi * 1046 * t)


def funk(t):
    # A low, buzzy drop.
    phase = 2 * math.pi * (220 * t - 90 * t * t)
    buzz = math.sin(phase) + 0.35 * math.sin(2 * phase) + 0.2 * math.sin(3 * phase)
    return 0.45 * envelope(t, 0.004, 0.12) * buzz


SOUNDS = {
    "Pop": (0.12, pop),
    "Tink": (0.2, tink),
    "Glass": (0.5, glass),
    "Morse": (0.25, morse),
    "Funk": (0.3, funk),
}


def main():
    for name, (seconds, voice) in SOUNDS.items():
        samples = render(seconds, voice)
        with wave.open(name + ".wav", "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(2)
            out.setframerate(RATE)
            out.writeframes(b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples))


if __name__ == "__main__":
    main()
