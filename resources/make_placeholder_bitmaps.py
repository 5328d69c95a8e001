#!/usr/bin/env python3
"""Writes placeholder artwork for the module's twenty bitmaps (ids 128..147) into
resources/bitmaps/: the final sizes, frame counts and frame order, plain shapes instead of the
finished pictures. Each frame is visibly different from its neighbours so that a wrong frame
choice shows on screen and in image tests.

The .bmp files are committed; builds never run this script. Run it again after changing it:
    python3 resources/make_placeholder_bitmaps.py
"""

import math
import os
import struct

OUTPUT_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bitmaps")

EDITOR_WIDTH = 752
EDITOR_HEIGHT = 512
KNOB_SIZE = 28
KNOB_FRAMES = 63
KNOB_SWEEP_DEGREES = 270.0  # minimum at lower left, maximum at lower right

DARK_PANEL = (38, 38, 46)
LIGHT_PANEL = (168, 166, 156)
PANEL_EDGE = (89, 88, 117)
FIELD = (3, 3, 3)


class Canvas:
    """An 8-bit indexed picture whose palette grows as colours are used (at most 256)."""

    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.palette = []
        self.indices = {}
        self.pixels = bytearray(width * height)
        self.fill_rect(0, 0, width, height, background)

    def index_of(self, color):
        if color not in self.indices:
            if len(self.palette) == 256:
                raise ValueError("more than 256 colours in one bitmap")
            self.indices[color] = len(self.palette)
            self.palette.append(color)
        return self.indices[color]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = self.index_of(color)

    def fill_rect(self, left, top, width, height, color):
        for y in range(top, top + height):
            for x in range(left, left + width):
                self.put(x, y, color)

    def frame_rect(self, left, top, width, height, color):
        for x in range(left, left + width):
            self.put(x, top, color)
            self.put(x, top + height - 1, color)
        for y in range(top, top + height):
            self.put(left, y, color)
            self.put(left + width - 1, y, color)

    def bevel(self, left, top, width, height, light, shade):
        for x in range(left, left + width):
            self.put(x, top, light)
            self.put(x, top + height - 1, shade)
        for y in range(top, top + height):
            self.put(left, y, light)
            self.put(left + width - 1, y, shade)

    def fill_circle(self, cx, cy, radius, color):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                    self.put(x, y, color)

    def thick_line(self, x0, y0, x1, y1, half_width, color):
        length_squared = (x1 - x0) ** 2 + (y1 - y0) ** 2
        for y in range(int(min(y0, y1) - half_width) - 1, int(max(y0, y1) + half_width) + 2):
            for x in range(int(min(x0, x1) - half_width) - 1, int(max(x0, x1) + half_width) + 2):
                px, py = x + 0.5, y + 0.5
                t = 0.0
                if length_squared > 0:
                    t = ((px - x0) * (x1 - x0) + (py - y0) * (y1 - y0)) / length_squared
                    t = max(0.0, min(1.0, t))
                dx = px - (x0 + t * (x1 - x0))
                dy = py - (y0 + t * (y1 - y0))
                if dx * dx + dy * dy <= half_width * half_width:
                    self.put(x, y, color)

    def paste(self, other, left, top, height=None):
        for y in range(other.height if height is None else height):
            for x in range(other.width):
                self.put(left + x, top + y, other.palette[other.pixels[y * other.width + x]])

    def bmp_bytes(self):
        """The picture as a Windows BMP file: info header of 40 bytes, 8 bits per pixel, a
        palette of 256 entries, rows bottom-up and padded to four bytes."""
        row_size = (self.width + 3) & ~3
        palette = self.palette + [(0, 0, 0)] * (256 - len(self.palette))
        pixel_offset = 14 + 40 + 256 * 4
        file_size = pixel_offset + row_size * self.height
        data = bytearray()
        data += struct.pack("<2sIHHI", b"BM", file_size, 0, 0, pixel_offset)
        data += struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 8, 0,
                            row_size * self.height, 2835, 2835, 256, 0)
        for red, green, blue in palette:
            data += struct.pack("<BBBB", blue, green, red, 0)
        padding = bytes(row_size - self.width)
        for y in range(self.height - 1, -1, -1):
            data += self.pixels[y * self.width:(y + 1) * self.width] + padding
        return bytes(data)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def knob_strip(light_surround, bipolar):
    surround = LIGHT_PANEL if light_surround else DARK_PANEL
    body = (58, 58, 64) if light_surround else (92, 92, 104)
    rim = (20, 20, 24) if light_surround else (140, 140, 156)
    strip = Canvas(KNOB_SIZE, KNOB_SIZE * KNOB_FRAMES, surround)
    centre = KNOB_SIZE / 2.0
    for frame in range(KNOB_FRAMES):
        position = frame / (KNOB_FRAMES - 1)
        top = frame * KNOB_SIZE
        if bipolar:
            red, neutral, green = (224, 48, 40), (208, 208, 208), (48, 200, 72)
            pointer = mix(red, neutral, position * 2) if position <= 0.5 else mix(
                neutral, green, position * 2 - 1)
        else:
            pointer = (240, 236, 224)
        strip.fill_circle(centre, top + centre, 12.0, rim)
        strip.fill_circle(centre, top + centre, 11.0, body)
        angle = math.radians((position - 0.5) * KNOB_SWEEP_DEGREES)
        tip_x = centre + 10.0 * math.sin(angle)
        tip_y = top + centre - 10.0 * math.cos(angle)
        strip.thick_line(centre, top + centre, tip_x, tip_y, 1.3, pointer)
    return strip


def display_field():
    field = Canvas(48, 12, FIELD)
    field.frame_rect(0, 0, 48, 12, PANEL_EDGE)
    return field


def step_light():
    light = Canvas(7, 14, DARK_PANEL)
    light.fill_circle(3.5, 3.5, 3.0, (80, 16, 16))
    light.fill_circle(3.5, 10.5, 3.0, (255, 64, 40))
    light.put(2, 9, (255, 200, 180))
    return light


WAVES = [
    ("sine", lambda t: math.sin(2 * math.pi * t)),
    ("square_10", lambda t: 1.0 if t < 0.5 else -1.0),
    ("square_01", lambda t: -1.0 if t < 0.5 else 1.0),
    ("saw_up", lambda t: -1.0 + 2.0 * t),
    ("saw_down", lambda t: 1.0 - 2.0 * t),
]


def wave_icon(shape, lit):
    icon = Canvas(16, 16, (24, 40, 56) if lit else (28, 28, 34))
    icon.frame_rect(0, 0, 16, 16, (255, 176, 48) if lit else (70, 70, 82))
    stroke = (255, 224, 96) if lit else (120, 120, 132)
    previous = None
    for x in range(2, 14):
        y = int(round(7.5 - 4.5 * shape((x - 2) / 11.0)))
        if previous is not None:
            for between in range(min(previous, y), max(previous, y) + 1):
                icon.put(x, between, stroke)
        icon.put(x, y, stroke)
        previous = y
    return icon


def two_state_button(face, mark):
    """60 x 80: the button up in the upper frame, pressed in the lower one."""
    button = Canvas(60, 80, DARK_PANEL)
    for frame, pressed in ((0, False), (1, True)):
        top = frame * 40
        button.fill_rect(2, top + 2, 56, 36, mix(face, (0, 0, 0), 0.35) if pressed else face)
        light, shade = (230, 230, 230), (16, 16, 16)
        button.bevel(2, top + 2, 56, 36, shade if pressed else light, light if pressed else shade)
        offset = 1 if pressed else 0
        mark(button, 30 + offset, top + 20 + offset)
    return button


def panic_mark(canvas, cx, cy):
    canvas.fill_rect(cx - 2, cy - 11, 4, 14, (255, 255, 255))
    canvas.fill_rect(cx - 2, cy + 6, 4, 4, (255, 255, 255))


def about_mark(canvas, cx, cy):
    canvas.fill_rect(cx - 2, cy - 11, 4, 4, (255, 255, 255))
    canvas.fill_rect(cx - 2, cy - 4, 4, 14, (255, 255, 255))


def panic_button():
    return two_state_button((176, 32, 32), panic_mark)


def about_button():
    return two_state_button((48, 72, 144), about_mark)


def panel(canvas, left, top, right, bottom, color=DARK_PANEL):
    canvas.fill_rect(left, top, right - left, bottom - top, color)
    canvas.frame_rect(left, top, right - left, bottom - top, PANEL_EDGE)


def background():
    picture = Canvas(EDITOR_WIDTH, EDITOR_HEIGHT, (16, 16, 22))
    panel(picture, 2, 2, 492, 38)  # global row
    panel(picture, 88, 44, 482, 408)  # delay-line block
    # Light bands behind the rows whose knobs use the light-surround strips.
    for top, bottom in ((46, 108), (198, 344)):
        picture.fill_rect(89, top, 392, bottom - top, LIGHT_PANEL)
    for line in range(1, 4):  # column separators between the four lines
        picture.fill_rect(88 + 100 * line - 4, 44, 1, 364, PANEL_EDGE)
    panel(picture, 508, 100, 744, 258)  # LFO 1
    panel(picture, 508, 262, 744, 420)  # LFO 2
    panel(picture, 2, 420, 744, 506)  # sequencer strip
    picture.paste(about_button(), 583, 46, height=40)  # the upper frame
    picture.fill_rect(508, 6, 236, 30, (48, 44, 64))  # title field
    return picture


def about_screen():
    screen = Canvas(EDITOR_WIDTH, EDITOR_HEIGHT, (20, 28, 52))
    screen.frame_rect(8, 8, EDITOR_WIDTH - 16, EDITOR_HEIGHT - 16, (200, 200, 220))
    for i in range(0, EDITOR_WIDTH, 32):  # diagonal hatching tells it from the background
        screen.thick_line(i, 16, i + 200, 216, 1.0, (44, 60, 104))
    screen.fill_rect(276, 216, 200, 80, (48, 72, 144))
    screen.paste(about_button(), 346, 236, height=40)
    return screen


def bitmaps():
    yield 128, "background", background()
    yield 129, "knob_dark", knob_strip(light_surround=False, bipolar=False)
    yield 130, "knob_bipolar_dark", knob_strip(light_surround=False, bipolar=True)
    yield 131, "knob_light", knob_strip(light_surround=True, bipolar=False)
    yield 132, "knob_bipolar_light", knob_strip(light_surround=True, bipolar=True)
    yield 133, "display_field", display_field()
    yield 134, "step_light", step_light()
    for number, (name, shape) in enumerate(WAVES):
        yield 135 + 2 * number, "wave_%s_off" % name, wave_icon(shape, lit=False)
        yield 136 + 2 * number, "wave_%s_on" % name, wave_icon(shape, lit=True)
    yield 145, "panic_button", panic_button()
    yield 146, "about_button", about_button()
    yield 147, "about_screen", about_screen()


def main():
    os.makedirs(OUTPUT_FOLDER, exist_ok=True)
    for resource_id, name, canvas in bitmaps():
        path = os.path.join(OUTPUT_FOLDER, "%d_%s.bmp" % (resource_id, name))
        with open(path, "wb") as output:
            output.write(canvas.bmp_bytes())
        print("%s: %d x %d" % (path, canvas.width, canvas.height))


if __name__ == "__main__":
    main()
