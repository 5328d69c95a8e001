"""Bitmap 147: the about screen, shown over the whole editor until the next click."""

import cairo

import layout
from indexed import new_surface
from paint import (ACCENT, CAPTION_ON_DARK, DARK_HIGHLIGHT, DARK_SHADOW, TITLE, gradient,
                   rounded_rect, source, text)

DESCRIPTION = "a four-line feedback delay with filters, LFOs and a step sequencer"


def _echoes(ctx, left, top, width, row_height):
    """Four rows of decaying taps, one per delay line, each line with its own time."""
    for line, spacing in enumerate((26.0, 34.0, 44.0, 57.0)):
        baseline = top + (line + 1) * row_height
        ctx.rectangle(left, baseline, width, 1)
        ctx.set_source_rgba(1, 1, 1, 0.07)
        ctx.fill()
        x, level = left, 1.0
        while x < left + width - 3:
            height = round((row_height - 4) * level)
            if height >= 1:
                ctx.rectangle(round(x) - 4, baseline - height, 11, height)
                source(ctx, ACCENT, 0.10 * level)
                ctx.fill()
                ctx.rectangle(round(x), baseline - height, 3, height)
                source(ctx, ACCENT, 0.3 + 0.7 * level)
                ctx.fill()
            x += spacing
            level *= 0.84


def draw():
    w, h = layout.EDITOR_WIDTH, layout.EDITOR_HEIGHT
    surface = new_surface(w, h)
    ctx = cairo.Context(surface)
    ctx.set_source(gradient(cairo.RadialGradient(w / 2, h * 0.38, 40, w / 2, h * 0.45, 520),
                            [(0, (38, 42, 48)), (0.6, (22, 24, 28)), (1, (12, 13, 15))]))
    ctx.paint()

    # A card with a lit top edge carries the text.
    card = (96, 64, w - 192, h - 128)
    for i, alpha in ((6, 0.05), (4, 0.08), (2, 0.12)):
        rounded_rect(ctx, card[0] - i + 2, card[1] - i + 4, card[2] + 2 * i, card[3] + 2 * i,
                     8 + i)
        ctx.set_source_rgba(0, 0, 0, alpha)
        ctx.fill()
    rounded_rect(ctx, *card, 8)
    source(ctx, DARK_SHADOW)
    ctx.fill()
    rounded_rect(ctx, card[0] + 1, card[1] + 1, card[2] - 2, card[3] - 2, 7)
    ctx.set_source(gradient(cairo.LinearGradient(0, card[1], 0, card[1] + card[3]),
                            [(0, (40, 44, 50)), (1, (27, 29, 33))]))
    ctx.fill()
    ctx.rectangle(card[0] + 8, card[1] + 1, card[2] - 16, 1)
    source(ctx, DARK_HIGHLIGHT)
    ctx.fill()

    _echoes(ctx, card[0] + 60, card[1] + 26, card[2] - 120, 22)

    centre = w / 2.0
    text(ctx, "veltrane", centre, 252, 54, TITLE, bold=True, align="centre")
    text(ctx, "version 1.0", centre, 280, 13, ACCENT, bold=True, align="centre", spacing=1)
    text(ctx, DESCRIPTION, centre, 318, 14, CAPTION_ON_DARK, align="centre")
    text(ctx, "stereo in, stereo out  \u00b7  four lines of up to two seconds  \u00b7  "
         "111 parameters", centre, 340, 11, (128, 134, 144), align="centre")
    ctx.rectangle(centre - 120, 392, 240, 1)
    ctx.set_source_rgba(1, 1, 1, 0.08)
    ctx.fill()
    text(ctx, "click anywhere to close", centre, 416, 11, (150, 156, 166), align="centre")
    return surface
