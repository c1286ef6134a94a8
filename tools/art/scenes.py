"""The larger pictures of the web package: the title panel, the poster for
browsers without video, the start picture and the "hot spot is shown"
indicator."""

import math
import random

from PIL import Image, ImageDraw, ImageFilter

import brand
import canvas
from canvas import Frame, stroke
from animated_gif import save_animated_gif
from palette import (
    GROUND_FAR,
    GROUND_NEAR,
    HILLS_FAR,
    HILLS_NEAR,
    OUTLINE,
    PANEL_BOTTOM,
    PANEL_EDGE,
    PANEL_TOP,
    POSTER_ALERT,
    POSTER_FILM,
    POSTER_HINT,
    RADAR_FACE,
    RADAR_RING,
    RADAR_SWEEP,
    SKY_HORIZON,
    SKY_TOP,
    START_BUTTON,
    START_HINT,
    START_TEXT,
    TITLE_ACCENT,
    TITLE_SHADOW,
    TITLE_TEXT,
    WHITE,
)

# ---- title panel -----------------------------------------------------------------
TITLE_SIZE = (480, 100)
TITLE_CORNER = 16
TITLE_EMBLEM = 72
TITLE_NAME = "Quillmark"
TITLE_SUFFIX = "Html5"
TITLE_TAGLINE = "360\u00b0 VIDEO PLAYER"
TITLE_NAME_PX = 46
TITLE_SUFFIX_PX = 40
TITLE_TAGLINE_PX = 13
TITLE_SHADOW_OFFSET = 2

# ---- start picture and poster ----------------------------------------------------
# A browser shows the picture in the player's iframe unscaled, from its top-left
# corner: a small player sees only that corner, a full screen most of it.
START_SIZE = (1920, 1080)
# The smallest player; everything the visitor must read lies inside it.
START_CARD = (320, 240)
START_HEADLINE_LINES = ("Click to start", "the 360\u00b0 video")
START_SUBLINE = "then drag to look around"
START_HEADLINE_PX = 30
START_HEADLINE_LEADING = 34
START_SUBLINE_PX = 16
START_BUTTON_RADIUS = 44
LANDSCAPE_SEED = 360
RIDGE_LEVELS = 4  # smooth hills: a finely broken ridge costs JPEG bytes along all its length
POSTER_SIZE = (640, 360)
POSTER_HEADLINE = "Your browser cannot play this video"
POSTER_SUBLINE = "Open this page in a current browser with HTML5 video and WebGL."
# Both pictures are calm gradients and white or pale text, nearly all
# brightness: half-resolution colour (4:2:0) and progressive scans cost
# nothing visible. The text is what costs bytes; the qualities are the
# highest that keep each picture inside the package's size budget.
START_JPEG = {"quality": 44, "optimize": True, "progressive": True, "subsampling": 2}
POSTER_JPEG = dict(START_JPEG, quality=30)  # only seen by browsers that cannot play the video
POSTER_BACKGROUND = (30, 33, 42)
# The panel is one flat tone, so the palette's colours go to the emblem and
# the lettering.
TITLE_COLOURS = 32

# ---- indicator ---------------------------------------------------------------------
INDICATOR_SIZE = 48
INDICATOR_RADIUS = 20.5
# Eight steps of 45 degrees: each frame stores only the wedges that differ
# from the first, which keeps the indicator near 2 KB.
INDICATOR_FRAMES = 8
INDICATOR_MS = 150
INDICATOR_COLOURS = 15  # one more index is transparent
SWEEP_TRAIL = 45  # degrees of fading trail: one step, so the sweep looks continuous
SWEEP_STEPS = 5  # bands of the trail, brightest at the line
BLIPS = [(-0.45, -0.3), (0.35, 0.42)]  # unit positions inside the radar


# ---- helpers -------------------------------------------------------------------------
def _shadowed_text(img, xy, text, fnt, fill, shadow, offset, blur, anchor="ls"):
    size = img.size
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).text(
        (xy[0] + offset, xy[1] + offset), text, font=fnt, fill=255, anchor=anchor
    )
    if blur:
        mask = mask.filter(ImageFilter.GaussianBlur(blur))
    layer = Image.new("RGBA", size, tuple(shadow) + (0,))
    layer.putalpha(mask)
    img.alpha_composite(layer)
    ImageDraw.Draw(img).text(xy, text, font=fnt, fill=tuple(fill) + (255,), anchor=anchor)


def render_title():
    ss = canvas.SUPERSAMPLE
    width, height = TITLE_SIZE
    img = canvas.layer(width, height)
    size = img.size
    box = (ss, ss, width * ss - ss - 1, height * ss - ss - 1)
    draw = ImageDraw.Draw(img)
    draw.rounded_rectangle(box, radius=TITLE_CORNER * ss, fill=PANEL_EDGE + (255,))
    inner = tuple(v + (1.5 * ss if i < 2 else -1.5 * ss) for i, v in enumerate(box))
    mask = canvas.shape_mask(
        size, lambda d: d.rounded_rectangle(inner, radius=(TITLE_CORNER - 1.5) * ss, fill=255)
    )
    panel = canvas.mix(PANEL_TOP, PANEL_BOTTOM, 0.55) + (240,)
    canvas.fill_masked(img, Image.new("RGBA", size, panel), mask)
    emblem_size = (TITLE_EMBLEM * ss, TITLE_EMBLEM * ss)
    emblem = brand.render_app_icon(256).resize(emblem_size, Image.Resampling.LANCZOS)
    top = (height - TITLE_EMBLEM) // 2
    img.alpha_composite(emblem, (14 * ss, top * ss))
    name_font = canvas.font("title", TITLE_NAME_PX * ss)
    suffix_font = canvas.font("title-italic", TITLE_SUFFIX_PX * ss)
    x = (14 + TITLE_EMBLEM + 16) * ss
    baseline = 60 * ss
    offset = TITLE_SHADOW_OFFSET * ss
    # Hard shadows: a blurred one needs more colours than the palette has.
    _shadowed_text(img, (x, baseline), TITLE_NAME, name_font, TITLE_TEXT, TITLE_SHADOW, offset, 0)
    x += ImageDraw.Draw(img).textlength(TITLE_NAME, font=name_font) + 12 * ss
    _shadowed_text(
        img, (x, baseline), TITLE_SUFFIX, suffix_font, TITLE_ACCENT, TITLE_SHADOW, offset, 0
    )
    tag_font = canvas.font("sans-bold", TITLE_TAGLINE_PX * ss)
    ImageDraw.Draw(img).text(
        ((14 + TITLE_EMBLEM + 18) * ss, 82 * ss),
        TITLE_TAGLINE,
        font=tag_font,
        fill=(176, 188, 208, 255),
        anchor="ls",
    )
    return canvas.downsample(img, width, height)


def _ridge(rng, width, base, roughness, levels=7):
    """A wrap-around mountain ridge by midpoint displacement."""
    points = [base, base]
    spread = roughness
    for _ in range(levels):
        refined = []
        for a, b in zip(points, points[1:]):
            refined += [a, (a + b) / 2 + rng.uniform(-spread, spread)]
        refined.append(points[-1])
        points = refined
        spread *= 0.55
    step = width / (len(points) - 1)
    return [(i * step, y) for i, y in enumerate(points)]


def _landscape(size):
    width, height = size
    horizon = height * 0.62
    sky = canvas.vertical_gradient((width, round(horizon)), SKY_TOP, SKY_HORIZON)
    img = Image.new("RGBA", size, GROUND_NEAR + (255,))
    img.paste(sky, (0, 0))
    ground = canvas.vertical_gradient((width, height - round(horizon)), GROUND_FAR, GROUND_NEAR)
    img.paste(ground, (0, round(horizon)))
    rng = random.Random(LANDSCAPE_SEED)
    draw = ImageDraw.Draw(img)
    for colour, base, rough in ((HILLS_FAR, horizon - 70, 90), (HILLS_NEAR, horizon - 20, 60)):
        ridge = _ridge(rng, width, base, rough, RIDGE_LEVELS)
        draw.polygon(ridge + [(width, horizon + 2), (0, horizon + 2)], fill=colour + (255,))
    return img


def _play_badge(img, centre, radius):
    """The big start button: a disc with a play triangle and a 360 ring."""
    size = img.size
    ring_frame = Frame(centre[0], centre[1], radius * 1.55, -12)
    draw = ImageDraw.Draw(img)
    def ring(degrees):
        return [ring_frame.pt(math.cos(math.radians(a)), 0.3 * math.sin(math.radians(a))) for a in degrees]

    back = ring(range(180, 361, 3))
    front = ring(range(0, 151, 3))
    stroke(draw, back, radius * 0.09, START_BUTTON + (255,))
    shadow_mask = canvas.shape_mask(size, lambda d: canvas.disc(d, centre, radius, 255))
    img.alpha_composite(canvas.drop_shadow(shadow_mask, (0, radius * 0.06), radius * 0.08, strength=0.7))
    draw = ImageDraw.Draw(img)
    canvas.disc(draw, centre, radius + radius * 0.05, WHITE + (255,))
    light = canvas.mix(START_BUTTON, WHITE, 0.35)
    deep = canvas.mix(START_BUTTON, (0, 0, 0), 0.3)
    highlight = (centre[0] - radius * 0.3, centre[1] - radius * 0.4)
    body = canvas.radial_gradient(size, highlight, radius * 1.6, light, deep)
    canvas.fill_masked(img, body, shadow_mask)
    f = Frame(centre[0], centre[1], radius)
    triangle = f.pts([(-0.3, -0.5), (0.55, 0.0), (-0.3, 0.5)])
    draw.polygon(triangle, fill=WHITE + (255,))
    stroke(draw, triangle, radius * 0.1, WHITE + (255,), closed=True)
    stroke(draw, front, radius * 0.2, (0, 0, 0, 0))
    stroke(draw, front, radius * 0.09, START_BUTTON + (255,))
    tip = front[-1]
    before = front[-4]
    dx, dy = tip[0] - before[0], tip[1] - before[1]
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    head = radius * 0.16
    draw.polygon(
        [
            (tip[0] + ux * head * 1.4, tip[1] + uy * head * 1.4),
            (tip[0] - uy * head, tip[1] + ux * head),
            (tip[0] + uy * head, tip[1] - ux * head),
        ],
        fill=START_BUTTON + (255,),
    )


def render_start():
    # No stars, grid or vignette: fine detail and 2-D shading cost JPEG bytes
    # that the text needs more.
    img = _landscape(START_SIZE)
    card_width, card_height = START_CARD
    centre_x = card_width
    # The card is drawn at twice its size for smooth edges of the button and the text.
    overlay = Image.new("RGBA", (card_width * 2, card_height * 2), (0, 0, 0, 0))
    _play_badge(overlay, (centre_x, 80 * 2), START_BUTTON_RADIUS * 2)
    headline = canvas.font("sans-bold", START_HEADLINE_PX * 2)
    subline = canvas.font("sans", START_SUBLINE_PX * 2)
    for i, line in enumerate(START_HEADLINE_LINES):
        y = (158 + i * START_HEADLINE_LEADING) * 2
        _shadowed_text(overlay, (centre_x, y), line, headline, START_TEXT, (0, 0, 0), 3, 4, "mm")
    _shadowed_text(overlay, (centre_x, 222 * 2), START_SUBLINE, subline, START_HINT, (0, 0, 0), 2, 3, "mm")
    img.alpha_composite(overlay.resize(START_CARD, Image.Resampling.BOX))
    return img.convert("RGB")


def render_poster():
    width, height = POSTER_SIZE
    ss = 2
    img = Image.new("RGBA", (width * ss, height * ss), POSTER_BACKGROUND + (255,))
    draw = ImageDraw.Draw(img)
    centre = (width * ss / 2, height * ss * 0.36)
    f = Frame(centre[0], centre[1], 56 * ss)
    # A film frame with a warning sign over it.
    x0, y0 = f.pt(-1.3, -0.9)
    x1, y1 = f.pt(1.3, 0.9)
    film = POSTER_FILM + (255,)
    draw.rounded_rectangle(
        (x0, y0, x1, y1), radius=f.len(0.18), outline=film, width=round(f.len(0.1))
    )
    for i in range(6):
        hx = x0 + (x1 - x0) * (i + 0.5) / 6
        for hy in (y0 + f.len(0.22), y1 - f.len(0.22)):
            hole = (hx - f.len(0.08), hy - f.len(0.06), hx + f.len(0.08), hy + f.len(0.06))
            draw.rectangle(hole, fill=film)
    sign = f.shifted(0, 0.12)
    triangle = sign.pts([(0, -0.62), (0.62, 0.48), (-0.62, 0.48)])
    draw.polygon(triangle, fill=POSTER_ALERT + (255,))
    stroke(draw, triangle, f.len(0.16), POSTER_ALERT + (255,), closed=True)
    stroke(draw, sign.pts([(0, -0.28), (0, 0.08)]), f.len(0.13), OUTLINE + (255,))
    canvas.disc(draw, sign.pt(0, 0.28), f.len(0.075), OUTLINE + (255,))
    headline = canvas.font("sans-bold", 30 * ss)
    subline = canvas.font("sans", 17 * ss)
    canvas.text_centred(draw, (width * ss / 2, height * ss * 0.74), POSTER_HEADLINE, headline, WHITE + (255,))
    canvas.text_centred(
        draw, (width * ss / 2, height * ss * 0.86), POSTER_SUBLINE, subline, POSTER_HINT + (255,)
    )
    return img.resize(POSTER_SIZE, Image.Resampling.BOX).convert("RGB")


# ---- indicator --------------------------------------------------------------------------
def render_indicator(frame_index):
    ss = canvas.SUPERSAMPLE
    size = INDICATOR_SIZE
    img = canvas.layer(size, size)
    centre = (size * ss / 2, size * ss / 2)
    radius = INDICATOR_RADIUS * ss
    draw = ImageDraw.Draw(img)
    canvas.disc(draw, centre, radius + 1.8 * ss, OUTLINE + (255,))
    canvas.disc(draw, centre, radius, RADAR_FACE + (255,))
    heading = -90 + 360 * frame_index / INDICATOR_FRAMES
    box = (centre[0] - radius, centre[1] - radius, centre[0] + radius, centre[1] + radius)
    steps = SWEEP_STEPS
    for i in range(steps):
        start = heading - SWEEP_TRAIL * (1 - i / steps)
        strength = (i + 1) / steps
        colour = canvas.mix(RADAR_FACE, RADAR_SWEEP, 0.65 * strength ** 1.6)
        draw.pieslice(box, start, heading, fill=colour + (255,))
    for r in (0.36, 0.7):
        canvas.disc(draw, centre, radius * r, None, RADAR_RING + (255,), 0.9 * ss)
    cross = {"fill": RADAR_RING + (140,), "width": round(0.7 * ss)}
    draw.line([(centre[0] - radius, centre[1]), (centre[0] + radius, centre[1])], **cross)
    draw.line([(centre[0], centre[1] - radius), (centre[0], centre[1] + radius)], **cross)
    canvas.disc(draw, centre, radius, None, RADAR_RING + (255,), 1.6 * ss)
    sweep_end = (
        centre[0] + radius * math.cos(math.radians(heading)),
        centre[1] + radius * math.sin(math.radians(heading)),
    )
    stroke(draw, [centre, sweep_end], 1.4 * ss, RADAR_SWEEP + (255,))
    # Blips light up as the sweep passes and fade after.
    for bx, by in BLIPS:
        angle = math.degrees(math.atan2(by, bx))
        since = (heading - angle) % 360
        glow = max(0.0, 1.0 - since / 240)
        if glow > 0:
            colour = canvas.mix(RADAR_FACE, WHITE, 0.35 + 0.65 * glow)
            blip = (centre[0] + bx * radius, centre[1] + by * radius)
            canvas.disc(draw, blip, (1.4 + 1.2 * glow) * ss, colour + (255,))
    canvas.disc(draw, centre, 2.0 * ss, RADAR_SWEEP + (255,))
    return canvas.downsample(img, size, size)


def write_all(out):
    images = "resources/images"
    out.save_palette_png(render_title(), out.path(images, "title.png"), TITLE_COLOURS)
    out.save_image(render_poster(), out.path(images, "poster.jpg"), "JPEG", **POSTER_JPEG)
    out.save_image(render_start(), out.path(images, "title_start_html5.jpg"), "JPEG", **START_JPEG)
    frames = [render_indicator(i) for i in range(INDICATOR_FRAMES)]
    out.write(
        out.path(images, "check_hs.gif"),
        lambda temp: save_animated_gif(frames, temp, INDICATOR_MS, INDICATOR_COLOURS),
    )
