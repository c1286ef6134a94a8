"""Animated GIF output: one small palette per file, one-bit transparency and
frames stored as the part that changed.

Pillow's own GIF writer codes every pixel at least 8 bits wide and repeats
the unchanged pixels of each frame, which makes a 52 x 52 pulsing icon about
20 KB. Here the colour table and the LZW code width follow the colours in
use, each frame holds only the rectangle that changed with its unchanged
pixels set to the transparent index (long runs LZW packs to a few codes),
and each frame is either left in place (disposal 1) or taken away again
(disposal 3, "restore previous") so that a ring growing around a still badge
costs only the ring."""

from PIL import Image

# Pixels at least this opaque are kept; the rest become the transparent colour.
ALPHA_CUT = 128
DO_NOT_DISPOSE = 1
RESTORE_PREVIOUS = 3
MAX_LZW_BITS = 12


def _flatten(frame):
    """Kept edge pixels keep their own colour (Pillow stores RGBA
    unpremultiplied), so each shape's hard edge has the colour of that shape:
    dark outlines stay dark, light rings stay light."""
    keep = frame.getchannel("A").point(lambda a: 255 if a >= ALPHA_CUT else 0)
    return frame.convert("RGB"), keep


def _shared_palette(flat_frames, colours):
    """One palette for all frames, chosen from the kept pixels only."""
    kept = [
        pixel
        for rgb, keep in flat_frames
        for pixel, k in zip(rgb.getdata(), keep.getdata())
        if k
    ]
    row = Image.new("RGB", (len(kept), 1))
    row.putdata(kept)
    return row.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def _used_colours(palette_image):
    """The palette entries the quantizer filled, as RGB triples."""
    count = max(palette_image.getdata()) + 1
    flat = palette_image.getpalette()[: 3 * count]
    return [tuple(flat[i : i + 3]) for i in range(0, len(flat), 3)]


def _indexed(rgb, keep, colours, transparent):
    """Frame pixels as indices into `colours`, `transparent` where not kept."""
    # The unused rest of the table repeats the first colour, so the nearest
    # match never lands on an entry beyond `colours`; such a match is index 0.
    lookup = Image.new("P", (1, 1))
    lookup.putpalette([v for entry in colours + [colours[0]] * (256 - len(colours)) for v in entry])
    indices = rgb.quantize(palette=lookup, dither=Image.Dither.NONE).getdata()
    count = len(colours)
    return bytes(
        (i if i < count else 0) if k else transparent for i, k in zip(indices, keep.getdata())
    )


def _table_bits(entries):
    """Bits of the smallest GIF colour table holding `entries` colours."""
    return max(1, (entries - 1).bit_length())


def lzw_encode(indices, min_code_size):
    """GIF's variable-width LZW of a byte string of palette indices."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = bytearray()
    bit_buffer, bit_count = 0, 0
    width = min_code_size + 1

    def emit(code):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {}, end + 1

    table, next_code = fresh_table()
    emit(clear)
    prefix = indices[0]
    for value in indices[1:]:
        key = (prefix, value)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix)
        # The decoder learns each code one step later than the encoder, so
        # the width grows once the code about to be added no longer fits.
        if next_code >= (1 << width) and width < MAX_LZW_BITS:
            width += 1
        if next_code < (1 << MAX_LZW_BITS) - 1:
            table[key] = next_code
            next_code += 1
        else:
            emit(clear)
            table, next_code = fresh_table()
            width = min_code_size + 1
        prefix = value
    emit(prefix)
    emit(end)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def _sub_blocks(data):
    blocks = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start : start + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


def _delta(target, base, transparent, width):
    """The rectangle and pixels that turn `base` into `target` when drawn
    over it, or None when it cannot: a GIF frame can only cover pixels, so
    every pixel `target` leaves transparent must be transparent in `base`."""
    changed = []
    for i, (t, b) in enumerate(zip(target, base)):
        if t != b:
            if t == transparent:
                return None
            changed.append(i)
    if not changed:
        # A frame that only waits: one pixel, left as it is.
        return (0, 0, 1, 1), bytes([transparent])
    xs = [i % width for i in changed]
    ys = [i // width for i in changed]
    x0, y0, x1, y1 = min(xs), min(ys), max(xs) + 1, max(ys) + 1
    pixels = bytearray()
    for y in range(y0, y1):
        for x in range(x0, x1):
            i = y * width + x
            pixels.append(target[i] if target[i] != base[i] else transparent)
    return (x0, y0, x1, y1), bytes(pixels)


def _merge_repeats(frames, durations):
    """Consecutive equal frames become one that stays up for their total time."""
    merged = [[frames[0], durations[0]]]
    for frame, duration in zip(frames[1:], durations[1:]):
        if frame == merged[-1][0]:
            merged[-1][1] += duration
        else:
            merged.append([frame, duration])
    return [f for f, _ in merged], [d for _, d in merged]


def _canvas_order(canvas):
    """The empty canvas first, then the earlier frames in order: equal plans
    are always resolved the same way."""
    return -1 if canvas is None else canvas


def _plan(frames, transparent, width, min_code_size):
    """Per frame: its rectangle, pixels and disposal, the smallest plan in
    total. What a frame is drawn over is always either nothing or one of the
    earlier frames (disposal 1 keeps the frame, 3 brings back what was under
    it), so the search runs over those few canvases. After the last frame the
    canvas must let the first frame, drawn over it, come out right again."""
    empty = bytes([transparent]) * len(frames[0])
    # best[canvas] = (total size, steps so far); canvas None is the empty one.
    best = {None: (0, [])}
    for k, frame in enumerate(frames):
        following = {}
        for canvas in sorted(best, key=_canvas_order):
            total, steps = best[canvas]
            under = empty if canvas is None else frames[canvas]
            step = _delta(frame, under, transparent, width)
            if step is None:
                continue
            size = total + len(lzw_encode(step[1], min_code_size))
            for disposal, after in ((DO_NOT_DISPOSE, k), (RESTORE_PREVIOUS, canvas)):
                if after not in following or size < following[after][0]:
                    following[after] = (size, steps + [(step, disposal)])
        best = following
    # Drawing every frame over the empty canvas is always possible, so the
    # list is never empty.
    looping = [
        best[c]
        for c in sorted(best, key=_canvas_order)
        if _delta(frames[0], empty if c is None else frames[c], transparent, width) is not None
    ]
    _, steps = min(looping, key=lambda entry: entry[0])
    return [(rect, pixels, disposal) for (rect, pixels), disposal in steps]


def _palette_bytes(colours, table_bits):
    flat = bytearray()
    for rgb in colours:
        flat += bytes(rgb)
    flat += bytes(3 * ((1 << table_bits) - len(colours)))
    return bytes(flat)


def encode_gif(frames, size, colours, durations_ms, transparent):
    """frames: index strings (row by row) into `colours`; `transparent` is
    the index that shows nothing. Returns the bytes of a GIF89a that loops
    forever."""
    width, height = size
    frames, durations_ms = _merge_repeats(frames, durations_ms)
    table_bits = _table_bits(len(colours))
    min_code_size = max(2, table_bits)
    data = bytearray(b"GIF89a")
    data += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    data += bytes([0x80 | (table_bits - 1), 0, 0])
    data += _palette_bytes(colours, table_bits)
    data += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop forever
    for ((x0, y0, x1, y1), pixels, disposal), duration in zip(
        _plan(frames, transparent, width, min_code_size), durations_ms
    ):
        delay = round(duration / 10)
        data += bytes([0x21, 0xF9, 4, (disposal << 2) | 1]) + delay.to_bytes(2, "little")
        data += bytes([transparent, 0])
        data += b"\x2c" + b"".join(v.to_bytes(2, "little") for v in (x0, y0, x1 - x0, y1 - y0))
        data += bytes([0, min_code_size])
        data += _sub_blocks(lzw_encode(pixels, min_code_size))
    data += b"\x3b"
    return bytes(data)


def save_animated_gif(frames, path, duration_ms, colours):
    """frames: RGBA images of one size, shown duration_ms each (a number or
    one per frame), looping forever. colours: how many palette entries the
    frames share, besides the transparent one."""
    flat = [_flatten(f) for f in frames]
    palette_image = _shared_palette(flat, colours)
    used = _used_colours(palette_image)
    transparent = len(used)
    indexed = [_indexed(rgb, keep, used, transparent) for rgb, keep in flat]
    durations = duration_ms if isinstance(duration_ms, (list, tuple)) else [duration_ms] * len(frames)
    encoded = encode_gif(indexed, frames[0].size, used + [(0, 0, 0)], list(durations), transparent)
    with open(path, "wb") as handle:
        handle.write(encoded)
