#!/usr/bin/env bash
# Creates a Wine prefix for KXConfig: scripts/wineprefix.sh PREFIX [null|x11|xvfb]
#   null  Wine's null graphics driver: windows exist but nothing is drawn; no display needed.
#         The tests run in such a prefix.
#   x11   the user's X display, decorated by the user's window manager.
#   xvfb  a virtual X screen without a window manager: Wine draws the window frames itself.
# The x11 and xvfb prefixes get Wine's own fonts (MS Sans Serif, Marlett for the caption
# buttons), so that the window looks as it would on Windows rather than in a Linux font.
# Every step is done once; afterwards the script only tests a few files.
set -euo pipefail
prefix=$1
mode=${2:-null}
case $mode in null|x11|xvfb) ;; *) echo "wineprefix: unknown mode $mode" >&2; exit 2 ;; esac
[ -f "$prefix/.kxconfig-$mode" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
fi
case $mode in
    null) wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 ;;
    xvfb) wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 ;;
esac
if [ "$mode" != null ] && [ -d /usr/share/wine/fonts ]; then
    fonts=$prefix/drive_c/windows/Fonts
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*; do
        [ -e "$fonts/${f##*/}" ] || ln -s "$f" "$fonts/"
    done
fi
# The registry is written when the prefix's server ends.
wineserver -w
touch "$prefix/.kxconfig-$mode"
