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
    libcurl4-openssl-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev libssl-dev
    libproj-dev proj-data gdal-data
    fonts-dejavu-core
    locales
    openssl python3
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

# The number formatting tests run under a decimal-comma locale; generate it once.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "setup: generating the de_DE.UTF-8 locale" >&2
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen
fi
