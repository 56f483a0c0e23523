#!/usr/bin/env bash
# Configures and builds one tree. Usage: scripts/build.sh [normal|asan]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-normal}
case "$kind" in
  normal) dir="$here/build"; extra=() ;;
  asan) dir="$here/build-asan"; extra=(-DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=OFF) ;;
  *) echo "build.sh: unknown build kind '$kind'" >&2; exit 2 ;;
esac
cmake -S "$here" -B "$dir" -G Ninja "${extra[@]}" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
ninja -C "$dir" -j "$(nproc)"
