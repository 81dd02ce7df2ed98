# Sourced by the scripts that build Windows pieces from Debian's source packages.
# shellcheck shell=bash

# The source version of the installed binary package, the key of what is built from it.
quotino_source_version() {
  dpkg-query -W -f='${source:Version}' "$1"
}

# Unpacks a Debian source package (exact version) into an empty folder, through a source list
# of its own beside the system's package lists: the system's apt configuration stays untouched.
#   quotino_debian_source <source package> <version> <folder>
quotino_debian_source() (
  set -euo pipefail
  local package=$1 version=$2 folder=$3
  local apt_dir
  apt_dir=$(mktemp -d)
  trap 'rm -rf "$apt_dir"' EXIT
  mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  # The source lines mirror the system's binary ones, in either format.
  local list
  for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] && sed -n 's/^deb \(.*\)$/deb-src \1/p' "$list"
  done >"$apt_dir/sources.list"
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] && sed 's/^Types:.*$/Types: deb-src/' "$list" >"$apt_dir/parts/$(basename "$list")"
  done
  local options=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/parts"
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" -o APT::Sandbox::User=root)
  apt-get "${options[@]}" update -qq
  mkdir -p "$folder"
  cd "$folder"
  apt-get "${options[@]}" source -qq "$package=$version" >/dev/null
)
