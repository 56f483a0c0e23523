"""The public drawing final_dxf.igs on the 2D path: its 17 dimensions keep
their text horizontal, as every note of the file is, and where the file puts
it (within one text height of the middle of the note's box); its leaders of
the form without arrowhead have none; the drawing renders, blank notes and
all."""
import logging
import math
import os
import re
import subprocess
import sys

import ezdxf
from ezdxf.addons.drawing import Frontend, RenderContext
from ezdxf.addons.drawing.backend import Backend

from e2e import ARXHOST, CORPUS, MODULE, WORK
FILE = os.path.join(CORPUS, "nist", "final_dxf.igs")

failures = []
# The renderer looks for the drawing's fonts among the system's; missing ones are no finding.
logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)


def check(condition, what):
    if not condition:
        failures.append(what)


def read_iges(path):
    """Directory entries (type, form, transform) and parameter lists by DE
    number, for a file with the default delimiters."""
    with open(path, encoding="latin-1") as f:
        lines = [l.rstrip("\r\n").ljust(80) for l in f]
    d = [l for l in lines if l[72] == "D"]
    entries = {}
    for i in range(0, len(d) - 1, 2):
        entries[i + 1] = (int(d[i][0:8]), int(d[i + 1][32:40]), int(d[i][48:56] or 0))
    data = {}
    for l in lines:
        if l[72] == "P":
            de = int(l[64:72])
            data[de] = data.get(de, "") + l[0:64]
    params = {}
    for de, text in data.items():
        out, i, field = [], 0, ""
        while i < len(text):
            c = text[i]
            if c == "H" and field.strip().isdigit():
                n = int(field)
                out.append(text[i + 1:i + 1 + n])
                i += 1 + n
                field = None
                continue
            if c in ",;":
                if field is not None:
                    out.append(field.strip())
                field = ""
                if c == ";":
                    break
            elif field is not None:
                field += c
            i += 1
        params[de] = out[1:]
    return entries, params


def num(s):
    return float(s.replace("D", "E").replace("d", "e"))


def note_boxes(entries, params):
    """For each linear (216) and radius (222) dimension: its text, the middle
    of its note's box and the note's height."""
    boxes = []
    for de, (type_, form, transform) in entries.items():
        if type_ not in (216, 222):
            continue
        note = int(params[de][0])
        p = params[note]
        check(transform == 0 and entries[note][2] == 0, f"dimension {de}: transformed; the test does not place it")
        n = int(p[0])
        lo, hi, text, height = [math.inf] * 2, [-math.inf] * 2, "", 0.0
        for k in range(n):
            s = p[1 + 12 * k:13 + 12 * k]
            w, h, angle, x, y = num(s[1]), num(s[2]), num(s[5]), num(s[8]), num(s[9])
            check(abs(angle) < 1e-9, f"dimension {de}: a note string at {angle} rad")
            text += s[11]
            height = max(height, h)
            for cx, cy in ((x, y), (x + w, y + h)):
                lo = [min(lo[0], cx), min(lo[1], cy)]
                hi = [max(hi[0], cx), max(hi[1], cy)]
        boxes.append((text, ((lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2), height))
    return boxes


class NullBackend(Backend):
    """Draws nothing: only the layout of every entity is exercised."""
    def draw_point(self, *a, **k): pass
    def draw_line(self, *a, **k): pass
    def draw_filled_polygon(self, *a, **k): pass
    def draw_text(self, *a, **k): pass
    def draw_path(self, *a, **k): pass
    def draw_filled_paths(self, *a, **k): pass
    def clear(self): pass
    def set_background(self, color): pass

    def get_font_measurements(self, cap_height, font=None):
        from ezdxf.tools.fonts import FontMeasurements
        return FontMeasurements(baseline=0, cap_height=cap_height, x_height=cap_height / 2,
                                descender_height=cap_height / 5)

    def get_text_line_width(self, text, cap_height, font=None):
        return len(text) * cap_height


def main():
    if not os.path.exists(FILE):
        print("no corpus file", FILE, "- skipped")
        return 0
    os.makedirs(os.path.join(WORK, "temp"), exist_ok=True)
    script = os.path.join(WORK, "script.scr")
    with open(script, "w") as f:
        f.write("_Tolvane\n" + FILE + "\nclick 200\nok\n")
    dxf = os.path.join(WORK, "out.dxf")
    env = dict(os.environ, TEMP=os.path.join(WORK, "temp"))
    done = subprocess.run([ARXHOST, "--load", MODULE, "--script", script, "--save", dxf],
                          capture_output=True, text=True, env=env, timeout=240)
    check(re.search(r"Successfully imported \d+ object\(s\)", done.stdout), f"transcript\n{done.stdout}")
    doc = ezdxf.readfile(dxf)
    msp = doc.modelspace()

    boxes = note_boxes(*read_iges(FILE))
    check(len(boxes) == 17, f"{len(boxes)} dimensions in the file")
    dims = msp.query("DIMENSION")
    check(len(dims) == 17, f"{len(dims)} dimensions drawn")
    unmatched = list(boxes)
    for dim in dims:
        # The text as the file writes it: radius texts lose their "R" prefix
        # only when they are exactly "R<>".
        text = dim.dxf.get("text", "")
        at = dim.dxf.text_midpoint
        best = min(unmatched, key=lambda b: math.hypot(b[1][0] - at.x, b[1][1] - at.y), default=None)
        if best is None:
            failures.append(f"dimension {text!r}: no note left to match")
            continue
        (x, y), h = best[1], best[2]
        off = math.hypot(x - at.x, y - at.y)
        check(best[0] == text, f"dimension {text!r} at ({at.x:.3f}, {at.y:.3f}) nearest the note {best[0]!r}")
        check(off <= h, f"dimension {text!r}: text {off:.3f} from the note's middle, more than its height {h}")
        check(dim.dxf.dimtype & 128, f"dimension {text!r}: text not at a place of its own")
        unmatched.remove(best)
        # The picture's text runs along x.
        mtexts = [e for e in doc.blocks[dim.dxf.geometry] if e.dxftype() == "MTEXT"]
        check(len(mtexts) == 1, f"dimension {text!r}: {len(mtexts)} texts in its block")
        for m in mtexts:
            d = m.dxf.text_direction
            check(abs(d.y) < 1e-9 and d.x > 0, f"dimension {text!r}: text runs along {d}")
            check(math.hypot(m.dxf.insert.x - at.x, m.dxf.insert.y - at.y) < 1e-9,
                  f"dimension {text!r}: the picture's text is not at the dimension's text position")
        override = dim.override()
        check(override.get("dimtih") == 1 and override.get("dimtoh") == 1,
              f"dimension {text!r}: DIMTIH {override.get('dimtih')}, DIMTOH {override.get('dimtoh')}")

    # The file's two leaders of form 4 have no arrowhead; the others have.
    leaders = msp.query("LEADER")
    without = [l for l in leaders if not l.dxf.has_arrowhead]
    check(len(without) == 2, f"{len(without)} of {len(leaders)} leaders without arrowhead")

    # Notes of blanks only are kept, and every entity can be laid out.
    blanks = [m for m in msp.query("MTEXT") if not m.plain_text().strip()]
    check(len(blanks) == 4 and all(m.dxf.width > 0 for m in blanks), f"{len(blanks)} blank notes")
    try:
        Frontend(RenderContext(doc), NullBackend()).draw_layout(msp, finalize=True)
    except Exception as e:  # the renderer's own error is the finding
        failures.append(f"the drawing does not render: {e!r}")

    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


sys.exit(main())
