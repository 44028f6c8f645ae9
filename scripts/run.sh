#!/usr/bin/env bash
# Usage: scripts/run.sh [PACKAGE.lumivane]
# Installs what is missing, builds, generates the sample tours and opens
# PACKAGE (or the sample tour) in the viewer.
set -euo pipefail
source "$(dirname "$0")/common.sh"

lumivane_install_packages
lumivane_build

package="${1:-$LUMIVANE_BUILD/samples/demo.lumivane}"
viewer="$LUMIVANE_BUILD/Lumivane_Viewer/lumivane-viewer"
if [ ! -x "$viewer" ]; then
    echo "Built. The sample tour is $LUMIVANE_BUILD/samples/demo.lumivane"
    exit 0
fi
export QT_MEDIA_BACKEND=gstreamer
exec "$viewer" "$package"
