#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the browser tests' one dependency (Playwright's driver, no browser of its own: the
# tests use the system's Chromium) from the committed lock file, when it is missing.
set -euo pipefail
cd "$(dirname "$0")"
if [[ ! -f node_modules/playwright-core/package.json ]]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
[[ -x /usr/bin/chromium ]] || { echo "browser tests: /usr/bin/chromium is missing" >&2; exit 1; }
