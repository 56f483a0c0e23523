#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal
# build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
status=0
for kind in normal asan; do
  echo "== $kind build"
  "$here/scripts/build.sh" "$kind"
  dir="$here/build"; [ "$kind" = asan ] && dir="$here/build-asan"
  echo "== $kind tests"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 600 || status=1
done
exit $status
