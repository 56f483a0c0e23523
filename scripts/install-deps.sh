#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent: returns at once
# when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libocct-foundation-dev libocct-modeling-data-dev
  libocct-modeling-algorithms-dev libocct-data-exchange-dev
  libocct-visualization-dev libocct-ocaf-dev libtbb-dev
  libflatbuffers-dev flatbuffers-compiler
  python3-ezdxf python3-matplotlib
  fp-utils clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
