"""The 35 hot spot icons: round coloured badges with a white glyph and a
pulsing ring. Animated 52 x 52 GIFs for the web player, static bitmaps for
the desktop icon chooser."""

import math

from PIL import ImageDraw

import canvas
from canvas import Frame, stroke
from animated_gif import save_animated_gif
from palette import BADGE, GLYPH, GLYPH_SHADOW, OUTLINE, WHITE

# ---- sizes (pixels of the finished picture) --------------------------------
GIF_SIZE = 52
GIF_BADGE_RADIUS = 18.0
BITMAP_SIZE = (36, 33)
BITMAP_BADGE_RADIUS = 15.0
OUTLINE_WIDTH = 1.8  # at the GIF size; scales with the badge
GLYPH_SCALE = 0.6  # glyph half-size as a fraction of the badge radius

# ---- animation --------------------------------------------------------------
# The first frame is the plain icon and the only one stored whole; every later
# frame stores just the pixels that differ from it (animated_gif.py), so each
# ring step or glyph step costs a few hundred bytes.
REST_FRAMES = 4  # a still glyph's rest frames are equal and merge into one
RING_FRAMES = 5  # then the ring grows and fades
FRAME_COUNT = REST_FRAMES + RING_FRAMES
REST_MS = 90
RING_MS = 140
FRAME_DURATIONS = [REST_MS] * REST_FRAMES + [RING_MS] * RING_FRAMES
RING_START = 21.0  # ring centre line, pixels from the icon centre
RING_END = 24.0
RING_WIDTH_START = 2.6
RING_WIDTH_END = 1.4
RING_EDGE = 0.8  # dark edge outside the ring, for bright backgrounds
NUDGE = 0.2  # how far (glyph units) moving glyphs step forward and back
# Shared by all frames of an icon; one more index is transparent, so the
# pixels code in 4 bits; at 52 pixels the badge reads as well as with 31.
GIF_COLOURS = 15

ERASE = (0, 0, 0, 0)

# ---- glyphs -------------------------------------------------------------------
# Each glyph draws in unit coordinates (-1..1) through a Frame; "ink" is the
# glyph colour and ERASE cuts holes that show the badge beneath.

ARROW = [
    (0.0, -1.0),
    (0.86, -0.06),
    (0.34, -0.06),
    (0.34, 0.92),
    (-0.34, 0.92),
    (-0.34, -0.06),
    (-0.86, -0.06),
]


def _filled(draw, f, points, ink, round_units=0.12):
    pts = f.pts(points)
    draw.polygon(pts, fill=ink)
    stroke(draw, pts, f.len(round_units), ink, closed=True)


def _stadium(cx, cy, length, height, steps=16):
    """Rounded bar outline, centred, lying along x."""
    r = height / 2
    half = length / 2 - r
    right = [
        (cx + half + r * math.cos(a), cy + r * math.sin(a))
        for a in (math.pi * (-0.5 + i / steps) for i in range(steps + 1))
    ]
    left = [
        (cx - half + r * math.cos(a), cy + r * math.sin(a))
        for a in (math.pi * (0.5 + i / steps) for i in range(steps + 1))
    ]
    return right + left


def _rounded_rect(draw, f, box, radius, fill):
    x0, y0 = f.pt(box[0], box[1])
    x1, y1 = f.pt(box[2], box[3])
    draw.rounded_rectangle((x0, y0, x1, y1), radius=f.len(radius), fill=fill)


def _dot(draw, f, x, y, r, fill):
    canvas.disc(draw, f.pt(x, y), f.len(r), fill)


def glyph_target(draw, f, ink):
    canvas.disc(draw, f.pt(0, 0), f.len(0.86), ink)
    canvas.disc(draw, f.pt(0, 0), f.len(0.6), ERASE)
    _dot(draw, f, 0, 0, 0.34, ink)


def glyph_arrow(draw, f, ink):
    _filled(draw, f, ARROW, ink)


def glyph_forward(draw, f, ink):
    for dy in (-0.42, 0.36):
        stroke(draw, f.pts([(-0.72, dy + 0.38), (0, dy - 0.32), (0.72, dy + 0.38)]), f.len(0.3), ink)


def glyph_back(draw, f, ink):
    path = [(-0.4, -0.32), (0.22, -0.32)]
    path += [
        (0.22 + 0.48 * math.cos(a), 0.16 + 0.48 * math.sin(a))
        for a in (math.pi * (-0.5 + i / 16) for i in range(17))
    ]
    path += [(-0.2, 0.64)]
    stroke(draw, f.pts(path), f.len(0.26), ink)
    _filled(draw, f, [(-0.98, -0.32), (-0.34, -0.8), (-0.34, 0.16)], ink, 0.1)


STAIRS = [(-0.95, 0.85), (-0.95, 0.45), (-0.35, 0.45), (-0.35, 0.02), (0.25, 0.02)]
STAIRS += [(0.25, -0.42), (0.95, -0.42), (0.95, 0.85)]
STAIRS_ARROW = ((-0.86, -0.06), (-0.2, -0.72))  # from, to (tip); going up


def _stairs(draw, f, ink, down):
    """Steps rising to the right for up; mirrored, with the arrow reversed,
    for down."""
    sx = -1 if down else 1
    _filled(draw, f, [(sx * x, y) for x, y in STAIRS], ink, 0.08)
    (x0, y0), (x1, y1) = STAIRS_ARROW
    start, tip = ((sx * x0, y0), (sx * x1, y1)) if not down else ((sx * x1, y1), (sx * x0, y0))
    stroke(draw, f.pts([start, tip]), f.len(0.2), ink)
    dx, dy = (start[0] - tip[0]) * 0.62, (start[1] - tip[1]) * 0.62
    stroke(draw, f.pts([(tip[0] + dx, tip[1]), tip, (tip[0], tip[1] + dy)]), f.len(0.2), ink)


def glyph_stairs_up(draw, f, ink):
    _stairs(draw, f, ink, down=False)


def glyph_stairs_down(draw, f, ink):
    _stairs(draw, f, ink, down=True)


def glyph_door(draw, f, ink):
    stroke(draw, f.pts([(-0.56, 0.92), (-0.56, -0.92), (0.56, -0.92), (0.56, 0.92)]), f.len(0.16), ink)
    _filled(draw, f, [(-0.56, -0.92), (0.26, -0.7), (0.26, 1.0), (-0.56, 0.92)], ink, 0.08)
    _dot(draw, f, 0.08, 0.08, 0.1, ERASE)


def glyph_info(draw, f, ink):
    _dot(draw, f, 0, -0.66, 0.2, ink)
    stroke(draw, f.pts([(0, -0.16), (0, 0.8)]), f.len(0.34), ink)


def glyph_exclamation(draw, f, ink):
    _filled(draw, f, [(-0.2, -0.9), (0.2, -0.9), (0.1, 0.34), (-0.1, 0.34)], ink, 0.12)
    _dot(draw, f, 0, 0.74, 0.2, ink)


def glyph_text(text, size=1.95, name="sans-bold", dy=0.0):
    def draw_text(draw, f, ink):
        canvas.text_centred(draw, f.pt(0, dy), text, canvas.font(name, f.len(size)), ink)

    return draw_text


def glyph_link(draw, f, ink):
    tilt = f.rotated(-45)
    for cx in (-0.4, 0.4):
        stroke(draw, tilt.pts(_stadium(cx, 0, 1.12, 0.62)), f.len(0.2), ink, closed=True)


def glyph_play(draw, f, ink):
    _filled(draw, f, [(-0.5, -0.8), (0.86, 0.0), (-0.5, 0.8)], ink, 0.16)


def glyph_photo(draw, f, ink):
    _rounded_rect(draw, f, (-0.95, -0.5, 0.95, 0.78), 0.18, ink)
    _rounded_rect(draw, f, (-0.38, -0.78, 0.38, -0.4), 0.1, ink)
    _dot(draw, f, 0, 0.15, 0.44, ERASE)
    _dot(draw, f, 0, 0.15, 0.25, ink)
    _dot(draw, f, 0.66, -0.3, 0.08, ERASE)


def glyph_pin(draw, f, ink):
    _dot(draw, f, 0, -0.3, 0.64, ink)
    _filled(draw, f, [(-0.54, -0.02), (0.54, -0.02), (0.0, 1.0)], ink, 0.06)
    _dot(draw, f, 0, -0.3, 0.26, ERASE)


def glyph_star(draw, f, ink):
    points = []
    for i in range(10):
        r = 1.0 if i % 2 == 0 else 0.42
        a = math.radians(-90 + 36 * i)
        points.append((r * math.cos(a), 0.08 + r * math.sin(a)))
    _filled(draw, f, points, ink, 0.1)


def glyph_home(draw, f, ink):
    _filled(draw, f, [(-1.0, 0.06), (0.0, -0.88), (1.0, 0.06)], ink, 0.12)
    _rounded_rect(draw, f, (-0.64, -0.12, 0.64, 0.86), 0.06, ink)
    _rounded_rect(draw, f, (-0.17, 0.3, 0.17, 0.9), 0.04, ERASE)


def glyph_eye(draw, f, ink):
    outline = [(-math.cos(s), -0.66 * math.sin(s)) for s in (math.pi * i / 24 for i in range(25))]
    outline += [(math.cos(s), 0.66 * math.sin(s)) for s in (math.pi * i / 24 for i in range(1, 24))]
    _filled(draw, f, outline, ink, 0.1)
    _dot(draw, f, 0, 0, 0.4, ERASE)
    _dot(draw, f, 0, 0, 0.2, ink)


def glyph_speech(draw, f, ink):
    _rounded_rect(draw, f, (-0.95, -0.78, 0.95, 0.42), 0.3, ink)
    _filled(draw, f, [(-0.5, 0.3), (-0.62, 0.96), (0.08, 0.3)], ink, 0.06)
    for x in (-0.45, 0.0, 0.45):
        _dot(draw, f, x, -0.18, 0.13, ERASE)


def glyph_flag(draw, f, ink):
    stroke(draw, f.pts([(-0.62, -0.9), (-0.62, 0.96)]), f.len(0.18), ink)
    wave = [(-0.62 + 1.5 * i / 12, -0.86 + 0.1 * math.sin(math.pi * 2 * i / 12)) for i in range(13)]
    lower = [(x, y + 0.86) for x, y in reversed(wave)]
    _filled(draw, f, wave + lower, ink, 0.06)


# ---- the icon set, in chooser order (icon k has code 200 + k) ---------------
# (name, badge family, glyph, rotation in degrees, moving glyph)
ICONS = [
    ("hot spot", "hot", glyph_target, 0, False),
    ("go forward", "nav", glyph_forward, 0, True),
    ("go back", "nav", glyph_back, 0, True),
    ("arrow up", "nav", glyph_arrow, 0, True),
    ("arrow up right", "nav", glyph_arrow, 45, True),
    ("arrow right", "nav", glyph_arrow, 90, True),
    ("arrow down right", "nav", glyph_arrow, 135, True),
    ("arrow down", "nav", glyph_arrow, 180, True),
    ("arrow down left", "nav", glyph_arrow, 225, True),
    ("arrow left", "nav", glyph_arrow, 270, True),
    ("arrow up left", "nav", glyph_arrow, 315, True),
    ("stairs up", "stairs", glyph_stairs_up, 0, False),
    ("stairs down", "stairs", glyph_stairs_down, 0, False),
    ("door", "door", glyph_door, 0, False),
    ("info", "info", glyph_info, 0, False),
    ("question", "question", glyph_text("?", 2.3, dy=0.04), 0, False),
    ("exclamation", "alert", glyph_exclamation, 0, False),
    ("link", "link", glyph_link, 0, False),
    ("play", "play", glyph_play, 0, False),
    ("photo", "photo", glyph_photo, 0, False),
    ("pin", "pin", glyph_pin, 0, False),
    ("star", "star", glyph_star, 0, False),
    ("home", "home", glyph_home, 0, False),
    ("look", "eye", glyph_eye, 0, False),
    ("comment", "speech", glyph_speech, 0, False),
] + [(f"number {n}", "number", glyph_text(str(n), 1.9, dy=0.02), 0, False) for n in range(1, 10)] + [
    ("flag", "flag", glyph_flag, 0, False),
]

ICON_COUNT = 35
FIRST_CODE = 200


def _badge(img, centre, radius, colour):
    # radius is in layer pixels; the outline keeps its proportion at any size.
    edge = OUTLINE_WIDTH * radius / GIF_BADGE_RADIUS
    draw = ImageDraw.Draw(img)
    canvas.disc(draw, centre, radius + edge, OUTLINE + (255,))
    size = img.size
    light = canvas.mix(colour, WHITE, 0.38)
    body = canvas.radial_gradient(
        size, (centre[0] - radius * 0.35, centre[1] - radius * 0.45), radius * 1.7, light, colour
    )
    mask = canvas.shape_mask(size, lambda d: canvas.disc(d, centre, radius, 255))
    canvas.fill_masked(img, body, mask)
    # A soft gloss on the upper half.
    gloss = canvas.shape_mask(
        size,
        lambda d: d.ellipse(
            (
                centre[0] - radius * 0.72,
                centre[1] - radius * 0.9,
                centre[0] + radius * 0.72,
                centre[1] - radius * 0.05,
            ),
            fill=58,
        ),
    )
    canvas.fill_masked(img, canvas.Image.new("RGBA", size, WHITE + (255,)), gloss)


def _glyph_layer(size, frame, glyph):
    glyph_img = canvas.Image.new("RGBA", size, (0, 0, 0, 0))
    glyph(ImageDraw.Draw(glyph_img), frame, GLYPH + (255,))
    shadow = canvas.drop_shadow(
        glyph_img.getchannel("A"),
        (0, frame.scale * 0.09),
        frame.scale * 0.07,
        GLYPH_SHADOW,
        strength=0.6,
    )
    return canvas.under(glyph_img, shadow)


def _ring(img, centre, phase, colour):
    """The pulse: a ring that leaves the badge and thins out."""
    ss = canvas.SUPERSAMPLE
    radius = (RING_START + (RING_END - RING_START) * phase) * ss
    width = (RING_WIDTH_START + (RING_WIDTH_END - RING_WIDTH_START) * phase) * ss
    draw = ImageDraw.Draw(img)
    outer = radius + width / 2
    canvas.disc(draw, centre, outer + RING_EDGE * ss, OUTLINE + (255,))
    canvas.disc(draw, centre, outer, canvas.mix(colour, WHITE, 0.35) + (255,))
    canvas.disc(draw, centre, outer - width, (0, 0, 0, 0))


def render_icon(index, size, radius, phase=None, nudge=0.0):
    """One picture of icon `index`; phase in 0..1 draws the pulse ring."""
    _, family, glyph, rotation, _ = ICONS[index]
    ss = canvas.SUPERSAMPLE
    width, height = size
    img = canvas.layer(width, height)
    centre = (width * ss / 2, height * ss / 2)
    colour = BADGE[family]
    if phase is not None:
        _ring(img, centre, phase, colour)
    _badge(img, centre, radius * ss, colour)
    frame = Frame(centre[0], centre[1], radius * ss * GLYPH_SCALE, rotation)
    frame = frame.shifted(0, -nudge)
    img.alpha_composite(_glyph_layer(img.size, frame, glyph))
    return canvas.downsample(img, width, height)


def animation_frames(index):
    """A moving glyph steps forward and back while the badge rests, then the
    ring pulses around the still icon: one thing moves at a time, which reads
    clearly and keeps every frame's change to the GIF small."""
    moving = ICONS[index][4]
    frames = []
    for i in range(FRAME_COUNT):
        resting = i < REST_FRAMES
        phase = None if resting else (i - REST_FRAMES) / (RING_FRAMES - 1)
        nudge = NUDGE * math.sin(math.pi * i / REST_FRAMES) if moving and resting else 0.0
        frames.append(render_icon(index, (GIF_SIZE, GIF_SIZE), GIF_BADGE_RADIUS, phase, nudge))
    return frames


def bitmap(index):
    return render_icon(index, BITMAP_SIZE, BITMAP_BADGE_RADIUS)


def write_all(out):
    """hs200.gif ... hs234.gif and arrow0.png ... arrow34.png."""
    for k in range(ICON_COUNT):
        frames = animation_frames(k)
        gif_path = out.path("resources/hotspots", f"hs{FIRST_CODE + k}.gif")
        out.write(
            gif_path,
            lambda temp, frames=frames: save_animated_gif(frames, temp, FRAME_DURATIONS, GIF_COLOURS),
        )
        out.save_png(bitmap(k), out.path("resources/app", f"arrow{k}.png"))
