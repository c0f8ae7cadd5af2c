#!/usr/bin/env bash
# Runs every brindlewood-bench command once on a tiny generated library and checks the counts it
# prints, not its times, so a benchmark that breaks is caught. make-library's fixed seed makes the
# library, and so every count below, the same on every machine.
# Usage: bench-smoke.sh BENCH_EXECUTABLE SOURCE_DIR
set -euo pipefail
bench="$1"; src="$2"
work="$(mktemp -d)"; trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$work/runtime"
python3 "$src/bench/make-library" "$work/lib" --files 40 --size-mb 1 > /dev/null
rt="$work/lib/Runtime"
failed=0
expect() {  # expect "<what it printed>" key=value ...
    local out="$1"; shift
    for kv in "$@"; do
        if ! grep -qE "(^| )$kv( |$)" <<< "$out"; then
            echo "FAIL: expected $kv in: $out"; failed=1
        fi
    done
    echo "ok: $out"
}
expect "$("$bench" expand "$rt/Libraries/character/Figure Set 01")" nodes=20
expect "$("$bench" scan "$rt/Libraries" needle_rare.png)" files=40 matches=1
expect "$("$bench" locate "$rt/Textures" needle_stale.jpg)" found=1
expect "$("$bench" refs "$rt/Libraries/character/Figure Set 01/Figure 00005.cr2")" refs=5
expect "$("$bench" listing "$rt" "$work/listing.txt" --subfolders)" lines=89
expect "$("$bench" check "$rt" | tr '\n' ' ')" files=40 moved=1 missing=0 files_read=0 same_rows=yes
expect "$("$bench" checkwindow "$rt" 2>/dev/null)" rows=199
expect "$("$bench" preview "$rt/Textures/Needle/needle_texture.jpg")" width=16 height=16
expect "$("$bench" repair "$rt" | tr '\n' ' ')" files=1 lines=1 refused=0 restored=1 skipped=0
python3 "$src/bench/make-library" "$work/stale" --files 40 --stale 10 > /dev/null
expect "$("$bench" repair "$work/stale/Runtime" | tr '\n' ' ')" files=11 lines=21 refused=0 failed=0 \
    restored=11 skipped=0
exit "$failed"
