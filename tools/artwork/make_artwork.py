#!/usr/bin/python3
"""Draws the editor's twenty bitmaps (ids 128..147) and writes them to resources/bitmaps/ as
8-bit palettised BMP files. The files are committed; builds never run this.

Regenerate everything (Debian packages python3-cairo, python3-pil, pngquant, fonts-liberation;
scripts/install-dependencies.sh --artwork installs them):

    /usr/bin/python3 tools/artwork/make_artwork.py

Running it again on the same packages reproduces the files byte for byte. Add
--preview out/artwork-preview.png to also write the editor as it will look (the background with
every knob, display, light, icon and button in place) at 100 % and 200 %, and a sheet of the
small bitmaps magnified. Before writing, it checks the layout rules: no text touches a control,
and every knob, icon and light sits on the flat face its bitmap is drawn on.
"""

import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, HERE)

import about  # noqa: E402
import background  # noqa: E402
import layout  # noqa: E402
import pieces  # noqa: E402
import preview  # noqa: E402
from indexed import quantise, surface_to_image  # noqa: E402
from paint import DARK_FACE, FONT, LIGHT_FACE  # noqa: E402

OUTPUT_FOLDER = os.path.join(HERE, "..", "..", "resources", "bitmaps")

KNOB_STRIPS = ((129, "knob_dark"), (130, "knob_bipolar_dark"), (131, "knob_light"),
               (132, "knob_bipolar_light"))


def check_fonts():
    for style in ("", ":bold"):
        found = subprocess.run(["fc-match", "-f", "%{family}", FONT + style],
                               capture_output=True, text=True, check=True).stdout
        if FONT not in found:
            sys.exit("%s%s is not installed (package fonts-liberation)" % (FONT, style))


def draw_all():
    """Every bitmap as (id, file name, Indexed picture)."""
    about_face = pieces.about_button()
    bg = background.draw(about_face)
    result = [(128, "background", quantise(surface_to_image(bg.surface),
                                           exact=(DARK_FACE, LIGHT_FACE)))]
    for strip_id, name in KNOB_STRIPS:
        face = LIGHT_FACE if strip_id in layout.LIGHT_STRIPS else DARK_FACE
        result.append((strip_id, name,
                       quantise(surface_to_image(pieces.knob_strip(strip_id)), exact=(face,))))
    result.append((133, "display_field", quantise(surface_to_image(pieces.display_field()))))
    result.append((134, "step_light", quantise(surface_to_image(pieces.step_light()))))
    for number, wave in enumerate(pieces.WAVES):
        for lit in (False, True):
            result.append((135 + 2 * number + lit, "wave_%s_%s" % (wave, "on" if lit else "off"),
                           quantise(surface_to_image(pieces.wave_icon(wave, lit)))))
    result.append((145, "panic_button", quantise(surface_to_image(pieces.panic_button()),
                                                 exact=(DARK_FACE,))))
    result.append((146, "about_button", quantise(surface_to_image(about_face),
                                                 exact=(DARK_FACE,))))
    result.append((147, "about_screen", quantise(surface_to_image(about.draw()))))
    return result, bg.inks


def check_layout(bitmaps, inks):
    """The rules a reader of the editor relies on; any breach stops the run."""
    problems = []
    controls = layout.control_rects()
    for string, (left, top, right, bottom) in inks:
        box = layout.Rect(left, top, right - left, bottom - top)
        for rect in controls:
            if box.intersects(rect):
                problems.append("text %r at %s touches the control at %s" % (string, box, rect))

    pictures = {bitmap_id: picture for bitmap_id, _, picture in bitmaps}
    bg = pictures[128]

    def ring_outside(rect):
        """The background pixels that border a rectangle, less those under other controls."""
        for x in range(rect.x - 1, rect.right + 1):
            for y in (rect.y - 1, rect.bottom):
                yield x, y
        for y in range(rect.y, rect.bottom):
            for x in (rect.x - 1, rect.right):
                yield x, y

    def under_text(x, y):
        return any(left <= x < right and top <= y < bottom
                   for _, (left, top, right, bottom) in inks)

    def under_other_control(rect, x, y):
        return any(other != rect and other.x <= x < other.right and other.y <= y < other.bottom
                   for other in controls)

    def check_seam(what, rect, picture, frame_height, face, whole_edge):
        """A bitmap drawn plainly over the background shows no square when its edge (or, for
        a rounded shape, its corners) is the panel face and the background around it is that
        same face."""
        for frame in range(picture.height // frame_height):
            top, bottom, right = frame * frame_height, (frame + 1) * frame_height - 1, \
                picture.width - 1
            if whole_edge:
                edge = [(x, y) for x in range(picture.width) for y in (top, bottom)] + \
                    [(x, y) for y in range(top, bottom + 1) for x in (0, right)]
            else:
                edge = [(0, top), (right, top), (0, bottom), (right, bottom)]
            if any(picture.color(x, y) != face for x, y in edge):
                problems.append("%s: frame %d of its bitmap is not %s at its %s" % (
                    what, frame, face, "edge" if whole_edge else "corners"))
                return
        for x, y in ring_outside(rect):
            if under_other_control(rect, x, y) or under_text(x, y):
                continue
            if bg.color(x, y) != face:
                problems.append("%s: background at (%d, %d) is %s, not the face %s"
                                % (what, x, y, bg.color(x, y), face))
                return

    for knob in layout.KNOBS:
        face = LIGHT_FACE if knob.strip in layout.LIGHT_STRIPS else DARK_FACE
        check_seam("knob %s" % knob.name, knob.rect, pictures[knob.strip], layout.KNOB_SIZE,
                   face, True)
    for i, rect in enumerate(layout.WAVE_ICONS):
        for icon in range(135, 145):
            check_seam("wave icon %d (bitmap %d)" % (i % 5, icon), rect, pictures[icon],
                       layout.ICON_SIZE, DARK_FACE, False)
    for j, rect in enumerate(layout.STEP_LIGHTS):
        check_seam("step light %d" % j, rect, pictures[134], layout.STEP_LIGHT_SIZE, DARK_FACE,
                   False)
    check_seam("panic button", layout.PANIC_BUTTON, pictures[145], layout.BUTTON_HEIGHT,
               DARK_FACE, False)
    if problems:
        sys.exit("layout check failed:\n  " + "\n  ".join(problems))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--preview", metavar="PNG",
                        help="also write the composed editor to PNG, at 200 %% beside it")
    parser.add_argument("--output", default=OUTPUT_FOLDER, help=argparse.SUPPRESS)
    arguments = parser.parse_args()

    check_fonts()
    bitmaps, inks = draw_all()
    check_layout(bitmaps, inks)
    os.makedirs(arguments.output, exist_ok=True)
    for bitmap_id, name, picture in bitmaps:
        path = os.path.join(arguments.output, "%d_%s.bmp" % (bitmap_id, name))
        with open(path, "wb") as output:
            output.write(picture.bmp_bytes())
        print("%s: %d x %d, %d colours" % (os.path.relpath(path), picture.width,
                                          picture.height, len(picture.palette)))
    if arguments.preview:
        for path in preview.write({i: p for i, _, p in bitmaps}, arguments.preview):
            print("preview: %s" % os.path.relpath(path))


if __name__ == "__main__":
    main()
