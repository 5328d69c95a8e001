"""The small bitmaps: knob strips, value display field, step light, wave icons, buttons."""

import math

import cairo

import layout
from indexed import new_surface
from paint import (ACCENT, ACCENT_DEEP, CAPTION_ON_DARK, DARK_FACE, DARK_HIGHLIGHT, DARK_SHADOW,
                   LIGHT_FACE, NEGATIVE, NEUTRAL, POSITIVE, TITLE, gradient, mix, rounded_rect,
                   source, text)

SWEEP = 270.0  # degrees, clockwise over the top from the lower left


def knob_angle(position):
    """Pointer angle in cairo's convention (radians clockwise from 3 o'clock) for a position
    0..1 of the knob's travel."""
    return math.radians(-90.0 + (position - 0.5) * SWEEP)


def bipolar_colour(position):
    if position <= 0.5:
        return mix(NEGATIVE, NEUTRAL, position * 2.0)
    return mix(NEUTRAL, POSITIVE, position * 2.0 - 1.0)


def draw_knob(ctx, cx, cy, position, bipolar, light_panel):
    """One knob of 28 x 28 centred on (cx, cy); nothing reaches further than 13 pixels from
    the centre, so the outermost pixels of the square stay the panel face."""
    start, end = knob_angle(0.0), knob_angle(1.0)
    angle = knob_angle(position)

    # The scale: an engraved track over the whole travel, lit up to the value.
    ctx.set_line_width(1.6)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    ctx.arc(cx, cy, 12.2, start, end)
    source(ctx, (160, 155, 145) if light_panel else (16, 17, 20))
    ctx.stroke()
    if bipolar:
        lit = bipolar_colour(position)
        centre = knob_angle(0.5)
        first, last = (angle, centre) if angle < centre else (centre, angle)
    else:
        lit = ACCENT_DEEP if light_panel else ACCENT
        first, last = start, angle
    if last - first > 1e-6:
        ctx.arc(cx, cy, 12.2, first, last)
        source(ctx, lit)
        ctx.stroke()

    # Shadow to the lower right.
    for radius, alpha in ((10.6, 0.10), (10.2, 0.14), (9.8, 0.20)):
        ctx.arc(cx + 1.0, cy + 1.5, radius, 0, 2 * math.pi)
        ctx.set_source_rgba(0, 0, 0, alpha * (1.4 if light_panel else 1.0))
        ctx.fill()

    # Skirt and cap.
    ctx.arc(cx, cy, 9.8, 0, 2 * math.pi)
    ctx.set_source(gradient(cairo.LinearGradient(cx - 8, cy - 8, cx + 8, cy + 8),
                            [(0, (86, 91, 99)), (0.5, (34, 37, 42)), (1, (12, 13, 15))]))
    ctx.fill()
    ctx.arc(cx, cy, 8.4, 0, 2 * math.pi)
    ctx.set_source(gradient(cairo.RadialGradient(cx - 3, cy - 4, 0.5, cx, cy, 9.5),
                            [(0, (96, 101, 109)), (0.55, (60, 64, 71)), (1, (40, 43, 48))]))
    ctx.fill()
    # A thin rim where the cap meets the skirt, bright on the lit side.
    ctx.set_line_width(0.8)
    ctx.arc(cx, cy, 8.4, 0, 2 * math.pi)
    ctx.set_source(gradient(cairo.LinearGradient(cx - 7, cy - 7, cx + 7, cy + 7),
                            [(0, (140, 145, 152), 0.9), (0.5, (70, 74, 80), 0.4),
                             (1, (10, 10, 12), 0.6)]))
    ctx.stroke()

    # The pointer: from near the centre to near the rim.
    colour = bipolar_colour(position) if bipolar else (244, 245, 247)
    dx, dy = math.cos(angle), math.sin(angle)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(2.0)
    ctx.move_to(cx + 2.6 * dx, cy + 2.6 * dy)
    ctx.line_to(cx + 7.6 * dx, cy + 7.6 * dy)
    source(ctx, colour)
    ctx.stroke()


def knob_strip(strip_id):
    bipolar = strip_id in (layout.DARK_BIPOLAR, layout.LIGHT_BIPOLAR)
    light_panel = strip_id in layout.LIGHT_STRIPS
    size, frames = layout.KNOB_SIZE, layout.KNOB_FRAMES
    surface = new_surface(size, size * frames)
    ctx = cairo.Context(surface)
    source(ctx, LIGHT_FACE if light_panel else DARK_FACE)
    ctx.paint()
    for frame in range(frames):
        draw_knob(ctx, size / 2.0, frame * size + size / 2.0, frame / (frames - 1.0), bipolar,
                  light_panel)
    return surface


def display_field():
    """The window behind a value text: nearly black, sunk by a shadow along the top and left."""
    w, h = layout.DISPLAY_WIDTH, layout.DISPLAY_HEIGHT
    surface = new_surface(w, h)
    ctx = cairo.Context(surface)
    ctx.set_source(gradient(cairo.LinearGradient(0, 0, 0, h),
                            [(0, (11, 12, 14)), (0.5, (6, 6, 7)), (1, (5, 5, 6))]))
    ctx.paint()
    ctx.rectangle(0, 0, w, 1)
    ctx.rectangle(0, 0, 1, h)
    source(ctx, (0, 0, 0))
    ctx.fill()
    ctx.rectangle(1, 1, w - 1, 1)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.fill()
    ctx.rectangle(1, h - 1, w - 1, 1)
    ctx.rectangle(w - 1, 1, 1, h - 1)
    source(ctx, (30, 32, 36))
    ctx.fill()
    return surface


def step_light():
    """Two frames of 7 x 7: off (a dark lens in its rim), then lit in the accent."""
    size = layout.STEP_LIGHT_SIZE
    surface = new_surface(size, 2 * size)
    ctx = cairo.Context(surface)
    source(ctx, DARK_FACE)
    ctx.paint()
    for frame, lit in ((0, False), (1, True)):
        cx, cy = 3.5, frame * size + 3.5
        ctx.arc(cx, cy, 3.4, 0, 2 * math.pi)
        source(ctx, DARK_SHADOW)
        ctx.fill()
        ctx.arc(cx, cy, 2.6, 0, 2 * math.pi)
        if lit:
            ctx.set_source(gradient(cairo.RadialGradient(cx - 0.6, cy - 0.8, 0.2, cx, cy, 2.8),
                                    [(0, (225, 255, 250)), (0.45, (120, 230, 218)),
                                     (1, ACCENT_DEEP)]))
        else:
            ctx.set_source(gradient(cairo.RadialGradient(cx - 0.8, cy - 1.0, 0.2, cx, cy, 2.8),
                                    [(0, (64, 74, 76)), (1, (22, 26, 28))]))
        ctx.fill()
    return surface


def _wave_points(name):
    """The wave over one cycle in a 10 x 8 box centred on the icon, as a polyline."""
    left, right, top, bottom = 3.0, 13.0, 4.0, 12.0
    mid = (top + bottom) / 2.0
    if name == "sine":
        return [(left + (right - left) * i / 40.0,
                 mid - (bottom - top) / 2.0 * math.sin(2 * math.pi * i / 40.0))
                for i in range(41)]
    half = (left + right) / 2.0
    if name == "square_10":
        return [(left, bottom), (left, top), (half, top), (half, bottom), (right, bottom)]
    if name == "square_01":
        return [(left, top), (left, bottom), (half, bottom), (half, top), (right, top)]
    if name == "saw_up":
        return [(left, bottom), (right, top), (right, bottom)]
    return [(left, top), (right, bottom), (right, top)]


WAVES = ("sine", "square_10", "square_01", "saw_up", "saw_down")


def wave_icon(name, lit):
    """16 x 16: the wave on a small sunken key; lit in the accent with a faint glow."""
    size = layout.ICON_SIZE
    surface = new_surface(size, size)
    ctx = cairo.Context(surface)
    source(ctx, DARK_FACE)
    ctx.paint()
    rounded_rect(ctx, 0.5, 0.5, 15, 15, 2.5)
    source(ctx, DARK_SHADOW)
    ctx.fill()
    rounded_rect(ctx, 1, 1, 14.5, 14.5, 2.2)
    source(ctx, DARK_HIGHLIGHT)
    ctx.fill()
    rounded_rect(ctx, 1, 1, 14, 14, 2)
    if lit:
        ctx.set_source(gradient(cairo.RadialGradient(8, 8, 1, 8, 8, 9),
                                [(0, (22, 58, 56)), (1, (12, 28, 28))]))
    else:
        source(ctx, (17, 18, 21))
    ctx.fill()
    points = _wave_points(name)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    passes = [(3.4, ACCENT, 0.25), (1.5, (150, 240, 230), 1.0)] if lit else \
        [(1.4, CAPTION_ON_DARK, 0.8)]
    for width, colour, alpha in passes:
        ctx.move_to(*points[0])
        for point in points[1:]:
            ctx.line_to(*point)
        ctx.set_line_width(width)
        source(ctx, colour, alpha)
        ctx.stroke()
    return surface


def _button(ctx, top, label, pressed, face_top, face_bottom, label_colour):
    """A 60 x 40 key; pressed, it is darker and its face and label move down one pixel."""
    x, y, w, h = 2, top + 2, 55, 35
    shift = 1 if pressed else 0
    if not pressed:  # resting on the panel: a soft shadow below and to the right
        for i, alpha in ((3, 0.10), (2, 0.14), (1, 0.20)):
            rounded_rect(ctx, x - i + 2, y - i + 3, w + 2 * i - 1, h + 2 * i - 2, 4 + i)
            ctx.set_source_rgba(0, 0, 0, alpha)
            ctx.fill()
    rounded_rect(ctx, x + shift, y + shift, w, h, 4)
    source(ctx, DARK_SHADOW)
    ctx.fill()
    darken = 0.72 if pressed else 1.0
    inner = (x + shift + 1, y + shift + 1, w - 2, h - 2)
    rounded_rect(ctx, *inner, 3)
    ctx.set_source(gradient(cairo.LinearGradient(0, inner[1], 0, inner[1] + inner[3]),
                            [(0, mix((0, 0, 0), face_top, darken)),
                             (1, mix((0, 0, 0), face_bottom, darken))]))
    ctx.fill()
    # The lit edge along the top: strong when up, faint when pressed.
    ctx.set_line_width(1.0)
    ctx.move_to(inner[0] + 3, inner[1] + 0.5)
    ctx.line_to(inner[0] + inner[2] - 3, inner[1] + 0.5)
    ctx.set_source_rgba(1, 1, 1, 0.10 if pressed else 0.28)
    ctx.stroke()
    text(ctx, label, x + w / 2.0 + shift, y + 22 + shift, 12, label_colour, bold=True,
         align="centre")


def two_state_button(label, face_top, face_bottom, label_colour):
    surface = new_surface(layout.BUTTON_WIDTH, 2 * layout.BUTTON_HEIGHT)
    ctx = cairo.Context(surface)
    source(ctx, DARK_FACE)
    ctx.paint()
    for frame, pressed in ((0, False), (1, True)):
        ctx.save()
        ctx.rectangle(0, frame * layout.BUTTON_HEIGHT, layout.BUTTON_WIDTH, layout.BUTTON_HEIGHT)
        ctx.clip()
        _button(ctx, frame * layout.BUTTON_HEIGHT, label, pressed, face_top, face_bottom,
                label_colour)
        ctx.restore()
    return surface


def panic_button():
    return two_state_button("panic", (176, 52, 48), (122, 30, 28), (252, 236, 232))


def about_button():
    return two_state_button("about", (74, 79, 87), (46, 50, 56), TITLE)
