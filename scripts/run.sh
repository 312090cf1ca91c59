#!/usr/bin/env bash
# Installs what is missing, builds and starts Bramwick on the default archive. Without a display
# it runs a headless demonstration of the main job instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
bin="${BRAMWICK_BUILD_DIR:-$root/build}/bin"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ "$(uname)" = Darwin ]; then
  exec "$bin/Bramwick" "$@"
fi
echo "run: no display available; running the headless demonstration instead."
exec "$root/scripts/demo.sh"
