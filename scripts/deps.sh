# Sourced by scripts/run and scripts/test: installs the Debian packages that are missing.
# shellcheck shell=bash

QUOTINO_PACKAGES=(
  cmake ninja-build ccache g++ pkg-config
  qt6-base-dev libgl-dev libxcb1-dev xvfb xclip
  qt6-translations-l10n
  libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  libsimpleini-dev libinih-dev
)

quotino_missing_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  echo "${missing[@]}"
}

# Installs the given packages (default: the build's) when any is missing.
quotino_install_packages() {
  local wanted=("$@")
  [ ${#wanted[@]} -gt 0 ] || wanted=("${QUOTINO_PACKAGES[@]}")
  local missing
  missing=$(quotino_missing_packages "${wanted[@]}")
  [ -n "$missing" ] || return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo=(sudo)
    else
      echo "Missing packages. Install them as root, then run this again:" >&2
      echo "  apt-get update && apt-get install -y $missing" >&2
      exit 1
    fi
  fi
  echo "Installing: $missing"
  "${sudo[@]}" apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

# The compiler cache lives outside the clone, where the Windows build keeps libcurl, so that a
# fresh clone on the same machine compiles only what changed. Checkouts in other folders share
# it: paths below the project count relative to it.
if [ -z "${CCACHE_DIR:-}" ]; then
  cache_root=${QUOTINO_CACHE:-/var/cache/quotino}
  if mkdir -p "$cache_root/ccache" 2>/dev/null && [ -w "$cache_root/ccache" ]; then
    export CCACHE_DIR=$cache_root/ccache
  fi
fi
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-5G}
