"""Animated GIFs: Pillow writes them, gifsicle makes them small.

All frames share one small palette with one transparent index. Pillow writes
the animation (looping, durations, disposal, transparency) with every frame
whole; gifsicle's optimizer then stores each frame as the rectangle that
changed with its unchanged pixels transparent, chooses each frame's disposal
and narrows the colour table and LZW code width to the colours in use, which
is what fits a pulsing 52 x 52 icon into a few kilobytes. The result is
decoded again and must show exactly the frames that went in."""

import os
import shutil
import subprocess
import tempfile

from PIL import Image

# Pixels at least this opaque are kept; the rest become the transparent colour.
ALPHA_CUT = 128
RESTORE_BACKGROUND = 2
GIFSICLE = "gifsicle"
# Fixed options, so the same frames always give the same bytes: the strongest
# optimisation, no comments or names carried over.
GIFSICLE_OPTIONS = ["--optimize=3", "--no-comments", "--no-names"]


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
    quantized = row.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
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


def _gifsicle(source, target):
    program = shutil.which(GIFSICLE)
    if program is None:
        raise RuntimeError("gifsicle is missing (Debian package gifsicle)")
    result = subprocess.run(
        [program, *GIFSICLE_OPTIONS, source, "--output", target],
        capture_output=True,
        text=True,
        check=False,
    )
    if result.returncode != 0:
        raise RuntimeError(f"gifsicle failed on {source}: {result.stderr.strip()}")


def save_animated_gif(frames, path, duration_ms, colours):
    """frames: RGBA images of one size, shown duration_ms each (a number or
    one per frame), looping forever. colours: how many palette entries the
    frames share, besides the transparent one."""
    flat = [_flatten(f) for f in frames]
    used = _shared_palette(flat, colours)
    transparent = len(used)
    lookup = _palette_image(used)
    indexed = [_indexed(rgb, keep, lookup, transparent) for rgb, keep in flat]
    durations = list(duration_ms) if isinstance(duration_ms, (list, tuple)) else [duration_ms] * len(frames)
    indexed, durations = _merge_repeats(indexed, durations)
    with tempfile.TemporaryDirectory(prefix=".gif-", dir=os.path.dirname(path) or ".") as scratch:
        raw = os.path.join(scratch, "pillow.gif")
        # Every frame whole and cleared after its time: always right, and
        # gifsicle then works out what each frame really has to store.
        indexed[0].save(
            raw,
            format="GIF",
            save_all=True,
            append_images=indexed[1:],
            duration=durations,
            loop=0,
            disposal=RESTORE_BACKGROUND,
            transparency=transparent,
            # Pillow 9.4's palette optimisation renumbers each frame's colours
            # but not the transparent index; the palette is small already.
            optimize=False,
        )
        _gifsicle(raw, path)
    if not _decodes_to(path, indexed, durations):
        raise RuntimeError(f"{path} does not show the frames it was written from")
