#!/usr/bin/env bash
# Builds Brindlewood with its tests and runs every test. With --sanitize, the build uses
# AddressSanitizer and UndefinedBehaviorSanitizer, in its own folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
dir="$root/build-tests"; opts=()
if [ "${1:-}" = "--sanitize" ]; then
    dir="$root/build-sanitize"; opts=(-DBRINDLEWOOD_SANITIZE=ON)
    export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
BUILD_TYPE="${BUILD_TYPE:-Debug}" "$root/scripts/build.sh" "$dir" "${opts[@]}"
cd "$dir"
ctest --output-on-failure -j "$(nproc)"
