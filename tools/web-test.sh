#!/usr/bin/env bash
# Builds the browser version with tools/web.sh and plays it in Debian's
# Chromium (headless, software WebGL) through the shared end-to-end driver,
# the canvas scaled down to half in a small window. Installs what it needs.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages chromium chromium-driver python3-selenium imagemagick xvfb
"$ROOT/tools/web.sh"
exec /usr/bin/python3 "$ROOT/tests/e2e.py" play win missing -- "$WEB_OUT"
