#!/usr/bin/env bash
# Builds Brindlewood and starts it. With --sample, it starts on a fresh copy of the sample
# library, as drive C: of a private Wine prefix, with a settings file pointing Runtime there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DBRINDLEWOOD_TESTS=OFF
if [ "${1:-}" = "--sample" ]; then
    shift
    sandbox="$(mktemp -d /tmp/brindlewood-sample-XXXXXX)"
    mkdir -p "$sandbox/prefix/dosdevices" "$sandbox/c"
    cp -r "$root/examples/Poser4" "$sandbox/c/"
    ln -s "$sandbox/c" "$sandbox/prefix/dosdevices/c:"
    printf '[Colors]\r\nBackColor=15136253\r\nShadowColor=16744576\r\nTextColor=0\r\nButtonColor=-2147483633\r\nPoserFileColor=64\r\nImageFileColor=16384\r\nSystemFileColor=13107200\r\nOtherFileColor=8421504\r\n[Folder]\r\nRuntime=C:\\Poser4\\Runtime\r\nLastFolder=C:\\Poser4\\Runtime\\\r\nStartInLastFolder=True\r\n[AVSettings]\r\nMoveFile=True\r\n' > "$sandbox/Brindlewood.ini"
    echo "Sample library: $sandbox/c (drive C:)"
    export WINEPREFIX="$sandbox/prefix" BRINDLEWOOD_INI="$sandbox/Brindlewood.ini"
fi
exec "$root/build/brindlewood" "$@"
