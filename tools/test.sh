#!/usr/bin/env bash
# Runs the whole test suite: the native unit tests, the same tests under
# AddressSanitizer + UBSan, a bounded fuzzing run, the cross-checks against
# Debian's Perl Palm modules, and the Wine test host against both plug-in
# modules under Xvfb. Ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
# A kernel without 32-bit executables cannot run the 32-bit test host, so
# there only the 32-bit module is built and its host run reports itself skipped.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  tools/build.sh win32
else
  CORVELLE_TARGETS=Corvelle tools/build.sh win32
fi
tools/build.sh win64 asan fuzz
root=$(pwd)
CORVELLE_NATIVE_ARGS="-DCORVELLE_ASAN_BUILD=$root/build-asan -DCORVELLE_FUZZ_BUILD=$root/build-fuzz \
-DCORVELLE_WIN32_BUILD=$root/build-win32 -DCORVELLE_WIN64_BUILD=$root/build-win64" tools/build.sh native
cd build
exec ctest --output-on-failure --timeout 1800 -j "$(nproc)" "$@"
