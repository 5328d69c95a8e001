"""From a cairo drawing to the 8-bit palettised BMP files the module links.

Each bitmap gets a palette of its own. Pictures with more than 256 colours go through
pngquant (libimagequant, with Floyd-Steinberg dithering so gradients do not band); it runs
single-threaded so that its result is the same on every run. Colours named as exact (the flat
panel faces that knob strips and icons must meet without a seam) keep a palette entry of
their own and every pixel of that colour is mapped to it."""

import os
import struct
import subprocess
import tempfile

import cairo
from PIL import Image


class Indexed:
    """An 8-bit palette picture: palette of (r, g, b), one index byte per pixel, top row
    first."""

    def __init__(self, width, height, palette, pixels):
        assert len(palette) <= 256 and len(pixels) == width * height
        self.width = width
        self.height = height
        self.palette = palette
        self.pixels = pixels

    def color(self, x, y):
        return self.palette[self.pixels[y * self.width + x]]

    def to_image(self):
        image = Image.frombytes("P", (self.width, self.height), bytes(self.pixels))
        flat = [c for rgb in self.palette for c in rgb]
        image.putpalette(flat + [0] * (768 - len(flat)))
        return image.convert("RGB")

    def bmp_bytes(self):
        """Windows BMP: 40-byte info header, 8 bits per pixel, uncompressed, 256 palette
        entries, rows bottom-up and padded to four bytes."""
        row_size = (self.width + 3) & ~3
        palette = list(self.palette) + [(0, 0, 0)] * (256 - len(self.palette))
        pixel_offset = 14 + 40 + 256 * 4
        image_size = row_size * self.height
        data = bytearray()
        data += struct.pack("<2sIHHI", b"BM", pixel_offset + image_size, 0, 0, pixel_offset)
        data += struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 8, 0, image_size,
                            2835, 2835, 256, 0)
        for red, green, blue in palette:
            data += struct.pack("<BBBB", blue, green, red, 0)
        padding = bytes(row_size - self.width)
        for y in range(self.height - 1, -1, -1):
            data += self.pixels[y * self.width:(y + 1) * self.width] + padding
        return bytes(data)


def surface_to_image(surface):
    """An RGB24 cairo surface as a Pillow RGB image."""
    surface.flush()
    width, height = surface.get_width(), surface.get_height()
    raw = bytes(surface.get_data())
    return Image.frombuffer("RGB", (width, height), raw, "raw", "BGRX",
                            surface.get_stride(), 1).copy()


def quantise(image, exact=()):
    """Reduces a Pillow RGB image to an Indexed picture of at most 256 colours."""
    width, height = image.size
    source = list(image.getdata())
    colours = sorted(set(source))
    if len(colours) <= 256:
        lookup = {rgb: i for i, rgb in enumerate(colours)}
        return Indexed(width, height, colours, bytearray(lookup[rgb] for rgb in source))

    exact = [c for c in dict.fromkeys(exact) if c in set(colours)]
    with tempfile.TemporaryDirectory() as folder:
        given = os.path.join(folder, "in.png")
        reduced = os.path.join(folder, "out.png")
        image.save(given)
        environment = dict(os.environ, OMP_NUM_THREADS="1")
        subprocess.run(["pngquant", "--speed", "1", "--strip", "--force",
                        "--output", reduced, str(256 - len(exact)), "--", given],
                       check=True, env=environment)
        with Image.open(reduced) as result:
            result.load()
            flat = result.getpalette()[:3 * 256]
            pixels = bytearray(result.tobytes())
    palette = [tuple(flat[i:i + 3]) for i in range(0, max(pixels) * 3 + 3, 3)]
    reserved = {}
    for rgb in exact:
        reserved[rgb] = len(palette)
        palette.append(rgb)
    for i, rgb in enumerate(source):
        index = reserved.get(rgb)
        if index is not None:
            pixels[i] = index
    return Indexed(width, height, palette, pixels)


def new_surface(width, height):
    return cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
