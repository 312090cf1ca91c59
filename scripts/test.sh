#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   scripts/test.sh             the regular build in build/
#   scripts/test.sh --sanitize  the same suite built with ASan and UBSan in build-sanitize/
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
args=()
if [ "${1:-}" = "--sanitize" ]; then
  export BRAMWICK_BUILD_DIR="${BRAMWICK_BUILD_DIR:-$root/build-sanitize}"
  args=(-DBW_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
fi
build="${BRAMWICK_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" "${args[@]}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export BRAMWICK_RESOURCES="${BRAMWICK_RESOURCES:-$build/resources}"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
