#!/usr/bin/env bash
# Runs a Windows program of the build on a virtual X screen of its own (Xvfb, 1024 x 768 at 24
# bits) with Wine's X11 driver, in the Wine prefix PREFIX, made on first use:
#   tests/videotest/on-virtual-screen.sh PREFIX PROGRAM [ARGUMENTS]
# There OpenGL really draws (Mesa's llvmpipe) and a pixel read back is what was drawn. The
# program learns where it runs from KX_VIRTUAL_SCREEN=1. The exit code is the program's.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$1
shift
"$root/scripts/wineprefix.sh" "$prefix" xvfb || exit 1
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" KX_VIRTUAL_SCREEN=1

fifo=$(mktemp -u)
mkfifo "$fifo"
# Xvfb picks a free display number and writes it to the descriptor given.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
screen=$!
display=""
read -r -t 20 display <"$fifo" || true
rm -f "$fifo"
if [ -z "$display" ]; then
    echo "on-virtual-screen: Xvfb did not start" >&2
    kill "$screen" 2>/dev/null
    exit 1
fi
export DISPLAY=:$display

wine "$@"
status=$?
# The prefix's server and its helpers end with the screen.
wineserver -k 2>/dev/null
kill "$screen" 2>/dev/null
wait "$screen" 2>/dev/null
exit $status
