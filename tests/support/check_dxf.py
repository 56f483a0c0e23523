#!/usr/bin/python3
"""Checks a DXF file written by the host.

Usage: check_dxf.py FILE.dxf [EXPECTED.json] [--png OUT.png]

The file must load without a warning from ezdxf and pass its audit with
neither errors nor fixes. EXPECTED (written by the test from the drawing
database) lists what ezdxf must read back:

  {"layers": [{"name": ..., "color": 1, "true_color": null, "on": true,
               "frozen": false, "locked": false}],
   "dimstyles": [{"name": ..., "dxf": {"dimasz": 2.5}}],
   "blocks": {"NAME": {"base": [x, y, z], "entities": [ENTITY, ...]}},
   "entities": [ENTITY, ...]}        # model space, in order

  ENTITY = {"type": "LINE", "dxf": {"start": [..], "layer": "0", ...},
            "wcs": {"center": [..]},  # OCS attributes, in world coordinates
            "vertices": [[..], ...],  # POLYLINE / LWPOLYLINE / MESH points
            "faces": [[i, j, k], ...],  # polyface / MESH faces (0-based)
            "hatch_loops": [[[x, y], ...]],  # HATCH polyline boundaries
            "control_points": [[..]], "fit_points": [[..]], "knots": [..],
            "weights": [..],
            "text": "...",            # plain text of TEXT / MTEXT
            "acis": {"bodies": n, "sat": "..."},  # SAT data, parsed by ezdxf.acis
            "graphics": ["LINE", ...],  # kinds in a DIMENSION's block
            "measurement": 10.0, "shown": "10.00",  # its value and text
            "shown_at": [x, y, z], "shown_along": [x, y, z],  # where its block's text sits and runs
            "override": {"dimasz": 5}}  # its DSTYLE overrides
"""
import json
import logging
import math
import sys

import ezdxf
from ezdxf import recover  # noqa: F401  (keeps the import cost out of timing)

TOL = 1e-9


class Failures(list):
    def add(self, where, text):
        self.append(f"{where}: {text}")


def close(a, b):
    if isinstance(a, (int, float)) and isinstance(b, (int, float)):
        return math.isclose(float(a), float(b), rel_tol=1e-12, abs_tol=TOL)
    if isinstance(a, str) or isinstance(b, str):
        return a == b
    try:
        a = list(a)
        b = list(b)
    except TypeError:
        return a == b
    # ezdxf gives 2D points for some attributes and 3D for others.
    if len(a) == 2 and len(b) == 3 and abs(b[2]) <= TOL:
        b = b[:2]
    if len(b) == 2 and len(a) == 3 and abs(a[2]) <= TOL:
        a = a[:2]
    return len(a) == len(b) and all(close(x, y) for x, y in zip(a, b))


def file_handles(path):
    """The handles (groups 5 and 105) the file itself gives, past the header."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    in_header = False
    for code, value in zip(lines[0::2], lines[1::2]):
        code, value = code.strip(), value.strip()
        if code == "2" and value == "HEADER":
            in_header = True
        elif code == "0" and value == "ENDSEC":
            in_header = False
        elif code in ("5", "105") and not in_header:
            yield int(value, 16)


def load(path, failures):
    """Reads the file, turning every message of ezdxf's logger into a failure."""
    messages = []

    class Collect(logging.Handler):
        def emit(self, record):
            messages.append(record.getMessage())

    handler = Collect(level=logging.INFO)
    log = logging.getLogger("ezdxf")
    log.addHandler(handler)
    log.setLevel(logging.INFO)
    try:
        doc = ezdxf.readfile(path)
    finally:
        log.removeHandler(handler)
    for m in messages:
        failures.add("load", m)
    if doc.dxfversion != "AC1024":
        failures.add("load", f"version {doc.dxfversion}, not AC1024")
    seed = int(doc.header.get("$HANDSEED", "0"), 16)
    highest = max(file_handles(path), default=0)  # ezdxf adds objects of its own
    if seed <= highest:
        failures.add("load", f"$HANDSEED {seed:X} is not above the highest handle {highest:X}")
    # Extents: a box, or the marker of unknown extents (solids alone).
    low, high = doc.header.get("$EXTMIN"), doc.header.get("$EXTMAX")
    unknown = low is not None and high is not None and low[0] == 1e20 and high[0] == -1e20
    if low is None or high is None or (not unknown and any(a > b for a, b in zip(low, high))):
        failures.add("load", f"extents {low} {high} are not a box")
    auditor = doc.audit()
    for e in auditor.errors:
        failures.add("audit error", e.message)
    for e in auditor.fixes:
        failures.add("audit fix", e.message)
    return doc


def plain_text(e):
    return e.plain_text()  # formatting and caret codes resolved


def points_of(e):
    kind = e.dxftype()
    if kind == "LWPOLYLINE":
        return [list(p) for p in e.get_points("xyb")]
    if kind == "POLYLINE":
        if e.is_poly_face_mesh:
            return [list(v.dxf.location) for v in e.vertices if v.is_poly_face_mesh_vertex]
        return [list(v.dxf.location) for v in e.vertices]
    if kind == "MESH":
        return [list(v) for v in e.vertices]
    if kind == "LEADER":
        return [list(v) for v in e.vertices]
    if kind == "MLINE":
        return [list(v.location) for v in e.vertices]
    return None


def faces_of(e):
    kind = e.dxftype()
    if kind == "POLYLINE" and e.is_poly_face_mesh:
        faces = []
        for v in e.vertices:
            if v.is_face_record:
                idx = [v.dxf.get(f"vtx{i}", 0) for i in range(4)]
                faces.append([abs(i) - 1 for i in idx if i != 0])
        return faces
    if kind == "MESH":
        return [list(f) for f in e.faces]
    return None


def check_entity(doc, e, want, where, failures):
    if e.dxftype() != want["type"]:
        failures.add(where, f"type {e.dxftype()}, expected {want['type']}")
        return
    for name, value in want.get("dxf", {}).items():
        got = getattr(e.dxf, name, None)  # an attribute left out reads as its default
        if got is None or not close(got, value):
            failures.add(where, f"{name} = {got!r}, expected {value!r}")
    for name, value in want.get("wcs", {}).items():
        got = e.ocs().to_wcs(e.dxf.get(name))
        if not close(got, value):
            failures.add(where, f"{name} in world coordinates = {got!r}, expected {value!r}")
    if "vertices" in want:
        got = points_of(e)
        if got is None or not close(got, want["vertices"]):
            failures.add(where, f"vertices {got}, expected {want['vertices']}")
    if "faces" in want:
        got = faces_of(e)
        if got != want["faces"]:
            failures.add(where, f"faces {got}, expected {want['faces']}")
    if "hatch_loops" in want:
        got = [[list(v)[:2] for v in path.vertices] for path in e.paths]
        if not close(got, want["hatch_loops"]):
            failures.add(where, f"hatch loops {got}, expected {want['hatch_loops']}")
    for name in ("control_points", "fit_points", "knots", "weights"):
        if name in want:
            got = list(getattr(e, name))
            got = [list(p) if not isinstance(p, (int, float)) else p for p in got]
            if not close(got, want[name]):
                failures.add(where, f"{name} {got}, expected {want[name]}")
    if "text" in want and plain_text(e) != want["text"]:
        failures.add(where, f"text {plain_text(e)!r}, expected {want['text']!r}")
    if "acis" in want:
        check_acis(e, want["acis"], where, failures)
    if "measurement" in want and not close(e.get_measurement(), want["measurement"]):
        failures.add(where, f"measurement {e.get_measurement()}, expected {want['measurement']}")
    if "override" in want:
        got = e.override()
        for name, value in want["override"].items():
            if not close(got.get(name), value):
                failures.add(where, f"override {name} = {got.get(name)!r}, expected {value!r}")
    if "shown" in want:
        block = e.get_geometry_block()
        texts = [t.plain_text() for t in block if t.dxftype() == "MTEXT"] if block else []
        if want["shown"] not in texts:
            failures.add(where, f"graphics block shows {texts}, expected {want['shown']!r}")
    for name, attribute in (("shown_at", "insert"), ("shown_along", "text_direction")):
        if name in want:
            block = e.get_geometry_block()
            got = [list(t.dxf.get(attribute)) for t in block if t.dxftype() == "MTEXT"] if block else []
            if len(got) != 1 or not close(got[0], want[name]):
                failures.add(where, f"graphics block text {attribute} {got}, expected {want[name]}")
    if "graphics" in want:
        block = e.get_geometry_block()
        if block is None:
            failures.add(where, "no graphics block")
        else:
            kinds = sorted({g.dxftype() for g in block})
            for kind in want["graphics"]:
                if kind not in kinds:
                    failures.add(where, f"graphics block {block.name} holds {kinds}, no {kind}")


def check_acis(e, want, where, failures):
    from ezdxf.acis import api as acis

    if not e.sat:
        failures.add(where, "no ACIS data")
        return
    try:
        bodies = acis.load_dxf(e)
    except Exception as error:  # any parse failure is a finding
        failures.add(where, f"ezdxf.acis cannot read the SAT data: {error}")
        return
    if "sat" in want:
        expected = [line.rstrip() for line in want["sat"].splitlines() if line.strip()]
        if [line.rstrip() for line in e.sat] != expected:
            failures.add(where, f"SAT text read back differs: {e.sat[:3]}... expected {expected[:3]}...")
    if "bodies" in want and len(bodies) != want["bodies"]:
        failures.add(where, f"{len(bodies)} ACIS bodies, expected {want['bodies']}")


def check_entities(doc, got, want, where, failures):
    got = list(got)
    if [g.dxftype() for g in got] != [w["type"] for w in want]:
        failures.add(where, f"entities {[g.dxftype() for g in got]}, expected {[w['type'] for w in want]}")
        return
    for i, (g, w) in enumerate(zip(got, want)):
        check_entity(doc, g, w, f"{where}[{i}] {w['type']}", failures)


def check(doc, want, failures):
    for layer in want.get("layers", []):
        name = layer["name"]
        if not doc.layers.has_entry(name):
            failures.add("layers", f"no layer {name!r}")
            continue
        rec = doc.layers.get(name)
        checks = {
            "color": rec.color,
            "true_color": rec.dxf.get("true_color"),
            "on": rec.is_on(),
            "frozen": rec.is_frozen(),
            "locked": rec.is_locked(),
        }
        for key, got in checks.items():
            if key in layer and got != layer[key]:
                failures.add(f"layer {name}", f"{key} = {got!r}, expected {layer[key]!r}")
    for style in want.get("dimstyles", []):
        name = style["name"]
        if name not in doc.dimstyles:
            failures.add("dimstyles", f"no dimension style {name!r}")
            continue
        rec = doc.dimstyles.get(name)
        for attr, value in style.get("dxf", {}).items():
            got = getattr(rec.dxf, attr, None)
            if got is None or not close(got, value):
                failures.add(f"dimstyle {name}", f"{attr} = {got!r}, expected {value!r}")
    for name, block in want.get("blocks", {}).items():
        if name not in doc.blocks:
            failures.add("blocks", f"no block {name!r}")
            continue
        layout = doc.blocks.get(name)
        if "base" in block and not close(layout.block.dxf.base_point, block["base"]):
            failures.add(f"block {name}", f"base {layout.block.dxf.base_point}, expected {block['base']}")
        check_entities(doc, layout, block.get("entities", []), f"block {name}", failures)
    if "entities" in want:
        check_entities(doc, doc.modelspace(), want["entities"], "model space", failures)


def render(doc, png):
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    from ezdxf.addons.drawing import Frontend, RenderContext
    from ezdxf.addons.drawing.matplotlib import MatplotlibBackend

    fig = plt.figure(figsize=(10, 8))
    ax = fig.add_axes([0, 0, 1, 1])
    Frontend(RenderContext(doc), MatplotlibBackend(ax)).draw_layout(doc.modelspace(), finalize=True)
    fig.savefig(png, dpi=100)


def main(argv):
    args = list(argv[1:])
    png = None
    if "--png" in args:
        i = args.index("--png")
        png = args[i + 1]
        del args[i : i + 2]
    if not args:
        print(__doc__)
        return 2
    failures = Failures()
    try:
        doc = load(args[0], failures)
    except (IOError, ezdxf.DXFStructureError) as error:
        print(f"FAIL load: {error}")
        return 1
    if len(args) > 1:
        with open(args[1], encoding="utf-8") as f:
            check(doc, json.load(f), failures)
    if png:
        render(doc, png)
    for f in failures:
        print(f"FAIL {f}")
    if not failures:
        print("OK")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
