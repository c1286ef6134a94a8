#!/usr/bin/python3
"""Decodes every generated picture and the tick sound and checks what the
other parts of Quillmark rely on: names, formats, sizes, alpha, animation,
the sound's exact format and length.

    /usr/bin/python3 tests/resources/check_art.py [REPOSITORY]"""

import gzip
import io
import os
import struct
import sys
import unittest
import wave

from PIL import Image, ImageChops

DEFAULT_ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else DEFAULT_ROOT)

BUTTONS = ["down", "up", "left", "right", "stop", "restart", "zoomin", "zoomout"]
STATES = ["", "L", "D"]
ICON_CODES = range(200, 235)
APP_ICON_SIZES = [16, 32, 48, 256]
BITMAP_SIZE = (36, 33)
# Two pictures count as different when at least this share of their pixels
# differ clearly. Digits 1 to 9 on the same badge differ in about 2-4 %;
# zoom in and zoom out differ only by the bar of the plus, about 0.5 %.
ICON_MIN_DIFFERENCE = 0.01
GLYPH_MIN_DIFFERENCE = 0.004


def path(*parts):
    return os.path.join(ROOT, *parts)


def frames_of(file_path):
    img = Image.open(file_path)
    result = []
    for i in range(img.n_frames):
        img.seek(i)
        result.append(img.convert("RGBA"))
    return result


def differ_by(a, b, fraction):
    return differing_pixels(a, b) >= fraction * a.size[0] * a.size[1]


def differing_pixels(a, b):
    diff = ImageChops.difference(a.convert("RGBA"), b.convert("RGBA"))
    # Per pixel: the largest channel difference, counted when above 48.
    bands = [band.point(lambda v: 255 if v > 48 else 0) for band in diff.split()]
    combined = bands[0]
    for band in bands[1:]:
        combined = ImageChops.lighter(combined, band)
    return combined.histogram()[255]


def with_alpha(test, img):
    """The picture as RGBA, after checking it stores alpha: full RGBA or a
    palette with a transparency table."""
    test.assertIn(img.mode, ("RGBA", "P"))
    if img.mode == "P":
        test.assertIn("transparency", img.info, "a palette PNG needs its alpha table")
    return img.convert("RGBA")


def corners(img):
    w, h = img.size
    return [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)]


class ArtCase(unittest.TestCase):
    """Checks shared by the picture families."""

    def check_animated_gif(self, file_path, size):
        img = Image.open(file_path)
        self.assertEqual(img.format, "GIF")
        self.assertEqual(img.size, size)
        self.assertGreaterEqual(img.n_frames, 2)
        self.assertEqual(img.info.get("loop"), 0, "must loop forever")
        frames = frames_of(file_path)
        for i, frame in enumerate(frames):
            alpha = frame.getchannel("A")
            self.assertEqual([alpha.getpixel(c) for c in corners(frame)], [0, 0, 0, 0], f"frame {i}")
            self.assertGreater(alpha.histogram()[255], size[0] * size[1] // 4, f"frame {i} nearly empty")
        self.assertTrue(any(differing_pixels(frames[0], f) > 0 for f in frames[1:]), "frames all equal")

    def assert_pairwise_different(self, images, prefix):
        for i in range(len(images)):
            for j in range(i + 1, len(images)):
                with self.subTest(pair=(f"{prefix}{i}", f"{prefix}{j}")):
                    self.assertTrue(differ_by(images[i], images[j], ICON_MIN_DIFFERENCE))


class PlayerImages(ArtCase):
    def test_buttons_are_75_by_70_with_alpha_in_three_distinct_states(self):
        for name in BUTTONS:
            states = []
            for suffix in STATES:
                file_name = f"{name}{suffix}.png"
                with self.subTest(file=file_name):
                    img = Image.open(path("resources", "images", file_name))
                    self.assertEqual(img.format, "PNG")
                    self.assertEqual(img.size, (75, 70))
                    rgba = with_alpha(self, img)
                    alpha = rgba.getchannel("A")
                    self.assertEqual([alpha.getpixel(c) for c in corners(img)], [0, 0, 0, 0])
                    self.assertEqual(alpha.getextrema()[1], 255)
                    states.append(rgba)
            self.assertTrue(differ_by(states[0], states[1], ICON_MIN_DIFFERENCE))
            self.assertTrue(differ_by(states[0], states[2], ICON_MIN_DIFFERENCE))
            self.assertTrue(differ_by(states[1], states[2], ICON_MIN_DIFFERENCE))

    def test_buttons_show_different_glyphs(self):
        normals = {n: Image.open(path("resources", "images", f"{n}.png")) for n in BUTTONS}
        for i, a in enumerate(BUTTONS):
            for b in BUTTONS[i + 1 :]:
                with self.subTest(pair=(a, b)):
                    self.assertTrue(differ_by(normals[a], normals[b], GLYPH_MIN_DIFFERENCE))

    def test_mute_buttons_and_title(self):
        on = Image.open(path("resources", "images", "muteON.png"))
        off = Image.open(path("resources", "images", "muteOFF.png"))
        for img in (on, off):
            self.assertEqual((img.format, img.size, img.mode), ("PNG", (20, 20), "RGBA"))
        self.assertTrue(differ_by(on, off, ICON_MIN_DIFFERENCE))
        # Each shows what is heard while it is offered: "mute On" the sound
        # waves (0, 191, 255), "mute Off" the red strike (240, 60, 60).
        def has(img, rgb):
            return any(abs(p[0] - rgb[0]) + abs(p[1] - rgb[1]) + abs(p[2] - rgb[2]) < 40 and p[3] > 200
                       for p in img.convert("RGBA").getdata())
        self.assertTrue(has(on, (0, 191, 255)) and not has(on, (240, 60, 60)))
        self.assertTrue(has(off, (240, 60, 60)) and not has(off, (0, 191, 255)))
        title = Image.open(path("resources", "images", "title.png"))
        self.assertEqual((title.format, title.size), ("PNG", (480, 100)))
        self.assertIn(title.mode, ("RGBA", "RGB", "P"))
        # The window's accent colour is the colour of "Html5".
        colours = title.convert("RGBA").getcolors(480 * 100)
        self.assertTrue(any(rgba == (0, 191, 255, 255) for _, rgba in colours))

    def test_poster_and_start_picture_are_jpeg(self):
        poster = Image.open(path("resources", "images", "poster.jpg"))
        self.assertEqual(poster.format, "JPEG")
        self.assertGreaterEqual(poster.size[0], 320)
        start = Image.open(path("resources", "images", "title_start_html5.jpg"))
        self.assertEqual(start.format, "JPEG")
        self.assertEqual(start.mode, "RGB")
        width, height = start.size
        self.assertGreaterEqual((width, height), (1920, 1080), "covers a full-HD full screen")
        self.assertTrue(width * 9 == height * 16 or width * 3 == height * 4, "16:9 or 4:3")

    def test_start_picture_says_everything_inside_the_smallest_player(self):
        # The player's iframe shows the picture unscaled from its top-left
        # corner; a 320 x 240 player sees only that corner, so the button and
        # the white lettering must all lie inside it.
        start = Image.open(path("resources", "images", "title_start_html5.jpg")).convert("L")
        white = start.point(lambda v: 255 if v >= 225 else 0)
        box = white.getbbox()
        self.assertIsNotNone(box, "no white lettering at all")
        self.assertLessEqual(box[2:], (320, 240), f"white pixels reach {box}")
        inside = white.crop((0, 0, 320, 240)).histogram()[255]
        self.assertGreater(inside, 320 * 240 // 20, "too little lettering to read")

    def test_indicator_is_an_animated_48_pixel_gif(self):
        self.check_animated_gif(path("resources", "images", "check_hs.gif"), (48, 48))

KB = 1024
# A published package without its video must stay within 250 KB gzip-compressed.
PACKAGE_BUDGET = 250 * KB
# three.js alone takes 125-133 KB gzip-compressed, the player's own scripts
# and pages about 20 KB more; the pictures get what is left.
SCRIPTS_ALLOWANCE = 150 * KB
HOT_SPOT_SLOTS = 10
BUDGETS = {
    "hot spot icon": 3276,  # 3.2 KB; a package may carry ten
    "check_hs.gif": 2560,  # 2.5 KB
    "buttons": 24 * KB,
    "title.png": 5 * KB,
    "poster.jpg": 8 * KB,
    "title_start_html5.jpg": 22 * KB,
    "mute button": 1 * KB,
    "about.png": 5 * KB,
}


def gzipped_size(file_path):
    """What a web server sends with gzip -9 (no name, no time stamp)."""
    with open(file_path, "rb") as handle:
        return len(gzip.compress(handle.read(), compresslevel=9, mtime=0))


class PackageBudget(unittest.TestCase):
    """The pictures that ship in every published package, gzip-compressed."""

    def images(self, name):
        return gzipped_size(path("resources", "images", name))

    def test_every_hot_spot_icon_within_budget(self):
        for code in ICON_CODES:
            with self.subTest(code=code):
                size = gzipped_size(path("resources", "hotspots", f"hs{code}.gif"))
                self.assertLessEqual(size, BUDGETS["hot spot icon"])

    def test_player_pictures_within_budget(self):
        buttons = sum(self.images(f"{n}{s}.png") for n in BUTTONS for s in STATES)
        self.assertLessEqual(buttons, BUDGETS["buttons"], "the 24 buttons together")
        for name in ("check_hs.gif", "title.png", "poster.jpg", "title_start_html5.jpg"):
            with self.subTest(file=name):
                self.assertLessEqual(self.images(name), BUDGETS[name])
        for name in ("muteON.png", "muteOFF.png"):
            with self.subTest(file=name):
                self.assertLessEqual(self.images(name), BUDGETS["mute button"])
        about = gzipped_size(path("resources", "web", "about.png"))
        self.assertLessEqual(about, BUDGETS["about.png"])

    def test_a_package_with_the_ten_largest_icons_leaves_room_for_the_scripts(self):
        icons = sorted(gzipped_size(path("resources", "hotspots", f"hs{c}.gif")) for c in ICON_CODES)
        names = [f"{n}{s}.png" for n in BUTTONS for s in STATES]
        names += ["check_hs.gif", "muteON.png", "muteOFF.png", "title.png", "poster.jpg"]
        names += ["title_start_html5.jpg"]
        pictures = sum(icons[-HOT_SPOT_SLOTS:]) + sum(self.images(n) for n in names)
        self.assertLessEqual(pictures, PACKAGE_BUDGET - SCRIPTS_ALLOWANCE)


class HotSpotIcons(ArtCase):
    def test_every_code_has_an_animated_52_pixel_gif(self):
        for code in ICON_CODES:
            with self.subTest(code=code):
                self.check_animated_gif(path("resources", "hotspots", f"hs{code}.gif"), (52, 52))

    def test_every_loop_starts_with_the_icon_at_rest(self):
        # The first frame is the plain badge; the pulse ring reaches further out.
        for code in ICON_CODES:
            with self.subTest(code=code):
                frames = frames_of(path("resources", "hotspots", f"hs{code}.gif"))
                x0, y0, x1, y1 = frames[0].getchannel("A").getbbox()
                widest = max((f.getchannel("A").getbbox() for f in frames[1:]), key=lambda b: b[2] - b[0])
                self.assertLess(widest[0], x0)
                self.assertLess(y1, widest[3])

    def test_no_other_files_in_the_icon_folder(self):
        expected = {f"hs{code}.gif" for code in ICON_CODES}
        self.assertEqual(set(os.listdir(path("resources", "hotspots"))), expected)

    def test_the_35_icons_are_pairwise_different(self):
        firsts = [frames_of(path("resources", "hotspots", f"hs{c}.gif"))[0] for c in ICON_CODES]
        self.assert_pairwise_different(firsts, "hs")
        bitmaps = [Image.open(path("resources", "app", f"arrow{k}.png")) for k in range(35)]
        self.assert_pairwise_different(bitmaps, "arrow")

    def test_chooser_bitmaps(self):
        for k in range(35):
            with self.subTest(bitmap=k):
                img = Image.open(path("resources", "app", f"arrow{k}.png"))
                self.assertEqual((img.format, img.size, img.mode), ("PNG", BITMAP_SIZE, "RGBA"))
                alpha = img.getchannel("A")
                self.assertEqual([alpha.getpixel(c) for c in corners(img)], [0, 0, 0, 0])
        self.assertFalse(os.path.exists(path("resources", "app", "arrow35.png")))


class ApplicationArt(unittest.TestCase):
    def test_icon_pngs_and_ico_hold_all_four_sizes(self):
        for size in APP_ICON_SIZES:
            with self.subTest(size=size):
                img = Image.open(path("resources", "app", f"VIDEO-{size}.png"))
                self.assertEqual((img.format, img.size, img.mode), ("PNG", (size, size), "RGBA"))
        ico = Image.open(path("resources", "app", "VIDEO.ico"))
        self.assertEqual(ico.format, "ICO")
        self.assertEqual(sorted(ico.info["sizes"]), [(s, s) for s in APP_ICON_SIZES])
        for size in APP_ICON_SIZES:
            with self.subTest(ico_entry=size):
                entry = ico.ico.getimage((size, size))
                self.assertEqual(entry.size, (size, size))
                self.assertEqual(entry.mode, "RGBA")
                # Each entry is the picture drawn for that size, not a blank.
                png = Image.open(path("resources", "app", f"VIDEO-{size}.png"))
                self.assertEqual(differing_pixels(entry, png), 0)

    def test_cursor_points_with_its_tip_at_the_hot_spot(self):
        img = Image.open(path("resources", "app", "autor.png"))
        self.assertEqual((img.format, img.size, img.mode), ("PNG", (32, 32), "RGBA"))
        with open(path("resources", "app", "autor.hotspot"), encoding="ascii") as handle:
            x, y = (int(v) for v in handle.read().split())
        self.assertEqual((x, y), (0, 0))
        self.assertGreater(img.getchannel("A").getpixel((x, y)), 0, "the tip must be at the hot spot")
        self.assertEqual(img.getchannel("A").getpixel((31, 0)), 0)

    def test_about_image_is_a_small_72_pixel_png_with_alpha(self):
        file_path = path("resources", "web", "about.png")
        img = Image.open(file_path)
        self.assertEqual((img.format, img.size), ("PNG", (72, 72)))
        rgba = img.convert("RGBA")
        self.assertEqual(rgba.getchannel("A").getpixel((0, 0)), 0)
        self.assertLess(os.path.getsize(file_path), 6 * 1024, "inlined as a data URI in every page")

    def test_contact_sheet_exists(self):
        sheet = Image.open(path("docs", "art-contact-sheet.png"))
        self.assertEqual(sheet.format, "PNG")


class TickSound(unittest.TestCase):
    def setUp(self):
        with open(path("resources", "app", "tick.wav"), "rb") as handle:
            self.data = handle.read()

    def test_header_is_pcm_mono_22050_hz_16_bit(self):
        self.assertEqual(self.data[0:4], b"RIFF")
        self.assertEqual(struct.unpack("<I", self.data[4:8])[0], len(self.data) - 8)
        self.assertEqual(self.data[8:16], b"WAVEfmt ")
        size, fmt, channels, rate, byte_rate, align, bits = struct.unpack("<IHHIIHH", self.data[16:36])
        self.assertEqual((size, fmt, channels, rate, bits), (16, 1, 1, 22050, 16))
        self.assertEqual((byte_rate, align), (44100, 2))
        self.assertEqual(self.data[36:40], b"data")
        self.assertEqual(struct.unpack("<I", self.data[40:44])[0], 2236 * 2)
        self.assertEqual(len(self.data), 44 + 2236 * 2)

    def test_exactly_2236_samples_that_click_and_end_in_silence(self):
        with wave.open(io.BytesIO(self.data)) as source:
            self.assertEqual(source.getnframes(), 2236)
            self.assertEqual(source.getcomptype(), "NONE")
            samples = struct.unpack("<2236h", source.readframes(2236))
        self.assertEqual(samples[-1], 0)
        self.assertEqual(samples[0], 0, "no pop at the start either")
        peak = max(abs(s) for s in samples)
        self.assertGreater(peak, 4000, "audible")
        self.assertLess(peak, 32767, "not clipped")
        self.assertLess(max(abs(s) for s in samples[-200:]), 8, "the tail has faded out")


if __name__ == "__main__":
    unittest.main(verbosity=1)
