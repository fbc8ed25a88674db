#!/usr/bin/env bash
# Creates a Wine prefix for KXConfig: scripts/wineprefix.sh PREFIX [null|x11|xvfb|desktop SIZE]
#   null     Wine's null graphics driver: windows exist but nothing is drawn; no display needed.
#            The tests run in such a prefix.
#   x11      the user's X display, decorated by the user's window manager.
#   xvfb     a virtual X screen without a window manager: Wine draws the window frames itself.
#            The screen offers its one display mode only.
#   desktop  a virtual X screen of SIZE (e.g. 1024x768) filled by one Wine desktop, in which Wine
#            draws the frames and which offers the display modes of a player's screen: 320 x 200
#            up to SIZE, at 8, 16 and 32 bits.
# The x11, xvfb and desktop prefixes get Wine's own fonts (MS Sans Serif, Marlett for the caption
# buttons), so that the window looks as it would on Windows rather than in a Linux font.
# Every step is done once; afterwards the script only tests a few files.
set -euo pipefail
prefix=$1
mode=${2:-null}
size=${3:-}
case $mode in
    null|x11|xvfb) ;;
    desktop) [[ $size =~ ^[0-9]+x[0-9]+$ ]] || { echo "wineprefix: desktop needs a size such as 1024x768" >&2; exit 2; } ;;
    *) echo "wineprefix: unknown mode $mode" >&2; exit 2 ;;
esac
marker=$prefix/.kxconfig-$mode${size:+-$size}
[ -f "$marker" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
fi
case $mode in
    null) wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 ;;
    xvfb) wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 ;;
    desktop)
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f >/dev/null 2>&1 ;;
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
touch "$marker"
