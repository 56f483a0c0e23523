#!/usr/bin/python3
"""The options dialog in arxhost at a terminal: drawn as text, answered by
typed lines, its choices stored in the registry file.

Usage: options_terminal_test.py ARXHOST MODULE"""
import os
import pty
import select
import shutil
import sys
import tempfile
import time

arxhost, module = sys.argv[1], sys.argv[2]
folder = tempfile.mkdtemp(prefix="tolvane-terminal-")
registry = os.path.join(folder, "registry.reg")
output = b""


def fail(message):
    print("FAIL:", message)
    print("---- terminal so far ----")
    print(output.decode("utf-8", "replace"))
    shutil.rmtree(folder, ignore_errors=True)
    sys.exit(1)


pid, fd = pty.fork()
if pid == 0:
    os.environ.pop("ARXHOST_REGISTRY", None)
    os.execv(arxhost, [arxhost, "--registry", registry, "--load", module])

pending = b""


def expect(text, timeout=20):
    """Reads until text appears; gives what came before it (lines end in \\n)."""
    global pending, output
    wanted = text.encode()
    deadline = time.time() + timeout
    while wanted not in pending:
        left = deadline - time.time()
        ready, _, _ = select.select([fd], [], [], max(left, 0))
        if not ready:
            fail("timed out waiting for %r" % text)
        try:
            data = os.read(fd, 4096)
        except OSError:
            data = b""
        if not data:
            fail("arxhost ended while waiting for %r" % text)
        pending += data
        output += data
    at = pending.index(wanted) + len(wanted)
    seen, pending = pending[:at], pending[at:]
    return seen.decode("utf-8", "replace").replace("\r\n", "\n")


def send(line):
    os.write(fd, (line + "\n").encode())


def check(screen, *lines):
    for line in lines:
        if line not in screen:
            fail("the screen lacks %r:\n%s" % (line, screen))


expect("Command: ")
send("ProbeOptions")
screen = expect("Dialog answer: ")
check(screen,
      "+-- Tolvane Reader for AutoCAD Options -------------------------\n"
      "| Type of IGES file   [200] (*) 2D Drawing   [201] ( ) 3D solid model\n"
      "| Import 3D model as   [202] (*) Edge curves  (disabled)\n"
      "| [203] ( ) Surface mesh  (disabled)\n"
      "| [204] list: 0=>Mesh<=  1 3D Faces  2 Lines  3 Points  (disabled)\n"
      "|   If you are not sure about the type of IGES file, select\n",
      "|   may be ignored.\n"
      "|---------------------------------------------------------------\n"
      "| [1] << OK >>  (default)   [2] < Cancel >\n"
      "+---------------------------------------------------------------\n"
      "Answer with: click ID, select ID INDEX, ok or cancel.\n")

send("click 203")
check(expect("Dialog answer: "), "The control 203 is disabled.\n")
send("click 201")
check(expect("Dialog answer: "), "[201] (*) 3D solid model\n", "[202] (*) Edge curves\n",
      "| [204] list: 0=>Mesh<=  1 3D Faces  2 Lines  3 Points  (disabled)\n")
send("click 203")
check(expect("Dialog answer: "), "| [203] (*) Surface mesh   [204] list: 0=>Mesh<=  1 3D Faces  2 Lines  3 Points\n")
send("select 204 1")
check(expect("Dialog answer: "), "1=>3D Faces<=")
send("press enter")
check(expect("Dialog answer: "), "\"press enter\" is not a dialog answer.")
send("ok")
check(expect("Command: "), "Options dialog: OK, file type 1, 3D type 1, mesh type 1\n")
send("QUIT")

deadline = time.time() + 20
while True:
    done, status = os.waitpid(pid, os.WNOHANG)
    if done:
        break
    if time.time() > deadline:
        os.kill(pid, 9)
        fail("arxhost did not end after QUIT")
    try:
        ready, _, _ = select.select([fd], [], [], 0.1)
        if ready:
            output += os.read(fd, 4096)
    except OSError:
        pass
if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
    fail("arxhost ended with status %r" % status)

with open(registry, "rb") as f:
    text = f.read().decode()
want = ("[HKEY_CURRENT_USER\\Software\\Varnel\\Tolvane Reader for AutoCAD]\r\n"
        "\"File Type\"=dword:00000001\r\n\"3D Type\"=dword:00000001\r\n\"Mesh Type\"=dword:00000001\r\n")
if not text.startswith("REGEDIT4\r\n") or want not in text:
    fail("the registry file holds:\n" + text)
shutil.rmtree(folder, ignore_errors=True)
print("ok")
