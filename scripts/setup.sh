#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Sourced by ./run and ./test; BUILD_DIR may be set by the caller.
set -euo pipefail

QUENZIL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$QUENZIL_ROOT/build}"

QUENZIL_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev
  libcurl4-openssl-dev libboost-regex-dev
  libgtest-dev libgmock-dev libcpp-httplib-dev
  fonts-noto-cjk wget xdg-utils
)

install_missing_packages() {
  local missing=()
  for package in "${QUENZIL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$QUENZIL_ROOT" -B "$BUILD_DIR" -G Ninja
  fi
  cmake --build "$BUILD_DIR"
}
