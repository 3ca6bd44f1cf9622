#!/usr/bin/env bash
# The Debian packages each of the README's commands needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6network6 libgl-dev libgtest-dev googletest)
DEMO_PACKAGES=(xvfb xauth fonts-dejavu-core)
PACKAGE_PACKAGES=(dpkg-dev file)
# The Windows build: MinGW, and apt's source tools to bring Qt's source; Wine runs it.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix dpkg-dev wine wine64 fonts-dejavu-core)
# The Windows packages: CPack's zip and NSIS installer.
WINDOWS_PACKAGE_PACKAGES=(nsis zip unzip)
# The native tests and the package test (scripts/test-native.sh); the test command needs
# these and more: the formatter, the sanitizers' clang, Wine and MinGW.
NATIVE_TEST_PACKAGES=(xvfb xauth x11-utils dpkg-dev file lintian desktop-file-utils appstream iproute2)
TEST_PACKAGES=("${NATIVE_TEST_PACKAGES[@]}" wine wine64 g++-mingw-w64-x86-64-posix clang libclang-rt-14-dev
    clang-format)
BENCH_PACKAGES=(qstat xvfb xauth)
ICON_PACKAGES=(librsvg2-bin icoutils)
