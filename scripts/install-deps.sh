#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need.
# Only packages that are missing are installed; the package lists are
# refreshed once before the first install (a fresh machine has none).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libpcre2-dev libcurl4-openssl-dev libssl-dev openssl
  libcpp-httplib-dev libsqlite3-dev nlohmann-json3-dev
  qt6-base-dev qt6-webengine-dev fonts-noto-cjk
  xvfb xauth imagemagick
  clang libclang-rt-14-dev valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
