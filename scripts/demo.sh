#!/usr/bin/env bash
# Installs what is missing, builds, and imports the demo fixtures through
# arxhost: a drawing and a solid on the 2D path, the solid as edge curves and
# as 3D faces.
# Prints each command-line transcript; the drawings are saved as DXF files in
# build/demo/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" normal > /dev/null
bin="$here/build/bin"
out="${DEMO_OUT:-$here/build/demo}"
mkdir -p "$out"
cd "$here"
for name in drawing solid solid-edges solid-faces; do
  echo "== $name"
  "$bin/arxhost" --registry "$out/registry.reg" --load "$bin/Tolvane.arx" \
    --script "$here/scripts/demo/$name.scr" --save "$out/demo-$name.dxf"
done
echo "== saved: $(cd "$out" && ls demo-*.dxf | tr '\n' ' ')"
