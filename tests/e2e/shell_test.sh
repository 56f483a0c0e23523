#!/usr/bin/env bash
# The module's life cycle through arxhost: its three commands registered
# under VRN_Tolvane with the pull-down in the menu bar; after unload the
# commands are gone and the pull-down stays.
set -euo pipefail
rm -rf "$WORK_DIR" && mkdir -p "$WORK_DIR" && cd "$WORK_DIR"

fail() { echo "FAIL: $*"; echo "--- transcript"; cat transcript.txt; exit 1; }
has() { grep -qxF -- "$1" transcript.txt || fail "missing line: $1"; }
count() { grep -cxF -- "$1" transcript.txt || true; }

cat > script.scr <<'SCR'
COMMANDS VRN_Tolvane
MENUBAR
ARX UNLOAD Tolvane
COMMANDS
MENUBAR
_TolvaneAbout
APPLOAD TOLVANE_ARX
TolvaneAbout
SCR
sed -i "s|TOLVANE_ARX|$TOLVANE_ARX|" script.scr
"$ARXHOST" --release C --load "$TOLVANE_ARX" --script script.scr > transcript.txt 2>&1 || fail "exit status $?"

has "Command: _menuload"
has "Enter name of menu file to load: $BIN_DIR/Tolvane.mnu"
has 'Menu group "Tolvane" loaded.'
has "Tolvane.arx successfully loaded."
has "  VRN_Tolvane  _Tolvane  (local Tolvane, flags 1)"
has "  VRN_Tolvane  _TolvaneHelp  (local TolvaneHelp, flags 1)"
has "  VRN_Tolvane  _TolvaneAbout  (local TolvaneAbout, flags 1)"
[ "$(grep -n '_Tolvane  (local' transcript.txt | cut -d: -f1)" -lt "$(grep -n '_TolvaneHelp  (local' transcript.txt | cut -d: -f1)" ] ||
  fail "commands out of table order"
has "Tolvane.arx successfully unloaded."
has "No commands are registered."
[ "$(count '  1  Tolvane.POP1  "Tolvane"')" = 2 ] || fail "the pull-down is not in the menu bar before and after unload"
has 'Unknown command "TOLVANEABOUT".'
# Loaded again: the menu is loaded again and the About box names the release.
[ "$(count 'Command: _menuload')" = 2 ] || fail "the second load did not load the menu"
has "--- Message box: Tolvane Reader for AutoCAD 2009 version 1.0 (information) ---"
has "Version 1, 0, 7, 0"

# A script that does not exist, and a module that cannot be loaded, are the
# host's own failures.
if "$ARXHOST" --script "$WORK_DIR/none.scr" > /dev/null 2>&1; then fail "a missing script gave status 0"; fi
if "$ARXHOST" --load "$WORK_DIR/none.arx" --script /dev/null > /dev/null 2>&1; then fail "a missing module gave status 0"; fi

# TEMP is made private: a shared folder gets a private one inside it, a
# private one is taken as it is; in either, each session works in a folder
# of its own that is gone when the session ends.
mkdir -p shared private && chmod 0777 shared && chmod 0700 private
echo "SETVAR TEMPPREFIX" > temp.scr
TEMP="$WORK_DIR/shared" "$ARXHOST" --script temp.scr > temp.txt 2>&1 || fail "TEMP run failed"
grep -qE "Enter new value for TEMPPREFIX <\"$WORK_DIR/shared/arxhost-$(id -u)/arxhost\.[A-Za-z0-9]{6}/\">" temp.txt ||
  { cat temp.txt; fail "shared TEMP"; }
[ "$(stat -c %a "$WORK_DIR/shared/arxhost-$(id -u)")" = 700 ] || fail "the private temporary folder is not 0700"
[ -z "$(ls -A "$WORK_DIR/shared/arxhost-$(id -u)")" ] || fail "the session's folder was left behind"
TEMP="$WORK_DIR/private" "$ARXHOST" --script temp.scr > temp.txt 2>&1 || fail "TEMP run failed"
grep -qE "<\"$WORK_DIR/private/arxhost\.[A-Za-z0-9]{6}/\">" temp.txt || { cat temp.txt; fail "private TEMP"; }
[ -z "$(ls -A "$WORK_DIR/private")" ] || fail "the session's folder was left behind"
echo "ok"
