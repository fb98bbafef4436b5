#!/usr/bin/env bash
# Takes the README's two pictures of the main window under a virtual display: as it opens, and
# grown with Options. Usage: tools/screenshots.sh [build folder] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
output=$(realpath -m "${2:-docs}")

needed=()
for tool in Xvfb:xvfb xdotool:xdotool import:imagemagick; do
  command -v "${tool%%:*}" >/dev/null || needed+=("${tool#*:}")
done
if ((${#needed[@]})); then
  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${needed[@]}"
fi

cmake --build "$build" --target Morvane MorvaneRegExport
work=$(mktemp -d)
cp -r "$build/runtime/." "$work/"
mkdir -p "$output"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
server=$!
trap 'kill "$program" "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
sleep 1

(cd "$work" && exec ./Morvane) &
program=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Morvane$' | head -n 1)
sleep 1
xdotool getwindowgeometry "$window"
import -window "$window" "$output/main-window.png"

xdotool windowfocus --sync "$window" key --window "$window" alt+o
sleep 1
xdotool getwindowgeometry "$window"
import -window "$window" "$output/main-window-options.png"
echo "Pictures: $output/main-window.png $output/main-window-options.png"
