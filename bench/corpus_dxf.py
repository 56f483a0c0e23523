"""Imports every public IGES file through arxhost on the 2D, edge and mesh
paths and keeps each saved drawing with its handles and timestamps taken out,
so that the drawings of two builds can be compared with diff -r.
  python3 bench/corpus_dxf.py ARXHOST MODULE OUT_DIR [CORPUS_DIR]
"""
import os
import re
import subprocess
import sys
import tempfile

ARXHOST, MODULE, OUT = sys.argv[1], sys.argv[2], sys.argv[3]
HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = sys.argv[4] if len(sys.argv) > 4 else os.path.join(HERE, "..", "..", "shared", "corpus")

PATHS = {
    "2d": ["click 200", "ok"],
    "edges": ["click 201", "click 202", "ok"],
    "mesh": ["click 201", "click 203", "select 204 0", "ok"],
}
# Group codes that hold handles (own, owner, pointers), and the header
# variables that hold the time of the save.
HANDLE_CODES = {5, 105, 1005} | set(range(320, 370)) | set(range(390, 400)) | set(range(480, 482))
TIME_VARS = {"$TDCREATE", "$TDUCREATE", "$TDUPDATE", "$TDUUPDATE", "$TDINDWG", "$TDUSRTIMER",
             "$HANDSEED", "$FINGERPRINTGUID", "$VERSIONGUID"}


CTIME = re.compile(r"[A-Z][a-z]{2} [A-Z][a-z]{2} [ \d]\d \d\d:\d\d:\d\d \d{4}")
# The host's private temporary folders have random names.
PRIVATE_FOLDER = re.compile(r"arxhost\.[A-Za-z0-9]{6}")


def sat_decoded(value):
    """The SAT text of an ACIS entity's line, as the DXF file encodes it."""
    return "".join(c if c == " " else chr(159 - ord(c)) for c in value)


def normalise(text):
    lines = text.splitlines()
    out, skip_var = [], False
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1]
        try:
            n = int(code)
        except ValueError:
            n = -1
        if n == 9:
            skip_var = value.strip() in TIME_VARS
            if skip_var:
                continue
        elif skip_var and n not in (0, 9):
            continue
        else:
            skip_var = False
        if n in HANDLE_CODES:
            value = "<handle>"
        elif n == 1 and CTIME.search(sat_decoded(value)):
            value = "<SAT header with the time of writing>"
        out.append(f"{code}\n{value}\n")
    return "".join(out)


def main():
    os.makedirs(OUT, exist_ok=True)
    files = []
    for root, _, names in os.walk(CORPUS):
        files += [os.path.join(root, n) for n in names if n.lower().endswith((".igs", ".iges"))]
    for igs in sorted(files):
        rel = os.path.relpath(igs, CORPUS).replace("/", "_")
        for path, answers in PATHS.items():
            with tempfile.TemporaryDirectory() as work:
                script = os.path.join(work, "script.scr")
                with open(script, "w") as f:
                    f.write("_Tolvane\n" + igs + "\n" + "\n".join(answers) + "\n")
                dxf = os.path.join(work, "out.dxf")
                env = dict(os.environ, TEMP=work, ARXHOST_REGISTRY=os.path.join(work, "registry.reg"),
                           ARXHOST_NO_OPENER="1")
                done = subprocess.run([ARXHOST, "--load", MODULE, "--script", script, "--save", dxf],
                                      capture_output=True, text=True, env=env, timeout=600)
                # The transcript names the build's folder and the work folder.
                transcript = done.stdout.replace(os.path.dirname(MODULE), "<bin>").replace(work, "<work>")
                transcript = PRIVATE_FOLDER.sub("arxhost.XXXXXX", transcript)
                result = f"exit {done.returncode}\n" + transcript
                if os.path.exists(dxf):
                    with open(dxf, encoding="utf-8", errors="replace") as f:
                        result += normalise(f.read())
                with open(os.path.join(OUT, f"{rel}.{path}.txt"), "w") as f:
                    f.write(result)
        print(rel, flush=True)


main()
