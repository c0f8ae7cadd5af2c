#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks that it lays out as a desktop program: the two
# executables, the launcher entry, the icons and the AppStream data, and that the installed
# program answers --version without a display.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
prefix="$(mktemp -d)"; trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" > /dev/null
failed=0
for f in bin/brindlewood bin/brindlewood-check \
         share/applications/org.brindlewood.Brindlewood.desktop \
         share/metainfo/org.brindlewood.Brindlewood.metainfo.xml \
         share/icons/hicolor/scalable/apps/brindlewood.svg \
         share/icons/hicolor/16x16/apps/brindlewood.png \
         share/icons/hicolor/48x48/apps/brindlewood.png \
         share/icons/hicolor/256x256/apps/brindlewood.png; do
    [ -e "$prefix/$f" ] || { echo "missing: $f"; failed=1; }
done
grep -q '^Icon=brindlewood$' "$prefix/share/applications/org.brindlewood.Brindlewood.desktop" \
    || { echo "launcher entry names another icon"; failed=1; }
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/brindlewood" --version | grep -q '^brindlewood [0-9]' \
    || { echo "installed program does not answer --version"; failed=1; }
exit "$failed"
