#!/usr/bin/python3
"""Round trips through the art generator's GIF writer: what Pillow decodes
must be exactly the frames that went in, whatever rectangles, disposals and
code widths the writer chose.

    /usr/bin/python3 tests/resources/check_gif_writer.py [REPOSITORY]"""

import io
import math
import os
import random
import sys
import tempfile
import unittest

from PIL import Image

DEFAULT_ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else DEFAULT_ROOT)
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, "tools", "art"))

import gif  # noqa: E402

CLEAR = (0, 0, 0, 0)


def decoded(data):
    """Every frame as Pillow composes it, with its duration."""
    img = Image.open(io.BytesIO(data))
    frames = []
    for i in range(img.n_frames):
        img.seek(i)
        frames.append((img.convert("RGBA"), img.info.get("duration")))
    return frames


def as_rgba(indices, size, colours, transparent):
    img = Image.new("RGBA", size)
    img.putdata([CLEAR if i == transparent else colours[i] + (255,) for i in indices])
    return img


def visible(img):
    """Pixels with fully transparent ones made equal, whatever colour they carry."""
    return [p if p[3] else CLEAR for p in img.getdata()]


def disc_frames(size, radii, ring_from):
    """A still, speckled disc (indices 0 to 5) with a ring (index 6) from
    ring_from outwards to each radius; 7 is transparent."""
    width, height = size
    speckle = random.Random(3)
    disc = [speckle.randrange(6) for _ in range(width * height)]
    frames = []
    for outer in radii:
        pixels = bytearray()
        for y in range(height):
            for x in range(width):
                r = math.hypot(x - width / 2 + 0.5, y - height / 2 + 0.5)
                if r <= 10:
                    pixels.append(disc[y * width + x])
                elif outer - 2 <= r <= outer and r >= ring_from:
                    pixels.append(6)
                else:
                    pixels.append(7)
        frames.append(bytes(pixels))
    return frames


class RoundTrip(unittest.TestCase):
    def assert_round_trip(self, frames, size, colours, durations, transparent):
        data = gif.encode_gif(frames, size, colours, durations, transparent)
        result = decoded(data)
        expected = []
        for frame, duration in zip(frames, durations):
            if expected and expected[-1][0] == frame:
                expected[-1][1] += duration
            else:
                expected.append([frame, duration])
        self.assertEqual(len(result), len(expected))
        for k, ((got, got_ms), (want, want_ms)) in enumerate(zip(result, expected)):
            with self.subTest(frame=k):
                want_pixels = visible(as_rgba(want, size, colours, transparent))
                wrong = sum(a != b for a, b in zip(visible(got), want_pixels))
                self.assertEqual(wrong, 0, "pixels decoded wrong")
                self.assertEqual(got_ms, want_ms)
        return data

    def test_ring_growing_around_a_still_disc(self):
        rng = random.Random(5)
        colours = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(7)]
        frames = disc_frames((40, 40), [10, 13, 16, 19, 20], 11)
        data = self.assert_round_trip(frames, (40, 40), colours + [(0, 0, 0)], [90] * 5, 7)
        # The speckled disc is stored once, not again under every ring: far
        # less than the five frames stored whole.
        whole = sum(len(gif.encode_gif([f], (40, 40), colours + [(0, 0, 0)], [90], 7)) for f in frames)
        self.assertLess(len(data), 0.6 * whole)

    def test_shape_that_moves_away_leaves_nothing_behind(self):
        size = (30, 20)
        colours = [(10, 200, 10), (0, 0, 0)]
        frames = []
        for left in (0, 6, 12, 18, 6):
            frames.append(bytes(0 if left <= x < left + 8 and 5 <= y < 15 else 1
                                for y in range(20) for x in range(30)))
        self.assert_round_trip(frames, size, colours, [50, 60, 70, 80, 90], 1)

    def test_equal_frames_merge_and_keep_their_time(self):
        colours = [(1, 2, 3), (200, 100, 0), (0, 0, 0)]
        still = bytes([0] * 50 + [2] * 50)
        moved = bytes([2] * 50 + [1] * 50)
        data = self.assert_round_trip([still, still, still, moved, moved], (10, 10), colours,
                                      [100, 100, 100, 40, 40], 2)
        self.assertEqual(len(decoded(data)), 2)

    def test_frame_equal_to_what_lies_beneath(self):
        colours = [(9, 9, 9), (240, 240, 240), (0, 0, 0)]
        base = bytes([0] * 16)
        spot = bytes([0] * 5 + [1] + [0] * 10)
        self.assert_round_trip([base, spot, base, spot], (4, 4), colours, [100] * 4, 2)

    def test_noise_at_every_table_size(self):
        # Noise fills the LZW table, so codes grow to 12 bits and the table
        # starts over; tables of 2 colours still code 2 bits (GIF's minimum).
        rng = random.Random(7)
        for count in (2, 3, 4, 16, 64, 256):
            with self.subTest(colours=count):
                colours = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(count)]
                transparent = count - 1
                frames = [bytes(rng.randrange(count) for _ in range(160 * 120)) for _ in range(2)]
                data = self.assert_round_trip(frames, (160, 120), colours, [100, 100], transparent)
                table_entries = 2 << (data[10] & 7)
                self.assertEqual(table_entries, max(2, 1 << (count - 1).bit_length()))


class FromPictures(unittest.TestCase):
    def test_soft_edges_are_cut_at_half_alpha_and_colours_are_shared(self):
        frames = []
        for shade in (60, 120, 180):
            img = Image.new("RGBA", (16, 16), CLEAR)
            for x in range(16):
                img.putpixel((x, 4), (shade, 0, 255 - shade, 127))  # dropped
                img.putpixel((x, 8), (shade, 0, 255 - shade, 128))  # kept
                img.putpixel((x, 12), (255, 255, 255, 255))
            frames.append(img)
        with tempfile.TemporaryDirectory(prefix="quillmark-gif-") as folder:
            target = os.path.join(folder, "soft.gif")
            gif.save_animated_gif(frames, target, 80, 7)
            with open(target, "rb") as handle:
                data = handle.read()
        result = decoded(data)
        self.assertEqual(len(result), 3)
        self.assertLessEqual(2 << (data[10] & 7), 8, "7 colours and the transparent one")
        for (got, duration), shade in zip(result, (60, 120, 180)):
            self.assertEqual(duration, 80)
            self.assertEqual(got.getpixel((3, 4))[3], 0)
            self.assertEqual(got.getpixel((3, 8)), (shade, 0, 255 - shade, 255))
            self.assertEqual(got.getpixel((3, 12)), (255, 255, 255, 255))
            self.assertEqual(got.getpixel((0, 0))[3], 0)
        self.assertEqual(Image.open(io.BytesIO(data)).info.get("loop"), 0)


if __name__ == "__main__":
    unittest.main(verbosity=1)
