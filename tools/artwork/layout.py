"""Where the editor puts its controls: every knob, value display, wave icon, step light and
button, in editor pixels. The background is planned around these rectangles and the preview
puts the pieces on them, so they must stay in line with the editor's own layout tables."""

from collections import namedtuple

EDITOR_WIDTH = 752
EDITOR_HEIGHT = 512
KNOB_SIZE = 28
KNOB_FRAMES = 63
DISPLAY_WIDTH = 48
DISPLAY_HEIGHT = 12
ICON_SIZE = 16
STEP_LIGHT_SIZE = 7
BUTTON_WIDTH = 60
BUTTON_HEIGHT = 40

# Strip ids: unipolar/bipolar knobs on dark or light panels.
DARK = 129
DARK_BIPOLAR = 130
LIGHT = 131
LIGHT_BIPOLAR = 132
LIGHT_STRIPS = (LIGHT, LIGHT_BIPOLAR)


class Rect(namedtuple("Rect", "x y w h")):
    @property
    def right(self):
        return self.x + self.w

    @property
    def bottom(self):
        return self.y + self.h

    def intersects(self, other):
        return (self.x < other.right and other.x < self.right and self.y < other.bottom
                and other.y < self.bottom)

    def inflate(self, d):
        return Rect(self.x - d, self.y - d, self.w + 2 * d, self.h + 2 * d)


# name: the parameter key; caption: the text printed above the display (None: no caption);
# sample: a plausible display text for the preview.
Knob = namedtuple("Knob", "name rect strip")
Display = namedtuple("Display", "name rect caption sample")


def _knob(name, x, y, strip):
    return Knob(name, Rect(x, y, KNOB_SIZE, KNOB_SIZE), strip)


def _display(name, x, y, caption, sample):
    return Display(name, Rect(x, y, DISPLAY_WIDTH, DISPLAY_HEIGHT), caption, sample)


def _build():
    knobs, displays = [], []

    def row(name, knob_x, knob_y, strip, display_at=None, caption=None, sample=None):
        knobs.append(_knob(name, knob_x, knob_y, strip))
        if display_at is not None:
            displays.append(_display(name, display_at[0], display_at[1], caption, sample))

    # Global row.
    for name, x, strip, caption, sample in (
            ("fDryWetMix", 8, DARK, "mix", "0.50/0.50"),
            ("fRouting", 108, DARK_BIPOLAR, "mode", "Filt > Delay"),
            ("fSyncBPM", 208, DARK, "sync/bpm", "120.0"),
            ("fFeedbackLimit", 308, DARK_BIPOLAR, "l-c-s@", "-6.0dB"),
            ("fCompSense", 408, DARK_BIPOLAR, "l-c-s type", "hardSat")):
        row(name, x, 6, strip, (x + 32, 19), caption, sample)

    # Delay-line block: knobs alternate between a left (x 93) and a right (x 148) column.
    line_rows = (
        ("fInLR", 93, 49, LIGHT_BIPOLAR, "Balance In", ("left", "right", "left", "right")),
        ("fDamp", 148, 77, LIGHT, "to effect", ("0.50", "1.00", "0.75", "0.25")),
        ("fFilt", 93, 111, DARK, "filter type", ("LowPass", "Off", "BandPass", "Notch")),
        ("fFreq", 148, 139, DARK, "cutoff", ("0.62", "0.00", "0.35", "0.81")),
        ("fRes", 93, 167, DARK, "resonance", ("0.40", "0.00", "0.72", "0.15")),
        ("fDelay", 148, 201, LIGHT, "delay time", ("375ms", "500ms", "750ms", "1125ms")),
        ("fFeedback0", 93, 229, LIGHT_BIPOLAR, "feedback #1", ("0.36", "0.00", "-0.18", "0.00")),
        ("fFeedback1", 148, 257, LIGHT_BIPOLAR, "feedback #2", ("0.00", "0.45", "0.00", "0.27")),
        ("fFeedback2", 93, 285, LIGHT_BIPOLAR, "feedback #3", ("0.09", "0.00", "0.54", "0.00")),
        ("fFeedback3", 148, 313, LIGHT_BIPOLAR, "feedback #4", ("0.00", "-0.31", "0.00", "0.63")),
        ("fOutV", 93, 347, DARK, "output", ("0.50", "0.70", "0.85", "0.50")),
        ("fOutLR", 148, 375, DARK_BIPOLAR, "pan", ("left", "right", "0.67/0.33", "0.33/0.67")),
    )
    for line in range(4):
        for key, x, y, strip, caption, samples in line_rows:
            x += 100 * line
            display_x = x + 33 if x % 100 == 93 else x - 52
            row("%s_%d" % (key, line), x, y, strip, (display_x, y + 9), caption, samples[line])

    # LFO panels.
    for k in range(2):
        dy = 162 * k
        destination = ("CutOff", "Pan") if k == 0 else ("Output", "Off")
        row("fLfoRate_%d" % k, 514, 105 + dy, DARK, (546, 118 + dy), "speed", "1/4")
        row("fLfoPhse_%d" % k, 556, 141 + dy, DARK, (588, 154 + dy), "phase", "0.25")
        row("fLfoDist_%d" % k, 650, 141 + dy, DARK, (682, 154 + dy), "ch.offset", "0.12")
        row("fLfoDest0_%d" % k, 514, 177 + dy, DARK, (546, 190 + dy), "mod #1", destination[0])
        for j in range(4):
            row("fLfoAmt0%d_%d" % (j, k), 603 + 32 * j, 177 + dy, DARK_BIPOLAR)
        row("fLfoDest1_%d" % k, 520, 213 + dy, DARK, (552, 226 + dy), "mod #2", destination[1])
        for j in range(4):
            row("fLfoAmt1%d_%d" % (j, k), 609 + 32 * j, 213 + dy, DARK_BIPOLAR)

    # Sequencer strip.
    for j in range(16):
        row("fStep%d" % j, 227 + 32 * j, 431, DARK)
    row("fStepTime", 22, 431, DARK, (54, 444), "steptime", "1/16")
    row("fNumSteps", 116, 431, DARK, (148, 444), "steps", "16")
    row("fBlend", 116, 470, DARK, (148, 483), "blend", "0.20")
    row("fStepShift", 22, 470, DARK, (54, 483), "shift", "8.00")
    row("fStepDest0", 282, 470, DARK, (314, 483), "mod #1", "Resonance")
    for j in range(4):
        row("fStepAmt0%d" % j, 370 + 32 * j, 470, DARK_BIPOLAR)
    row("fStepDest1", 506, 470, DARK, (538, 483), "mod #2", "Off")
    for j in range(4):
        row("fStepAmt1%d" % j, 594 + 32 * j, 470, DARK_BIPOLAR)
    return knobs, displays


KNOBS, DISPLAYS = _build()

# The two wave selectors: five icons each, 25 pixels apart.
WAVE_ROWS = (113, 275)
WAVE_ICONS = [Rect(615 + 25 * i, y, ICON_SIZE, ICON_SIZE) for y in WAVE_ROWS for i in range(5)]

STEP_LIGHTS = [Rect(237 + 32 * j, 424, STEP_LIGHT_SIZE, STEP_LIGHT_SIZE) for j in range(16)]

PANIC_BUTTON = Rect(503, 46, BUTTON_WIDTH, BUTTON_HEIGHT)
ABOUT_BUTTON = Rect(583, 46, BUTTON_WIDTH, BUTTON_HEIGHT)


def control_rects():
    """Every rectangle a control draws into."""
    return ([knob.rect for knob in KNOBS] + [display.rect for display in DISPLAYS] + WAVE_ICONS
            + STEP_LIGHTS + [PANIC_BUTTON, ABOUT_BUTTON])


def knob(name):
    return next(k for k in KNOBS if k.name == name)


assert len(KNOBS) == 109 and len(DISPLAYS) == 69
