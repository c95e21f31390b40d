#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake g++ pkg-config
  libgtest-dev libgmock-dev
  libsqlite3-dev nlohmann-json3-dev libssl-dev zlib1g-dev
  qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core xdg-utils
  mdbtools xz-utils time
  desktop-file-utils dpkg-dev
  clang libclang-rt-dev ccache
)
# Node runs one of the peer readers in the tests; keep a Node that is already there.
command -v node >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
