#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
#
#   scripts/start.sh              start; on the simulated module when no USB
#                                 serial adapter is plugged in
#   scripts/start.sh ARGS...      start with these program options instead
#                                 (e.g. --simulate, --screenshot FILE, --help)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

scripts/install-deps.sh
scripts/build.sh

program="$BUILD_DIR/bin/tunara"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
No graphical display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the
program's window cannot open here. The build is done ($program).
Start it from a desktop session, or try it on a virtual display, e.g.:
  xvfb-run -a $program --simulate --screenshot /tmp/tunara.png
which saves pictures of the splash and the main window and then leaves.
MSG
  exit 1
fi

if [ $# -gt 0 ]; then
  exec "$program" "$@"
fi

# A module hangs on a USB serial adapter (or a real port someone has pointed
# a number at); without any adapter there is nothing to talk to, so start the
# simulated module instead.
shopt -s nullglob
adapters=(/dev/ttyUSB* /dev/ttyACM*)
if [ ${#adapters[@]} -eq 0 ]; then
  echo "No USB serial adapter found: starting with the simulated module (--simulate)."
  exec "$program" --simulate
fi
echo "Serial adapters found: ${adapters[*]}; starting on the stored port (Communications > Port Setup to change it)."
exec "$program"
