#!/usr/bin/env bash
# Builds the Debian package tunara_<version>_<arch>.deb with CPack, in a
# build folder of its own (./build-package, or $PACKAGE_BUILD_DIR), and
# prints its path. Install it with: sudo apt-get install ./tunara_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${PACKAGE_BUILD_DIR:-build-package}

scripts/install-deps.sh
# dpkg-shlibdeps (from dpkg-dev) reads the Qt 6 packages the binaries need.
if ! dpkg-query -W -f='${Status}' dpkg-dev 2>/dev/null | grep -q "install ok installed"; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends dpkg-dev
fi

cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTUNARA_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)"
rm -f "$BUILD_DIR"/tunara_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
package=$(ls "$BUILD_DIR"/tunara_*.deb)
echo "Package: $package"
dpkg-deb --field "$package" Package Version Architecture Depends
