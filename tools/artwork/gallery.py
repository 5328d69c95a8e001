#!/usr/bin/python3
"""Draws the small bitmaps of the widget toolkit's gallery (tools/gallery) and writes them to
resources/gallery/ as 8-bit palettised BMP files, one per control kind's artwork. They are not
module resources: the gallery loads them by file name. The files are committed; builds never
run this.

Regenerate (Debian packages python3-cairo, python3-pil, fonts-liberation):

    /usr/bin/python3 tools/artwork/gallery.py

Running it again on the same packages reproduces the files byte for byte. Frames of a strip are
stacked from the top; every piece is drawn on the gallery's panel face, so no edge shows.
"""

import math
import os

import cairo
from PIL import Image

import paint
from indexed import Indexed
from paint import FONT, hex_colour, mix, rounded_rect, source

OUTPUT_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                             "resources", "gallery")

# The gallery's panels, under every piece, are the editor's dark face, lit the same way.
FACE = paint.DARK_FACE
FACE_HIGHLIGHT = paint.DARK_HIGHLIGHT
FACE_SHADOW = paint.DARK_SHADOW
GROOVE = hex_colour("#121316")
CAP_TOP = hex_colour("#4a4f57")
CAP_BOTTOM = hex_colour("#2b2e34")
CAP_RIM = hex_colour("#101114")
INK = paint.CAPTION_ON_DARK
INK_DIM = hex_colour("#6b717b")
ACCENT = paint.ACCENT
ACCENT_DEEP = paint.ACCENT_DEEP
FIELD = hex_colour("#050506")
AMBER = hex_colour("#ffb347")
METER_LOW = paint.POSITIVE
METER_MID = hex_colour("#e6c547")
METER_HIGH = paint.NEGATIVE
KEY = (255, 255, 255)  # the toolkit's transparent colour


# Drawing vocabulary -----------------------------------------------------------------------

def vertical_gradient(y0, y1, top, bottom):
    pattern = cairo.LinearGradient(0, y0, 0, y1)
    for offset, colour in ((0, top), (1, bottom)):
        pattern.add_color_stop_rgb(offset, *(c / 255.0 for c in colour))
    return pattern


def plate(ctx, x, y, w, h, r, top, bottom, pressed=False):
    """A raised cap lit from the top left, or sunk one pixel when pressed."""
    if pressed:
        x, y = x + 1, y + 1
        top, bottom = mix(top, FACE_SHADOW, 0.35), mix(bottom, FACE_SHADOW, 0.35)
    else:
        rounded_rect(ctx, x + 1, y + 1, w, h, r)
        source(ctx, FACE_SHADOW, 0.8)
        ctx.fill()
    rounded_rect(ctx, x, y, w, h, r)
    ctx.set_source(vertical_gradient(y, y + h, top, bottom))
    ctx.fill_preserve()
    source(ctx, CAP_RIM)
    ctx.set_line_width(1)
    ctx.stroke()
    if not pressed:
        ctx.move_to(x + r, y + 1.5)
        ctx.line_to(x + w - r, y + 1.5)
        source(ctx, (255, 255, 255), 0.12)
        ctx.stroke()


def label(ctx, text, cx, cy, size, colour, bold=True):
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    extents = ctx.text_extents(text)
    ctx.move_to(round(cx - extents.width / 2 - extents.x_bearing),
                round(cy - extents.height / 2 - extents.y_bearing))
    source(ctx, colour)
    ctx.show_text(text)


def led(ctx, cx, cy, radius, lit):
    if lit:
        glow = cairo.RadialGradient(cx, cy, 0, cx, cy, radius * 2.2)
        glow.add_color_stop_rgba(0, *(c / 255.0 for c in ACCENT), 0.45)
        glow.add_color_stop_rgba(1, *(c / 255.0 for c in ACCENT), 0.0)
        ctx.arc(cx, cy, radius * 2.2, 0, 2 * math.pi)
        ctx.set_source(glow)
        ctx.fill()
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    body = cairo.RadialGradient(cx - radius / 3, cy - radius / 3, 0, cx, cy, radius)
    inner, outer = ((mix(ACCENT, KEY, 0.55), ACCENT) if lit else (hex_colour("#3a3e45"), GROOVE))
    body.add_color_stop_rgb(0, *(c / 255.0 for c in inner))
    body.add_color_stop_rgb(1, *(c / 255.0 for c in outer))
    ctx.set_source(body)
    ctx.fill_preserve()
    source(ctx, CAP_RIM)
    ctx.set_line_width(0.8)
    ctx.stroke()


class Strip:
    """frames pictures of width x height stacked from the top, on the panel face."""

    def __init__(self, width, height, frames=1, ground=FACE):
        self.width, self.height, self.frames = width, height, frames
        self.surface = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height * frames)
        ctx = cairo.Context(self.surface)
        source(ctx, ground)
        ctx.paint()

    def frame(self, index):
        ctx = cairo.Context(self.surface)
        ctx.rectangle(0, index * self.height, self.width, self.height)
        ctx.clip()
        ctx.translate(0, index * self.height)
        return ctx


# The pieces ---------------------------------------------------------------------------------

KNOB_FRAMES = 31
START_DEGREES = 225.0  # the toolkit's knob: lower left, clockwise over the top
TRAVEL_DEGREES = 270.0


def knob_direction(value):
    angle = math.radians(START_DEGREES + TRAVEL_DEGREES * value)
    return math.sin(angle), -math.cos(angle)


def value_arc(ctx, cx, cy, radius, value, width):
    """The knob's travel as a groove, lit in the accent up to the value."""
    start = math.radians(START_DEGREES - 90)
    ctx.set_line_width(width)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.arc(cx, cy, radius, start, start + math.radians(TRAVEL_DEGREES))
    source(ctx, GROOVE)
    ctx.stroke()
    if value > 0:
        ctx.arc(cx, cy, radius, start, start + math.radians(TRAVEL_DEGREES * value))
        source(ctx, ACCENT)
        ctx.stroke()


def knob_strip():
    size = 36
    strip = Strip(size, size, KNOB_FRAMES)
    for index in range(KNOB_FRAMES):
        value = index / (KNOB_FRAMES - 1)
        ctx = strip.frame(index)
        centre = size / 2.0
        value_arc(ctx, centre, centre, 15.5, value, 3)
        ctx.arc(centre + 0.8, centre + 1.2, 11, 0, 2 * math.pi)
        source(ctx, FACE_SHADOW, 0.7)
        ctx.fill()
        ctx.arc(centre, centre, 11, 0, 2 * math.pi)
        cap = cairo.RadialGradient(centre - 4, centre - 5, 1, centre, centre, 12)
        cap.add_color_stop_rgb(0, *(c / 255.0 for c in CAP_TOP))
        cap.add_color_stop_rgb(1, *(c / 255.0 for c in CAP_BOTTOM))
        ctx.set_source(cap)
        ctx.fill_preserve()
        source(ctx, CAP_RIM)
        ctx.set_line_width(1)
        ctx.stroke()
        dx, dy = knob_direction(value)
        ctx.set_line_width(2)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.move_to(centre + dx * 3.5, centre + dy * 3.5)
        ctx.line_to(centre + dx * 9, centre + dy * 9)
        source(ctx, mix(ACCENT, KEY, 0.25))
        ctx.stroke()
    return strip


DIAL_SIZE = 44
DIAL_HANDLE = 8


def dial():
    """The background of the knob with a handle: the handle's top-left corner runs on a circle
    of radius (size - handle) / 2, so its centre runs on the same circle about the middle."""
    strip = Strip(DIAL_SIZE, DIAL_SIZE)
    ctx = strip.frame(0)
    centre = DIAL_SIZE / 2.0
    track = (DIAL_SIZE - DIAL_HANDLE) / 2.0
    value_arc(ctx, centre, centre, track, 0, DIAL_HANDLE + 1)
    for step in range(11):
        dx, dy = knob_direction(step / 10.0)
        ctx.move_to(centre + dx * 7, centre + dy * 7)
        ctx.line_to(centre + dx * 10, centre + dy * 10)
        source(ctx, INK_DIM)
        ctx.set_line_width(1)
        ctx.stroke()
    ctx.arc(centre, centre, 5, 0, 2 * math.pi)
    ctx.set_source(vertical_gradient(centre - 5, centre + 5, CAP_TOP, CAP_BOTTOM))
    ctx.fill()
    return strip


def dial_handle():
    """A lit dot on the transparent colour. Its edge is smoothed against the groove it rides in;
    pixels it does not touch at all are the transparent colour, so no pale fringe shows."""
    size = DIAL_HANDLE
    strip = Strip(size, size, ground=GROOVE)
    ctx = strip.frame(0)
    radius = size / 2.0 - 0.3
    ctx.arc(size / 2.0, size / 2.0, radius, 0, 2 * math.pi)
    dot = cairo.RadialGradient(size / 2.0 - 1, size / 2.0 - 1, 0, size / 2.0, size / 2.0, radius)
    dot.add_color_stop_rgb(0, *(c / 255.0 for c in mix(ACCENT, KEY, 0.5)))
    dot.add_color_stop_rgb(1, *(c / 255.0 for c in ACCENT))
    ctx.set_source(dot)
    ctx.fill()
    coverage = cairo.ImageSurface(cairo.FORMAT_A8, size, size)
    mask = cairo.Context(coverage)
    mask.arc(size / 2.0, size / 2.0, radius, 0, 2 * math.pi)
    mask.fill()
    coverage.flush()
    ctx = cairo.Context(strip.surface)
    source(ctx, KEY)
    stride = coverage.get_stride()
    data = coverage.get_data()
    for y in range(size):
        for x in range(size):
            if data[y * stride + x] == 0:
                ctx.rectangle(x, y, 1, 1)
    ctx.fill()
    return strip


def push_button():
    strip = Strip(60, 24, 2)
    for pressed in (False, True):
        ctx = strip.frame(int(pressed))
        plate(ctx, 1.5, 1.5, 56, 20, 4, CAP_TOP, CAP_BOTTOM, pressed)
        offset = 1 if pressed else 0
        label(ctx, "PUSH", 30 + offset, 12 + offset, 10,
              ACCENT if pressed else INK)
    return strip


def step_light():
    strip = Strip(9, 9, 2)
    for lit in (False, True):
        led(strip.frame(int(lit)), 4.5, 4.5, 3.2, lit)
    return strip


def toggle():
    strip = Strip(40, 20, 2)
    for on in (False, True):
        ctx = strip.frame(int(on))
        rounded_rect(ctx, 2.5, 3.5, 35, 14, 7)
        source(ctx, ACCENT_DEEP if on else GROOVE)
        ctx.fill_preserve()
        source(ctx, CAP_RIM)
        ctx.set_line_width(1)
        ctx.stroke()
        cx = 30 if on else 10
        ctx.arc(cx + 0.6, 11, 7, 0, 2 * math.pi)
        source(ctx, FACE_SHADOW, 0.6)
        ctx.fill()
        ctx.arc(cx, 10.5, 7, 0, 2 * math.pi)
        ctx.set_source(vertical_gradient(3.5, 17.5, mix(CAP_TOP, KEY, 0.25), CAP_BOTTOM))
        ctx.fill_preserve()
        source(ctx, CAP_RIM)
        ctx.stroke()
    return strip


def latch():
    strip = Strip(40, 20, 2)
    for on in (False, True):
        ctx = strip.frame(int(on))
        plate(ctx, 1.5, 1.5, 36, 16, 3, CAP_TOP, CAP_BOTTOM, on)
        led(ctx, 20 + int(on), 10 + int(on), 3, on)
    return strip


def rocker():
    """Three images: rocked left (-1), at rest (0), rocked right (1)."""
    strip = Strip(44, 22, 3)
    for index, side in enumerate((-1, 0, 1)):
        ctx = strip.frame(index)
        plate(ctx, 1.5, 1.5, 40, 18, 4, CAP_TOP, CAP_BOTTOM)
        ctx.move_to(22, 4)
        ctx.line_to(22, 18)
        source(ctx, CAP_RIM)
        ctx.set_line_width(1)
        ctx.stroke()
        if side:
            left = 2 if side < 0 else 22
            rounded_rect(ctx, left + 0.5, 2.5, 19, 17, 3)
            source(ctx, FACE_SHADOW, 0.45)
            ctx.fill()
        for sign, cx in ((-1, 12), (1, 32)):
            lit = side == sign
            ctx.move_to(cx - 3 * sign, 7)
            ctx.line_to(cx + 3 * sign, 11)
            ctx.line_to(cx - 3 * sign, 15)
            ctx.close_path()
            source(ctx, ACCENT if lit else INK_DIM)
            ctx.fill()
    return strip


def lever():
    """Three images of a lever in its slot: top, middle, bottom."""
    strip = Strip(20, 40, 3)
    for index in range(3):
        ctx = strip.frame(index)
        rounded_rect(ctx, 7.5, 3.5, 5, 33, 2.5)
        source(ctx, GROOVE)
        ctx.fill()
        cy = 8 + 12 * index
        plate(ctx, 2.5, cy - 4.5, 15, 9, 2.5, mix(CAP_TOP, KEY, 0.2), CAP_BOTTOM)
        ctx.move_to(5, cy)
        ctx.line_to(15, cy)
        source(ctx, ACCENT)
        ctx.set_line_width(1)
        ctx.stroke()
    return strip


def selector():
    """Three images of three segments A, B, C, one of them lit."""
    strip = Strip(66, 20, 3)
    for index in range(3):
        ctx = strip.frame(index)
        rounded_rect(ctx, 0.5, 0.5, 65, 19, 4)
        source(ctx, GROOVE)
        ctx.fill()
        for segment, name in enumerate("ABC"):
            x = 2 + segment * 21
            lit = segment == index
            rounded_rect(ctx, x + 0.5, 2.5, 19, 15, 3)
            if lit:
                ctx.set_source(vertical_gradient(2, 17, mix(ACCENT, KEY, 0.2), ACCENT_DEEP))
            else:
                ctx.set_source(vertical_gradient(2, 17, CAP_TOP, CAP_BOTTOM))
            ctx.fill()
            label(ctx, name, x + 10, 10, 10, FIELD if lit else INK)
    return strip


SPINNER_FRAMES = 8


def spinner():
    """A ring of eight dots whose bright one goes round, fading behind."""
    strip = Strip(32, 32, SPINNER_FRAMES)
    for index in range(SPINNER_FRAMES):
        ctx = strip.frame(index)
        for dot in range(SPINNER_FRAMES):
            age = (index - dot) % SPINNER_FRAMES
            angle = 2 * math.pi * dot / SPINNER_FRAMES
            cx, cy = 16 + 10 * math.sin(angle), 16 - 10 * math.cos(angle)
            ctx.arc(cx, cy, 3.2 - 0.2 * age, 0, 2 * math.pi)
            source(ctx, mix(ACCENT, GROOVE, min(1.0, age / 5.0)))
            ctx.fill()
    return strip


SLIDER_LENGTH = 110
SLIDER_WIDTH = 24
SLIDER_HANDLE = 12


def slider_track(vertical):
    width, height = (SLIDER_WIDTH, SLIDER_LENGTH) if vertical else (SLIDER_LENGTH, SLIDER_WIDTH)
    strip = Strip(width, height)
    ctx = strip.frame(0)
    inset = SLIDER_HANDLE / 2.0
    for step in range(11):
        along = inset + (SLIDER_LENGTH - SLIDER_HANDLE) * step / 10.0
        tick = 4 if step % 5 == 0 else 2
        if vertical:
            ctx.move_to(2, round(along) + 0.5)
            ctx.line_to(2 + tick, round(along) + 0.5)
        else:
            ctx.move_to(round(along) + 0.5, height - 2)
            ctx.line_to(round(along) + 0.5, height - 2 - tick)
    source(ctx, INK_DIM)
    ctx.set_line_width(1)
    ctx.stroke()
    if vertical:
        rounded_rect(ctx, width / 2.0 - 2, inset - 2, 4, SLIDER_LENGTH - SLIDER_HANDLE + 4, 2)
    else:
        rounded_rect(ctx, inset - 2, height / 2.0 - 2, SLIDER_LENGTH - SLIDER_HANDLE + 4, 4, 2)
    source(ctx, GROOVE)
    ctx.fill()
    return strip


def slider_handle(vertical):
    """An opaque cap: every pixel is drawn, none is the transparent colour."""
    width, height = (SLIDER_WIDTH, SLIDER_HANDLE) if vertical else (SLIDER_HANDLE, SLIDER_WIDTH)
    strip = Strip(width, height)
    ctx = strip.frame(0)
    plate(ctx, 0.5, 0.5, width - 2, height - 2, 2, mix(CAP_TOP, KEY, 0.15), CAP_BOTTOM)
    if vertical:
        ctx.move_to(3, height / 2.0 - 0.5)
        ctx.line_to(width - 4, height / 2.0 - 0.5)
    else:
        ctx.move_to(width / 2.0 - 0.5, 3)
        ctx.line_to(width / 2.0 - 0.5, height - 4)
    source(ctx, ACCENT)
    ctx.set_line_width(1)
    ctx.stroke()
    return strip


DIGIT_WIDTH = 13
DIGIT_HEIGHT = 21
SEGMENTS = {  # which of the seven segments a b c d e f g each digit lights
    0: "abcdef", 1: "bc", 2: "abdeg", 3: "abcdg", 4: "bcfg", 5: "acdfg", 6: "acdefg",
    7: "abc", 8: "abcdefg", 9: "abcdfg",
}


def digits():
    """The ten digits 0 to 9 stacked, as seven segments with the unlit ones faintly shown."""
    strip = Strip(DIGIT_WIDTH, DIGIT_HEIGHT, 10, ground=FIELD)
    left, right, top, middle, bottom = 3.0, 10.0, 2.5, 10.5, 18.5
    shapes = {
        "a": ((left + 1, top), (right - 1, top)), "d": ((left + 1, bottom), (right - 1, bottom)),
        "g": ((left + 1, middle), (right - 1, middle)),
        "f": ((left, top + 1), (left, middle - 1)), "b": ((right, top + 1), (right, middle - 1)),
        "e": ((left, middle + 1), (left, bottom - 1)),
        "c": ((right, middle + 1), (right, bottom - 1)),
    }
    for digit in range(10):
        ctx = strip.frame(digit)
        ctx.set_line_width(2)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        for name, ((x0, y0), (x1, y1)) in shapes.items():
            lit = name in SEGMENTS[digit]
            ctx.move_to(x0 - 0.4 * (y0 - top) / 8, y0)  # a slight lean
            ctx.line_to(x1 - 0.4 * (y1 - top) / 8, y1)
            source(ctx, AMBER if lit else mix(FIELD, AMBER, 0.1))
            ctx.stroke()
    return strip


METER_LEDS = 8
METER_CELL = 10  # one LED and its gap, along the meter


def meter(vertical, lit):
    length = METER_LEDS * METER_CELL
    width, height = (12, length) if vertical else (length, 12)
    strip = Strip(width, height)
    ctx = strip.frame(0)
    for led_index in range(METER_LEDS):
        level = led_index / (METER_LEDS - 1)
        colour = METER_LOW if level < 0.6 else (METER_MID if level < 0.85 else METER_HIGH)
        if not lit:
            colour = mix(GROOVE, colour, 0.3)
        start = led_index * METER_CELL + 1
        if vertical:
            rounded_rect(ctx, 2, length - start - 8, 8, 8, 1.5)
        else:
            rounded_rect(ctx, start, 2, 8, 8, 1.5)
        source(ctx, colour)
        ctx.fill()
    return strip


FIELD_WIDTH = 130


def field(open_look, arrow=True):
    """A display field for text entries and choice menus; open: its look while a pop-up
    shows."""
    strip = Strip(FIELD_WIDTH, 20)
    ctx = strip.frame(0)
    rounded_rect(ctx, 0.5, 0.5, FIELD_WIDTH - 1, 19, 3)
    source(ctx, FIELD)
    ctx.fill_preserve()
    source(ctx, ACCENT if open_look else FACE_HIGHLIGHT)
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.move_to(2, 2)
    ctx.line_to(FIELD_WIDTH - 2, 2)
    source(ctx, (0, 0, 0), 0.8)
    ctx.stroke()
    if not arrow:
        return strip
    # The pop-up's arrow at the right end.
    ctx.move_to(FIELD_WIDTH - 12, 8)
    ctx.line_to(FIELD_WIDTH - 6, 8)
    ctx.line_to(FIELD_WIDTH - 9, 12)
    ctx.close_path()
    source(ctx, ACCENT if open_look else INK_DIM)
    ctx.fill()
    return strip


PIECES = {
    "knob_strip": knob_strip,
    "dial": dial,
    "dial_handle": dial_handle,
    "push_button": push_button,
    "step_light": step_light,
    "toggle": toggle,
    "latch": latch,
    "rocker": rocker,
    "lever": lever,
    "selector": selector,
    "spinner": spinner,
    "slider_track_vertical": lambda: slider_track(True),
    "slider_handle_vertical": lambda: slider_handle(True),
    "slider_track_horizontal": lambda: slider_track(False),
    "slider_handle_horizontal": lambda: slider_handle(False),
    "digits": digits,
    "meter_on_vertical": lambda: meter(True, True),
    "meter_off_vertical": lambda: meter(True, False),
    "meter_on_horizontal": lambda: meter(False, True),
    "meter_off_horizontal": lambda: meter(False, False),
    "field": lambda: field(False, arrow=False),
    "menu_field": lambda: field(False),
    "menu_field_open": lambda: field(True),
}


# 8-bit palettised BMP output ----------------------------------------------------------------

def palettised(surface):
    """The picture with a palette of at most 256 colours of its own: exact when it has no more,
    median cut without dithering otherwise (the same result on every run)."""
    surface.flush()
    image = Image.frombuffer("RGB", (surface.get_width(), surface.get_height()),
                             bytes(surface.get_data()), "raw", "BGRX", surface.get_stride(), 1)
    colours = sorted(set(image.getdata()))
    if len(colours) <= 256:
        lookup = {rgb: index for index, rgb in enumerate(colours)}
        return colours, bytes(lookup[rgb] for rgb in image.getdata())
    reduced = image.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    flat = reduced.getpalette()[:3 * 256]
    palette = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    return palette, reduced.tobytes()


def main():
    os.makedirs(OUTPUT_FOLDER, exist_ok=True)
    for name, draw in PIECES.items():
        strip = draw()
        surface = strip.surface
        palette, pixels = palettised(surface)
        path = os.path.join(OUTPUT_FOLDER, name + ".bmp")
        with open(path, "wb") as output:
            output.write(Indexed(surface.get_width(), surface.get_height(), palette,
                                 bytearray(pixels)).bmp_bytes())
        print("%s: %d x %d, %d colours" % (os.path.relpath(path), surface.get_width(),
                                           surface.get_height(), len(palette)))


if __name__ == "__main__":
    main()
