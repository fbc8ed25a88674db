#!/usr/bin/env bash
# Takes the README's pictures: scripts/screenshots.sh [FOLDER, default docs]
# Runs KXConfig on a fresh copy of the demo game folder without its torvel.ini (so the first-start
# difficulty dialog comes up) on a virtual screen at Wine's 96 DPI, answers the dialog, shows each
# page in turn and saves difficulty.png, basic.png, hotkeys.png, gameplay.png and graphics.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs}
[[ $out = /* ]] || out=$PWD/$out
"$root/scripts/setup.sh"
build=${KX_BUILD_DIR:-build}
[[ $build = /* ]] || build=$root/$build
build=$(realpath -m "$build")
export KX_BUILD_DIR=$build
target=${KX_TARGET:-i686}
"$root/scripts/build.sh" "$target" programs

game=$(mktemp -d)
source "$root/scripts/virtual-screen.sh"
trap 'screen_stop; rm -rf "$game"' EXIT
cp -r "$build/$target/demo/." "$game/"
rm -f "$game/torvel.ini"
screen_start
picture_program "$game" "$out"
