#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the browser tests' dependencies (Playwright's driver, no browser of its own: the
# tests use the system's Chromium; axe-core and html-validate) from the committed lock file,
# when any package the manifest lists is missing.
set -euo pipefail
cd "$(dirname "$0")"
missing=$(node -e '
const fs = require("fs");
const wanted = Object.keys(require("./package.json").devDependencies || {});
console.log(wanted.filter((name) => !fs.existsSync(`node_modules/${name}/package.json`)).join(" "));
')
if [[ -n "$missing" ]]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
[[ -x /usr/bin/chromium ]] || { echo "browser tests: /usr/bin/chromium is missing" >&2; exit 1; }
