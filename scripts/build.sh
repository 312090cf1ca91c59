#!/usr/bin/env bash
# Configures and builds into build/ (or $BRAMWICK_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BRAMWICK_BUILD_DIR:-$root/build}"
gen=(); command -v ninja >/dev/null && [ ! -f "$build/Makefile" ] && gen=(-G Ninja)
cmake -S "$root" -B "$build" "${gen[@]}" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
