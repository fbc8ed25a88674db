#!/usr/bin/env bash
# Takes the README's pictures: scripts/screenshots.sh [FOLDER, default docs]
# Runs KXConfig on a fresh copy of the demo game folder (so the first-start difficulty dialog
# comes up) on a virtual screen at Wine's 96 DPI, answers the dialog, shows each page in turn
# and saves difficulty.png, basic.png, hotkeys.png, gameplay.png and graphics.png.
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
"$root/scripts/build.sh" "$target"

game=$(mktemp -d)
source "$root/scripts/virtual-screen.sh"
trap 'screen_stop; rm -rf "$game"' EXIT
cp -r "$build/$target/demo/." "$game/"
rm -f "$game/torvel.ini"
screen_start
program_start "$game"

settle() { sleep "${KX_SETTLE_SECONDS:-1}"; }
# shellcheck disable=SC2046  # the rectangles are four numbers
{
    pageshot wait TdlgDifficulty 30000 >/dev/null
    settle
    shoot "$out/difficulty.png" $(pageshot wait TdlgDifficulty)
    echo "$out/difficulty.png"
    pageshot click TdlgDifficulty rbDifficultyCoreRules bOK
    pageshot wait TfConfig >/dev/null
    pages=(basic hotkeys gameplay graphics)
    for i in "${!pages[@]}"; do
        pageshot page "$i"
        settle
        shoot "$out/${pages[$i]}.png" $(pageshot wait TfConfig)
        echo "$out/${pages[$i]}.png"
    done
}
program_end
