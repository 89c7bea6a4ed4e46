// SPDX-License-Identifier: GPL-2.0-or-later
// Takes the preview pictures of the themes: node previews.mjs ALBUMS OUT
// ALBUMS holds albums made by html_browser_albums (from photos that may be shown, such as the
// shared benchmark photos); OUT receives <theme>.png at 1200 x 750, the size the theme page
// scales down.
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium } from './chromium.mjs';

const [albums, out] = process.argv.slice(2);
if (!albums || !out) {
  console.error('usage: node previews.mjs ALBUMS OUT');
  process.exit(2);
}
fs.mkdirSync(out, { recursive: true });
const browser = await launchChromium();
for (const theme of ['mosaic', 'classic', 'slideshow']) {
  const page = await browser.newPage({ viewport: { width: 1200, height: 750 } });
  await page.goto(pathToFileURL(path.join(albums, theme, 'index.html')).href);
  await page.evaluate(() => document.querySelectorAll('img[loading="lazy"]').forEach((img) => { img.loading = 'eager'; }));
  await page.waitForFunction(() => Array.from(document.images).every((img) => img.complete));
  await page.screenshot({ path: path.join(out, `${theme}.png`) });
  await page.close();
}
await browser.close();
