"""Files that have crashed, hung or exhausted an IGES reader, imported through
arxhost on the 2D path, as edge curves and as 3D faces: each run ends with
status 0 (no signal), a failure line or a warning box (or, where the file is
readable, its summary), nothing left in TEMP, in well under a minute and
2 GB."""
import os
import re
import shutil
import subprocess
import sys
import time

from e2e import ARXHOST, MODULE, WORK, CRASHERS

MODES = {
    "2d": ["click 200", "ok"],
    "edges": ["click 201", "click 202", "ok"],
    "faces": ["click 201", "click 203", "select 204 1", "ok"],
}
TIME_LIMIT = 50  # seconds per run
MEMORY_LIMIT_KB = 2 * 1024 * 1024
ENDINGS = re.compile(r"Failure \[.+\]|--- Message box: .*\(warning\) ---|Successfully imported|Created \d+ 3d faces")

if not os.path.isdir(CRASHERS):
    print("skipped: no crashers folder at", CRASHERS)
    sys.exit(0)

failures = []
files = sorted(n for n in os.listdir(CRASHERS) if n.lower().endswith((".igs", ".iges")))
for name in files:
    for mode, answers in MODES.items():
        label = f"{name} {mode}"
        folder = os.path.join(WORK, name + "-" + mode)
        temp = os.path.join(folder, "temp")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(temp, mode=0o700, exist_ok=True)
        os.chmod(temp, 0o700)  # private, so the host takes it as it is
        script = os.path.join(folder, "script.scr")
        with open(script, "w") as f:
            f.write("_Tolvane\n" + os.path.join(CRASHERS, name) + "\n" + "\n".join(answers) + "\n")
        env = dict(os.environ, TEMP=temp, TMP=temp, TMPDIR=temp,
                   ARXHOST_REGISTRY=os.path.join(folder, "registry.reg"))
        started = time.monotonic()
        with open(os.path.join(folder, "stdout.txt"), "w+") as out:
            host = subprocess.Popen([ARXHOST, "--load", MODULE, "--script", script, "--save",
                                     os.path.join(folder, "out.dxf")], stdout=out, stderr=subprocess.STDOUT, env=env)
            _, status, usage = os.wait4(host.pid, 0)
            elapsed = time.monotonic() - started
            out.seek(0)
            text = out.read()
        if os.WIFSIGNALED(status):
            failures.append(f"{label}: arxhost died of signal {os.WTERMSIG(status)}\n{text}")
            continue
        if os.WEXITSTATUS(status) != 0:
            failures.append(f"{label}: arxhost exit status {os.WEXITSTATUS(status)}\n{text}")
        if not ENDINGS.search(text):
            failures.append(f"{label}: neither a failure line nor a warning box nor a summary\n{text}")
        if elapsed > TIME_LIMIT:
            failures.append(f"{label}: took {elapsed:.0f} s")
        # The largest resident size of the host or of a child it waited for.
        if usage.ru_maxrss > MEMORY_LIMIT_KB:
            failures.append(f"{label}: used {usage.ru_maxrss // 1024} MB")
        left = os.listdir(temp)
        if left:
            failures.append(f"{label}: left in TEMP: {left}")
        print(f"{label}: {elapsed:.1f} s, {usage.ru_maxrss // 1024} MB, "
              f"{(ENDINGS.search(text) or [''])[0]}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"{len(files)} files, {len(MODES)} paths each: every run ended cleanly")
