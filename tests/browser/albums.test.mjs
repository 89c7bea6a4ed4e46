// SPDX-License-Identifier: GPL-2.0-or-later
// Generated albums in headless Chromium, opened from disk: every picture loads, nothing goes
// wrong in the console, the viewer of each theme opens, moves with the arrow keys and closes
// with Esc, swipes move it on touch screens, and no page scrolls sideways on a phone.
// GV_ALBUMS is the folder of albums (one per theme variant), GV_SCREENSHOTS where the
// pictures of what a visitor sees go.
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

const PHOTOS = 10; // as html_browser_albums makes them
const viewers = {
  mosaic: { open: '.tile > a', dialog: '.lightbox', counter: '.lb-count' },
  slideshow: { open: 'button.play', dialog: '.show', counter: '.s-count' },
};
let browser;

before(async () => {
  browser = await launchChromium();
});
after(async () => { await browser?.close(); });

async function openPage(album, file = 'index.html', options = {}) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 860 }, ...options });
  const page = await context.newPage();
  const problems = [];
  page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
  page.on('pageerror', (error) => problems.push(String(error)));
  // A picture still on its way when the test moves to the next page is aborted, not missing.
  page.on('requestfailed', (request) => {
    if (request.failure()?.errorText !== 'net::ERR_ABORTED') problems.push(`failed: ${request.url()}`);
  });
  await page.goto(pathToFileURL(path.join(albums, album, file)).href);
  return { page, context, problems };
}

// Every picture of the page, lazy ones too, must arrive with pixels.
async function expectPicturesLoad(page) {
  await page.evaluate(() => document.querySelectorAll('img[loading="lazy"]').forEach((img) => { img.loading = 'eager'; }));
  await page.waitForFunction(() => Array.from(document.images).every((img) => img.complete), null, { timeout: 15000 });
  const broken = await page.evaluate(() => Array.from(document.images)
    .filter((img) => img.getAttribute('src') && img.naturalWidth === 0).map((img) => img.src));
  assert.deepEqual(broken, []);
}

async function expectNoSideScroll(page, width) {
  const scrollWidth = await page.evaluate(() => document.documentElement.scrollWidth);
  assert.ok(scrollWidth <= width, `the page is ${scrollWidth} px wide at ${width} px`);
}

async function counterText(page, selector) {
  return (await page.locator(selector).textContent()).trim();
}

async function swipe(page, selector, dx) {
  await page.dispatchEvent(selector, 'pointerdown', { clientX: 200, clientY: 400, pointerType: 'touch', isPrimary: true });
  await page.dispatchEvent(selector, 'pointerup', { clientX: 200 + dx, clientY: 405, pointerType: 'touch', isPrimary: true });
}

async function expectLandmarks(page) {
  const facts = await page.evaluate(() => ({
    main: document.querySelectorAll('main').length,
    lang: document.documentElement.lang,
    noAlt: Array.from(document.images).filter((img) => !img.hasAttribute('alt')).length,
    unnamedButtons: Array.from(document.querySelectorAll('button'))
      .filter((b) => !(b.getAttribute('aria-label') || b.textContent.trim())).length,
    title: document.title,
  }));
  assert.equal(facts.main, 1);
  assert.equal(facts.lang, 'en');
  assert.equal(facts.noAlt, 0);
  assert.equal(facts.unnamedButtons, 0);
  assert.ok(facts.title.length > 0);
}

for (const [album, viewer] of Object.entries({ mosaic: viewers.mosaic, 'mosaic-light': viewers.mosaic, slideshow: viewers.slideshow })) {
  test(`${album}: pictures load, the viewer opens, moves with the keys and closes`, async () => {
    const { page, context, problems } = await openPage(album);
    await expectLandmarks(page);
    await expectPicturesLoad(page);
    await page.screenshot({ path: path.join(shots, `${album}-desktop.png`), fullPage: true });
    await page.locator(viewer.open).first().click();
    const dialog = page.locator(viewer.dialog);
    assert.equal(await dialog.isVisible(), true);
    assert.equal(await dialog.getAttribute('role'), 'dialog');
    assert.equal(await dialog.getAttribute('aria-modal'), 'true');
    assert.ok(await page.evaluate((s) => document.querySelector(s).contains(document.activeElement), viewer.dialog),
      'focus moves into the viewer');
    assert.equal(await counterText(page, viewer.counter), `1 / ${PHOTOS}`);
    await page.keyboard.press('ArrowRight');
    assert.equal(await counterText(page, viewer.counter), `2 / ${PHOTOS}`);
    await page.keyboard.press('ArrowLeft');
    await page.keyboard.press('ArrowLeft');
    assert.equal(await counterText(page, viewer.counter), `${PHOTOS} / ${PHOTOS}`);
    await page.keyboard.press('Home');
    assert.equal(await counterText(page, viewer.counter), `1 / ${PHOTOS}`);
    await page.keyboard.press('End');
    assert.equal(await counterText(page, viewer.counter), `${PHOTOS} / ${PHOTOS}`);
    await page.keyboard.press('Home');
    await page.keyboard.press('ArrowRight');
    await page.waitForFunction((s) => Array.from(document.querySelectorAll(s)).some((img) => img.complete && img.naturalWidth > 0),
      `${viewer.dialog} img:not([class=""])`);
    await page.waitForTimeout(1000); // let the transition settle for the picture
    await page.screenshot({ path: path.join(shots, `${album}-viewer.png`) });
    await page.keyboard.press('Escape');
    assert.equal(await dialog.isVisible(), false);
    assert.ok(await page.evaluate(() => document.activeElement && document.activeElement !== document.body),
      'focus returns to the page');
    assert.deepEqual(problems, []);
    await context.close();
  });
}

test('mosaic: texts appear as typed, with their line breaks', async () => {
  const { page, context } = await openPage('mosaic');
  const titles = await page.locator('.caption .t').allTextContents();
  assert.ok(titles.includes('<b>&"\' as typed'));
  assert.ok(titles.includes('Ærø – 東京 😀'));
  await page.locator('.tile > a').first().click();
  assert.equal(await page.locator('.lb-title').textContent(), 'Harbour at noon');
  assert.equal(await page.locator('.lb-desc').innerText(), 'Boats waiting for the tide.\nSecond line kept.');
  const sections = await page.locator('section.group h2').allTextContents();
  assert.deepEqual(sections.map((s) => s.replace(/\s*\d+$/, '')), ['Coast', 'City › Night', 'Garden']);
  assert.equal(await page.locator('.lightbox .lb-announce').getAttribute('aria-live'), 'polite');
  assert.equal(await page.locator('.lightbox .lb-announce').textContent(), 'Photo 1 of 10: Harbour at noon');
  await context.close();
});

test('slideshow: announces each photo to screen readers and plays by the interval', async () => {
  const { page, context } = await openPage('slideshow');
  await page.locator('button.play').click();
  assert.equal(await page.locator('.show .announce').getAttribute('aria-live'), 'polite');
  assert.match(await page.locator('.show .announce').textContent(), /^Photo 1 of 10: Harbour at noon$/);
  await page.keyboard.press('ArrowRight');
  assert.match(await page.locator('.show .announce').textContent(), /^Photo 2 of 10: <b>&"' as typed$/);
  await context.close();
});

for (const album of ['classic', 'classic-charcoal']) {
  test(`${album}: index pages, photo pages, arrows, Home/End and Esc`, async () => {
    const { page, context, problems } = await openPage(album);
    await expectLandmarks(page);
    await expectPicturesLoad(page);
    await page.screenshot({ path: path.join(shots, `${album}-desktop.png`), fullPage: true });
    await page.keyboard.press('ArrowRight');
    await page.waitForURL(/index-2\.html$/);
    await page.keyboard.press('ArrowLeft');
    await page.waitForURL(/index\.html$/);
    await page.locator('a.thumb').first().click();
    await page.waitForURL(/photo-1\.html$/);
    await expectPicturesLoad(page);
    await page.keyboard.press('ArrowRight');
    await page.waitForURL(/photo-2\.html$/);
    await page.keyboard.press('End');
    await page.waitForURL(new RegExp(`photo-${PHOTOS}\\.html$`));
    await page.keyboard.press('Home');
    await page.waitForURL(/photo-1\.html$/);
    assert.equal(await page.locator('figcaption h1').textContent(), 'Harbour at noon');
    assert.equal(await page.locator('.description').innerText(), 'Boats waiting for the tide.\nSecond line kept.');
    await expectPicturesLoad(page);
    await page.screenshot({ path: path.join(shots, `${album}-photo.png`) });
    await page.keyboard.press('Escape');
    await page.waitForURL(/index\.html$/);
    assert.deepEqual(problems, []);
    await context.close();
  });
}

for (const album of ['mosaic', 'mosaic-light', 'classic', 'classic-charcoal', 'slideshow']) {
  test(`${album}: fits a 360 px phone and a 4K screen, swipes move the viewer`, async () => {
    const phone = { viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
    const { page, context, problems } = await openPage(album, 'index.html', phone);
    await expectPicturesLoad(page);
    await expectNoSideScroll(page, 360);
    await page.screenshot({ path: path.join(shots, `${album}-phone.png`), fullPage: true });
    if (album.startsWith('classic')) {
      await page.goto(pathToFileURL(path.join(albums, album, 'photo-1.html')).href);
      await expectNoSideScroll(page, 360);
      await swipe(page, '#picture', -150);
      await page.waitForURL(/photo-2\.html$/);
      await page.screenshot({ path: path.join(shots, `${album}-phone-photo.png`) });
    } else {
      const viewer = album.startsWith('mosaic') ? viewers.mosaic : viewers.slideshow;
      await page.locator(viewer.open).first().click();
      await swipe(page, viewer.dialog, -150);
      assert.equal(await counterText(page, viewer.counter), `2 / ${PHOTOS}`);
      await swipe(page, viewer.dialog, 150);
      assert.equal(await counterText(page, viewer.counter), `1 / ${PHOTOS}`);
      await page.waitForTimeout(900);
      await page.screenshot({ path: path.join(shots, `${album}-phone-viewer.png`) });
    }
    await page.setViewportSize({ width: 3840, height: 2160 });
    await page.goto(pathToFileURL(path.join(albums, album, 'index.html')).href);
    await expectNoSideScroll(page, 3840);
    assert.deepEqual(problems, []);
    await context.close();
  });
}

test('every theme stays small: its CSS and JavaScript under 30 KB', () => {
  for (const album of ['mosaic', 'classic', 'slideshow']) {
    const assets = path.join(albums, album, 'assets');
    const bytes = fs.readdirSync(assets).reduce((sum, file) => sum + fs.statSync(path.join(assets, file)).size, 0);
    assert.ok(bytes < 30 * 1024, `${album}: ${bytes} bytes`);
  }
});
