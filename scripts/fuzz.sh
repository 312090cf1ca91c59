#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, ASan + UBSan) and runs each for a bounded time.
#   scripts/fuzz.sh [SECONDS_EACH] [HARNESS...]
# Seeds: the real blank forms and the test fixtures. Findings land in fuzz-out/NAME/; keep each
# one as a regression fixture under engine/tests/fixtures/fuzz/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BRAMWICK_FUZZ=1 "$root/scripts/setup.sh"
seconds="${1:-60}"; shift || true
build="$root/build-fuzz"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DBW_FUZZ=ON -DBW_BUILD_APP=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=(dump_fuzz schema_fuzz fill_pdf_fuzz fill_json_fuzz validate_fuzz pdf_lines_fuzz work_location_lov_fuzz)
cmake --build "$build" -j"$(nproc)" --target "${harnesses[@]}"
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for h in "${harnesses[@]}"; do
  corpus="$root/fuzz-out/$h/corpus"; found="$root/fuzz-out/$h/found"
  mkdir -p "$corpus" "$found"
  seeds=("$root/.cache/forms")
  [ -d "$root/engine/tests/fixtures" ] && seeds+=("$root/engine/tests/fixtures")
  case "$h" in
    fill_json_fuzz) seeds=("$root/engine/tests/fixtures/fill_json") ;;
  esac
  existing=()
  for s in "${seeds[@]}"; do [ -d "$s" ] && existing+=("$s"); done
  echo "== $h: ${seconds}s"
  "$build/bin/$h" "$corpus" "${existing[@]}" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 \
    -max_len=1200000 -artifact_prefix="$found/" -print_final_stats=1 2>&1 | tail -25 || true
done
