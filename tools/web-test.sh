#!/usr/bin/env bash
# Builds the browser version with tools/web.sh and plays it in Debian's
# Chromium (headless, software WebGL) through the shared end-to-end driver.
# Installs what it needs. A page that freezes also freezes WebDriver's
# calls into it: a time limit ends such a run, Python's traceback showing
# where it stood.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages chromium chromium-driver python3-selenium python3-pil
"$ROOT/tools/web.sh" zorvane_checked
/usr/bin/python3 "$ROOT/tests/test_web_build.py" $(languages)
/usr/bin/python3 "$ROOT/tests/test_web_pictures.py" "$WEB_OUT" $(languages)
timeout -s INT 900 /usr/bin/python3 "$ROOT/tests/e2e.py" welcome play touch layout language missing offline \
    --languages "$(languages)" -- "$WEB_OUT"
# Then the same page with the program linked with Emscripten's checks
# (cmake/Web.cmake), where a sleep outside ASYNCIFY's paths fails at once.
checked="$ROOT/build/web-checked"
rm -rf "$checked" && cp -r "$WEB_OUT" "$checked" && cp "$ROOT"/build/web-build/checked/* "$checked"
timeout -s INT 600 /usr/bin/python3 "$ROOT/tests/e2e.py" welcome play missing -- "$checked"
