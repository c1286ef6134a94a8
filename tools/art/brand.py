"""The product's own marks: the application icon "VIDEO" (16, 32, 48 and 256
pixels and the .ico holding all four), the About picture of the player page
and the quill cursor "autor"."""

import math

from PIL import Image, ImageDraw

import canvas
from canvas import Frame, stroke
from palette import (
    APP_ORBIT,
    APP_PLAY,
    APP_TILE_BOTTOM,
    APP_TILE_TOP,
    OUTLINE,
    QUILL_NIB,
    QUILL_SHAFT,
    QUILL_VANE,
    WHITE,
)

ICON_SIZES = [16, 32, 48, 256]
TILE_CORNER = 0.2  # corner radius as a fraction of the tile
TILE_MARGIN = {16: 0.0, 32: 0.03, 48: 0.04, 256: 0.05}
ORBIT_TILT = -18  # degrees; the 360 degree ring around the picture
ORBIT_RX = 0.8  # orbit half-width, tile units (tile is -1..1)
ORBIT_RY = 0.3
PLAY_TRIANGLE = [(-0.3, -0.44), (0.5, 0.0), (-0.3, 0.44)]

ABOUT_SIZE = 72

CURSOR_SIZE = 32
CURSOR_HOTSPOT = (0, 0)
CURSOR_ANGLE = 45  # the quill leans down and to the right from its tip
QUILL_LENGTH = 31.0  # pixels from the tip to the end of the feather
CURSOR_BREADTH = 1.35
CURSOR_OUTLINE = 1.05


def _tile(img, box, corner):
    size = img.size
    x0, y0, x1, y1 = box
    edge = max(1.0, (x1 - x0) / 64)
    mask = canvas.shape_mask(size, lambda d: d.rounded_rectangle(box, radius=corner, fill=255))
    canvas.fill_masked(img, Image.new("RGBA", size, OUTLINE + (255,)), mask)
    inner = (x0 + edge, y0 + edge, x1 - edge, y1 - edge)
    mask = canvas.shape_mask(size, lambda d: d.rounded_rectangle(inner, radius=corner - edge, fill=255))
    gradient = Image.new("RGBA", size, (0, 0, 0, 0))
    gradient.paste(
        canvas.vertical_gradient((round(x1 - x0), round(y1 - y0)), APP_TILE_TOP, APP_TILE_BOTTOM),
        (round(x0), round(y0)),
    )
    canvas.fill_masked(img, gradient, mask)


def _ellipse_points(f, rx, ry, start, end, steps=64):
    return [
        f.pt(rx * math.cos(math.radians(a)), ry * math.sin(math.radians(a)))
        for a in (start + (end - start) * i / steps for i in range(steps + 1))
    ]


def _orbit(draw, f, width, with_head):
    """The ring; its back half is drawn before the centre piece and its front
    half after, so the ring passes behind and in front of it."""
    ring = f.rotated(ORBIT_TILT)
    back = _ellipse_points(ring, ORBIT_RX, ORBIT_RY, 180, 360)
    front = _ellipse_points(ring, ORBIT_RX, ORBIT_RY, 0, 150 if with_head else 180)
    return back, front, ring


def _draw_orbit_part(draw, points, width, colour):
    stroke(draw, points, width, colour + (255,))


def _orbit_head(draw, ring, width, colour):
    a = math.radians(150)
    tip = ring.pt(ORBIT_RX * math.cos(a), ORBIT_RY * math.sin(a))
    before = ring.pt(ORBIT_RX * math.cos(a - 0.3), ORBIT_RY * math.sin(a - 0.3))
    dx, dy = tip[0] - before[0], tip[1] - before[1]
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    size = width * 1.9
    head = [
        (tip[0] + ux * size * 1.3, tip[1] + uy * size * 1.3),
        (tip[0] - uy * size, tip[1] + ux * size),
        (tip[0] + uy * size, tip[1] - ux * size),
    ]
    draw.polygon(head, fill=colour + (255,))


def render_app_icon(size):
    ss = canvas.SUPERSAMPLE
    img = canvas.layer(size, size)
    full = size * ss
    margin = TILE_MARGIN[size] * full
    _tile(img, (margin, margin, full - margin - 1, full - margin - 1), TILE_CORNER * full)
    draw = ImageDraw.Draw(img)
    f = Frame(full / 2, full / 2, (full - 2 * margin) / 2)
    small = size < 32
    width = f.len(0.16 if small else 0.1)
    back, front, ring = _orbit(draw, f, width, not small)
    _draw_orbit_part(draw, back, width, APP_ORBIT)
    scale = 1.2 if small else 1.0
    play = f.pts([(x * scale, y * scale) for x, y in PLAY_TRIANGLE])
    draw.polygon(play, fill=APP_PLAY + (255,))
    stroke(draw, play, f.len(0.08), APP_PLAY + (255,), closed=True)
    if not small:
        # A dark gap where the ring crosses in front of the triangle.
        stroke(draw, front, width * 2.2, APP_TILE_BOTTOM + (255,))
    _draw_orbit_part(draw, front, width, APP_ORBIT)
    if not small:
        _orbit_head(draw, ring, width, APP_ORBIT)
    return canvas.downsample(img, size, size)


# ---- the quill ---------------------------------------------------------------------
QUILL_VANE_START = 0.26  # where the feather begins, along the quill
QUILL_UPPER_WIDTH = 0.15
QUILL_LOWER_WIDTH = 0.09
QUILL_BEND = 0.07  # the feather curves gently away from the writing hand


def _bend(u):
    if u <= QUILL_VANE_START:
        return 0.0
    return -QUILL_BEND * ((u - QUILL_VANE_START) / (1 - QUILL_VANE_START)) ** 2


def _vane_outline(breadth, steps=24):
    span = 1.0 - QUILL_VANE_START
    upper, lower = [], []
    for i in range(steps + 1):
        t = i / steps
        u = QUILL_VANE_START + span * t
        swell = math.sin(math.pi * t) ** 0.55 * (1 - 0.2 * t)
        upper.append((u, _bend(u) - QUILL_UPPER_WIDTH * breadth * swell))
        lower.append((u, _bend(u) + QUILL_LOWER_WIDTH * breadth * swell))
    return upper + list(reversed(lower))


def _quill(draw, f, outline_width, vane, shaft, nib, breadth=1.0, nib_edge=OUTLINE):
    """f: a frame whose x axis runs from the nib's tip (0) to the end of the
    feather (1); y is across it. breadth widens the feather (the cursor is
    small and needs a fuller shape)."""
    vane_pts = f.pts(_vane_outline(breadth))
    nib_pts = f.pts([(0.0, 0.0), (0.16, -0.055), (0.3, -0.05), (0.3, 0.05), (0.16, 0.055)])
    stroke(draw, vane_pts, outline_width * 2, OUTLINE + (255,), closed=True)
    stroke(draw, nib_pts, outline_width * 1.6, nib_edge + (255,), closed=True)
    draw.polygon(vane_pts, fill=vane + (255,))
    draw.polygon(nib_pts, fill=nib + (255,))
    # The shaft and a few barbs give the feather its texture.
    shaft_line = [(u, _bend(u)) for u in (0.22 + 0.82 * i / 12 for i in range(13))]
    stroke(draw, f.pts(shaft_line), outline_width * 0.9, shaft + (255,))
    barb = outline_width * 0.45
    for u in (0.42, 0.56, 0.7, 0.84):
        stroke(draw, f.pts([(u, _bend(u)), (u + 0.07, _bend(u) - 0.1)]), barb, shaft + (255,))
        stroke(draw, f.pts([(u, _bend(u)), (u + 0.06, _bend(u) + 0.06)]), barb, shaft + (255,))
    stroke(draw, f.pts([(0.06, 0.0), (0.15, 0.0)]), outline_width * 0.5, nib_edge + (255,))


def render_cursor():
    ss = canvas.SUPERSAMPLE
    img = canvas.layer(CURSOR_SIZE, CURSOR_SIZE)
    draw = ImageDraw.Draw(img)
    tip = (CURSOR_HOTSPOT[0] + 0.5) * ss
    f = Frame(tip, tip, QUILL_LENGTH * ss, CURSOR_ANGLE)
    # A dark nib edged in white, like a system pointer: visible on any ground.
    _quill(draw, f, CURSOR_OUTLINE * ss, QUILL_VANE, QUILL_SHAFT, QUILL_NIB, CURSOR_BREADTH, WHITE)
    return canvas.downsample(img, CURSOR_SIZE, CURSOR_SIZE)


def render_about():
    ss = canvas.SUPERSAMPLE
    size = ABOUT_SIZE
    img = canvas.layer(size, size)
    full = size * ss
    margin = 2 * ss
    _tile(img, (margin, margin, full - margin - 1, full - margin - 1), 0.2 * full)
    draw = ImageDraw.Draw(img)
    f = Frame(full / 2, full / 2 + 0.04 * full, (full - 2 * margin) / 2)
    width = f.len(0.09)
    back, front, ring = _orbit(draw, f, width, True)
    _draw_orbit_part(draw, back, width, APP_ORBIT)
    quill = Frame(*f.pt(-0.46, 0.5), f.len(1.7), -54)
    _quill(draw, quill, 0.8 * ss, QUILL_VANE, QUILL_SHAFT, QUILL_NIB)
    stroke(draw, front, width * 2.2, APP_TILE_BOTTOM + (255,))
    _draw_orbit_part(draw, front, width, APP_ORBIT)
    _orbit_head(draw, ring, width, APP_ORBIT)
    # Full colour keeps the gradient smooth; the PNG stays near 4 KB.
    return canvas.downsample(img, size, size)


def write_all(out):
    icons = {size: render_app_icon(size) for size in ICON_SIZES}
    for size, img in icons.items():
        out.save_png(img, out.path("resources/app", f"VIDEO-{size}.png"))
    largest = icons[max(ICON_SIZES)]
    out.save_image(
        largest,
        out.path("resources/app", "VIDEO.ico"),
        "ICO",
        sizes=[(s, s) for s in ICON_SIZES],
        append_images=[icons[s] for s in ICON_SIZES if s != max(ICON_SIZES)],
    )
    out.save_png(render_cursor(), out.path("resources/app", "autor.png"))
    out.write(
        out.path("resources/app", "autor.hotspot"),
        lambda temp: _write_text(temp, f"{CURSOR_HOTSPOT[0]} {CURSOR_HOTSPOT[1]}\n"),
    )
    out.save_png(render_about(), out.path("resources/web", "about.png"))


def _write_text(path, text):
    with open(path, "w", encoding="ascii", newline="\n") as handle:
        handle.write(text)


