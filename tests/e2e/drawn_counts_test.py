"""Every public IGES file on the 2D path through arxhost: the curves, points
and annotations in the saved drawing are as many as the command reports
imported, file by file. Files whose objects draw as several entities each, or
as other entities, are listed below with the reason; the table of those
that differ is printed."""
import collections
import concurrent.futures
import os
import re
import subprocess
import sys

import ezdxf

from e2e import ARXHOST, MODULE, WORK, CORPUS

CURVES = {"LINE", "ARC", "CIRCLE", "ELLIPSE", "SPLINE", "POLYLINE", "LWPOLYLINE"}
POINTS = {"POINT"}
ANNOTATIONS = {"MTEXT", "TEXT", "DIMENSION", "LEADER"}
# Entities that count as one imported object but are not curves, points or
# annotations: solids, regions and meshes from surfaces and B-reps.
OTHER = {"3DSOLID", "BODY", "REGION", "POLYFACE", "3DFACE", "POLYMESH", "MESH", "INSERT"}


# Files whose count differs for a known reason: (reported, drawn, why).
EXCEPTIONS = {
    "igesio/sample_curves.igs": (10, 14, "its point set (copious data, form 2) is one object drawn as 5 points"),
}


def import_file(index, igs):
    folder = os.path.join(WORK, "f%03d" % index)
    temp = os.path.join(folder, "temp")
    os.makedirs(temp, exist_ok=True)
    script = os.path.join(folder, "script.scr")
    with open(script, "w") as f:
        f.write("_Tolvane\n" + igs + "\nclick 200\nok\n")
    dxf = os.path.join(folder, "out.dxf")
    env = dict(os.environ, TEMP=temp, ARXHOST_REGISTRY=os.path.join(folder, "registry.reg"))
    try:
        done = subprocess.run([ARXHOST, "--load", MODULE, "--script", script, "--save", dxf],
                              capture_output=True, text=True, env=env, timeout=200)
    except subprocess.TimeoutExpired:
        return igs, None, "timed out", None
    m = re.search(r"Successfully imported (\d+) object\(s\)", done.stdout)
    failure = re.search(r"Failure \[(.*)\]", done.stdout)
    if not m:
        return igs, None, failure.group(1) if failure else done.stdout[-300:], None
    doc = ezdxf.readfile(dxf)
    kinds = collections.Counter(e.dxftype() for e in doc.modelspace())
    return igs, int(m.group(1)), None, kinds


def main():
    if not os.path.isdir(CORPUS):
        print("no corpus at", CORPUS, "- skipped")
        return 0
    files = sorted(os.path.join(root, n) for root, _, names in os.walk(CORPUS) for n in names
                   if n.lower().endswith((".igs", ".iges")))
    failures = []
    rows = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        for igs, imported, failure, kinds in pool.map(lambda a: import_file(*a), enumerate(files)):
            name = os.path.relpath(igs, CORPUS)
            if imported is None:
                # A refused file must say why, and draw nothing.
                if not failure:
                    failures.append(f"{name}: no summary and no failure line")
                continue
            drawn = sum(n for k, n in kinds.items() if k in CURVES | POINTS | ANNOTATIONS)
            other = sum(n for k, n in kinds.items() if k in OTHER)
            unknown = {k: n for k, n in kinds.items() if k not in CURVES | POINTS | ANNOTATIONS | OTHER}
            if unknown:
                failures.append(f"{name}: entities of no known kind {unknown}")
            if imported == 0:
                failures.append(f"{name}: 'Successfully imported 0 object(s)'")
            if name in EXCEPTIONS:
                reported, expected, why = EXCEPTIONS[name]
                print(f"{name}: reported {imported}, drawn {drawn} ({why})")
                if (imported, drawn) != (reported, expected):
                    failures.append(f"{name}: reported {imported}, drawn {drawn}, not {reported} and {expected}")
            elif drawn != imported and not other:
                rows.append((name, imported, drawn, dict(kinds)))
            elif other and drawn > imported:
                failures.append(f"{name}: {drawn} curves, points and annotations for {imported} objects")
    print("files whose drawing differs from the count reported:")
    for name, imported, drawn, kinds in rows:
        print(f"  {name}: reported {imported}, drawn {drawn}: {kinds}")
        failures.append(f"{name}: reported {imported}, drawn {drawn}")
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


sys.exit(main())
