#!/usr/bin/env bash
# Remakes the pictures of the README (docs/) and of the help pages
# (resources/Tunara_Kelm_Help/images/) with the program itself, on a virtual
# display (xvfb-run) and on the simulated module. Run after a build
# (scripts/build.sh) whenever the window changes; look at the pictures
# before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${BUILD_DIR:-build}/bin
DOCS=docs
HELP=resources/Tunara_Kelm_Help/images
for tool in tunara tunara-cli tunara-sim; do
    [[ -x $BIN/$tool ]] || { echo "$BIN/$tool is missing: build first (scripts/build.sh)" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing: run scripts/install-deps.sh" >&2; exit 1; }

work=$(mktemp -d)
sim=
trap '[[ -n $sim ]] && kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT
# The runs keep their settings and restore points away from the user's.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data HOME=$work
mkdir -p "$DOCS" "$HELP"

# Sample data: the simulated module's memory as the tour downloads it, with
# a 2D curve or a 2-bar 3D map put in through the CSV import.
"$BIN/tunara-sim" --link "$work/port" >/dev/null &
sim=$!
for _ in $(seq 50); do [[ -e $work/port ]] && break; sleep 0.1; done
"$BIN/tunara-cli" download --port "$work/port" -o "$work/module.dat" >/dev/null

# setbyte FILE ADDRESS VALUE: a data file holds addresses 16..279.
setbyte() { printf "\\x$(printf %02x "$3")" | dd of="$1" bs=1 seek=$(($2 - 16)) conv=notrunc status=none; }

# table FILE OPTIONFLAGS BUMP: FILE with that table selected and filled with
# a smooth advance (plus BUMP degrees at light load in the mid range).
table() {
    cp "$work/module.dat" "$work/$1"
    setbyte "$work/$1" 50 "$2"   # OptionFlags: 0x40 selects the 2D table, 0x80 the 3D map
    setbyte "$work/$1" 55 1      # MAPSensor: 2 bar
    "$BIN/tunara-cli" export-csv "$work/$1" -o "$work/layout.csv" 2>/dev/null
    awk -F, -v OFS=, -v bump="$3" '
        { sub(/\r$/, "") }
        NR == 1 { for (c = 2; c <= NF; c++) rpm[c] = $c + 0; print; next }
        {
            load = ($1 == "ADV") ? 30 : $1
            for (c = 2; c <= NF; c++) {
                a = 11 + 16 * (rpm[c] < 4200 ? rpm[c] : 4200) / 4200 - 0.14 * (load - 18)
                if (rpm[c] >= 2500 && rpm[c] <= 3500 && load <= 34) a += bump
                $c = sprintf("%.2f", a < 8.5 ? 8.5 : (a > 29.5 ? 29.5 : a))
            }
            print
        }' "$work/layout.csv" >"$work/table.csv"
    "$BIN/tunara-cli" import-csv "$work/$1" "$work/table.csv" -o "$work/$1.new"
    mv "$work/$1.new" "$work/$1"
}
table curve.dat 0x5C 0
table map.dat 0x9C 0
table map-tuned.dat 0x9C 2.5

# Restore points for the tune history: the base map uploaded, noted and kept
# for good, then the tuned map uploaded over it (each upload keeps what the
# module held and the image it writes).
mkdir -p "$work/Tunes"
cp "$work/map.dat" "$work/Tunes/customer-base.dat"
cp "$work/map-tuned.dat" "$work/Tunes/customer-tuned.dat"
"$BIN/tunara-cli" upload --port "$work/port" "$work/Tunes/customer-base.dat" >/dev/null
base=$("$BIN/tunara-cli" restore-points | awk '/Before upload/ && /customer-base\.dat/ {print $NF; exit}')
"$BIN/tunara-cli" restore-points --note "$base" "Red trail bike, before the exhaust change" >/dev/null
"$BIN/tunara-cli" restore-points --keep "$base" >/dev/null
"$BIN/tunara-cli" upload --port "$work/port" "$work/Tunes/customer-tuned.dat" >/dev/null
kill "$sim"
wait "$sim" 2>/dev/null || true
sim=

# shot NAME [tunara arguments...]: one picture into docs/ and the help.
shot() {
    local name=$1
    shift
    xvfb-run -a -s "-screen 0 1280x900x24" "$BIN/tunara" --splash-ms 200 --screenshot "$work/$name.png" "$@" \
        2>"$work/$name.log" || { cat "$work/$name.log" >&2; exit 1; }
    cp "$work/$name.png" "$DOCS/$name.png"
    cp "$work/$name.png" "$HELP/$name.png"
    echo "$DOCS/$name.png, $HELP/$name.png"
}
shot port-setup --simulate
shot parameters-dialog --open-in parameters "$work/map.dat"
shot main-window-2d --open-in table "$work/curve.dat"
shot main-window-3d --open-in table "$work/map.dat"
shot compare-overlay --open-in table --compare "$work/map-tuned.dat" "$work/map.dat"
shot print-preview --open-in preview --comment "Serial 1042" "$work/map.dat"
# The tuned map's "Before upload" point compared with the base map in one
# click, from File > Tune History.
shot tune-history --open-in history "$work/map.dat"
