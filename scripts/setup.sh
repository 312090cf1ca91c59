#!/usr/bin/env bash
# Installs what the build needs when it is missing: Debian packages, the QuickJS-ng sources
# (Debian's qjs-src package, fetched through a private apt configuration derived from this
# system's own apt sources), and the blank official forms.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${BRAMWICK_CACHE:-$root/.cache}"
mkdir -p "$cache"

packages=(cmake ninja-build g++ pkg-config qpdf libqpdf-dev libpugixml-dev nlohmann-json3-dev
  zlib1g-dev libssl-dev qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev
  libbenchmark-dev xvfb xauth fonts-noto-cjk adwaita-icon-theme ca-certificates curl)
[ "${BRAMWICK_FUZZ:-}" = 1 ] && packages+=(clang-14 libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# QuickJS-ng sources from Debian unstable's qjs-src, without touching the system's apt set-up.
qjs="$cache/quickjs-ng"
if [ ! -f "$qjs/usr/src/quickjs-ng/quickjs.c" ]; then
  apt_dir="$cache/apt-unstable"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources" "$apt_dir/prefs"
  # Take the Debian archive address from the system's own sources (deb822 or one-line format).
  uri=""
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    uri=$(awk '/^URIs:/{for(i=2;i<=NF;i++) if ($i ~ /debian\/?$/) {print $i; exit}}' "$f")
    [ -n "$uri" ] && break
  done
  if [ -z "$uri" ]; then
    uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
      | awk '$1=="deb"{for(i=2;i<=NF;i++) if ($i ~ /^(https?|file):/ && $i ~ /debian\/?$/) {print $i; exit}}' | head -1)
  fi
  [ -n "$uri" ] || { echo "setup: no Debian archive found in the system's apt sources" >&2; exit 1; }
  printf 'Types: deb\nURIs: %s\nSuites: unstable\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uri" > "$apt_dir/sources/unstable.sources"
  opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
    -o Dir::Etc::Preferences=/dev/null -o "Dir::Etc::PreferencesParts=$apt_dir/prefs"
    -o Acquire::Languages=none -o APT::Sandbox::User=root)
  echo "setup: fetching qjs-src (QuickJS-ng sources)"
  apt-get "${opts[@]}" update -q >/dev/null
  (cd "$apt_dir" && rm -f qjs-src_*.deb && apt-get "${opts[@]}" download qjs-src)
  rm -rf "$qjs" && mkdir -p "$qjs"
  dpkg-deb -x "$apt_dir"/qjs-src_*.deb "$qjs"
  [ -f "$qjs/usr/src/quickjs-ng/quickjs.c" ] || { echo "setup: qjs-src did not unpack as expected" >&2; exit 1; }
fi

# The blank official forms: BRAMWICK_FORMS_DIR, else ../shared/forms, else the authority's site.
forms_src="${BRAMWICK_FORMS_DIR:-}"
[ -z "$forms_src" ] && [ -d "$root/../shared/forms" ] && forms_src="$root/../shared/forms"
forms="$cache/forms"
mkdir -p "$forms"
for f in imm5257e.pdf imm1295e.pdf; do
  if [ -n "$forms_src" ] && [ -f "$forms_src/$f" ]; then
    cmp -s "$forms_src/$f" "$forms/$f" 2>/dev/null || cp "$forms_src/$f" "$forms/$f"
  elif [ ! -s "$forms/$f" ]; then
    url="https://www.canada.ca/content/dam/ircc/migration/ircc/english/pdf/kits/forms/$f"
    echo "setup: downloading $f from the authority's site"
    if ! curl -fsSL --max-time 120 -o "$forms/$f.part" "$url"; then
      rm -f "$forms/$f.part"
      echo "setup: cannot get the blank form $f: set BRAMWICK_FORMS_DIR to a folder holding it" >&2
      exit 1
    fi
    mv "$forms/$f.part" "$forms/$f"
  fi
done
echo "setup: ready"
