"""The editor as it will look, composed from the bitmaps as written: for judging the artwork,
never shipped."""

import os

from PIL import Image, ImageDraw, ImageFont

import layout
from paint import DISPLAY_TEXT

FONT_FILE = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
SHEET_BACK = (60, 62, 66)


def _frame(picture, frame, frame_height):
    return picture.crop((0, frame * frame_height, picture.width, (frame + 1) * frame_height))


def _knob_frame(index, knob):
    """A spread of frames so that neighbouring knobs show different positions; bipolar knobs
    also show their centre."""
    if knob.strip in (layout.DARK_BIPOLAR, layout.LIGHT_BIPOLAR):
        return (31, 0, 62, 12, 50, 24, 40)[index % 7]
    return (index * 23) % layout.KNOB_FRAMES


def editor(images):
    canvas = images[128].copy()
    for index, knob in enumerate(layout.KNOBS):
        frame = _frame(images[knob.strip], _knob_frame(index, knob), layout.KNOB_SIZE)
        canvas.paste(frame, (knob.rect.x, knob.rect.y))
    draw = ImageDraw.Draw(canvas)
    font = ImageFont.truetype(FONT_FILE, 11)
    for display in layout.DISPLAYS:
        r = display.rect
        canvas.paste(images[133], (r.x, r.y))
        draw.text((r.x + r.w / 2.0, r.y + r.h / 2.0 + 0.5), display.sample, fill=DISPLAY_TEXT,
                  font=font, anchor="mm")
    for j, rect in enumerate(layout.STEP_LIGHTS):
        canvas.paste(_frame(images[134], 1 if j == 5 else 0, layout.STEP_LIGHT_SIZE),
                     (rect.x, rect.y))
    for i, rect in enumerate(layout.WAVE_ICONS):
        selected = 0 if i < 5 else 4
        canvas.paste(images[135 + 2 * (i % 5) + (1 if i % 5 == selected else 0)],
                     (rect.x, rect.y))
    canvas.paste(_frame(images[145], 0, layout.BUTTON_HEIGHT),
                 (layout.PANIC_BUTTON.x, layout.PANIC_BUTTON.y))
    return canvas


def _magnified(image, scale):
    return image.resize((image.width * scale, image.height * scale), Image.NEAREST)


def sheet(images):
    """The small bitmaps magnified: knob frames 0, 15, 31, 47 and 62 of each strip, display
    field, step light, wave icons, both buttons."""
    rows = []
    for strip in (129, 130, 131, 132):
        frames = [_magnified(_frame(images[strip], f, layout.KNOB_SIZE), 5)
                  for f in (0, 15, 31, 47, 62)]
        rows.append(frames)
    rows.append([_magnified(images[133], 5), _magnified(images[134], 10)])
    rows.append([_magnified(images[i], 6) for i in range(135, 145)])
    rows.append([_magnified(images[145], 3), _magnified(images[146], 3)])
    gap = 12
    width = max(sum(i.width for i in row) + gap * (len(row) + 1) for row in rows)
    height = sum(max(i.height for i in row) for row in rows) + gap * (len(rows) + 1)
    canvas = Image.new("RGB", (width, height), SHEET_BACK)
    y = gap
    for row in rows:
        x = gap
        for image in row:
            canvas.paste(image, (x, y))
            x += image.width + gap
        y += max(i.height for i in row) + gap
    return canvas


def write(pictures, path):
    images = {i: p.to_image() for i, p in pictures.items()}
    folder = os.path.dirname(path)
    if folder:
        os.makedirs(folder, exist_ok=True)
    stem, extension = os.path.splitext(path)
    composed = editor(images)
    outputs = {path: composed, stem + "-200" + extension: _magnified(composed, 2),
               stem + "-sheet" + extension: sheet(images),
               stem + "-about" + extension: images[147]}
    for name, image in outputs.items():
        image.save(name)
    return list(outputs)
