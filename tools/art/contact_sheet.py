"""docs/art-contact-sheet.png: every generated picture at 1x and 2x on a
light and a dark background, frame strips of a few animations and the tick's
waveform, read back from the written files so the sheet shows what ships."""

import os
import struct
import wave

from PIL import Image, ImageDraw

import canvas
from palette import SHEET_BACKGROUND, SHEET_DARK, SHEET_LIGHT, SHEET_NOTE, SHEET_TEXT

SHEET_WIDTH = 1500
MARGIN = 24
GAP = 12
PAD = 8
CAPTION_PX = 13
HEADING_PX = 22
TITLE_PX = 30
STRIP_ICONS = [200, 201, 205, 214, 225]
WAVE_SIZE = (1000, 160)


def _open_frames(path):
    img = Image.open(path)
    frames = []
    for i in range(getattr(img, "n_frames", 1)):
        img.seek(i)
        frames.append(img.convert("RGBA"))
    return frames


def _scaled(img, scale):
    if scale == 1:
        return img
    size = (round(img.width * scale), round(img.height * scale))
    method = Image.Resampling.NEAREST if scale > 1 else Image.Resampling.LANCZOS
    return img.resize(size, method)


def _panel(pictures, background):
    """pictures side by side on one background, bottom-aligned."""
    width = sum(p.width for p in pictures) + PAD * (len(pictures) + 1)
    height = max(p.height for p in pictures) + 2 * PAD
    panel = Image.new("RGBA", (width, height), background + (255,))
    x = PAD
    for p in pictures:
        panel.alpha_composite(p, (x, height - PAD - p.height))
        x += p.width + PAD
    return panel


def _cell(img, caption, scales=(1, 2)):
    pictures = [_scaled(img, s) for s in scales]
    light = _panel(pictures, SHEET_LIGHT)
    dark = _panel(pictures, SHEET_DARK)
    caption_font = canvas.font("sans", CAPTION_PX)
    text_width = round(ImageDraw.Draw(light).textlength(caption, font=caption_font))
    width = max(light.width, text_width)
    cell = Image.new("RGBA", (width, light.height + dark.height + CAPTION_PX + 8), SHEET_BACKGROUND + (255,))
    cell.alpha_composite(light, (0, 0))
    cell.alpha_composite(dark, (0, light.height))
    ImageDraw.Draw(cell).text(
        (0, light.height + dark.height + 3), caption, font=caption_font, fill=SHEET_TEXT + (255,)
    )
    return cell


class Sheet:
    def __init__(self):
        self.blocks = []  # (image, x, y)
        self.y = MARGIN

    def text(self, text, size, colour=SHEET_TEXT, name="sans-bold"):
        fnt = canvas.font(name, size)
        img = Image.new("RGBA", (SHEET_WIDTH - 2 * MARGIN, round(size * 1.5)), (0, 0, 0, 0))
        ImageDraw.Draw(img).text((0, 0), text, font=fnt, fill=colour + (255,))
        self.place_row([img])

    def place_row(self, images):
        """Lays images out left to right, wrapping at the sheet's width."""
        x, row_height = MARGIN, 0
        for img in images:
            if x > MARGIN and x + img.width > SHEET_WIDTH - MARGIN:
                self.y += row_height + GAP
                x, row_height = MARGIN, 0
            self.blocks.append((img, x, self.y))
            x += img.width + GAP
            row_height = max(row_height, img.height)
        self.y += row_height + GAP * 2

    def render(self):
        sheet = Image.new("RGBA", (SHEET_WIDTH, self.y + MARGIN), SHEET_BACKGROUND + (255,))
        for img, x, y in self.blocks:
            sheet.alpha_composite(img, (x, y))
        return sheet.convert("RGB")


def _strip(frames, caption):
    pictures = [_scaled(f, 2) for f in frames]
    light = _panel(pictures, SHEET_LIGHT)
    dark = _panel(pictures, SHEET_DARK)
    return _cell_from_panels(light, dark, caption)


def _cell_from_panels(light, dark, caption):
    caption_font = canvas.font("sans", CAPTION_PX)
    text_width = round(ImageDraw.Draw(light).textlength(caption, font=caption_font))
    cell = Image.new(
        "RGBA",
        (max(light.width, dark.width, text_width), light.height + dark.height + CAPTION_PX + 8),
        SHEET_BACKGROUND + (255,),
    )
    cell.alpha_composite(light, (0, 0))
    cell.alpha_composite(dark, (0, light.height))
    ImageDraw.Draw(cell).text(
        (0, light.height + dark.height + 3), caption, font=caption_font, fill=SHEET_TEXT + (255,)
    )
    return cell


def _waveform(path):
    with wave.open(path, "rb") as source:
        count = source.getnframes()
        samples = struct.unpack(f"<{count}h", source.readframes(count))
        rate = source.getframerate()
    width, height = WAVE_SIZE
    img = Image.new("RGBA", WAVE_SIZE, SHEET_DARK + (255,))
    draw = ImageDraw.Draw(img)
    middle = height / 2
    draw.line([(0, middle), (width, middle)], fill=(80, 80, 80, 255))
    points = [
        (i * (width - 1) / (count - 1), middle - s / 32768 * (middle - 4))
        for i, s in enumerate(samples)
    ]
    draw.line(points, fill=(0, 191, 255, 255), width=1)
    caption = (
        f"tick.wav: {count} samples at {rate} Hz ({1000 * count / rate:.0f} ms), "
        f"last sample {samples[-1]}"
    )
    return _single(img, caption)


def _single(img, caption):
    """An opaque picture needs no second background."""
    return _cell_from_panels(img, Image.new("RGBA", (1, 1), SHEET_BACKGROUND + (255,)), caption)


def render(root, hotspot_names, button_names):
    def path(*parts):
        return os.path.join(root, *parts)

    sheet = Sheet()
    sheet.text("Quillmark: generated art (tools/art/generate.py)", TITLE_PX)
    sheet.text(
        "Each picture at 1x and 2x, on a light and on a dark background. "
        "Animated GIFs show their first frame.",
        CAPTION_PX + 2,
        SHEET_NOTE,
        "sans",
    )

    sheet.text("Hot spot icons, resources/hotspots/hs200.gif ... hs234.gif (52 x 52)", HEADING_PX)
    sheet.place_row(
        [
            _cell(_open_frames(path("resources/hotspots", f"hs{200 + k}.gif"))[0], f"hs{200 + k}  {name}")
            for k, name in enumerate(hotspot_names)
        ]
    )
    sheet.text("All frames of a few animations (2x)", HEADING_PX)
    strips = [
        _strip(_open_frames(path("resources/hotspots", f"hs{code}.gif")), f"hs{code}.gif")
        for code in STRIP_ICONS
    ]
    strips.append(_strip(_open_frames(path("resources/images", "check_hs.gif")), "check_hs.gif"))
    sheet.place_row(strips)

    sheet.text("Icon chooser bitmaps, resources/app/arrow0.png ... arrow34.png (36 x 33)", HEADING_PX)
    sheet.place_row(
        [
            _cell(Image.open(path("resources/app", f"arrow{k}.png")).convert("RGBA"), f"arrow{k}")
            for k in range(len(hotspot_names))
        ]
    )

    sheet.text("Player buttons, resources/images (75 x 70): normal, lit L, pressed D", HEADING_PX)
    cells = []
    for name in button_names:
        for suffix in ("", "L", "D"):
            file_name = f"{name}{suffix}.png"
            cells.append(_cell(Image.open(path("resources/images", file_name)).convert("RGBA"), file_name))
    sheet.place_row(cells)

    sheet.text("Small pictures", HEADING_PX)
    small = [
        ("resources/images/muteON.png", (1, 2)),
        ("resources/images/muteOFF.png", (1, 2)),
        ("resources/images/check_hs.gif", (1, 2)),
        ("resources/app/autor.png", (1, 2)),
        ("resources/web/about.png", (1, 2)),
        ("resources/app/VIDEO-16.png", (1, 2)),
        ("resources/app/VIDEO-32.png", (1, 2)),
        ("resources/app/VIDEO-48.png", (1, 2)),
        ("resources/app/VIDEO-256.png", (1,)),
    ]
    sheet.place_row(
        [
            _cell(
                _open_frames(path(*name.split("/")))[0],
                os.path.basename(name) + ("" if len(s) > 1 else " (1x only)"),
                s,
            )
            for name, s in small
        ]
    )
    ico = Image.open(path("resources/app", "VIDEO.ico"))
    ico_sizes = sorted(ico.info.get("sizes", ()))
    ico_frames = []
    for size in ico_sizes:
        entry = ico.ico.getimage(size).convert("RGBA")
        ico_frames.append(entry if size[0] <= 48 else _scaled(entry, 0.25))
    sheet.place_row(
        [
            _cell_from_panels(
                _panel(ico_frames, SHEET_LIGHT),
                _panel(ico_frames, SHEET_DARK),
                "VIDEO.ico: " + ", ".join(f"{w}x{h}" for w, h in ico_sizes) + " (256 shown at 1/4)",
            )
        ]
    )

    sheet.text("Title panel, resources/images/title.png (480 x 100)", HEADING_PX)
    sheet.place_row([_cell(Image.open(path("resources/images", "title.png")).convert("RGBA"), "title.png")])

    sheet.text("Poster and start picture (JPEG)", HEADING_PX)
    poster = Image.open(path("resources/images", "poster.jpg")).convert("RGBA")
    start = Image.open(path("resources/images", "title_start_html5.jpg")).convert("RGBA")
    sheet.place_row(
        [
            _single(_panel([poster], SHEET_DARK), "poster.jpg, 1x (640 x 360)"),
            # The player's iframe shows the picture unscaled from its corner.
            _single(
                _panel([start.crop((0, 0, 320, 240))], SHEET_DARK),
                "title_start_html5.jpg in a 320 x 240 player",
            ),
            _single(
                _panel([start.crop((0, 0, 550, 400))], SHEET_DARK),
                "... in a 550 x 400 player (the default)",
            ),
        ]
    )
    whole = start.resize((960, 540), Image.Resampling.LANCZOS)
    sheet.place_row([_single(_panel([whole], SHEET_DARK), "title_start_html5.jpg, whole at 1/2 (1920 x 1080)")])

    sheet.text("Sound", HEADING_PX)
    sheet.place_row([_waveform(path("resources/app", "tick.wav"))])
    return sheet.render()


def write_all(out, hotspot_names, button_names):
    img = render(out.root, hotspot_names, button_names)
    out.save_png(img, out.path("docs", "art-contact-sheet.png"))
