#!/usr/bin/python3
"""Round trips through the art generator's animated GIF output (Pillow codes
the frames, gifsicle joins them): what Pillow decodes must be the frames that
went in, later frames store only what differs from the first, and a file
that would not show the frames is refused.

    /usr/bin/python3 tests/resources/check_animated_gif.py [REPOSITORY]"""

import math
import os
import sys
import tempfile
import unittest
from unittest import mock

from PIL import Image

DEFAULT_ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else DEFAULT_ROOT)
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, "tools", "art"))

import animated_gif  # noqa: E402

CLEAR = (0, 0, 0, 0)
DISC = (40, 90, 200, 255)
RING = (250, 240, 120, 255)


def ring_frame(outer, size=40):
    """A still disc of radius 10 and a ring 2 pixels wide out to `outer`
    (none when 0), nothing elsewhere."""
    img = Image.new("RGBA", (size, size), CLEAR)
    for y in range(size):
        for x in range(size):
            r = math.hypot(x - size / 2 + 0.5, y - size / 2 + 0.5)
            if r <= 10:
                img.putpixel((x, y), DISC)
            elif outer and outer - 2 <= r <= outer:
                img.putpixel((x, y), RING)
    return img


def decoded(file_path):
    """Every frame as Pillow composes it, with its duration."""
    with Image.open(file_path) as img:
        loop = img.info.get("loop")
        frames = []
        for i in range(img.n_frames):
            img.seek(i)
            frames.append((img.convert("RGBA"), img.info.get("duration")))
    return frames, loop


def visible(img):
    """Pixels with fully transparent ones made equal, whatever colour they carry."""
    return [p if p[3] else CLEAR for p in img.getdata()]


class AnimatedGif(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="quillmark-gif-")
        self.addCleanup(self.folder.cleanup)

    def save(self, frames, durations, colours=15, name="out.gif"):
        target = os.path.join(self.folder.name, name)
        animated_gif.save_animated_gif(frames, target, durations, colours)
        return target

    def test_ring_that_grows_and_goes_leaves_nothing_behind(self):
        # Pixels the ring leaves must become clear again: the pulse of every
        # hot spot icon, and the reason later frames are undone after their time.
        frames = [ring_frame(r) for r in (0, 14, 16, 18, 19, 0)]
        durations = [90, 120, 120, 120, 120, 60]
        result, loop = decoded(self.save(frames, durations))
        self.assertEqual(loop, 0, "loops forever")
        self.assertEqual(len(result), len(frames))
        for k, ((got, got_ms), want, want_ms) in enumerate(zip(result, frames, durations)):
            with self.subTest(frame=k):
                self.assertEqual(visible(got), visible(want))
                self.assertEqual(got_ms, want_ms)

    def test_equal_frames_merge_and_keep_their_time(self):
        still, pulse = ring_frame(0), ring_frame(15)
        result, _ = decoded(self.save([still, still, still, pulse, pulse], [100, 100, 100, 40, 40]))
        self.assertEqual([ms for _, ms in result], [300, 80])
        self.assertEqual(visible(result[1][0]), visible(pulse))

    def test_soft_edges_are_cut_at_half_alpha_and_colours_are_shared(self):
        frames = []
        for shade in (60, 120, 180):
            img = Image.new("RGBA", (16, 16), CLEAR)
            for x in range(16):
                img.putpixel((x, 4), (shade, 0, 255 - shade, 127))  # dropped
                img.putpixel((x, 8), (shade, 0, 255 - shade, 128))  # kept
                img.putpixel((x, 12), (255, 255, 255, 255))
            frames.append(img)
        target = self.save(frames, 80, colours=7)
        with open(target, "rb") as handle:
            header = handle.read(13)
        self.assertLessEqual(2 << (header[10] & 7), 8, "7 colours and the transparent one")
        result, _ = decoded(target)
        self.assertEqual(len(result), 3)
        for (got, duration), shade in zip(result, (60, 120, 180)):
            self.assertEqual(duration, 80)
            self.assertEqual(got.getpixel((3, 4))[3], 0)
            self.assertEqual(got.getpixel((3, 8)), (shade, 0, 255 - shade, 255))
            self.assertEqual(got.getpixel((3, 12)), (255, 255, 255, 255))
            self.assertEqual(got.getpixel((0, 0))[3], 0)

    def test_later_frames_store_only_what_differs_and_are_undone(self):
        # A small mark beside a still disc: the second frame must hold just
        # the mark's rectangle and be restored to the first afterwards, which
        # is what keeps a pulsing icon from storing its badge again.
        still = ring_frame(0)
        marked = still.copy()
        for x in range(30, 34):
            for y in range(5, 8):
                marked.putpixel((x, y), RING)
        target = self.save([still, marked, still], [200, 100, 100])
        with Image.open(target) as img:
            img.seek(1)
            self.assertEqual(img.disposal_method, 3, "restore to previous")
            self.assertEqual(img.dispose_extent, (30, 5, 34, 8))
        result, _ = decoded(target)
        self.assertEqual([visible(f) for f, _ in result], [visible(f) for f in (still, marked, still)])

    def test_frame_that_would_clear_the_first_is_refused(self):
        # A later frame is drawn over the first, so it cannot make the
        # first frame's pixels transparent.
        with self.assertRaisesRegex(RuntimeError, "transparent where the first frame is not"):
            self.save([ring_frame(15), ring_frame(0)], 100)
        self.assertEqual(os.listdir(self.folder.name), [], "no scratch files left behind")

    def test_frame_times_must_be_whole_hundredths(self):
        with self.assertRaisesRegex(RuntimeError, "hundredths"):
            self.save([ring_frame(0), ring_frame(15)], [100, 125])

    def test_same_frames_give_the_same_bytes(self):
        frames = [ring_frame(r) for r in (0, 15, 18)]
        first = self.save(frames, 100, name="first.gif")
        second = self.save(frames, 100, name="second.gif")
        with open(first, "rb") as a, open(second, "rb") as b:
            self.assertEqual(a.read(), b.read())

    def test_optimizer_output_that_changes_the_pictures_is_refused(self):
        frames = [ring_frame(r) for r in (0, 15)]
        # Cutting off the right half stands for an optimisation that loses pixels.
        with mock.patch.object(animated_gif, "GIFSICLE_OPTIONS", ["--crop", "0,0+20x40"]):
            with self.assertRaisesRegex(RuntimeError, "does not show the frames"):
                self.save(frames, 100)

    def test_missing_gifsicle_is_reported(self):
        with mock.patch.object(animated_gif, "GIFSICLE", "quillmark-no-such-gifsicle"):
            with self.assertRaisesRegex(RuntimeError, "gifsicle is missing"):
                self.save([ring_frame(0), ring_frame(15)], 100)
        self.assertEqual(os.listdir(self.folder.name), [], "no scratch files left behind")


if __name__ == "__main__":
    unittest.main(verbosity=1)
