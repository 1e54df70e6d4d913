#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need.
# Runs apt-get only when something is missing; needs root for that.
set -euo pipefail
packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev
  libqt6opengl6-dev libgl-dev libglx-dev libopengl-dev
  libgtest-dev
  xvfb xauth poppler-utils fonts-dejavu-core
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  # Another package manager run may hold apt's locks: wait for it (up to
  # ten minutes) rather than fail.
  apt_get() {
    local log attempt
    log=$(mktemp)
    for attempt in $(seq 1 120); do
      if $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=5 "$@" 2> >(tee "$log" >&2); then
        rm -f "$log"
        return 0
      fi
      grep -qi "lock" "$log" || { rm -f "$log"; return 1; }
      echo "apt is busy with another run; waiting (attempt $attempt)..." >&2
      sleep 5
    done
    rm -f "$log"
    return 1
  }
  apt_get update
  apt_get install -y --no-install-recommends "${missing[@]}"
fi
