// SPDX-License-Identifier: GPL-2.0-or-later
// Every page of every generated album as people who do not see it, or do not use a mouse,
// meet it: axe-core finds no violations (contrast included), html-validate's recommended
// rules pass, every element the Tab key reaches shows that it has the focus, and the
// navigation of Classic's photo pages and the Slideshow's controls stay where they belong.
// GV_ALBUMS is the folder of albums (one per theme variant), as html_browser_albums makes it.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import { launchChromium } from './chromium.mjs';
import { HtmlValidate } from 'html-validate';

const require = createRequire(import.meta.url);
const axeScript = require.resolve('axe-core/axe.min.js');
const albums = process.env.GV_ALBUMS;
assert.ok(albums && fs.existsSync(albums), 'GV_ALBUMS must name the generated albums');

const variants = fs.readdirSync(albums).filter((name) => fs.existsSync(path.join(albums, name, 'index.html'))).sort();
const pagesOf = (album) => fs.readdirSync(path.join(albums, album)).filter((file) => file.endsWith('.html')).sort();
// The big albums (named by their photo count) repeat the small ones' pages hundreds of times:
// the validator reads them all, the browser opens their first index page and photo page.
const isBig = (album) => /-\d+$/.test(album);
const openedPagesOf = (album) => (isBig(album) ? pagesOf(album).filter((file) => ['index.html', 'photo-1.html'].includes(file)) : pagesOf(album));
// The button or link that opens each single-page theme's viewer.
const viewerOpeners = { mosaic: '.tile > a', slideshow: 'button.play' };
const viewerDialogs = { mosaic: '.lightbox', slideshow: '.show' };
const themeOf = (album) => album.replace(/-.*$/, '');
// "Follow the device" pages are checked in both of the visitor's schemes.
const schemesOf = (album) => (album === 'mosaic-never' ? ['dark', 'light'] : ['light']);

let browser;
before(async () => {
  browser = await launchChromium();
});
after(async () => { await browser?.close(); });

async function openPage(album, file, options = {}) {
  const context = await browser.newContext({
    viewport: { width: 1280, height: 860 }, reducedMotion: 'reduce', ...options,
  });
  const page = await context.newPage();
  await page.goto(pathToFileURL(path.join(albums, album, file)).href);
  return { page, context };
}

// Lazy pictures loaded, so what axe measures is what a visitor ends up seeing.
async function settle(page) {
  await page.evaluate(() => document.querySelectorAll('img[loading="lazy"]').forEach((img) => { img.loading = 'eager'; }));
  await page.waitForFunction(() => Array.from(document.images).every((img) => img.complete), null, { timeout: 15000 });
}

async function axeViolations(page) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) await page.addScriptTag({ path: axeScript });
  const violations = await page.evaluate(async () => (await window.axe.run(document, { resultTypes: ['violations'] })).violations);
  return violations.map((v) => `${v.id}: ${v.help} — ${v.nodes.map((n) => n.target.join(' ')).slice(0, 4).join(', ')}`);
}

// The pixels around the focused element, and the same pixels once it lost the focus.
async function focusShows(page) {
  const box = await page.evaluate(() => {
    const r = document.activeElement.getBoundingClientRect();
    const x = Math.max(0, r.left - 8), y = Math.max(0, r.top - 8);
    return { x, y, width: Math.min(innerWidth, r.right + 8) - x, height: Math.min(innerHeight, r.bottom + 8) - y };
  });
  if (box.width < 1 || box.height < 1) return false;
  const focused = await page.screenshot({ clip: box });
  await page.evaluate(() => { window.__focused = document.activeElement; document.activeElement.blur(); });
  const blurred = await page.screenshot({ clip: box });
  await page.evaluate(() => window.__focused.focus({ preventScroll: true }));
  return !focused.equals(blurred);
}

const describe = () => {
  const e = document.activeElement;
  return e === document.body || !e ? null
    : `${e.tagName.toLowerCase()}${e.className ? '.' + String(e.className).split(' ').join('.') : ''} "${(e.getAttribute('aria-label') || e.textContent || e.querySelector?.('img')?.alt || '').trim().slice(0, 30)}"`;
};

// Walks the page with the Tab key as far as it leads (round a dialog that keeps the focus,
// once) and returns the elements that showed no sign of having the focus.
async function unmarkedStops(page, limit = 80) {
  const unmarked = [];
  const seen = [];
  for (let step = 0; step < limit; ++step) {
    await page.keyboard.press('Tab');
    const name = await page.evaluate(describe);
    const key = await page.evaluate(() => {
      const e = document.activeElement;
      if (!e || e === document.body) return null;
      if (!e.dataset.tabStop) e.dataset.tabStop = String(document.querySelectorAll('[data-tab-stop]').length + 1);
      return e.dataset.tabStop;
    });
    if (key === null || seen.includes(key)) break;
    seen.push(key);
    if (!(await focusShows(page))) unmarked.push(name);
  }
  assert.ok(seen.length > 0, 'the Tab key reaches something');
  return unmarked;
}

test('every page of every album passes html-validate\'s recommended rules', async () => {
  const validator = new HtmlValidate({ extends: ['html-validate:recommended'] });
  const problems = [];
  for (const album of variants) {
    for (const file of pagesOf(album)) {
      const report = await validator.validateString(fs.readFileSync(path.join(albums, album, file), 'utf8'), `${album}/${file}`);
      for (const result of report.results)
        for (const m of result.messages) problems.push(`${album}/${file}:${m.line}: ${m.ruleId}: ${m.message}`);
    }
  }
  assert.deepEqual(problems, []);
});

for (const album of variants) {
  test(`${album}: axe finds nothing on any page, viewer open or closed, and the focus always shows`, async () => {
    const problems = [];
    for (const colorScheme of schemesOf(album)) {
      for (const file of openedPagesOf(album)) {
        const { page, context } = await openPage(album, file, { colorScheme });
        await settle(page);
        for (const v of await axeViolations(page)) problems.push(`${file} (${colorScheme}): ${v}`);
        for (const u of await unmarkedStops(page)) problems.push(`${file} (${colorScheme}): no visible focus on ${u}`);
        const opener = viewerOpeners[themeOf(album)];
        if (opener) {
          await page.locator(opener).first().click();
          await page.waitForTimeout(300);
          for (const v of await axeViolations(page)) problems.push(`${file} viewer (${colorScheme}): ${v}`);
          for (const u of await unmarkedStops(page)) problems.push(`${file} viewer (${colorScheme}): no visible focus on ${u}`);
          assert.ok(await page.evaluate((s) => document.querySelector(s).contains(document.activeElement), viewerDialogs[themeOf(album)]),
            'the Tab key stays in the viewer');
        }
        await context.close();
      }
    }
    assert.deepEqual(problems, []);
  });
}

test('classic: the photo page keeps Previous and Next by name and in reach on a phone and beside a tall photo', async () => {
  const portrait = 'photo-4.html'; // the tall photo of the album's fourth place
  const screens = [
    { viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
    { viewport: { width: 1440, height: 900 } },
  ];
  for (const screen of screens) {
    const { page, context } = await openPage('classic', portrait, screen);
    await settle(page);
    const ratio = await page.evaluate(() => { const img = document.querySelector('#picture img'); return img.naturalHeight / img.naturalWidth; });
    assert.ok(ratio > 1, `${portrait} shows a portrait photo`);
    for (const [selector, name] of [['.steps a.prev', 'Previous'], ['.steps a.next', 'Next']]) {
      const link = page.locator(selector);
      assert.equal((await link.evaluate((a) => a.innerText.replace(/[←→]/g, '').trim() || a.textContent.replace(/[←→]/g, '').trim())), name);
      assert.ok(await page.getByRole('link', { name, exact: true }).isVisible(), `${name} is a link by that name`);
      const box = await link.boundingBox();
      const size = screen.viewport;
      assert.ok(box && box.y >= 0 && box.y + box.height <= size.height && box.x >= 0 && box.x + box.width <= size.width,
        `${name} is inside the ${size.width} × ${size.height} window: ${JSON.stringify(box)}`);
      assert.ok(box.width >= 24 && box.height >= 24, `${name} is big enough to tap: ${JSON.stringify(box)}`);
    }
    // The next photo's page has its links at the same place, whatever that photo's shape.
    const before = await page.locator('.steps a.next').boundingBox();
    await page.getByRole('link', { name: 'Next', exact: true }).click();
    await page.waitForURL(/photo-5\.html$/);
    await settle(page);
    const after = await page.locator('.steps a.next').boundingBox();
    if (screen.isMobile) assert.deepEqual([Math.round(after.x), Math.round(after.y)], [Math.round(before.x), Math.round(before.y)]);
    else assert.ok(after.y + after.height <= screen.viewport.height, 'Next stays on the screen');
    await context.close();
  }
});

test('slideshow: the full-screen button is there on a desktop and gone on a phone', async () => {
  const desktop = await openPage('slideshow', 'index.html');
  await desktop.page.locator('button.play').click();
  assert.equal(await desktop.page.locator('.s-full').isVisible(), true);
  await desktop.context.close();
  const phone = await openPage('slideshow', 'index.html', { viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true });
  await phone.page.locator('button.play').click();
  assert.equal(await phone.page.locator('.s-close').isVisible(), true);
  assert.equal(await phone.page.locator('.s-full').isVisible(), false);
  await phone.context.close();
});

test('words: pictures are named once, by their description or title, never by a file name', async () => {
  const problems = [];
  for (const album of variants) {
    for (const file of openedPagesOf(album)) {
      const { page, context } = await openPage(album, file);
      const facts = await page.evaluate(() => ({
        lang: document.documentElement.lang,
        alts: Array.from(document.images).map((img) => img.alt),
        empties: Array.from(document.querySelectorAll('h1, h2, h3, h4, h5, h6')).filter((h) => !h.textContent.trim()).length,
        texts: document.body.innerText,
        ogTitle: document.querySelector('meta[property="og:title"]')?.content,
      }));
      if (facts.lang !== 'en') problems.push(`${album}/${file}: lang "${facts.lang}"`);
      if (facts.empties) problems.push(`${album}/${file}: ${facts.empties} empty headings`);
      if (!facts.ogTitle) problems.push(`${album}/${file}: no og:title`);
      for (const alt of facts.alts.filter((a) => /\.jpe?g$/i.test(a))) problems.push(`${album}/${file}: alt "${alt}"`);
      // (The big albums number their copies' titles, as if typed.)
      if (!isBig(album) && /\.jpe?g\b/i.test(facts.texts)) problems.push(`${album}/${file}: a file name shows`);
      // What a screen reader says around a linked picture (hidden words left out) must not
      // say the picture's name a second time.
      const repeats = await page.evaluate(() => Array.from(document.querySelectorAll('a img')).filter((img) => {
        const item = img.closest('li') || img.closest('a');
        const walker = document.createTreeWalker(item, NodeFilter.SHOW_TEXT);
        let spoken = '';
        for (let node = walker.nextNode(); node; node = walker.nextNode())
          if (!node.parentElement.closest('[aria-hidden="true"]')) spoken += ' ' + node.textContent;
        return img.alt && spoken.includes(img.alt);
      }).map((img) => img.alt));
      for (const alt of repeats) problems.push(`${album}/${file}: "${alt}" is said twice`);
      await context.close();
    }
  }
  assert.deepEqual(problems, []);
});
