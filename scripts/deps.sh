#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, when missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang clang-format pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
          libusb-1.0-0-dev libcairo2-dev libpugixml-dev libcli11-dev nlohmann-json3-dev
          libpolyclipping-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei hp2xx
          libxml2-utils locales)
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

# Numbers are read and written in the C locale whatever the user's; the tests prove it under a
# locale that writes a decimal comma, so one must be installed. It is listed in /etc/locale.gen,
# so that a later locale-gen (an upgrade of the locales package runs one) keeps it.
comma_locale="de_DE.UTF-8"
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the $comma_locale locale"
  if grep -q "^# *$comma_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    $sudo_cmd sed -i "s/^# *\($comma_locale UTF-8\)/\1/" /etc/locale.gen
  elif ! grep -q "^$comma_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$comma_locale UTF-8" | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  fi
  $sudo_cmd locale-gen
fi
