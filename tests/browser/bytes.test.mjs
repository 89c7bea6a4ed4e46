// SPDX-License-Identifier: GPL-2.0-or-later
// What a visitor's first load of each theme costs: the albums are served from 127.0.0.1 by a
// server that counts the bytes it sends, and opened on a 360 px phone at 3x and on a 1440 px
// desktop at 1x. The phone may take at most 1.3 times the desktop's bytes: pictures are
// chosen by width, not by the screen's density alone. Also checked: WebP is what a browser
// that shows it gets, the first pictures load at once and the others wait, and every
// picture has a placeholder colour while it comes.
// GV_ALBUMS is the folder of albums (one per theme variant); GV_BYTES_REPORT, when set, names
// a file the figures are written to.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { launchChromium } from './chromium.mjs';

const albums = process.env.GV_ALBUMS;
assert.ok(albums && fs.existsSync(albums), 'GV_ALBUMS must name the generated albums');

const PHONE = { viewport: { width: 360, height: 780 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const DESKTOP = { viewport: { width: 1440, height: 900 }, deviceScaleFactor: 1 };
const BUDGET = 1.3;
const TYPES = { '.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript', '.jpg': 'image/jpeg',
  '.png': 'image/png', '.webp': 'image/webp', '.avif': 'image/avif', '.svg': 'image/svg+xml' };

let browser;
let server;
let origin;
const sent = { bytes: 0, files: [] };
const figures = {};

// Serves the albums' files, nothing outside them, and counts what goes out.
function serve(request, response) {
  const wanted = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
  const file = path.join(albums, path.normalize(wanted));
  if (!file.startsWith(path.resolve(albums) + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404).end();
    return;
  }
  const body = fs.readFileSync(file);
  sent.bytes += body.length;
  sent.files.push({ name: path.basename(file), bytes: body.length });
  response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
    'Content-Length': body.length, 'Cache-Control': 'no-store' });
  response.end(body);
}

before(async () => {
  server = http.createServer(serve);
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  await new Promise((resolve) => server.close(resolve));
  if (process.env.GV_BYTES_REPORT)
    fs.writeFileSync(process.env.GV_BYTES_REPORT, JSON.stringify(figures, null, 2) + '\n');
});

// The bytes of one first load: the page and all it fetches until the network rests.
async function firstLoad(album, device) {
  const context = await browser.newContext(device);
  const page = await context.newPage();
  sent.bytes = 0;
  sent.files = [];
  await page.goto(`${origin}/${album}/index.html`, { waitUntil: 'load' });
  await page.waitForLoadState('networkidle');
  await page.waitForTimeout(300); // a late lazy picture would start now
  await page.waitForLoadState('networkidle');
  const load = { bytes: sent.bytes, files: sent.files.slice() };
  return { page, context, load };
}

const kib = (bytes) => Math.round(bytes / 1024);

for (const album of ['mosaic', 'classic', 'slideshow']) {
  test(`${album}: a phone at 3x downloads at most ${BUDGET} times a desktop's bytes`, async () => {
    const desktop = await firstLoad(album, DESKTOP);
    await desktop.context.close();
    const phone = await firstLoad(album, PHONE);
    await phone.context.close();
    figures[album] = { phoneKiB: kib(phone.load.bytes), desktopKiB: kib(desktop.load.bytes) };
    console.log(`${album}: phone 360 px @3x ${kib(phone.load.bytes)} KiB, desktop 1440 px @1x ${kib(desktop.load.bytes)} KiB`);
    assert.ok(phone.load.bytes <= BUDGET * desktop.load.bytes,
      `${album}: the phone took ${kib(phone.load.bytes)} KiB, the desktop ${kib(desktop.load.bytes)} KiB\n` +
      phone.load.files.map((f) => `  ${f.name} ${f.bytes}`).join('\n'));
    const pictures = phone.load.files.filter((f) => /\.(jpg|webp|avif|png)$/.test(f.name));
    assert.ok(pictures.length > 0, 'the first load shows pictures');
    assert.deepEqual(pictures.filter((f) => f.name.endsWith('.jpg') && !f.name.includes('-favicon.')).map((f) => f.name), [],
      'a browser that shows WebP gets WebP');
  });

  test(`${album}: the first pictures load at once, the rest wait, each on its colour`, async () => {
    const { page, context } = await firstLoad(album, DESKTOP);
    const facts = await page.evaluate(() => Array.from(document.querySelectorAll('main img')).map((img) => ({
      loading: img.getAttribute('loading'),
      priority: img.getAttribute('fetchpriority'),
      colour: getComputedStyle(img).backgroundColor,
      inPicture: img.parentElement.tagName === 'PICTURE',
      sources: img.parentElement.tagName === 'PICTURE'
        ? Array.from(img.parentElement.querySelectorAll('source')).map((s) => s.type) : [],
      srcset: img.getAttribute('srcset') || '',
      sizes: img.getAttribute('sizes') || '',
    })));
    assert.ok(facts.length > 0);
    if (album === 'slideshow') {
      // What the show's page first shows is its cover; the strip of photos is further down.
      assert.deepEqual(facts.filter((img) => img.loading !== 'lazy'), []);
      const cover = await page.evaluate(() => getComputedStyle(document.querySelector('.cover')).backgroundImage);
      assert.match(cover, /-cover(mid)?\.webp/, 'the cover is chosen for the screen, in WebP');
    } else {
      assert.equal(facts[0].loading, 'eager');
      assert.equal(facts[0].priority, 'high');
      assert.equal(facts.at(-1).loading, 'lazy');
    }
    for (const img of facts) {
      assert.ok(img.inPicture, 'every photo is a <picture>');
      assert.deepEqual(img.sources, ['image/webp']);
      assert.match(img.srcset, /^\S+ \d+w(, \S+ \d+w){2,}$/, 'widths for the browser to choose from');
      assert.ok(img.sizes.length > 0, 'the size it is shown at');
      assert.notEqual(img.colour, 'rgba(0, 0, 0, 0)', 'a colour while it loads');
    }
    await context.close();
  });
}

test('every theme names its icon and the picture a shared link shows', async () => {
  for (const album of ['mosaic', 'classic', 'slideshow']) {
    const { page, context } = await firstLoad(album, DESKTOP);
    const head = await page.evaluate(() => ({
      icon: document.querySelector('link[rel="icon"]')?.href,
      image: document.querySelector('meta[property="og:image"]')?.content,
      width: document.querySelector('meta[property="og:image:width"]')?.content,
    }));
    assert.ok(head.icon, `${album}: an icon`);
    assert.ok(head.image, `${album}: og:image`);
    assert.ok(+head.width >= 600, `${album}: og:image is ${head.width} px wide`);
    for (const url of [head.icon, new URL(head.image, page.url()).href]) {
      const response = await context.request.get(url);
      assert.equal(response.status(), 200, url);
    }
    await context.close();
  }
});
