"""Colours and the small drawing vocabulary every bitmap shares: one light from the top left,
rounded panels, silkscreen text."""

import math

import cairo


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# Flat faces: knob strips, icons, lights and buttons are drawn on exactly these colours, and the
# background keeps them flat wherever such a piece sits, so no square edge shows.
DARK_FACE = hex_colour("#24272c")
LIGHT_FACE = hex_colour("#c9c4b9")

GROUND_TOP = hex_colour("#1a1c20")
GROUND_BOTTOM = hex_colour("#111215")
DARK_HIGHLIGHT = hex_colour("#353940")
DARK_SHADOW = hex_colour("#0d0e10")
LIGHT_HIGHLIGHT = hex_colour("#e2ded4")
LIGHT_SHADOW = hex_colour("#908b81")
CAPTION_ON_DARK = hex_colour("#b9bec7")
CAPTION_ON_LIGHT = hex_colour("#2a2c30")
TITLE = hex_colour("#e8eaee")
ACCENT = hex_colour("#4fc3b8")
ACCENT_DEEP = hex_colour("#23857d")
NEGATIVE = hex_colour("#d9534f")
NEUTRAL = hex_colour("#c8c8c8")
POSITIVE = hex_colour("#5cb85c")
DISPLAY_TEXT = (226, 208, 216)  # the value displays' own text colour

FONT = "Liberation Sans"


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def source(ctx, colour, alpha=1.0):
    r, g, b = (c / 255.0 for c in colour)
    if alpha >= 1.0:
        ctx.set_source_rgb(r, g, b)
    else:
        ctx.set_source_rgba(r, g, b, alpha)


def gradient(pattern, stops):
    for offset, colour, *alpha in stops:
        r, g, b = (c / 255.0 for c in colour)
        pattern.add_color_stop_rgba(offset, r, g, b, alpha[0] if alpha else 1.0)
    return pattern


def rounded_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2.0, h / 2.0)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def fill_rect(ctx, x, y, w, h, colour, alpha=1.0):
    ctx.rectangle(x, y, w, h)
    source(ctx, colour, alpha)
    ctx.fill()


def raised(ctx, x, y, w, h, r, face, highlight, shadow):
    """A plate lit from the top left: a one-pixel highlight on the top and left edges, a
    one-pixel shadow on the bottom and right, and a flat face."""
    rounded_rect(ctx, x, y, w, h, r)
    source(ctx, shadow)
    ctx.fill()
    rounded_rect(ctx, x, y, w - 1, h - 1, r)
    source(ctx, highlight)
    ctx.fill()
    rounded_rect(ctx, x + 1, y + 1, w - 2, h - 2, max(r - 1, 0))
    source(ctx, face)
    ctx.fill()


def drop_shadow(ctx, x, y, w, h, r, strength=0.35, spread=4, offset=(1, 2)):
    """A soft shadow to the lower right, made of widening rounded rectangles."""
    for i in range(spread, 0, -1):
        rounded_rect(ctx, x + offset[0] - i + 1, y + offset[1] - i + 1, w + 2 * i - 2,
                     h + 2 * i - 2, r + i)
        ctx.set_source_rgba(0, 0, 0, strength / spread)
        ctx.fill()


def font_options(hinting=True):
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_SLIGHT if hinting else cairo.HINT_STYLE_NONE)
    options.set_hint_metrics(cairo.HINT_METRICS_ON if hinting else cairo.HINT_METRICS_OFF)
    return options


def set_font(ctx, size, bold=False, hinting=True):
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    ctx.set_font_options(font_options(hinting))


def text_width(ctx, text, spacing=0.0):
    if spacing == 0.0:
        return ctx.text_extents(text).x_advance
    return sum(ctx.text_extents(c).x_advance for c in text) + spacing * (len(text) - 1)


def text(ctx, string, x, baseline, size, colour, bold=False, align="left", spacing=0.0,
         alpha=1.0, hinting=True):
    """Draws a line of text with its baseline at the given y and returns its ink box
    (left, top, right, bottom) in device pixels, rounded outwards."""
    set_font(ctx, size, bold, hinting)
    width = text_width(ctx, string, spacing)
    if align == "centre":
        x -= width / 2.0
    elif align == "right":
        x -= width
    x, baseline = round(x), round(baseline)  # whole pixels keep stems crisp
    source(ctx, colour, alpha)
    ink = None
    pen = x
    pieces = [string] if spacing == 0.0 else list(string)
    for piece in pieces:
        extents = ctx.text_extents(piece)
        ctx.move_to(pen, baseline)
        ctx.show_text(piece)
        if extents.width > 0:
            box = (pen + extents.x_bearing, baseline + extents.y_bearing,
                   pen + extents.x_bearing + extents.width,
                   baseline + extents.y_bearing + extents.height)
            ink = box if ink is None else (min(ink[0], box[0]), min(ink[1], box[1]),
                                           max(ink[2], box[2]), max(ink[3], box[3]))
        pen += extents.x_advance + spacing
    ctx.new_path()
    return (math.floor(ink[0]), math.floor(ink[1]), math.ceil(ink[2]), math.ceil(ink[3]))
