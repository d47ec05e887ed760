#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, when missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang clang-format pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
          libusb-1.0-0-dev libcairo2-dev libpugixml-dev libcli11-dev nlohmann-json3-dev
          libpolyclipping-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei hp2xx
          libxml2-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
