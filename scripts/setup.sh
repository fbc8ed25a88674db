#!/usr/bin/env bash
# Installs what building, testing and showing KXConfig needs on a Debian machine: CMake and
# Ninja, the GoogleTest sources, the mingw-w64 cross compilers (posix threads) for i686 and
# x86_64, Wine for 32- and 64-bit programs with its own fonts and a Japanese font (the window on
# a Japanese system draws its captions in it), a virtual X screen with a
# screenshot tool, Mesa's OpenGL for 32-bit programs (the video test draws through it on the
# virtual screen), zip and unzip for the release archive, Python for the check of the shipped data
# files, and the locales whose code pages the tests start the program under (Wine takes its ANSI
# code page from the locale it runs in).
# Idempotent; silent and quick when everything is already there.
set -euo pipefail

packages=(cmake ninja-build googletest
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 fonts-wine fonts-vlgothic
          xvfb imagemagick zip unzip python3
          libgl1-mesa-dri:i386 libglx-mesa0:i386 libgl1:i386
          locales)

# Russian 1251, Polish 1250, German 1252 and Japanese 932 as Wine's ANSI code page.
locales=(ru_RU pl_PL de_DE ja_JP)

# One dpkg query for all of them keeps the already-installed case fast.
declare -A installed=()
while read -r name state; do
    [ "$state" = installed ] && installed[$name]=1
done < <(dpkg-query -W -f='${binary:Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)
need=()
for p in "${packages[@]}"; do
    [ -n "${installed[$p]:-}" ] || need+=("$p")
done
# locale -a spells them in lower case without the hyphen: ru_RU.utf8.
declare -A generated=()
while read -r name; do generated[$name]=1; done < <(locale -a 2>/dev/null || true)
missing=()
for l in "${locales[@]}"; do
    [ -n "${generated[$l.utf8]:-}" ] || missing+=("$l")
done
((${#need[@]} + ${#missing[@]})) || exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run() {
    if ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "$@" >>"$log" 2>&1 </dev/null; then
        echo "setup: '$*' failed:" >&2
        tail -n 30 "$log" >&2
        exit 1
    fi
}
# Wine runs 32-bit programs with the i386 packages.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    run dpkg --add-architecture i386
fi
if ((${#need[@]})); then
    echo "setup: installing ${need[*]}" >&2
    # A mirror caught mid-sync fails the update for a while: try again, and at last install from
    # the lists it did fetch.
    updated=
    for try in 1 2 3 4; do
        if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >>"$log" 2>&1 </dev/null; then
            updated=1
            break
        fi
        ((try < 4)) && sleep $((try * 15))
    done
    install=(apt-get install -y -qq --no-install-recommends "${need[@]}")
    if [ -z "$updated" ] && ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}" >>"$log" 2>&1 </dev/null; then
        # Most often the security suite's list of one architecture is the one missing: its 64-bit
        # libraries are then newer than any 32-bit one, and Wine's 32-bit libraries, which must
        # match them, cannot be installed. Without the security suites both come from the release.
        sources=$(mktemp -d)
        trap 'rm -f "$log"; rm -rf "$sources"' EXIT
        [ -f /etc/apt/sources.list ] && grep -v -- '-security' /etc/apt/sources.list >"$sources/release.list" || true
        for f in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
            [ -f "$f" ] || continue
            case $f in
            *.sources) awk 'BEGIN { RS = ""; ORS = "\n\n" } !/-security/' "$f" >"$sources/$(basename "$f")" ;;
            *) grep -v -- '-security' "$f" >"$sources/$(basename "$f")" || true ;;
            esac
        done
        install+=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$sources")
    fi
    run "${install[@]}"
fi
if ((${#missing[@]})); then
    # Named in /etc/locale.gen, so that a later locale-gen keeps them.
    echo "setup: generating the locales ${missing[*]/%/.UTF-8}" >&2
    for l in "${missing[@]}"; do
        run sed -i "s/^# *$l.UTF-8 UTF-8/$l.UTF-8 UTF-8/" /etc/locale.gen
        grep -qx "$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | run tee -a /etc/locale.gen
    done
    run locale-gen
fi
echo "setup: done" >&2
