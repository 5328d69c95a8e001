"""Bitmap 128: the editor's background with every panel, caption and title, and the face of
the about button (that control draws nothing of its own)."""

import cairo

import layout
from indexed import new_surface
from layout import Rect
from paint import (ACCENT, CAPTION_ON_DARK, CAPTION_ON_LIGHT, DARK_FACE, DARK_HIGHLIGHT,
                   DARK_SHADOW, GROUND_BOTTOM, GROUND_TOP, LIGHT_FACE, LIGHT_HIGHLIGHT,
                   LIGHT_SHADOW, TITLE, drop_shadow, fill_rect, gradient, raised,
                   rounded_rect, source, text)

VERSION = "1.0"
CAPTION_SIZE = 9

# Panels, as (x, y, w, h).
GLOBAL_PANEL = Rect(3, 2, 490, 34)
RIGHT_PANEL = Rect(497, 2, 252, 405)
SEQUENCER_PANEL = Rect(3, 411, 746, 98)
COLUMN_TOP, COLUMN_BOTTOM = 38, 407
LABEL_PANEL = Rect(3, COLUMN_TOP, 78, COLUMN_BOTTOM - COLUMN_TOP)


def column_panel(line):
    return Rect(89 + 100 * line, COLUMN_TOP, 92, COLUMN_BOTTOM - COLUMN_TOP)


# Bands of the delay-line columns, top to bottom: light behind the strips 131/132, dark behind
# 129/130. The boundaries fall in the six free rows between knob rows.
BANDS = ((COLUMN_TOP, 108, "light"), (108, 198, "dark"), (198, 344, "light"),
         (344, COLUMN_BOTTOM, "dark"))

# Row labels beside the block: the rows of knobs each names.
ROW_LABELS = (("input", 49, 105), ("filter", 111, 195), ("delay", 201, 229),
              ("feedback", 229, 341), ("output", 347, 403))

# Rows of the LFO sections inside the right panel: divider and title baseline.
LFO_TITLES = ((89, 102, "LFO1"), (248, 264, "LFO2"))


class Background:
    def __init__(self):
        self.surface = new_surface(layout.EDITOR_WIDTH, layout.EDITOR_HEIGHT)
        self.ctx = cairo.Context(self.surface)
        self.inks = []  # (text, ink box) of everything written, for the layout checks

    def write(self, string, x, baseline, size, colour, **options):
        box = text(self.ctx, string, x, baseline, size, colour, **options)
        self.inks.append((string, box))
        return box


def _ground(ctx):
    ctx.set_source(gradient(cairo.LinearGradient(0, 0, 0, layout.EDITOR_HEIGHT),
                            [(0, GROUND_TOP), (1, GROUND_BOTTOM)]))
    ctx.paint()


def _dark_panel(ctx, rect, radius=4):
    drop_shadow(ctx, *rect, radius)
    raised(ctx, *rect, radius, DARK_FACE, DARK_HIGHLIGHT, DARK_SHADOW)


def _band_plate(ctx, x, y, w, h, kind):
    face, highlight, shadow = ((LIGHT_FACE, LIGHT_HIGHLIGHT, LIGHT_SHADOW) if kind == "light"
                               else (DARK_FACE, DARK_HIGHLIGHT, DARK_SHADOW))
    fill_rect(ctx, x, y, w, h, face)
    fill_rect(ctx, x, y, w, 1, highlight)
    fill_rect(ctx, x, y + h - 1, w, 1, shadow)


def _banded_panel(ctx, rect):
    """A dark rim around plates that alternate light and dark with the knob rows."""
    drop_shadow(ctx, *rect, 4)
    rounded_rect(ctx, *rect, 4)
    source(ctx, DARK_SHADOW)
    ctx.fill()
    ctx.save()
    rounded_rect(ctx, rect.x + 1, rect.y + 1, rect.w - 2, rect.h - 2, 3)
    ctx.clip()
    for top, bottom, kind in BANDS:
        top, bottom = max(top, rect.y + 1), min(bottom, rect.bottom - 1)
        _band_plate(ctx, rect.x + 1, top, rect.w - 2, bottom - top, kind)
    # Lit left edge, shaded right edge.
    fill_rect(ctx, rect.x + 1, rect.y, 1, rect.h, (255, 255, 255), 0.10)
    fill_rect(ctx, rect.right - 2, rect.y, 1, rect.h, (0, 0, 0), 0.18)
    ctx.restore()


def band_is_light(y):
    return any(top <= y < bottom and kind == "light" for top, bottom, kind in BANDS)


def on_light_band(rect):
    """Whether a control stands on a light plate of the delay-line block."""
    in_block = rect.x < GLOBAL_PANEL.right and COLUMN_TOP < rect.y < COLUMN_BOTTOM
    return in_block and band_is_light(rect.y)


def _display_bezel(ctx, rect, on_light):
    """A one-pixel bezel outside a value display, so the window looks set into the panel."""
    upper = (150, 145, 136) if on_light else (17, 18, 21)
    lower = LIGHT_HIGHLIGHT if on_light else (52, 56, 63)
    fill_rect(ctx, rect.x - 1, rect.y - 1, rect.w + 2, 1, upper)
    fill_rect(ctx, rect.x - 1, rect.y, 1, rect.h, upper)
    fill_rect(ctx, rect.x - 1, rect.bottom, rect.w + 2, 1, lower)
    fill_rect(ctx, rect.right, rect.y, 1, rect.h, lower)


def _captions(bg):
    for display in layout.DISPLAYS:
        if display.caption is None:
            continue
        r = display.rect
        on_light = on_light_band(r)
        # The caption sits in the free rows right above its display, next to its knob.
        baseline = r.y - 2
        bg.write(display.caption, r.x + r.w / 2.0, baseline, CAPTION_SIZE,
                 CAPTION_ON_LIGHT if on_light else CAPTION_ON_DARK, align="centre")


def _line_numbers(bg):
    for line in range(4):
        panel = column_panel(line)
        centre = panel.x + panel.w / 2.0
        box = bg.write("LINE %d" % (line + 1), centre, 46, 9, CAPTION_ON_LIGHT, bold=True,
                       align="centre", spacing=1.0)
        ctx = bg.ctx
        for left, right in ((panel.x + 6, box[0] - 5), (box[2] + 5, panel.right - 6)):
            fill_rect(ctx, left, 42, right - left, 1, LIGHT_SHADOW)
            fill_rect(ctx, left, 43, right - left, 1, LIGHT_HIGHLIGHT)


def _band_labels(bg):
    ctx = bg.ctx
    panel = LABEL_PANEL
    _banded_panel(ctx, panel)
    for name, top, bottom in ROW_LABELS:
        colour = CAPTION_ON_LIGHT if band_is_light(top) else CAPTION_ON_DARK
        baseline = (top + bottom) / 2.0 + 3.5
        bg.write(name.upper(), panel.right - 8, baseline, 9, colour, bold=True, align="right",
                 spacing=1.0)


def _title(bg):
    box = bg.write("veltrane", 503, 33, 26, TITLE, bold=True)
    bg.write(VERSION, box[2] + 5, 33, 11, ACCENT, bold=True)
    bg.write("four-line", 743, 22, 9, CAPTION_ON_DARK, align="right")
    bg.write("feedback delay", 743, 33, 9, CAPTION_ON_DARK, align="right")


def _lfo_sections(bg):
    ctx = bg.ctx
    panel = RIGHT_PANEL
    for divider, baseline, title in LFO_TITLES:
        fill_rect(ctx, panel.x + 6, divider, panel.w - 12, 1, DARK_SHADOW)
        fill_rect(ctx, panel.x + 6, divider + 1, panel.w - 12, 1, DARK_HIGHLIGHT)
        box = bg.write(title, 514, baseline, 12, TITLE, bold=True)
        fill_rect(ctx, box[2] + 6, baseline - 4, 733 - box[2] - 6, 1, ACCENT)


def _amount_markers(bg):
    """Line numbers over the per-line amount knobs of the LFOs and the sequencer."""
    for knob in layout.KNOBS:
        name = knob.name
        if name.startswith("fLfoAmt") or name.startswith("fStepAmt"):
            line = int(name[-3] if name.startswith("fLfoAmt") else name[-1])
            r = knob.rect
            baseline = r.y - 2
            bg.write(str(line + 1), r.x + r.w / 2.0, baseline, 8, CAPTION_ON_DARK,
                     bold=True, alpha=0.75)


def _sequencer(bg):
    ctx = bg.ctx
    panel = SEQUENCER_PANEL
    _dark_panel(ctx, panel)
    box = bg.write("Sequencer", 22, 426, 12, TITLE, bold=True)
    fill_rect(ctx, box[2] + 6, 422, 212 - box[2] - 6, 1, ACCENT)
    # Grooves: settings apart from the steps, steps in groups of four.
    for x, top, bottom in ((212, 417, 503), (352, 428, 458), (480, 428, 458), (608, 428, 458)):
        fill_rect(ctx, x, top, 1, bottom - top, DARK_SHADOW)
        fill_rect(ctx, x + 1, top, 1, bottom - top, DARK_HIGHLIGHT)


def draw(about_face):
    """about_face: bitmap 146 as a cairo surface."""
    bg = Background()
    ctx = bg.ctx
    _ground(ctx)
    _dark_panel(ctx, GLOBAL_PANEL)
    _dark_panel(ctx, RIGHT_PANEL)
    for line in range(4):
        _banded_panel(ctx, column_panel(line))
    _band_labels(bg)
    _sequencer(bg)

    for display in layout.DISPLAYS:
        _display_bezel(ctx, display.rect, on_light_band(display.rect))

    _captions(bg)
    _line_numbers(bg)
    _title(bg)
    _lfo_sections(bg)
    _amount_markers(bg)

    button = layout.ABOUT_BUTTON
    ctx.save()
    ctx.rectangle(*button)
    ctx.clip()
    ctx.set_source_surface(about_face, button.x, button.y)  # its upper frame: at rest
    ctx.paint()
    ctx.restore()
    return bg
