"""The tick: a short, soft click played for every command of the tool.
Mono 16-bit PCM at 22050 Hz, exactly 2236 samples, ending in silence."""

import math
import random
import struct
import wave

SAMPLE_RATE = 22050
SAMPLE_COUNT = 2236
SAMPLE_BYTES = 2
PEAK = 0.42  # of full scale: clearly audible, never harsh
ATTACK_SAMPLES = 12  # a raised-cosine start, so the click does not pop on
FADE_SAMPLES = 600  # the tail fades to exactly zero
NOISE_SEED = 2236

# (frequency in Hz, decay time constant in ms, relative level): a bright
# "tock" over a short wooden body.
PARTIALS = [(3150.0, 2.2, 1.0), (1720.0, 4.5, 0.7), (860.0, 7.0, 0.35)]
NOISE_DECAY_MS = 1.1
NOISE_LEVEL = 0.45


def _envelope(i):
    attack = 1.0
    if i < ATTACK_SAMPLES:
        attack = 0.5 - 0.5 * math.cos(math.pi * i / ATTACK_SAMPLES)
    fade_start = SAMPLE_COUNT - 1 - FADE_SAMPLES
    fade = 1.0
    if i >= fade_start:
        fade = 0.5 + 0.5 * math.cos(math.pi * (i - fade_start) / FADE_SAMPLES)
    return attack * fade


def tick_samples():
    rng = random.Random(NOISE_SEED)
    raw = []
    smoothed = 0.0
    for i in range(SAMPLE_COUNT):
        t_ms = 1000.0 * i / SAMPLE_RATE
        value = sum(
            level * math.exp(-t_ms / decay) * math.sin(2 * math.pi * freq * i / SAMPLE_RATE)
            for freq, decay, level in PARTIALS
        )
        # Lightly smoothed noise gives the attack its texture.
        smoothed = 0.6 * smoothed + 0.4 * rng.uniform(-1.0, 1.0)
        value += NOISE_LEVEL * math.exp(-t_ms / NOISE_DECAY_MS) * smoothed
        raw.append(value * _envelope(i))
    peak = max(abs(v) for v in raw)
    full_scale = 2 ** (8 * SAMPLE_BYTES - 1) - 1
    samples = [round(v / peak * PEAK * full_scale) for v in raw]
    return samples


def write_tick(path):
    samples = tick_samples()
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(SAMPLE_BYTES)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(struct.pack(f"<{len(samples)}h", *samples))


def write_all(out):
    out.write(out.path("resources/app", "tick.wav"), write_tick)
