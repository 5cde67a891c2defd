#!/usr/bin/env bash
# Installs the Debian packages svy3 builds and tests with, and nothing when they are all present.
set -euo pipefail

packages=(
  # toolchain
  g++ make cmake pkg-config clang-format
  # libraries
  libpugixml-dev libboost-filesystem-dev libboost-system-dev libboost-dev
  libgeographiclib-dev libfast-float-dev libcli11-dev nlohmann-json3-dev
  # the plot command's drawing library
  libcairo2-dev
  # the Python module: bindings, Debian's system Python and what its tests use
  pybind11-dev python3-dev python3-numpy python3-pytest
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # memory checks and fuzzing (clang's libFuzzer)
  valgrind clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and no root rights or sudo to install them" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get install -y -q "${missing[@]}" >/dev/null; then
  "${sudo[@]}" apt-get update -q >/dev/null
  "${sudo[@]}" apt-get install -y -q "${missing[@]}" >/dev/null
fi
