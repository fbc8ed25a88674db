#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the build tree's prefix.
# Used as CMAKE_CROSSCOMPILING_EMULATOR, so ctest runs the tests through it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${KX_WINEPREFIX:?KX_WINEPREFIX must name the test prefix}"
"$here/wineprefix.sh" "$KX_WINEPREFIX" null
export WINEPREFIX=$KX_WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
# Now and then Wine's loader fails to map a program that is there and sound ("ShellExecuteEx
# failed: Internal error.") before any of it runs: that start is tried once more. Every other
# outcome is the program's own.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for try in 1 2; do
    wine "$@" 2> >(tee "$errors" >&2)
    status=$?
    wait
    ((status != 0)) && ((try == 1)) && grep -q "ShellExecuteEx failed: Internal error" "$errors" || break
    echo "wine-exec: Wine could not start $1; starting it again" >&2
done
exit "$status"
