#!/usr/bin/env bash
# scripts/package.sh: the release archive, what a game team puts into the game's folder.
# Builds the shipped program (i686: the target "programs") and writes
# <build>/dist/KXConfig-<version>.zip, which holds one folder, KXConfig-<version>, with
# KXConfig.exe, the video test programs kxgltest.exe and kxdxtest.exe, glsinfo.exe, Language.txt,
# keymap.ini, KXConfig-ReadMe.txt (for players: what each file is, how to run the test programs)
# and the folder Russian with the Russian Language.txt, which a player copies over the English one. <version> is the product version of KXConfig.exe's version resource. Prints the
# archive's path last.
#   scripts/package.sh TREE FOLDER   archive what the built target folder TREE holds into FOLDER,
#                                    without setting up or building (the tests do so)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if (($# == 0)); then
    "$root/scripts/setup.sh"
    build=${KX_BUILD_DIR:-build}
    [[ $build = /* ]] || build=$root/$build
    build=$(realpath -m "$build")
    export KX_BUILD_DIR=$build
    "$root/scripts/build.sh" i686 programs
    tree=$build/i686
    out=$build/dist
elif (($# == 2)); then
    tree=$1
    out=$2
else
    echo "usage: scripts/package.sh [TREE FOLDER]" >&2
    exit 2
fi
out=$(realpath -m "$out")

# The product version of a program's version resource. Its fixed part follows the resource's name
# "VS_VERSION_INFO" in UTF-16, 34 bytes from the name's start: a signature, then among others the
# product version as four 16-bit numbers in the order minor, major, fourth, third. A fourth
# number of 0 is left out.
product_version() {
    local name at minor major fourth third
    name='V\x00S\x00_\x00V\x00E\x00R\x00S\x00I\x00O\x00N\x00_\x00I\x00N\x00F\x00O\x00\x00\x00'
    at=$(LC_ALL=C grep -obUaP -m1 "$name" "$1" | head -n1 | cut -d: -f1)
    [ -n "$at" ] && [ "$(od -An -tx4 -j $((at + 34)) -N4 "$1" | tr -d ' ')" = feef04bd ] || return 1
    read -r minor major fourth third < <(od -An -tu2 -j $((at + 50)) -N8 "$1")
    local version=$major.$minor.$third
    ((fourth == 0)) || version+=.$fourth
    echo "$version"
}

program=$tree/demo/KXConfig.exe
version=$(product_version "$program") || { echo "package: no version resource in $program" >&2; exit 1; }
name=KXConfig-$version
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
# The programs as the demo game folder has them; the files from the sources, as shipped (the demo
# folder's key map may hold what a ./run saved).
cp "$tree/demo/"{KXConfig,kxgltest,kxdxtest,glsinfo}.exe "$stage/$name/"
cp "$root/data/"{Language.txt,keymap.ini,KXConfig-ReadMe.txt} "$stage/$name/"
mkdir "$stage/$name/Russian"
cp "$root/data/Russian/Language.txt" "$stage/$name/Russian/"
mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -X -r "$out/$name.zip" "$name")
echo "$out/$name.zip"
