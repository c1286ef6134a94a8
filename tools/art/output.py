"""Where the generator writes: every file goes to a temporary name in its
own folder first and is renamed into place, so an interrupted run never
leaves a half-written picture behind."""

import os
import tempfile

from PIL import Image, features

# Palette entries with less alpha than this are stored fully transparent.
NEARLY_CLEAR = 8


class Output:
    def __init__(self, root):
        self.root = os.path.abspath(root)
        self.written = []

    def path(self, folder, name):
        target_dir = os.path.join(self.root, folder)
        os.makedirs(target_dir, exist_ok=True)
        return os.path.join(target_dir, name)

    def write(self, target, write_to):
        """write_to(path) produces the file at a temporary path."""
        folder = os.path.dirname(target)
        handle, temp = tempfile.mkstemp(prefix=".art-", dir=folder)
        os.close(handle)
        try:
            write_to(temp)
            os.chmod(temp, 0o644)
            os.replace(temp, target)
        except BaseException:
            if os.path.exists(temp):
                os.remove(temp)
            raise
        self.written.append(target)
        return target

    def save_image(self, img, target, fmt, **params):
        return self.write(target, lambda temp: img.save(temp, format=fmt, **params))

    def save_png(self, img, target):
        # No text chunks and a fixed compression level: the bytes depend on
        # the pixels only.
        return self.save_image(img, target, "PNG", optimize=True)

    def save_palette_png(self, img, target, colours):
        """An RGBA picture as a palette PNG with alpha of at most `colours`
        entries: a quarter of the bytes, and at these sizes no visible
        difference. libimagequant picks the palette and dithers it finely,
        so gradients and soft shadows keep no bands."""
        if not features.check("libimagequant"):
            raise RuntimeError("this Pillow has no libimagequant (Debian's python3-pil has)")
        indexed = img.quantize(colors=colours, method=Image.Quantize.LIBIMAGEQUANT)
        # With few colours libimagequant may average the clear background with
        # the faintest shadow edge; that entry must stay clear, or the whole
        # picture carries a haze over the video.
        entries = indexed.getpalette("RGBA")
        for alpha in range(3, len(entries), 4):
            if entries[alpha] < NEARLY_CLEAR:
                entries[alpha] = 0
        indexed.putpalette(entries, "RGBA")
        return self.save_png(indexed, target)

    def relative(self, target):
        return os.path.relpath(target, self.root)
