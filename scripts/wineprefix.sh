#!/usr/bin/env bash
# Creates a Wine prefix for KXConfig's tests: scripts/wineprefix.sh PREFIX [null|x11]
# "null" selects Wine's null graphics driver, so no display is needed.
set -euo pipefail
prefix=$1
driver=${2:-null}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$prefix/.kxconfig-$driver"
[ -f "$stamp" ] && exit 0
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1 || true
if [ "$driver" = null ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
fi
wineserver -w
touch "$stamp"
