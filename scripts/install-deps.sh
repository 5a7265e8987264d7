#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking and running kavo need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6svg6
    libsqlite3-dev sqlite3
    libpcre2-dev
    libcurl4-openssl-dev libssl-dev openssl
    zlib1g-dev libminizip-dev
    libpugixml-dev
    libxlsxwriter-dev
    libgtest-dev libgmock-dev googletest
    libbenchmark-dev
    libcpp-httplib-dev
    fonts-noto-cjk
    xvfb xauth
    qt6-qpa-plugins libqt6widgets6 libqt6network6
    python3 python3-xlrd python3-openpyxl
    clang libclang-rt-14-dev
)

run_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

export DEBIAN_FRONTEND=noninteractive
run_as_root apt-get update
run_as_root apt-get install -y --no-install-recommends "${packages[@]}"
