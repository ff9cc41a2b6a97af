#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is
# missing, so a second run costs nothing. Run as root on a fresh Debian 12.
set -euo pipefail

packages=(
    g++ clang cmake ninja-build pkg-config ccache
    libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev
    gpsd
    qt6-base-dev
    libsndfile1-dev
    libasound2-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev
    fonts-dejavu-core
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}" >&2
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update
    $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
