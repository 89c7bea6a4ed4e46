// SPDX-License-Identifier: GPL-2.0-or-later
// The photo viewer of every theme as a visitor uses it, in headless Chromium from disk: the
// Back button closes the viewer and Forward opens it again, a link to a photo opens the album
// on it, double-tap and the keys zoom (and a zoomed photo is not swiped away), the camera
// details of a photo with EXIF data, one polite announcement of title and position per move,
// a 300-photo album's first render under the DOM budget with every photo still reachable, and
// Classic's pager folded on a phone. GV_ALBUMS and GV_SCREENSHOTS as for albums.test.mjs.
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

const BIG = 300; // photos of the *-300 albums html_browser_albums makes
const DOM_BUDGET = 1500;
const phone = { viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const desktop = { viewport: { width: 1440, height: 900 } };
// How each theme's viewer is opened and read.
const viewers = {
  mosaic: { open: '.tile > a', dialog: '.lightbox', counter: '.lb-count', picture: '.lb-img', seventh: 'Harbour at noon 3',
    title: '.lb-title', details: '.lb-details', camera: '.lb-camera', close: '.lb-close', download: '.lb-download' },
  slideshow: { open: '.slide-link', dialog: '.show', counter: '.s-count', picture: '.slide.on', seventh: 'Market 1',
    title: '.c-title', details: '.s-details', camera: '.s-camera', close: '.s-close', download: '.s-download' },
};
let browser;

before(async () => {
  browser = await launchChromium();
});
after(async () => { await browser?.close(); });

function albumUrl(album, file = 'index.html') {
  const [name, hash] = file.split('#');
  return pathToFileURL(path.join(albums, album, name)).href + (hash ? `#${hash}` : '');
}

async function openPage(album, file = 'index.html', options = desktop) {
  const context = await browser.newContext(options);
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
  await page.goto(albumUrl(album, file));
  return { page, context, problems };
}

async function counter(page, viewer) {
  return (await page.locator(`${viewer.dialog} ${viewer.counter}`).textContent()).trim();
}

async function visible(page, selector) {
  return page.locator(selector).isVisible();
}

for (const theme of ['mosaic', 'slideshow']) {
  const viewer = viewers[theme];
  const album = `${theme}-300`;

  test(`${theme}: Back closes the viewer and stays in the album, Forward opens it again`, async () => {
    const { page, context, problems } = await openPage(album, 'index.html', phone);
    await page.locator(viewer.open).nth(2).click();
    assert.equal(await visible(page, viewer.dialog), true);
    assert.match(page.url(), /index\.html#photo-3$/);
    await page.keyboard.press('ArrowRight');
    assert.match(page.url(), /#photo-4$/, 'the address follows the photo shown');
    await page.goBack();
    await page.waitForFunction((s) => document.querySelector(s).hidden, viewer.dialog);
    assert.match(page.url(), /index\.html$/, 'Back leaves the visitor in the album');
    await page.goForward();
    await page.waitForFunction((s) => !document.querySelector(s).hidden, viewer.dialog);
    assert.equal(await counter(page, viewer), `4 / ${BIG}`);
    // Closing with the button takes the entry away too: one Back later the album is left.
    await page.locator(`${viewer.dialog} ${viewer.close}`).click();
    await page.waitForURL(/index\.html$/);
    assert.equal(await visible(page, viewer.dialog), false);
    assert.deepEqual(problems, []);
    await context.close();
  });

  test(`${theme}: a link to photo 7 opens photo 7, also one still waiting past the first screens`, async () => {
    const { page, context, problems } = await openPage(album, 'index.html#photo-7');
    await page.waitForFunction((s) => !document.querySelector(s).hidden, viewer.dialog);
    assert.equal(await counter(page, viewer), `7 / ${BIG}`);
    assert.equal(await page.locator(`${viewer.dialog} ${viewer.title}`).textContent(), viewer.seventh);
    await page.goto(albumUrl(album, 'index.html#photo-250'));
    await page.reload();
    await page.waitForFunction((s) => !document.querySelector(s).hidden, viewer.dialog);
    assert.equal(await counter(page, viewer), `250 / ${BIG}`);
    await page.keyboard.press('Escape');
    // The photo's own thumbnail is on the page now and has the focus back.
    assert.equal(await page.evaluate(() => document.activeElement.closest('li')?.id), 'photo-250');
    assert.deepEqual(problems, []);
    await context.close();
  });

  test(`${theme}: double-tap and + zoom the photo, a zoomed photo pans instead of moving on`, async () => {
    const { page, context, problems } = await openPage(album, 'index.html', phone);
    await page.locator(viewer.open).first().click();
    const picture = page.locator(`${viewer.dialog} ${viewer.picture}`);
    await page.waitForFunction((s) => { const i = document.querySelector(s); return i && i.complete && i.naturalWidth > 0; },
      `${viewer.dialog} ${viewer.picture}`);
    const box = await picture.boundingBox();
    const x = box.x + box.width / 2, y = box.y + box.height / 2;
    await page.touchscreen.tap(x, y);
    await page.touchscreen.tap(x, y);
    await page.waitForFunction((s) => /scale\(2\.5\)/.test(document.querySelector(s).style.transform), `${viewer.dialog} ${viewer.picture}`);
    await page.screenshot({ path: path.join(shots, `${theme}-phone-zoomed.png`) });
    // A swipe on a zoomed photo moves the picture, not to the next photo.
    await page.dispatchEvent(viewer.dialog, 'pointerdown', { pointerId: 5, clientX: 200, clientY: 400, pointerType: 'touch', isPrimary: true });
    await page.dispatchEvent(viewer.dialog, 'pointermove', { pointerId: 5, clientX: 80, clientY: 400, pointerType: 'touch', isPrimary: true });
    await page.dispatchEvent(viewer.dialog, 'pointerup', { pointerId: 5, clientX: 80, clientY: 400, pointerType: 'touch', isPrimary: true });
    assert.equal(await counter(page, viewer), `1 / ${BIG}`);
    assert.match(await picture.evaluate((img) => img.style.transform), /translate\(-?\d/);
    await page.touchscreen.tap(x, y);
    await page.touchscreen.tap(x, y);
    await page.waitForFunction((s) => document.querySelector(s).style.transform === '', `${viewer.dialog} ${viewer.picture}`);
    // The keys do the same on a desktop; Esc first undoes the zoom, then closes.
    await page.keyboard.press('+');
    assert.match(await picture.evaluate((img) => img.style.transform), /scale\(1\.5\)/);
    await page.keyboard.press('ArrowRight');
    assert.equal(await counter(page, viewer), `1 / ${BIG}`, 'arrows do not move on while zoomed');
    await page.keyboard.press('-');
    assert.equal(await picture.evaluate((img) => img.style.transform), '');
    await page.keyboard.press('+');
    await page.keyboard.press('Escape');
    assert.equal(await visible(page, viewer.dialog), true);
    await page.keyboard.press('Escape');
    assert.equal(await visible(page, viewer.dialog), false);
    assert.deepEqual(problems, []);
    await context.close();
  });

  test(`${theme}: the camera details of a photo with EXIF data, by keyboard`, async () => {
    const { page, context, problems } = await openPage(album);
    await page.locator(viewer.open).nth(1).click(); // a photo without camera data
    assert.equal(await visible(page, `${viewer.dialog} ${viewer.details}`), false);
    await page.keyboard.press('ArrowRight'); // photo 3: a Canon DIGITAL IXUS
    const button = page.locator(`${viewer.dialog} ${viewer.details}`);
    assert.equal(await button.isVisible(), true);
    assert.equal(await button.getAttribute('aria-expanded'), 'false');
    let reached = false;
    for (let i = 0; i < 12 && !reached; ++i) {
      await page.keyboard.press('Tab');
      reached = await button.evaluate((b) => b === document.activeElement);
    }
    assert.ok(reached, 'Tab reaches the camera details button');
    await page.keyboard.press('Enter');
    assert.equal(await button.getAttribute('aria-expanded'), 'true');
    const panel = page.locator(`${viewer.dialog} ${viewer.camera}`);
    assert.equal(await panel.isVisible(), true);
    const text = await panel.innerText();
    for (const expected of ['Camera', 'Canon DIGITAL IXUS', 'Exposure', '1/350 s', 'Aperture', 'F/4.0', 'Focal length', '10.8 mm', '2001']) {
      assert.ok(text.includes(expected), `"${expected}" in ${JSON.stringify(text)}`);
    }
    assert.ok(!/GPS|Serial|Latitude/i.test(text));
    await page.screenshot({ path: path.join(shots, `${theme}-desktop-camera.png`) });
    await page.keyboard.press('ArrowLeft');
    assert.equal(await panel.isVisible(), false, 'no panel for a photo without camera data');
    assert.deepEqual(problems, []);
    await context.close();
  });

  test(`${theme}: the photo's own file offered for download under its name`, async () => {
    const { page, context } = await openPage(album);
    await page.locator(viewer.open).nth(2).click();
    const link = page.locator(`${viewer.dialog} ${viewer.download}`);
    assert.equal(await link.isVisible(), true);
    // Pages from disk cannot name a download (Chromium opens the file instead), so the
    // test reads the link: the name offered and a file the album holds.
    assert.equal(await link.getAttribute('download'), 'exs-canon-ixus.jpg');
    const file = path.join(albums, album, decodeURIComponent(await link.getAttribute('href')));
    assert.ok(fs.existsSync(file), `${file} is in the album`);
    await page.keyboard.press('ArrowRight'); // the next photo offers its own file
    assert.match(await link.getAttribute('download'), /^(exs-DSCN0010|mdi-Canon_EOS_7D)\.jpg$/);
    await context.close();
  });

  test(`${theme}: one polite live region says title and position on every move`, async () => {
    const { page, context } = await openPage(album);
    await page.locator(viewer.open).first().click();
    const regions = page.locator(`${viewer.dialog} [aria-live]`);
    assert.equal(await regions.count(), 1, 'a single live region, so nothing is said twice');
    assert.equal(await regions.getAttribute('aria-live'), 'polite');
    assert.equal(await regions.textContent(), `Photo 1 of ${BIG}: Harbour at noon 1`);
    await page.keyboard.press('ArrowRight');
    assert.equal(await regions.textContent(), `Photo 2 of ${BIG}: <b>&"' as typed 1`);
    await page.keyboard.press('End');
    assert.equal(await regions.textContent(), `Photo ${BIG} of ${BIG}: Panorama 30`);
    await context.close();
  });

  test(`${theme}: screenshots of the viewer on a phone and a desktop`, async () => {
    for (const [device, options] of [['phone', phone], ['desktop', desktop]]) {
      const { page, context } = await openPage(album, 'index.html#photo-4', options);
      await page.waitForFunction((s) => { const i = document.querySelector(s); return i && i.complete && i.naturalWidth > 0; },
        `${viewer.dialog} ${viewer.picture}`);
      await page.waitForTimeout(900); // the fade in
      await page.screenshot({ path: path.join(shots, `${theme}-viewer-${device}.png`) });
      await context.close();
    }
  });
}

for (const album of ['mosaic-300', 'slideshow-300', 'classic-300']) {
  test(`${album}: the first render stays under ${DOM_BUDGET} elements and every photo is still reachable`, async () => {
    for (const options of [phone, desktop]) {
      const { page, context, problems } = await openPage(album, 'index.html', options);
      const elements = await page.evaluate(() => document.getElementsByTagName('*').length);
      assert.ok(elements <= DOM_BUDGET, `${elements} elements on the first render`);
      if (!album.startsWith('classic')) {
        // Scrolling to the end puts every photo on the page, in order.
        for (let i = 0; i < 20; ++i) {
          await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
          await page.waitForTimeout(100);
        }
        const ids = await page.evaluate(() => Array.from(document.querySelectorAll('li[id^="photo-"]')).map((li) => li.id));
        assert.deepEqual(ids, Array.from({ length: BIG }, (_, i) => `photo-${i + 1}`));
        assert.equal(await page.locator('template').count(), 0);
      }
      assert.deepEqual(problems, []);
      await context.close();
    }
  });
}

test('classic: a link to photo 7 opens its page, which zooms by double-tap and keeps its camera details', async () => {
  const { page, context, problems } = await openPage('classic-300', 'index.html#photo-7', phone);
  await page.waitForURL(/photo-7\.html$/);
  assert.equal(await page.locator('.counter').textContent(), `7 / ${BIG}`);
  const picture = page.locator('#picture img');
  const box = await picture.boundingBox();
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForFunction(() => /scale\(2\.5\)/.test(document.querySelector('#picture img').style.transform));
  await page.keyboard.press('ArrowRight');
  assert.match(page.url(), /photo-7\.html$/, 'a zoomed photo stays');
  await page.keyboard.press('Escape');
  assert.equal(await picture.evaluate((img) => img.style.transform), '');
  await page.goto(albumUrl('classic-300', 'photo-3.html'));
  const details = page.locator('details.camera');
  assert.equal(await details.evaluate((d) => d.open), false);
  await page.locator('details.camera summary').focus();
  await page.keyboard.press('Enter');
  assert.equal(await details.evaluate((d) => d.open), true);
  assert.match(await details.innerText(), /Canon DIGITAL IXUS[\s\S]*1\/350 s/);
  assert.equal(await page.locator('a.download').getAttribute('download'), 'exs-canon-ixus.jpg');
  await page.screenshot({ path: path.join(shots, 'classic-viewer-phone.png'), fullPage: true });
  await page.goto(albumUrl('classic-300', 'photo-2.html'));
  assert.equal(await page.locator('details.camera').count(), 0, 'no details for a photo without camera data');
  await context.close();
  const wide = await openPage('classic-300', 'photo-3.html', desktop);
  await wide.page.locator('details.camera summary').click();
  await wide.page.screenshot({ path: path.join(shots, 'classic-viewer-desktop.png') });
  await wide.context.close();
  assert.deepEqual(problems, []);
});

test('classic: the pager folds to "1 … 7 8 9 … 19" on a phone and shows every page on a desktop', async () => {
  const { page, context } = await openPage('classic-300', 'index-8.html', phone);
  const shown = async () => (await page.locator('nav.pages ol li').evaluateAll(
    (items) => items.filter((li) => li.offsetParent).map((li) => li.textContent.trim()))).join(' ');
  assert.equal(await shown(), '1 … 7 8 9 … 19');
  assert.equal(await page.locator('nav.pages [aria-current="page"]').textContent(), '8');
  const scrollWidth = await page.evaluate(() => document.documentElement.scrollWidth);
  assert.ok(scrollWidth <= 360, `the page is ${scrollWidth} px wide`);
  await page.locator('nav.pages').screenshot({ path: path.join(shots, 'classic-pager-phone.png') });
  await page.goto(albumUrl('classic-300', 'index-3.html'));
  assert.equal(await shown(), '1 2 3 4 … 19', 'one page between shown ones is no gap');
  await page.setViewportSize({ width: 1440, height: 900 });
  assert.equal((await shown()).split(' ').length, 19);
  await context.close();
});
