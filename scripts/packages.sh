#!/usr/bin/env bash
# The Debian packages each of the README's commands needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-httpserver-dev qt6-websockets-dev
    libqt6network6 libgl-dev libgtest-dev googletest)
DEMO_PACKAGES=(xvfb xauth fonts-dejavu-core)
PACKAGE_PACKAGES=(dpkg-dev file)
TEST_PACKAGES=(wine wine64 g++-mingw-w64-x86-64-posix clang libclang-rt-14-dev clang-format
    xvfb xauth x11-utils dpkg-dev file lintian desktop-file-utils appstream iproute2)
BENCH_PACKAGES=(qstat xvfb xauth)
ICON_PACKAGES=(librsvg2-bin)
