#!/usr/bin/env bash
# Configures and builds one target of KXConfig: scripts/build.sh i686|x86_64 [CMAKE_TARGET...]
# Without CMake targets it builds everything, tests and benchmarks included; "programs" is the
# program, its tools and the demo game folder.
# The build tree is $KX_BUILD_DIR (default "build", relative to the repository) with one folder
# per target and the test Wine prefix beside them. Compiler output goes to <target>/build.log and
# is shown only when the build fails; warnings are counted, not printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: scripts/build.sh i686|x86_64 [CMAKE_TARGET...]}
shift
case $target in i686|x86_64) ;; *) echo "build: unknown target $target" >&2; exit 2 ;; esac

build=${KX_BUILD_DIR:-build}
[[ $build = /* ]] || build=$root/$build
build=$(realpath -m "$build")
dir=$build/$target
jobs=${KX_JOBS:-$(nproc)}
mkdir -p "$dir"
log=$dir/build.log
start=$SECONDS

fail() {
    echo "build $target: FAILED ($1), full output in $log:" >&2
    tail -n 60 "$log" >&2
    exit 1
}

# Configure once; afterwards ninja re-runs cmake by itself when a CMakeLists.txt changes. A tree
# configured by hand with other settings (a test folder subset, another prefix) is set back.
configured() {
    [ -f "$dir/build.ninja" ] &&
    grep -qx "KX_WINEPREFIX:PATH=$build/wineprefix" "$dir/CMakeCache.txt" &&
    grep -qx "KX_ONLY_TESTS:STRING=" "$dir/CMakeCache.txt" &&
    grep -qx "CMAKE_BUILD_TYPE:STRING=Release" "$dir/CMakeCache.txt"
}
if ! configured; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$target.cmake" \
          -DKX_WINEPREFIX="$build/wineprefix" -DKX_ONLY_TESTS= >"$log" 2>&1 || fail configure
fi
targets=()
(($#)) && targets=(--target "$@")
cmake --build "$dir" -j "$jobs" "${targets[@]}" >"$log" 2>&1 || fail compile

warnings=$(grep -c 'warning:' "$log" || true)
note=""
((warnings == 0)) || note=", $warnings compiler warnings in $log"
echo "build $target: ok ($((SECONDS - start)) s$note)"
