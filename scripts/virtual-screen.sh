# shellcheck shell=bash disable=SC2154  # build and target come from the sourcing script
# Shown pictures of KXConfig without a display: a virtual X screen (Xvfb), the program under
# Wine on it, and pictures of its windows. Sourced by ./run and scripts/screenshots.sh after
# they have set: build (the build tree), target (i686 or x86_64).
#   screen_start             start Xvfb on a free display; sets DISPLAY, WINEPREFIX
#   program_start DIR ARGS   start DIR/KXConfig.exe ARGS in the background; sets program_pid
#   pageshot ARGS            run the window helper (tools/pageshot) in the same prefix
#   shoot FILE X Y W H       save that part of the screen as a PNG
#   program_end              close the program's windows, wait for it to end
#   picture_program DIR OUT ARGS
#                            run DIR/KXConfig.exe ARGS and picture all of it into OUT: the
#                            difficulty dialog when it comes (then answered as a player would:
#                            Core Rules, OK), then each page the window offers; prints each path
#   screen_stop              end Wine's server of the prefix and Xvfb
# The prefix is <build>/wineprefix-desktop: Wine's x11 driver with one Wine desktop that fills the
# screen, in which Wine draws the frames. The desktop offers the display modes of a player's screen
# (640 x 480 and 800 x 600 among them); Xvfb alone offers only its own size, and the window would
# grey the resolutions it cannot have.

screen_width=1024
screen_height=768
screen_pid=""
program_pid=""

screen_start() {
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    export WINEPREFIX=$build/wineprefix-desktop WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$root/scripts/wineprefix.sh" "$WINEPREFIX" desktop "${screen_width}x${screen_height}"
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # Xvfb picks a free display number and writes it to the descriptor given.
    Xvfb -displayfd 3 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp \
         3>"$fifo" >"$build/xvfb.log" 2>&1 &
    screen_pid=$!
    local display=""
    read -r -t 20 display <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$display" ]; then
        echo "virtual screen: Xvfb did not start, see $build/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=:$display
}

pageshot() {
    wine "$build/$target/tools/pageshot/pageshot.exe" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

program_start() {
    local dir=$1
    shift
    (cd "$dir" && exec wine ./KXConfig.exe "$@") >"$build/program.log" 2>&1 &
    program_pid=$!
}

shoot() {
    local file=$1 x=$2 y=$3 w=$4 h=$5
    # Only what lies on the screen.
    ((x < 0)) && { w=$((w + x)); x=0; }
    ((y < 0)) && { h=$((h + y)); y=0; }
    ((x + w > screen_width)) && w=$((screen_width - x))
    ((y + h > screen_height)) && h=$((screen_height - y))
    mkdir -p "$(dirname "$file")"
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$file"
}

program_end() {
    [ -n "$program_pid" ] || return 0
    pageshot close 10000 >/dev/null 2>&1 || true
    local waited=0
    while kill -0 "$program_pid" 2>/dev/null && ((waited < 50)); do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$program_pid" 2>/dev/null; then
        echo "virtual screen: the program did not close, ending it" >&2
        wineserver -k 2>/dev/null || true
    fi
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
}

settle() { sleep "${KX_SETTLE_SECONDS:-1}"; }

picture_program() {
    local game=$1 out=$2
    shift 2
    mkdir -p "$out"
    # Xvfb puts the pointer in the middle of the screen, where it would rest on a control.
    pageshot pointer
    program_start "$game" "$@"
    if ! pageshot wait 'TfConfig,TdlgDifficulty' 30000 >/dev/null; then
        echo "virtual screen: KXConfig showed no window; its output is in $build/program.log" >&2
        return 1
    fi
    # shellcheck disable=SC2046  # the rectangles are four numbers
    if pageshot wait TdlgDifficulty 1 >/dev/null 2>&1; then
        settle
        shoot "$out/difficulty.png" $(pageshot wait TdlgDifficulty)
        echo "$out/difficulty.png"
        pageshot click TdlgDifficulty rbDifficultyCoreRules bOK
    fi
    pageshot wait TfConfig 30000 >/dev/null
    # The pages in the order of their tabs; with -keymap only Hot Keys and Gameplay are offered.
    local pages=(basic hotkeys gameplay graphics)
    [ "${1:-}" = -keymap ] && pages=(hotkeys gameplay)
    local i
    for i in "${!pages[@]}"; do
        pageshot page "$i"
        settle
        # shellcheck disable=SC2046
        shoot "$out/${pages[$i]}.png" $(pageshot wait TfConfig)
        echo "$out/${pages[$i]}.png"
    done
    program_end
}

screen_stop() {
    program_end
    wineserver -k 2>/dev/null || true
    if [ -n "$screen_pid" ]; then
        kill "$screen_pid" 2>/dev/null || true
        wait "$screen_pid" 2>/dev/null || true
        screen_pid=""
    fi
}
