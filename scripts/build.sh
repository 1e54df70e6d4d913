#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# TUNARA_CMAKE_ARGS: further cache settings (CI: -DTUNARA_WERROR=ON).
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} ${TUNARA_CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" -j"$(nproc)"
