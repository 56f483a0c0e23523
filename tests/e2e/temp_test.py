"""Temporary files of the import command: sessions that share one TEMP keep
their files apart, nothing is left behind on any path, and a file that cannot
be written for lack of room (a file-size limit stands in for a full disk)
is reported as such instead of ending the host."""
import os
import resource
import shutil
import subprocess
import sys
import time

import ezdxf
from ezdxf.acis import api as acis

from e2e import ARXHOST, MODULE, WORK, FIXTURES, CORPUS, CRASHERS

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def prepare(name, imports, temp, answers=("click 200", "ok")):
    """A folder with a script that runs the import once per file."""
    folder = os.path.join(WORK, name)
    os.makedirs(folder, exist_ok=True)
    script = os.path.join(folder, "script.scr")
    with open(script, "w") as f:
        for igs in imports:
            f.write("_Tolvane\n" + igs + "\n" + "\n".join(answers) + "\n")
    env = dict(os.environ, TEMP=temp, ARXHOST_REGISTRY=os.path.join(folder, "registry.reg"))
    args = [ARXHOST, "--load", MODULE, "--script", script, "--save", os.path.join(folder, "out.dxf")]
    return folder, args, env


def solids(folder):
    """The face counts of the drawing's bodies, in order: what each holds.
    Bodies of block definitions count once, where the definition stands."""
    doc = ezdxf.readfile(os.path.join(folder, "out.dxf"))
    found = []
    for entity in (e for block in doc.blocks for e in block):
        if entity.dxftype() not in ("3DSOLID", "BODY", "REGION"):
            continue
        faces = 0
        for body in acis.load_dxf(entity):
            for lump in body.lumps():
                for shell in lump.shells():
                    faces += len(shell.faces())
        found.append(faces)
    return found


def fresh(name):
    path = os.path.join(WORK, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path, mode=0o700)
    return path


# Three sessions at once with one TEMP, each importing files with solids
# over and over: each drawing holds exactly its own solids, as the same
# session alone makes them. The file with many solids keeps the sessions in
# the B-rep handler at the same time.
def corpus(rel):
    path = os.path.join(CORPUS, rel)
    return path if os.path.exists(path) else None


solid = os.path.join(FIXTURES, "demo_solid.igs")
many = corpus("occt/bug33327.igs")
others = [p for p in (corpus("occt-import-js/Cube_10x10.igs"), corpus("occt/OCC8842_cylinder_Ideas.igs")) if p]
if many and len(others) == 2:
    inputs = [[many] * 3, [others[0], many] * 3, [others[1], many, solid] * 2]
else:
    print("the public corpus is not there: the sessions import the fixture only")
    inputs = [[solid] * 6] * 3
shared = fresh("shared-temp")
alone = []
for i, files in enumerate(inputs):
    folder, args, env = prepare(f"alone{i}", files, fresh(f"alone-temp{i}"))
    done = subprocess.run(args, capture_output=True, text=True, env=env, timeout=240)
    check(done.returncode == 0, f"alone{i}: exit status {done.returncode}: {done.stderr}")
    alone.append(solids(folder))
    check(len(alone[-1]) > 0, f"alone{i}: no solids in\n{done.stdout}")
runs = []
for i, files in enumerate(inputs):
    folder, args, env = prepare(f"together{i}", files, shared)
    runs.append((folder, subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=env)))
for i, (folder, process) in enumerate(runs):
    out, err = process.communicate(timeout=240)
    check(process.returncode == 0, f"together{i}: exit status {process.returncode}: {err}")
    check("were ignored" not in out, f"together{i}: solids were ignored\n{out}")
    got = solids(folder)
    check(got == alone[i], f"together{i}: solids {got}, alone {alone[i]}")
check(os.listdir(shared) == [], f"the shared TEMP keeps {os.listdir(shared)}")

# Under a file-size limit the writes fail as on a full disk: the import and
# the save say why, and the host ends by itself (no SIGXFSZ), with nothing
# left in TEMP.
def limited(limit):
    def apply():
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, resource.RLIM_INFINITY))
    return apply


temp = fresh("limit-temp")
folder, args, env = prepare("limit", [os.path.join(FIXTURES, "demo_solid.igs")], temp)
done = subprocess.run(args, capture_output=True, text=True, env=env, timeout=240, preexec_fn=limited(2048))
check(done.returncode == 1, f"limit: exit status {done.returncode} (a signal when negative): {done.stderr}")
check("Failure [" in done.stdout and "(File too large)" in done.stdout, f"limit: the import does not say why\n{done.stdout}")
check("Cannot save " + os.path.join(folder, "out.dxf") + ": File too large." in done.stdout,
      f"limit: the save is not reported\n{done.stdout}")
check(not os.path.exists(os.path.join(folder, "out.dxf")), "limit: a drawing was saved")
check(os.listdir(temp) == [], f"limit: TEMP keeps {os.listdir(temp)}")

# The mesh path whose STL file cannot be read back: the warning, and the
# file goes all the same.
temp = fresh("stl-temp")
folder, args, env = prepare("stl", [os.path.join(FIXTURES, "demo_solid.igs")] * 2, temp,
                            answers=("click 201", "click 203", "ok"))
env = dict(env, LD_PRELOAD=os.environ["FILE_FAULTS"],
           ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0")
done = subprocess.run(args, capture_output=True, text=True, env=env, timeout=240)
check(done.returncode == 0, f"stl: exit status {done.returncode}: {done.stderr}")
check(done.stdout.count("(warning) ---") == 2 and "VRNTemp.stl" in done.stdout,
      f"stl: two warnings about the STL file expected in\n{done.stdout}")
# The shim says so when the second import finds the first one's file.
check("STALE" not in done.stderr, f"stl: the STL file of the failed read-back stayed: {done.stderr}")
check(os.listdir(temp) == [], f"stl: TEMP keeps {os.listdir(temp)}")

# A file that is gone once it has been read (removed, or replaced, while the
# import runs): the 2D path converts what it read, and does not call the file
# damaged.
temp = fresh("vanish-temp")
solid_copy = os.path.join(WORK, "vanishing.igs")
shutil.copy(os.path.join(FIXTURES, "demo_solid.igs"), solid_copy)
folder, args, env = prepare("vanish", [solid_copy], temp)
env = dict(env, LD_PRELOAD=os.environ["FILE_FAULTS"], VANISHING_FILE=solid_copy,
           ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0")
done = subprocess.run(args, capture_output=True, text=True, env=env, timeout=240)
check(done.returncode == 0, f"vanish: exit status {done.returncode}: {done.stderr}")
check("Successfully imported 1 object(s)" in done.stdout and "damaged" not in done.stdout,
      f"vanish: the file read once is not imported\n{done.stdout}")

# A conversion that crashes on a file leaves no copy of it, neither in TEMP
# nor in TMPDIR (as the file is given, and re-cut with CR LF, which the check
# normalizes before the parser reads it).
if os.path.isdir(CRASHERS):
    temp = fresh("crash-temp")
    tmpdir = fresh("crash-tmpdir")
    files = []
    for name in ["font310_nochars.igs", "bug33327.badtype.igs"]:
        with open(os.path.join(CRASHERS, name), "rb") as f:
            lines = f.read().splitlines()
        crlf = os.path.join(WORK, name.replace(".igs", ".crlf.igs"))
        with open(crlf, "wb") as f:
            f.write(b"".join(line + b"\r\n" for line in lines))
        files += [os.path.join(CRASHERS, name), crlf]
    folder, args, env = prepare("crash", files, temp)
    env = dict(env, TMPDIR=tmpdir)
    done = subprocess.run(args, capture_output=True, text=True, env=env, timeout=240)
    check(done.returncode == 0, f"crash: exit status {done.returncode}: {done.stderr}")
    check(done.stdout.count("Failure [") == len(files), f"crash: a failure line per file expected in\n{done.stdout}")
    check(os.listdir(temp) == [] and os.listdir(tmpdir) == [],
          f"crash: left behind: TEMP {os.listdir(temp)}, TMPDIR {os.listdir(tmpdir)}")
else:
    print("skipped the crashing conversions: ../shared/crashers is not there")

# A session that is killed cannot remove its folder: the next session in
# the same TEMP does, and leaves the folders of living sessions alone.
temp = fresh("killed-temp")
env = dict(os.environ, TEMP=temp, ARXHOST_REGISTRY=os.path.join(WORK, "killed-registry.reg"))
living = subprocess.Popen([ARXHOST], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, env=env)
killed = subprocess.Popen([ARXHOST], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, env=env)
for _ in range(200):
    if len([n for n in os.listdir(temp) if os.path.exists(os.path.join(temp, n, ".session"))]) == 2:
        break
    time.sleep(0.05)
killed.kill()
killed.wait()
check(len(os.listdir(temp)) == 2, f"killed: two session folders expected, TEMP holds {os.listdir(temp)}")
done = subprocess.run([ARXHOST], stdin=subprocess.DEVNULL, capture_output=True, text=True, env=env, timeout=60)
check(done.returncode == 0, f"killed: the next session failed: {done.stderr}")
check(len(os.listdir(temp)) == 1, f"killed: only the living session's folder should stay, TEMP holds {os.listdir(temp)}")
living.communicate(timeout=60)
check(os.listdir(temp) == [], f"killed: TEMP keeps {os.listdir(temp)} after the last session")

if failures:
    print("\n".join("FAIL: " + f for f in failures))
    sys.exit(1)
print("temporary files passed")
