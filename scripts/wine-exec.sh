#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the build tree's prefix.
# Used as CMAKE_CROSSCOMPILING_EMULATOR, so ctest runs the tests through it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${KX_WINEPREFIX:?KX_WINEPREFIX must name the test prefix}"
"$here/wineprefix.sh" "$KX_WINEPREFIX" null
export WINEPREFIX=$KX_WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
