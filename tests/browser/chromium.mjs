// SPDX-License-Identifier: GPL-2.0-or-later
// The system's Chromium, headless and quiet: no sandbox (tests may run as root), no GPU, and
// nothing of its own going out to the network while pages are measured.
import { chromium } from 'playwright-core';

export function launchChromium() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}
