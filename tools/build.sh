#!/usr/bin/env bash
# Configures and builds one or more of Corvelle's build trees:
#   native  build/        the engine, corvelle-dump, unit tests, benchmarks
#   asan    build-asan/   the unit tests under AddressSanitizer + UBSan
#   fuzz    build-fuzz/   the libFuzzer target (clang)
#   win32   build-win32/  Corvelle.wlx and the Wine test host (mingw-w64, i686)
#   win64   build-win64/  Corvelle.wlx64 and the Wine test host (x86_64)
# Usage: tools/build.sh [native|asan|fuzz|win32|win64|all]...   (default: native win32 win64)
# CORVELLE_TARGETS limits the build to those targets (for instance Corvelle).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${CORVELLE_JOBS:-$(nproc)}

configure_and_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1 || {
    cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs" ${CORVELLE_TARGETS:+--target $CORVELLE_TARGETS}
}

build_one() {
  case $1 in
    native) configure_and_build build "${NATIVE_EXTRA_ARGS[@]}" ;;
    asan)   configure_and_build build-asan -DCORVELLE_SANITIZE=ON -DCORVELLE_BENCH=OFF \
              -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    fuzz)   CC=clang CXX=clang++ configure_and_build build-fuzz -DCORVELLE_FUZZ=ON -DCORVELLE_SANITIZE=ON \
              -DCORVELLE_BENCH=OFF -DCORVELLE_TESTS=OFF ;;
    win32)  configure_and_build build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake ;;
    win64)  configure_and_build build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ;;
    *) echo "build.sh: unknown tree '$1'" >&2; return 2 ;;
  esac
}

NATIVE_EXTRA_ARGS=(${CORVELLE_NATIVE_ARGS:-})
trees=("$@")
[ ${#trees[@]} -eq 0 ] && trees=(native win32 win64)
[ "${trees[0]}" = all ] && trees=(win32 win64 asan fuzz native)
for tree in "${trees[@]}"; do
  echo "== building $tree"
  build_one "$tree"
done
