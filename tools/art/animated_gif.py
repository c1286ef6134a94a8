"""Animated GIFs: Pillow codes the pictures, gifsicle assembles the animation.

All frames share one small palette with one transparent index. The first
frame is stored whole and stays on the screen; every later frame stores only
the pixels in which it differs from the first, cropped to their rectangle,
and is undone after its time ("restore to previous"), so the next frame is
again drawn over the first. A pulse ring or a stepping glyph then costs only
its own pixels, never a redrawn badge. gifsicle joins the pieces, narrows the
colour table and LZW code width to the colours in use and keeps the
disposals as given. The result is decoded again and must show exactly the
frames that went in."""

import os
import shutil
import subprocess
import tempfile

from PIL import Image, ImageChops

# Pixels at least this opaque are kept; the rest become the transparent colour.
ALPHA_CUT = 128
GIFSICLE = "gifsicle"
# Fixed options, so the same frames always give the same bytes. No --optimize:
# it would recompute the frames and replace "restore to previous" with
# disposals that redraw the whole badge after every ring step.
GIFSICLE_OPTIONS = ["--no-comments", "--no-names"]


def _flatten(frame):
    """Kept edge pixels keep their own colour (Pillow stores RGBA
    unpremultiplied), so each shape's hard edge has the colour of that shape:
    dark outlines stay dark, light rings stay light."""
    keep = frame.getchannel("A").point(lambda a: 255 if a >= ALPHA_CUT else 0)
    return frame.convert("RGB"), keep


def _shared_palette(flat_frames, colours):
    """One palette for all frames, chosen from the kept pixels only; the
    entry after the last colour the quantizer filled is the transparent one."""
    kept = [
        pixel
        for rgb, keep in flat_frames
        for pixel, k in zip(rgb.getdata(), keep.getdata())
        if k
    ]
    row = Image.new("RGB", (len(kept), 1))
    row.putdata(kept)
    # libimagequant, not median cut: median cut weighs colours by their pixel
    # count and, with 15 entries, merged the thin white glyphs into the
    # badge's light tones.
    quantized = row.quantize(colors=colours, method=Image.Quantize.LIBIMAGEQUANT, dither=Image.Dither.NONE)
    used = max(quantized.getdata()) + 1
    flat = quantized.getpalette()[: 3 * used]
    return [tuple(flat[i : i + 3]) for i in range(0, len(flat), 3)]


def _palette_image(colours):
    """A palette image for Image.quantize; the unused rest of the table
    repeats the first colour so that no match lands beyond `colours`."""
    lookup = Image.new("P", (1, 1))
    lookup.putpalette([v for entry in colours + [colours[0]] * (256 - len(colours)) for v in entry])
    return lookup


def _indexed(rgb, keep, lookup, transparent):
    """The frame as a palette image, `transparent` where not kept."""
    indexed = rgb.quantize(palette=lookup, dither=Image.Dither.NONE)
    indexed.paste(transparent, mask=keep.point(lambda k: 0 if k else 255))
    indexed.info["transparency"] = transparent
    return indexed


def _merge_repeats(frames, durations):
    """Consecutive equal frames become one that stays up for their total time."""
    merged = [[frames[0], durations[0]]]
    for frame, duration in zip(frames[1:], durations[1:]):
        if frame.tobytes() == merged[-1][0].tobytes():
            merged[-1][1] += duration
        else:
            merged.append([frame, duration])
    return [f for f, _ in merged], [d for _, d in merged]


def _visible(img):
    """The picture as RGBA with every transparent pixel the same."""
    rgba = img.convert("RGBA")
    clear = Image.new("RGBA", rgba.size, (0, 0, 0, 0))
    return Image.composite(rgba, clear, rgba.getchannel("A")).tobytes()


def _decodes_to(path, frames, durations):
    """True when the file at `path` shows exactly `frames`, each for its
    duration, as Pillow composes them."""
    with Image.open(path) as img:
        if img.n_frames != len(frames) or img.info.get("loop") != 0:
            return False
        for k, (frame, duration) in enumerate(zip(frames, durations)):
            img.seek(k)
            if img.info.get("duration") != duration or _visible(img) != _visible(frame):
                return False
    return True


def _indices(img):
    """A palette image's indices as an L image, to compare and mask them."""
    return Image.frombytes("L", img.size, img.tobytes())


def _patch(frame, first, transparent):
    """`frame` as drawn over `first`: its own pixels where they differ,
    transparent where they agree, with the rectangle that holds them (None
    when nothing differs). A frame cannot clear what the first one shows."""
    mine, base = _indices(frame), _indices(first)
    clears = [
        m == transparent and b != transparent for m, b in zip(mine.getdata(), base.getdata())
    ]
    if any(clears):
        raise RuntimeError("a later frame is transparent where the first frame is not")
    agree = ImageChops.difference(mine, base).point(lambda v: 255 if v == 0 else 0)
    patch = frame.copy()
    patch.paste(transparent, mask=agree)
    box = _indices(patch).point(lambda v: 0 if v == transparent else 255).getbbox()
    return patch, box


def _gifsicle(pieces, target):
    """pieces: (file, position, duration in ms, disposal) for each frame."""
    program = shutil.which(GIFSICLE)
    if program is None:
        raise RuntimeError("gifsicle is missing (Debian package gifsicle)")
    command = [program, *GIFSICLE_OPTIONS, "--loopcount=forever"]
    for piece, (x, y), duration, disposal in pieces:
        if duration % 10:
            raise RuntimeError(f"GIF frame times are in hundredths of a second, not {duration} ms")
        command += ["--delay", str(duration // 10), "--disposal", disposal, "--position", f"{x},{y}", piece]
    command += ["--output", target]
    result = subprocess.run(command, capture_output=True, text=True, check=False)
    if result.returncode != 0:
        raise RuntimeError(f"gifsicle failed on {target}: {result.stderr.strip()}")


def save_animated_gif(frames, path, duration_ms, colours):
    """frames: RGBA images of one size, shown duration_ms each (a number or
    one per frame), looping forever. colours: how many palette entries the
    frames share, besides the transparent one. Every frame after the first
    must be opaque wherever the first is."""
    flat = [_flatten(f) for f in frames]
    used = _shared_palette(flat, colours)
    transparent = len(used)
    lookup = _palette_image(used)
    indexed = [_indexed(rgb, keep, lookup, transparent) for rgb, keep in flat]
    durations = list(duration_ms) if isinstance(duration_ms, (list, tuple)) else [duration_ms] * len(frames)
    indexed, durations = _merge_repeats(indexed, durations)
    with tempfile.TemporaryDirectory(prefix=".gif-", dir=os.path.dirname(path) or ".") as scratch:
        pieces = []
        for k, (frame, duration) in enumerate(zip(indexed, durations)):
            if k == 0:
                piece, box, disposal = frame, (0, 0) + frame.size, "asis"
            else:
                piece, box = _patch(frame, indexed[0], transparent)
                # A frame equal to the first still needs its time on screen.
                box = box or (0, 0, 1, 1)
                disposal = "previous"
            name = os.path.join(scratch, f"{k}.gif")
            # Not interlaced: rows in order code smaller, and 52 pixels need no preview.
            # Pillow's optimize would renumber each piece's colours; they must
            # stay those of the shared palette.
            piece.crop(box).save(name, format="GIF", transparency=transparent, interlace=False, optimize=False)
            pieces.append((name, box[:2], duration, disposal))
        _gifsicle(pieces, path)
    if not _decodes_to(path, indexed, durations):
        raise RuntimeError(f"{path} does not show the frames it was written from")
