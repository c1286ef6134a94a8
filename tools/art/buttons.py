"""The web player's control buttons (75 x 70, in normal, lit "L" and
pressed "D" states) and the two 20 x 20 mute buttons."""

import math

from PIL import Image, ImageDraw

import canvas
from canvas import Frame, stroke
from palette import (
    BUTTON_FACE,
    BUTTON_GLYPH,
    BUTTON_RIM,
    GLYPH_SHADOW,
    MUTE_STRIKE,
    OUTLINE,
    SOUND_WAVES,
    TITLE_ACCENT,
    WHITE,
)

# ---- shape constants (pixels of the finished 75 x 70 picture) ---------------
BUTTON_SIZE = (75, 70)
DISC_CENTRE = (37.5, 33.5)
DISC_RADIUS = 28.0
RIM_WIDTH = 2.2
EDGE_WIDTH = 1.0  # dark line outside the rim, for bright backgrounds
FACE_ALPHA = 226  # the glass lets a little of the video through
GLYPH_SIZE = 14.0  # glyph half-size
PRESSED_SHIFT = 1.2  # the glyph sinks when pressed
SHADOW_OFFSET = 2.0
# Shadows and the glow stay crisp: a wide blur needs dozens of alpha steps,
# which a 16-colour palette can only dither into noise that costs bytes.
SHADOW_BLUR = 0.5
GLOW_BLUR = 0.5  # the lit state has a halo in the accent colour
INNER_SHADOW_BLUR = 0.5  # pressed: along the top edge of the face
GLYPH_SHADOW_BLUR = 0.5

STATES = [("normal", ""), ("lit", "L"), ("pressed", "D")]
# Colours of each stored button (a palette PNG with alpha, 4 bits a pixel);
# 24 of them ship in every package. The mute buttons are tiny and stay full
# colour.
BUTTON_COLOURS = 16

MUTE_SIZE = 20
MUTE_CORNER = 4.5

ARROW_HEAD = [(0.0, -0.9), (0.88, 0.52), (-0.88, 0.52)]


# ---- glyphs (unit coordinates, -1..1) -----------------------------------------
def _triangle(draw, f, ink):
    pts = f.pts(ARROW_HEAD)
    draw.polygon(pts, fill=ink)
    stroke(draw, pts, f.len(0.24), ink, closed=True)


def _stop(draw, f, ink):
    x0, y0 = f.pt(-0.62, -0.62)
    x1, y1 = f.pt(0.62, 0.62)
    draw.rounded_rectangle((x0, y0, x1, y1), radius=f.len(0.16), fill=ink)


def _restart(draw, f, ink):
    centre = f.pt(0, 0.04)
    radius = f.len(0.66)
    arc = canvas.arc_points(centre, radius, -60, 230, 40)
    stroke(draw, arc, f.len(0.24), ink)
    # Arrowhead at the open end, pointing along the turn.
    end_angle = math.radians(-60)
    ex = centre[0] + radius * math.cos(end_angle)
    ey = centre[1] + radius * math.sin(end_angle)
    tangent = (-math.sin(end_angle), math.cos(end_angle))
    normal = (math.cos(end_angle), math.sin(end_angle))
    size = f.len(0.42)
    # The head points back against the arc's sweep: an anticlockwise "again".
    head = [
        (ex - tangent[0] * size * 1.05, ey - tangent[1] * size * 1.05),
        (ex + normal[0] * size * 0.8, ey + normal[1] * size * 0.8),
        (ex - normal[0] * size * 0.8, ey - normal[1] * size * 0.8),
    ]
    draw.polygon(head, fill=ink)
    stroke(draw, head, f.len(0.1), ink, closed=True)


def _magnifier(draw, f, ink, plus):
    lens = f.pt(-0.14, -0.14)
    radius = f.len(0.6)
    canvas.disc(draw, lens, radius + f.len(0.12), ink)
    canvas.disc(draw, lens, radius - f.len(0.12), (0, 0, 0, 0))
    stroke(draw, f.pts([(0.34, 0.34), (0.86, 0.86)]), f.len(0.3), ink)
    bar = f.len(0.3)
    stroke(draw, [(lens[0] - bar, lens[1]), (lens[0] + bar, lens[1])], f.len(0.16), ink)
    if plus:
        stroke(draw, [(lens[0], lens[1] - bar), (lens[0], lens[1] + bar)], f.len(0.16), ink)


BUTTONS = [
    ("down", lambda d, f, ink: _triangle(d, f.rotated(180), ink)),
    ("up", _triangle),
    ("left", lambda d, f, ink: _triangle(d, f.rotated(270), ink)),
    ("right", lambda d, f, ink: _triangle(d, f.rotated(90), ink)),
    ("stop", _stop),
    ("restart", _restart),
    ("zoomin", lambda d, f, ink: _magnifier(d, f, ink, True)),
    ("zoomout", lambda d, f, ink: _magnifier(d, f, ink, False)),
]


def _disc_mask(size, centre, radius):
    return canvas.shape_mask(size, lambda d: canvas.disc(d, centre, radius, 255))


def _glyph(size, frame, glyph, colour):
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    glyph(ImageDraw.Draw(img), frame, colour + (255,))
    shadow = canvas.drop_shadow(
        img.getchannel("A"),
        (0, frame.scale * 0.08),
        GLYPH_SHADOW_BLUR * canvas.SUPERSAMPLE,
        GLYPH_SHADOW,
        0.75,
    )
    return canvas.under(img, shadow)


def render_button(glyph, state):
    ss = canvas.SUPERSAMPLE
    width, height = BUTTON_SIZE
    img = canvas.layer(width, height)
    size = img.size
    centre = (DISC_CENTRE[0] * ss, DISC_CENTRE[1] * ss)
    outer = (DISC_RADIUS + RIM_WIDTH + EDGE_WIDTH) * ss
    if state != "pressed":
        img.alpha_composite(
            canvas.drop_shadow(
                _disc_mask(size, centre, outer), (0, SHADOW_OFFSET * ss), SHADOW_BLUR * ss, strength=0.55
            )
        )
    if state == "lit":
        glow = canvas.drop_shadow(
            _disc_mask(size, centre, outer), (0, 0), GLOW_BLUR * ss, TITLE_ACCENT, strength=0.9
        )
        img.alpha_composite(glow)
    draw = ImageDraw.Draw(img)
    canvas.disc(draw, centre, outer, OUTLINE + (255,))
    canvas.disc(draw, centre, (DISC_RADIUS + RIM_WIDTH) * ss, BUTTON_RIM[state] + (240,))
    canvas.disc(draw, centre, DISC_RADIUS * ss, (0, 0, 0, 0))
    # One flat tone between the two face colours: a gradient would need
    # dithering in 16 colours; the gloss still gives the disc its depth.
    face = Image.new("RGBA", size, canvas.mix(*BUTTON_FACE[state], 0.5) + (FACE_ALPHA,))
    canvas.fill_masked(img, face, _disc_mask(size, centre, DISC_RADIUS * ss))
    if state != "pressed":
        gloss = canvas.shape_mask(
            size,
            lambda d: d.ellipse(
                (
                    centre[0] - DISC_RADIUS * ss * 0.74,
                    centre[1] - DISC_RADIUS * ss * 0.93,
                    centre[0] + DISC_RADIUS * ss * 0.74,
                    centre[1] - DISC_RADIUS * ss * 0.05,
                ),
                fill=44,
            ),
        )
        canvas.fill_masked(img, Image.new("RGBA", size, WHITE + (255,)), gloss)
    else:
        # Pressed: an inner shadow along the top edge.
        inner = canvas.drop_shadow(
            _disc_mask(size, centre, DISC_RADIUS * ss).point(lambda v: 255 - v),
            (0, 2.0 * ss),
            INNER_SHADOW_BLUR * ss,
            strength=0.8,
        )
        inner.putalpha(
            Image.composite(
                inner.getchannel("A"),
                Image.new("L", size, 0),
                _disc_mask(size, centre, DISC_RADIUS * ss),
            )
        )
        img.alpha_composite(inner)
    shift = PRESSED_SHIFT * ss if state == "pressed" else 0.0
    frame = Frame(centre[0], centre[1] + shift, GLYPH_SIZE * ss)
    img.alpha_composite(_glyph(size, frame, glyph, BUTTON_GLYPH[state]))
    return canvas.downsample(img, width, height)


# ---- mute buttons ---------------------------------------------------------------
def _speaker(draw, f, ink):
    body = [(-0.92, -0.3), (-0.5, -0.3), (0.0, -0.78), (0.0, 0.78), (-0.5, 0.3), (-0.92, 0.3)]
    pts = f.pts(body)
    draw.polygon(pts, fill=ink)
    stroke(draw, pts, f.len(0.1), ink, closed=True)


def render_mute(muted):
    ss = canvas.SUPERSAMPLE
    img = canvas.layer(MUTE_SIZE, MUTE_SIZE)
    draw = ImageDraw.Draw(img)
    full = MUTE_SIZE * ss
    draw.rounded_rectangle((0, 0, full - 1, full - 1), radius=MUTE_CORNER * ss, fill=OUTLINE + (255,))
    face = canvas.vertical_gradient(img.size, BUTTON_FACE["normal"][0], BUTTON_FACE["normal"][1])
    mask = canvas.shape_mask(
        img.size,
        lambda d: d.rounded_rectangle(
            (ss, ss, full - 1 - ss, full - 1 - ss), radius=(MUTE_CORNER - 1) * ss, fill=255
        ),
    )
    canvas.fill_masked(img, face, mask)
    f = Frame(full * 0.47, full / 2, full * 0.36)
    _speaker(draw, f, WHITE + (255,))
    if muted:
        for a, b in (((0.22, -0.42), (1.02, 0.42)), ((0.22, 0.42), (1.02, -0.42))):
            stroke(draw, f.pts([a, b]), f.len(0.22), MUTE_STRIKE + (255,))
    else:
        for radius in (0.42, 0.82):
            arc = canvas.arc_points(f.pt(0.05, 0), f.len(radius), -48, 48, 16)
            stroke(draw, arc, f.len(0.17), SOUND_WAVES + (255,))
    return canvas.downsample(img, MUTE_SIZE, MUTE_SIZE)


def write_all(out):
    for name, glyph in BUTTONS:
        for state, suffix in STATES:
            target = out.path("resources/images", f"{name}{suffix}.png")
            out.save_palette_png(render_button(glyph, state), target, BUTTON_COLOURS)
    # Each mute button shows what the viewer hears while it is on screen: "mute On"
    # is offered while the sound plays, "mute Off" while it is muted.
    out.save_png(render_mute(False), out.path("resources/images", "muteON.png"))
    out.save_png(render_mute(True), out.path("resources/images", "muteOFF.png"))
