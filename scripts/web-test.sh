#!/usr/bin/env bash
# The web page tested in a real browser: installs what is missing (Debian's chromium, Node.js
# and npm, the pinned playwright-core of tests/web/package-lock.json), builds the page with
# scripts/web.sh --build-only, then runs tests/web/web_test.mjs against build-web/ in headless
# Chromium. No browser is downloaded: the system's /usr/bin/chromium is driven.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
missing=()
dpkg -s chromium >/dev/null 2>&1 || missing+=(chromium)
# A Node.js from elsewhere brings its own npm; Debian's packages only where there is none.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

bash scripts/web.sh --build-only
echo "== the browser test's packages (npm ci, pinned by tests/web/package-lock.json)"
(cd tests/web && timeout 600 npm ci --no-audit --no-fund)
echo "== the page in headless Chromium"
if ! timeout 1200 node tests/web/web_test.mjs build-web; then
  echo "web test failed: the FAIL lines above say which check; the page's own messages are" \
       "printed after a failed wait" >&2
  exit 1
fi
