#!/usr/bin/env bash
# Headless demonstration: a sample archive in a temporary folder, its cases as the store loads
# them, and what the engine reads from the blank forms.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${BRAMWICK_BUILD_DIR:-$root/build}/bin"
forms="$root/.cache/forms"
tmp="$(mktemp -d)"; trap 'rm -rf "$tmp"' EXIT
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data"
mkdir -p "$HOME"
if [ -x "$bin/bramwick-cli" ]; then
  echo "== The sample archive (first start) =="
  "$bin/bramwick-cli" cases || true
fi
echo "== IMM 1295 work locations (provinces) =="
"$bin/bwengine" work-location-lov "$forms/imm1295e.pdf" | head -c 600 || true; echo
echo "== IMM 5257 schema: number of questions =="
"$bin/bwengine" schema "$forms/imm5257e.pdf" | grep -o '"path"' | wc -l || true
