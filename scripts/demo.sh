#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo script through arxhost,
# printing the command-line transcript.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" normal > /dev/null
bin="$here/build/bin"
out="${DEMO_OUT:-$here/build/demo}"
mkdir -p "$out"
if [ -f "$bin/Tolvane.arx" ]; then
  "$bin/arxhost" --registry "$out/registry.reg" --load "$bin/Tolvane.arx" --script "$here/scripts/demo.scr"
else
  echo "demo: the module is not built yet" >&2
  exit 1
fi
