#!/usr/bin/env bash
# The release archive as a game team gets it: made by scripts/package.sh from the built target
# folder TREE and unpacked into an empty folder, it holds one folder, named after the version of
# app/KXConfig.rc, with the shipped files and nothing else; the program started there shows its
# first-run dialog, and closed, leaves the folder as it was.
#   tests/e2e/unpacked-archive.sh TREE     (run by ctest in the tests' prefix, KX_WINEPREFIX)
set -uo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$1
work=$(mktemp -d)
program=""
trap '[ -z "$program" ] || kill "$program" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "unpacked-archive: $*" >&2
    exit 1
}
pageshot() { "$root/scripts/wine-exec.sh" "$tree/tools/pageshot/pageshot.exe" "$@" >/dev/null; }

archive=$("$root/scripts/package.sh" "$tree" "$work/dist" | tail -n1) || fail "scripts/package.sh failed"
version=$(sed -n 's/^PRODUCTVERSION *\([0-9]*\),\([0-9]*\),\([0-9]*\),0.*/\1.\2.\3/p' "$root/app/KXConfig.rc")
[ "$archive" = "$work/dist/KXConfig-$version.zip" ] || fail "made $archive, not KXConfig-$version.zip"

mkdir "$work/game"
unzip -q "$archive" -d "$work/game" || fail "unzip refused $archive"
game=$work/game/KXConfig-$version
[ "$(ls "$work/game")" = "KXConfig-$version" ] || fail "the archive holds $(ls "$work/game"), not one folder KXConfig-$version"
shipped="glsinfo.exe keymap.ini KXConfig-ReadMe.txt KXConfig.exe kxdxtest.exe kxgltest.exe Language.txt Russian"
[ "$(cd "$game" && ls | sort -f | xargs)" = "$shipped" ] || fail "the folder holds $(cd "$game" && ls | xargs)"
cmp -s "$game/Russian/Language.txt" "$root/data/Russian/Language.txt" &&
    [ "$(ls "$game/Russian")" = Language.txt ] || fail "the folder Russian does not hold the Russian Language.txt alone"

(cd "$game" && exec "$root/scripts/wine-exec.sh" ./KXConfig.exe) >/dev/null 2>&1 &
program=$!
pageshot wait TdlgDifficulty 30000 || fail "KXConfig.exe showed no first-run dialog"
pageshot close 20000 || fail "KXConfig.exe did not close"
wait "$program"
status=$?
program=""
((status == 0)) || fail "KXConfig.exe ended with exit code $status"
[ "$(cd "$game" && ls | sort -f | xargs)" = "$shipped" ] || fail "closed, the program left $(cd "$game" && ls | xargs)"
echo "unpacked-archive: $archive started in an empty folder and closed"
