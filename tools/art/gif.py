"""Animated GIF output with one-bit transparency and one palette per file."""

from PIL import Image

# Pixels at least this opaque are kept; the rest become the transparent colour.
ALPHA_CUT = 128
TRANSPARENT_INDEX = 255


def _flatten(frame):
    """Kept edge pixels keep their own colour (Pillow stores RGBA
    unpremultiplied), so each shape's hard edge has the colour of that shape:
    dark outlines stay dark, light rings stay light."""
    keep = frame.getchannel("A").point(lambda a: 255 if a >= ALPHA_CUT else 0)
    return frame.convert("RGB"), keep


def _shared_palette(flat_frames, matte):
    width, height = flat_frames[0][0].size
    strip = Image.new("RGB", (width, height * len(flat_frames)), tuple(matte))
    for i, (rgb, keep) in enumerate(flat_frames):
        strip.paste(rgb, (0, i * height), keep)
    return strip.quantize(
        colors=TRANSPARENT_INDEX, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE
    )


def _indexed(rgb, keep, palette_image):
    indexed = rgb.quantize(palette=palette_image, dither=Image.Dither.NONE)
    hole = Image.new("P", rgb.size, TRANSPARENT_INDEX)
    hole.paste(indexed, (0, 0), keep)
    hole.putpalette(_full_palette(palette_image))
    return hole


def _full_palette(palette_image):
    colours = palette_image.getpalette()[: 3 * TRANSPARENT_INDEX]
    colours += [0] * (3 * 256 - len(colours))
    return colours


def save_animated_gif(frames, path, duration_ms, matte):
    # matte only fills the unused palette area; it never shows.
    """frames: RGBA images of one size. Loops forever; each frame replaces
    the previous one entirely (disposal 2), so nothing smears."""
    flat = [_flatten(f) for f in frames]
    palette_image = _shared_palette(flat, matte)
    indexed = [_indexed(rgb, keep, palette_image) for rgb, keep in flat]
    indexed[0].save(
        path,
        format="GIF",
        save_all=True,
        append_images=indexed[1:],
        duration=duration_ms,
        loop=0,
        transparency=TRANSPARENT_INDEX,
        disposal=2,
        optimize=False,
    )
