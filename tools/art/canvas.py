"""Drawing helpers shared by every picture: supersampled layers, strokes,
gradients, shadows and text, all built on Pillow."""

import math
from dataclasses import dataclass

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

# Pictures are drawn this many times larger and box-filtered down, which gives
# clean anti-aliased edges without any hand-written rasteriser.
SUPERSAMPLE = 4

FONT_DIR = "/usr/share/fonts/truetype"
FONT_FILES = {
    "sans": f"{FONT_DIR}/dejavu/DejaVuSans.ttf",
    "sans-bold": f"{FONT_DIR}/dejavu/DejaVuSans-Bold.ttf",
    "sans-condensed-bold": f"{FONT_DIR}/dejavu/DejaVuSansCondensed-Bold.ttf",
    "serif-bold-italic": f"{FONT_DIR}/liberation/LiberationSerif-BoldItalic.ttf",
    "title": f"{FONT_DIR}/liberation/LiberationSans-Bold.ttf",
    "title-italic": f"{FONT_DIR}/liberation/LiberationSans-BoldItalic.ttf",
}


def font(name, size):
    return ImageFont.truetype(FONT_FILES[name], size=max(1, round(size)))


@dataclass(frozen=True)
class Frame:
    """Maps unit coordinates (x right, y down, -1..1 across the glyph box) to
    layer pixels, optionally rotated about the centre."""

    cx: float
    cy: float
    scale: float
    angle_deg: float = 0.0

    def pt(self, x, y):
        a = math.radians(self.angle_deg)
        rx = x * math.cos(a) - y * math.sin(a)
        ry = x * math.sin(a) + y * math.cos(a)
        return (self.cx + rx * self.scale, self.cy + ry * self.scale)

    def pts(self, points):
        return [self.pt(x, y) for x, y in points]

    def len(self, units):
        return units * self.scale

    def shifted(self, dx, dy):
        """The same frame moved by (dx, dy) unit steps along its own axes."""
        x, y = self.pt(dx, dy)
        return Frame(x, y, self.scale, self.angle_deg)

    def rotated(self, degrees):
        return Frame(self.cx, self.cy, self.scale, self.angle_deg + degrees)


def layer(width, height, ss=SUPERSAMPLE):
    return Image.new("RGBA", (width * ss, height * ss), (0, 0, 0, 0))


def downsample(img, width, height):
    # Pillow resizes RGBA in premultiplied form, so edges do not pick up the
    # colour of transparent pixels.
    return img.resize((width, height), Image.Resampling.BOX)


def stroke(draw, points, width, fill, closed=False):
    """A polyline with round joins and round caps."""
    if closed:
        points = list(points) + [points[0]]
    draw.line(points, fill=fill, width=round(width), joint="curve")
    r = width / 2
    for x, y in points:
        draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)


def disc(draw, centre, radius, fill, outline=None, width=0):
    x, y = centre
    draw.ellipse(
        (x - radius, y - radius, x + radius, y + radius),
        fill=fill,
        outline=outline,
        width=round(width),
    )


def arc_points(centre, radius, start_deg, end_deg, steps=48):
    x, y = centre
    return [
        (
            x + radius * math.cos(math.radians(start_deg + (end_deg - start_deg) * i / steps)),
            y + radius * math.sin(math.radians(start_deg + (end_deg - start_deg) * i / steps)),
        )
        for i in range(steps + 1)
    ]


def shape_mask(size, paint):
    """An L mask of the given size; paint(draw) draws the shape in 255."""
    mask = Image.new("L", size, 0)
    paint(ImageDraw.Draw(mask))
    return mask


def vertical_gradient(size, top, bottom):
    width, height = size
    ramp = Image.linear_gradient("L").resize((width, height), Image.Resampling.BILINEAR)
    return Image.composite(
        Image.new("RGBA", size, tuple(bottom)), Image.new("RGBA", size, tuple(top)), ramp
    )


def radial_gradient(size, centre, radius, inner, outer):
    """inner colour at centre fading to outer colour at radius and beyond."""
    width, height = size
    ramp = Image.radial_gradient("L")  # 256 x 256, 0 in the middle, 255 at radius 128
    span = radius * 2
    ramp = ramp.resize((max(1, round(span)), max(1, round(span))), Image.Resampling.BILINEAR)
    full = Image.new("L", size, 255)
    full.paste(ramp, (round(centre[0] - radius), round(centre[1] - radius)))
    return Image.composite(
        Image.new("RGBA", size, tuple(outer)), Image.new("RGBA", size, tuple(inner)), full
    )


def fill_masked(target, fill_img, mask):
    """Paints fill_img through mask onto target (alpha-composited)."""
    piece = fill_img.copy()
    piece.putalpha(ImageChops.multiply(piece.getchannel("A"), mask))
    target.alpha_composite(piece)


def drop_shadow(shape_alpha, offset, blur, colour=(0, 0, 0), strength=1.0):
    """A soft shadow layer from an alpha channel."""
    alpha = shape_alpha.point(lambda v: round(v * strength))
    shifted = Image.new("L", alpha.size, 0)
    shifted.paste(alpha, (round(offset[0]), round(offset[1])))
    shifted = shifted.filter(ImageFilter.GaussianBlur(blur))
    shadow = Image.new("RGBA", alpha.size, tuple(colour) + (0,))
    shadow.putalpha(shifted)
    return shadow


def under(top, bottom):
    """bottom composited under top."""
    out = bottom.copy()
    out.alpha_composite(top)
    return out


def text_centred(draw, centre, text, fnt, fill, **kwargs):
    draw.text(centre, text, font=fnt, fill=fill, anchor="mm", **kwargs)


def with_alpha(colour, alpha):
    return tuple(colour[:3]) + (alpha,)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))
