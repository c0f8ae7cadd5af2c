#!/usr/bin/env bash
# Installs the Debian packages Brindlewood needs to build, test and run, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libxcb1-dev libmagick++-dev appstream libgtest-dev libgmock-dev
          zlib1g-dev libssl-dev libsqlite3-dev nlohmann-json3-dev ripgrep clang libfuzzer-14-dev libclang-rt-14-dev
          fonts-dejavu-core xvfb xdotool imagemagick xdg-utils x11-utils shared-mime-info)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
