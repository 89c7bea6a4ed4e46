// SPDX-License-Identifier: GPL-2.0-or-later
// The tiles of a big Mosaic or Slideshow album past the first sixty: the page holds only the
// first ones and stays small; the script makes the rest from the album's batches of sixty
// photos, photos-N.js, loaded as they are wanted, with the very markup the page writes (titles with quotes, angle brackets, "</script>" and accents
// included); they open in the viewer and show their pictures; without JavaScript the page's
// own tiles still lead to their pictures. GV_ALBUMS and GV_SCREENSHOTS as for albums.test.mjs.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium } from './chromium.mjs';

const albums = process.env.GV_ALBUMS;
const shots = process.env.GV_SCREENSHOTS || path.join(os.tmpdir(), 'gallivex-screenshots');
assert.ok(albums && fs.existsSync(albums), 'GV_ALBUMS must name the generated albums');
fs.mkdirSync(shots, { recursive: true });

const BIG = 300;       // photos of the *-300 albums
const ON_PAGE = 60;    // tiles the page itself holds, and photos in a batch
// The first page of a 300-photo album: about 120 KB today; every photo's markup in the page
// made it 480-580 KB and a phone's first render a second and more slower.
const PAGE_BYTES = 200 * 1024;
const phone = { viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const desktop = { viewport: { width: 1440, height: 900 } };
const themes = {
  mosaic: { tile: '.tile', open: '.tile > a', make: 'mosaicTile', counter: '.lightbox .lb-count' },
  slideshow: { tile: '.strip > li', open: '.slide-link', make: 'slideshowThumbnail', counter: '.show .s-count' },
};
let browser;

before(async () => { browser = await launchChromium(); });
after(async () => { await browser?.close(); });

function albumUrl(album, hash = '') {
  return pathToFileURL(path.join(albums, album, 'index.html')).href + hash;
}

async function openPage(album, options = desktop, hash = '') {
  const context = await browser.newContext(options);
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
  await page.goto(albumUrl(album, hash));
  return { page, context, problems };
}

for (const [theme, sel] of Object.entries(themes)) {
  const album = `${theme}-300`;

  test(`${album}: the page holds the first ${ON_PAGE} tiles in under ${PAGE_BYTES / 1024} KB`, async () => {
    const bytes = fs.statSync(path.join(albums, album, 'index.html')).size;
    assert.ok(bytes < PAGE_BYTES, `index.html is ${bytes} bytes`);
    const html = fs.readFileSync(path.join(albums, album, 'index.html'), 'utf8');
    assert.equal((html.match(/<li [^>]*id="photo-\d+"/g) || []).length, ON_PAGE);
    assert.doesNotMatch(html, /<template/);
    const batches = fs.readdirSync(path.join(albums, album)).filter((name) => /^photos-\d+\.js$/.test(name)).sort();
    assert.deepEqual(batches, ['photos-1.js', 'photos-2.js', 'photos-3.js', 'photos-4.js', 'photos-5.js']);
  });

  test(`${album}: a tile made from a batch is the page's own tile, awkward texts included`, async () => {
    const { page, context, problems } = await openPage(album);
    // The first batch holds the photos of the page's own tiles.
    await page.evaluate(() => new Promise((done, fail) => {
      const tag = document.createElement('script');
      tag.src = 'photos-1.js';
      tag.onload = done;
      tag.onerror = fail;
      document.body.append(tag);
    }));
    const report = await page.evaluate(({ tile, make }) => {
      const batch = window.albumBatches[1];
      const written = Array.from(document.querySelectorAll(tile)).slice(0, 60);
      const differing = written.filter((li, i) => window[make](batch[i]).outerHTML !== li.outerHTML);
      return { count: written.length, differing: differing.map((li) => li.id), second: window[make](batch[1]).outerHTML };
    }, sel);
    assert.equal(report.count, ON_PAGE);
    assert.deepEqual(report.differing, []);
    // The awkward photo really is among them, and its texts stay texts.
    assert.match(report.second, /&lt;b&gt;&amp;"'|&lt;b&gt;&amp;&quot;'/);
    assert.match(report.second, /&lt;\/script&gt;&lt;!-- café/);
    const raw = fs.readFileSync(path.join(albums, album, 'photos-1.js'), 'utf8');
    assert.doesNotMatch(raw, /<\/script|<!--/i, 'no text of the user can end a script element');
    assert.deepEqual(problems, []);
    await context.close();
  });

  test(`${album}: scrolling joins the made tiles, which open in the viewer and show their pictures`, async () => {
    for (const [device, options] of [['phone', phone], ['desktop', desktop]]) {
      const { page, context, problems } = await openPage(album, options);
      if (device === 'phone') {
        // Only the next batch comes before the visitor scrolls.
        await page.waitForFunction(() => window.albumBatches && window.albumBatches[2]);
        const fetched = await page.evaluate(() => Array.from(document.querySelectorAll('script[src^="photos-"]'))
          .map((tag) => tag.getAttribute('src')));
        assert.deepEqual(fetched, ['photos-2.js']);
      }
      await page.locator('#photo-60').scrollIntoViewIfNeeded();
      await page.waitForFunction((tile) => document.querySelectorAll(tile).length >= 120, sel.tile);
      const made = page.locator('#photo-70');
      await made.scrollIntoViewIfNeeded();
      await page.waitForFunction(() => { const img = document.querySelector('#photo-70 img'); return img.complete && img.naturalWidth > 0; });
      await page.screenshot({ path: path.join(shots, `${theme}-300-scrolled-${device}.png`) });
      await made.locator('a').click();
      assert.equal((await page.locator(sel.counter).textContent()).trim(), `70 / ${BIG}`);
      assert.match(page.url(), /#photo-70$/);
      await page.keyboard.press('Escape');
      assert.equal(await page.evaluate(() => document.activeElement.closest('li')?.id), 'photo-70');
      assert.deepEqual(problems, []);
      await context.close();
    }
  });

  test(`${album}: the keyboard reaches a made tile and Enter opens it`, async () => {
    const { page, context, problems } = await openPage(album);
    await page.locator('#photo-60 a').focus();
    await page.waitForFunction((tile) => document.querySelectorAll(tile).length >= 120, sel.tile);
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.closest('li')?.id), 'photo-61');
    await page.keyboard.press('Enter');
    assert.equal((await page.locator(sel.counter).textContent()).trim(), `61 / ${BIG}`);
    await page.keyboard.press('ArrowLeft');
    assert.equal((await page.locator(sel.counter).textContent()).trim(), `60 / ${BIG}`);
    assert.deepEqual(problems, []);
    await context.close();
  });

  test(`${album}: without JavaScript the page's tiles lead to their pictures`, async () => {
    const context = await browser.newContext({ ...phone, javaScriptEnabled: false });
    const page = await context.newPage();
    await page.goto(albumUrl(album));
    const links = await page.locator(sel.open).evaluateAll((all) => all.map((a) => a.getAttribute('href')));
    assert.equal(links.length, ON_PAGE);
    for (const href of links) assert.ok(fs.existsSync(path.join(albums, album, href)), href);
    await page.locator('#photo-4 img').scrollIntoViewIfNeeded();
    assert.ok(await page.locator('#photo-4 img').evaluate((img) => img.complete && img.naturalWidth > 0));
    await context.close();
  });
}

test('mosaic-300: a batch that cannot be loaded ends the tiles before it, and the viewer keeps to them', async () => {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'gallivex-tiles-'));
  try {
    fs.cpSync(path.join(albums, 'mosaic-300'), copy, { recursive: true });
    fs.unlinkSync(path.join(copy, 'photos-3.js'));
    const context = await browser.newContext(phone);
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(String(error)));
    await page.goto(pathToFileURL(path.join(copy, 'index.html')).href);
    for (let i = 0; i < 12; ++i) {
      await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
      await page.waitForTimeout(100);
    }
    const ids = await page.evaluate(() => Array.from(document.querySelectorAll('.tile')).map((li) => li.id));
    assert.deepEqual(ids, Array.from({ length: 2 * ON_PAGE }, (_, i) => `photo-${i + 1}`));
    await page.locator('#photo-1 a').click();
    await page.keyboard.press('End');
    assert.equal((await page.locator(themes.mosaic.counter).textContent()).trim(), `${2 * ON_PAGE} / ${2 * ON_PAGE}`);
    assert.deepEqual(errors, []);
    await context.close();
  } finally {
    fs.rmSync(copy, { recursive: true, force: true });
  }
});
