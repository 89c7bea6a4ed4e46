/* Mosaic viewer: opens a photo full-screen; arrows, Home/End, Esc, +/-, swipes, pinch and
   double-tap zoom. Each opened photo is a history entry (Back closes the viewer) and a link
   (#photo-N opens the album on it). The page holds the first tiles; the tiles past them are
   made from the album's photos-N.js, sixty photos each, as the visitor scrolls near. */
(function () {
  'use strict';
  var Step = 60; // tiles put on the page at a time, and the photos of each photos-N.js
  var script = document.currentScript;
  var lists = Array.prototype.slice.call(document.querySelectorAll('.mosaic'));
  var box = document.querySelector('.lightbox');

  /* The album's photos in order, each with its tile's link once the tile exists. The page's
     own tiles are the first photos; the values of the others come in batches of Step, from
     the album's photos-1.js, photos-2.js... */
  var photos = [];
  lists.forEach(function (list) {
    Array.prototype.forEach.call(list.querySelectorAll('.tile > a'), function (link) { photos.push({ link: link }); });
  });
  var written = photos.length; // the tiles the page itself holds
  var placed = written;        // the photos whose tiles are on the page
  var more = script && script.dataset.more;
  var total = Math.max(written, more ? +script.dataset.count || 0 : 0);
  var thumbSize = script ? script.dataset.thumbSize : '';
  var loads = {}; // per batch: whether it has come or failed, and what waits for it
  if (!box || !total) return;

  function escapeHtml(value) {
    return String(value === undefined || value === null ? '' : value).replace(/[&<>"']/g, function (c) {
      return '&#' + c.charCodeAt(0) + ';';
    });
  }
  // A tile's sizes: a row's height wide by its shape, a bit more where the row stretches;
  // phones at 3x get 2x pictures, which look the same there.
  function sizesOf(thumb) {
    var row = 'calc(' + thumbSize + 'px * ', shape = ' * ' + thumb.width + ' / ' + thumb.height + ')';
    return '(max-width: 640px) and (min-resolution: 2.5dppx) ' + row + '.3' + shape +
      ', (max-width: 640px) ' + row + '.45' + shape + ', (min-width: 2200px) ' + row + '1.375' + shape +
      ', calc(' + thumbSize + 'px' + shape;
  }
  // The markup of a tile, as index.html writes the first ones.
  function tileHtml(photo) {
    var big = photo.big, thumb = photo.thumb, sizes = sizesOf(thumb), first = photo.n <= 4;
    var camera = (photo.camera || []).map(function (c) { return c[0] + ': ' + c[1] + '\n'; }).join('');
    var source = function (type, srcset) {
      return srcset ? '            <source type="image/' + type + '" srcset="' + escapeHtml(srcset) + '" sizes="' + sizes + '">\n' : '';
    };
    return '<li class="tile" id="' + escapeHtml(photo.a) + '" style="--w:' + thumb.width + ';--h:' + thumb.height + '">\n' +
      '        <a href="' + escapeHtml(big.url) + '" data-srcset="' + escapeHtml(big.srcset) + '" data-webp-srcset="' + escapeHtml(big.webp) +
      '" data-avif-srcset="' + escapeHtml(big.avif) + '" data-width="' + big.width + '" data-height="' + big.height + '" data-number="' + photo.n + '"' +
      (photo.original ? ' data-download="' + escapeHtml(photo.original) + '" data-name="' + escapeHtml(photo.name) + '"' : '') +
      (camera ? ' data-camera="' + escapeHtml(camera) + '"' : '') + '>\n' +
      '          <picture>\n' + source('avif', thumb.avif) + source('webp', thumb.webp) +
      '            <img src="' + escapeHtml(thumb.url) + '" srcset="' + escapeHtml(thumb.srcset) + '" sizes="' + sizes +
      '" width="' + thumb.width + '" height="' + thumb.height + '" alt="' + escapeHtml(photo.alt) + '" style="--ph:' + escapeHtml(photo.ph) +
      (first && photo.phUrl ? ';--ph-img:' + escapeHtml(photo.phUrl) : '') + '"' +
      (first ? ' loading="eager" fetchpriority="high"' : ' loading="lazy"') + ' decoding="async">\n' +
      '          </picture>\n' +
      '        </a>\n' +
      '        <div class="caption" aria-hidden="true"><p class="t">' + escapeHtml(photo.t) + '</p>' +
      (photo.d ? '<p class="d">' + escapeHtml(photo.d) + '</p>' : '') + '</div>\n' +
      '      </li>';
  }
  function makeTile(photo) {
    var maker = document.createElement('template');
    maker.innerHTML = tileHtml(photo);
    return maker.content.firstElementChild;
  }
  // Kept where the album's tests compare the tiles made here with the page's own.
  window.mosaicTile = makeTile;

  /* The batches of photos: the next one is fetched once the page has loaded, any other when
     one of its photos is wanted. Without them the viewer keeps to the page's own tiles. */
  function batchOf(i) { return Math.floor(i / Step) + 1; }
  function valuesAt(i) {
    var batch = window.albumBatches && window.albumBatches[batchOf(i)];
    return batch ? batch[i % Step] : null;
  }
  // Runs then once the values of photo i are here, or could not come.
  function whenLoaded(i, then) {
    var number = batchOf(i), load = loads[number];
    if (i < written || i >= total || !more || valuesAt(i) || (load && load.done)) { then(); return; }
    if (load) { load.waiting.push(then); return; }
    load = loads[number] = { done: false, waiting: [then] };
    var tag = document.createElement('script');
    tag.src = more.replace('{number}', number);
    tag.onload = tag.onerror = function () {
      load.done = true;
      if (!valuesAt(i)) total = Math.min(total, (number - 1) * Step); // the photos it has
      load.waiting.splice(0).forEach(function (run) { run(); });
    };
    document.body.appendChild(tag);
  }
  function linkAt(i) {
    if (photos[i]) return photos[i].link;
    var values = valuesAt(i);
    if (!values) return null;
    var link = makeTile(values).querySelector('a');
    listen(link, i);
    photos[i] = { link: link, group: values.g };
    return link;
  }

  /* Progressive rendering: puts the next tiles on the page, in their sections. */
  function sectionOf(list) { return list.closest('.group'); }
  function sectionNamed(title) {
    var all = lists.map(sectionOf);
    return all.filter(function (section) { return section.getAttribute('aria-label') === title; })[0] || all[all.length - 1];
  }
  // Puts the tiles of the next batch on the page; false when there are no more (or they
  // could not come).
  function putMore() {
    var end = Math.min(placed + Step, total), was = placed;
    for (var link; placed < end && (link = linkAt(placed)); ++placed) {
      var section = sectionNamed(photos[placed].group);
      section.querySelector('.mosaic').appendChild(link.parentNode);
      section.hidden = false;
    }
    return placed > was;
  }
  // Puts tiles on the page until photo i's is there, then runs then.
  function putThrough(i, then) {
    if (i < placed) { then(); return; }
    whenLoaded(placed, function () { if (putMore()) putThrough(i, then); else then(); });
  }
  lists.forEach(function (list) { if (!list.querySelector('li')) sectionOf(list).hidden = true; });
  var sentinel = document.querySelector('.foot');
  if (more && total > written) {
    var fetchNext = function () { whenLoaded(written, function () {}); };
    if (document.readyState === 'complete') fetchNext();
    else window.addEventListener('load', fetchNext);
    if (sentinel && 'IntersectionObserver' in window) {
      var watch = new IntersectionObserver(function (entries) {
        if (!entries[0].isIntersecting) return;
        whenLoaded(placed, function () {
          if (!putMore()) { watch.disconnect(); return; }
          watch.unobserve(sentinel); // observing again reports whether it is still near
          watch.observe(sentinel);
        });
      }, { rootMargin: '1200px 0px' });
      watch.observe(sentinel);
    } else {
      putThrough(total - 1, function () { /* no observer: everything at once */ });
    }
  }

  // Made here rather than in the page: a picture without a source is no valid markup.
  var img = document.createElement('img');
  img.className = 'lb-img';
  img.alt = '';
  box.querySelector('.lb-figure').prepend(img);
  var title = box.querySelector('.lb-title');
  var desc = box.querySelector('.lb-desc');
  var count = box.querySelector('.lb-count');
  var announce = box.querySelector('.lb-announce');
  var permalink = box.querySelector('.lb-link');
  var download = box.querySelector('.lb-download');
  var detailsButton = box.querySelector('.lb-details');
  var camera = box.querySelector('.lb-camera');
  var closeButton = box.querySelector('.lb-close');
  var current = -1;
  var opener = null;
  var pushed = false; // the viewer's history entry is ours to take back on closing

  function text(link, selector) {
    var node = link.parentNode.querySelector(selector);
    return node ? node.textContent : '';
  }
  function fit(link) {
    var w = +link.dataset.width, h = +link.dataset.height;
    // Never wider than the picture itself: a small photo is shown at its own size.
    var shown = Math.min(w, window.innerWidth, (window.innerHeight - 160) * w / h);
    return Math.max(1, Math.round(shown)) + 'px';
  }
  // The big pictures in the format the browser took for the tiles: it showed a WebP (or
  // AVIF) tile only if it can show that format.
  function srcsetOf(link) {
    var shown = '';
    var tiles = document.querySelectorAll('.tile img');
    for (var i = 0; i < tiles.length && !shown; i++) shown = tiles[i].currentSrc || '';
    if (/\.avif$/.test(shown) && link.dataset.avifSrcset) return link.dataset.avifSrcset;
    var webp = shown ? /\.(avif|webp)$/.test(shown)
                     : document.createElement('canvas').toDataURL('image/webp').indexOf('data:image/webp') === 0;
    if (webp && link.dataset.webpSrcset) return link.dataset.webpSrcset;
    return link.dataset.srcset;
  }
  function preload(i) {
    var link = linkAt((i + total) % total);
    if (!link) { whenLoaded((i + total) % total, function () {}); return; }
    var next = new Image();
    next.sizes = fit(link);
    next.srcset = srcsetOf(link);
  }
  function setUrl(hash, push) {
    var url = hash || location.pathname + location.search;
    try {
      if (push) history.pushState({ viewer: true }, '', url);
      else history.replaceState(push === false ? null : history.state, '', url);
    } catch (e) { /* a page from disk may refuse; the viewer works without */ }
  }

  /* Zoom: pinch or double-tap on touch screens, double-click, + and - keys. */
  var zoom = { scale: 1, x: 0, y: 0 };
  var pointers = {};
  var pinch = null, pan = null, lastTap = 0, touchedAt = 0;
  function applyZoom() {
    box.classList.toggle('zoomed', zoom.scale > 1);
    img.style.transform = zoom.scale > 1 ? 'translate(' + zoom.x + 'px,' + zoom.y + 'px) scale(' + zoom.scale + ')' : '';
  }
  function zoomTo(scale, cx, cy) {
    var rect = img.getBoundingClientRect();
    var next = Math.min(5, Math.max(1, scale));
    // The picture's centre before the zoom's own move; the point under the fingers (or the
    // centre) stays where it is.
    var mx = rect.left + rect.width / 2 - zoom.x, my = rect.top + rect.height / 2 - zoom.y;
    var px = cx === undefined ? zoom.x : cx - mx, py = cy === undefined ? zoom.y : cy - my;
    zoom.x = next === 1 ? 0 : px - (px - zoom.x) * next / zoom.scale;
    zoom.y = next === 1 ? 0 : py - (py - zoom.y) * next / zoom.scale;
    zoom.scale = next;
    applyZoom();
  }
  function resetZoom() { zoom = { scale: 1, x: 0, y: 0 }; pinch = pan = null; pointers = {}; applyZoom(); }
  function spread() {
    var p = Object.keys(pointers).map(function (k) { return pointers[k]; });
    return { d: Math.hypot(p[0].x - p[1].x, p[0].y - p[1].y), x: (p[0].x + p[1].x) / 2, y: (p[0].y + p[1].y) / 2 };
  }

  function showCamera(link) {
    var lines = (link.dataset.camera || '').split('\n').filter(Boolean);
    camera.textContent = '';
    lines.forEach(function (line) {
      var at = line.indexOf(': ');
      var dt = document.createElement('dt'), dd = document.createElement('dd');
      dt.textContent = line.slice(0, at);
      dd.textContent = line.slice(at + 2);
      camera.appendChild(dt);
      camera.appendChild(dd);
    });
    detailsButton.hidden = !lines.length;
    camera.hidden = !lines.length || detailsButton.getAttribute('aria-expanded') !== 'true';
  }
  function show(i) {
    var at = (i + total) % total, link = linkAt(at);
    // A photo past the page's tiles: shown once its batch has come.
    if (!link) { whenLoaded(at, function () { if (!box.hidden && linkAt(at)) show(at); }); return; }
    current = at;
    var thumb = link.querySelector('img');
    resetZoom();
    img.removeAttribute('srcset');
    img.src = thumb.currentSrc || thumb.src;
    img.width = +link.dataset.width;
    img.height = +link.dataset.height;
    img.sizes = fit(link);
    img.srcset = srcsetOf(link);
    img.alt = thumb.alt;
    title.textContent = text(link, '.t');
    desc.textContent = text(link, '.d');
    count.textContent = (current + 1) + ' / ' + total;
    announce.textContent = 'Photo ' + (current + 1) + ' of ' + total + (title.textContent ? ': ' + title.textContent : '');
    permalink.href = '#' + link.parentNode.id;
    download.hidden = !link.dataset.download;
    if (link.dataset.download) { download.href = link.dataset.download; download.download = link.dataset.name || ''; }
    showCamera(link);
    setUrl('#' + link.parentNode.id);
    preload(current + 1);
    preload(current - 1);
  }
  function open(i, push) {
    var at = (i + total) % total, link = linkAt(at);
    if (!link) { whenLoaded(at, function () { if (linkAt(at)) open(at, push); }); return; }
    // Closing puts the tiles on the page up to this one: their batches come meanwhile.
    for (var before = placed; before < at; before += Step) whenLoaded(before, function () {});
    whenLoaded(total - 1, function () {}); // for End, and Previous from the first photo
    if (box.hidden) opener = document.activeElement;
    box.hidden = false;
    document.body.classList.add('lb-open');
    if (push) { setUrl('#' + link.parentNode.id, true); pushed = true; }
    show(at);
    closeButton.focus();
  }
  function hide() {
    if (box.hidden) return;
    box.hidden = true;
    document.body.classList.remove('lb-open');
    var link = current >= 0 ? linkAt(current) : null;
    putThrough(link ? current : -1, function () {
      if (box.hidden) (link && document.contains(link) ? link : opener || document.body).focus();
    });
  }
  function close() {
    hide();
    // Back takes our entry away, as the phone's Back button would; otherwise forget the hash.
    if (pushed && history.state && history.state.viewer) { pushed = false; history.back(); }
    else setUrl('', false);
  }
  function focusables() {
    return Array.prototype.slice.call(box.querySelectorAll('button, a[href]')).filter(function (el) { return !el.hidden && el.offsetParent; });
  }
  function trapTab(event) {
    var all = focusables();
    var next = all.indexOf(document.activeElement) + (event.shiftKey ? -1 : 1);
    event.preventDefault();
    all[(next + all.length) % all.length].focus();
  }
  function fromHash() {
    var wanted = /^#photo-(\d+)$/.exec(location.hash);
    var at = wanted && +wanted[1] <= total ? +wanted[1] - 1 : -1;
    pushed = !!(history.state && history.state.viewer);
    if (at >= 0) { if (at !== current || box.hidden) open(at, false); return; }
    hide();
    var group = /^#group-\d+$/.test(location.hash) && document.querySelector(location.hash);
    if (group && group.hidden) {
      // A section chip leads past the tiles put so far.
      var reveal = function () {
        if (!group.hidden) group.scrollIntoView();
        else whenLoaded(placed, function () { if (putMore()) reveal(); });
      };
      reveal();
    }
  }

  function listen(link, i) {
    link.addEventListener('click', function (event) {
      if (event.ctrlKey || event.metaKey || event.shiftKey || event.button) return;
      event.preventDefault();
      open(i, true);
    });
  }
  photos.forEach(function (photo, i) { listen(photo.link, i); });
  box.querySelector('.lb-prev').addEventListener('click', function () { show(current - 1); });
  box.querySelector('.lb-next').addEventListener('click', function () { show(current + 1); });
  closeButton.addEventListener('click', close);
  permalink.addEventListener('click', function (event) { event.preventDefault(); });
  detailsButton.addEventListener('click', function () {
    var on = detailsButton.getAttribute('aria-expanded') !== 'true';
    detailsButton.setAttribute('aria-expanded', on ? 'true' : 'false');
    camera.hidden = !on;
  });
  var swiped = false;
  box.addEventListener('click', function (event) {
    if (swiped) { swiped = false; return; }
    if (zoom.scale === 1 && (event.target === box || event.target.classList.contains('lb-figure'))) close();
  });
  img.addEventListener('dblclick', function (event) {
    // Touch screens send a dblclick after the two taps that already zoomed.
    if (Date.now() - touchedAt > 600) zoomTo(zoom.scale > 1 ? 1 : 2.5, event.clientX, event.clientY);
  });
  document.addEventListener('keydown', function (event) {
    if (box.hidden) return;
    var keys = { ArrowRight: 1, ArrowLeft: -1 };
    if (event.key in keys && zoom.scale === 1) show(current + keys[event.key]);
    else if (event.key === 'Home') show(0);
    else if (event.key === 'End') show(total - 1);
    else if (event.key === 'Escape') { if (zoom.scale > 1) resetZoom(); else close(); }
    else if (event.key === '+' || event.key === '=') zoomTo(zoom.scale * 1.5);
    else if (event.key === '-') zoomTo(zoom.scale / 1.5);
    else if (event.key === 'Tab') { trapTab(event); return; }
    else return;
    event.preventDefault();
  });

  /* One finger swipes (or pans a zoomed photo), two pinch, two quick taps zoom. */
  var startX = null, startY = 0;
  box.addEventListener('pointerdown', function (event) {
    pointers[event.pointerId] = { x: event.clientX, y: event.clientY };
    var n = Object.keys(pointers).length;
    if (n === 2) { var s = spread(); pinch = { d: s.d, scale: zoom.scale }; pan = null; startX = null; }
    else if (n === 1 && zoom.scale > 1) pan = { x: event.clientX - zoom.x, y: event.clientY - zoom.y };
    else if (n === 1) { startX = event.clientX; startY = event.clientY; }
  });
  box.addEventListener('pointermove', function (event) {
    if (!pointers[event.pointerId]) return;
    pointers[event.pointerId] = { x: event.clientX, y: event.clientY };
    if (pinch && Object.keys(pointers).length === 2) { var s = spread(); zoomTo(pinch.scale * s.d / pinch.d, s.x, s.y); }
    else if (pan) { zoom.x = event.clientX - pan.x; zoom.y = event.clientY - pan.y; applyZoom(); }
  });
  function lift(event) {
    delete pointers[event.pointerId];
    if (Object.keys(pointers).length < 2) pinch = null;
    if (!Object.keys(pointers).length) pan = null;
  }
  box.addEventListener('pointercancel', function (event) { lift(event); startX = null; });
  box.addEventListener('pointerup', function (event) {
    var wasPinch = !!pinch;
    lift(event);
    var dx = startX === null ? 0 : event.clientX - startX, dy = startX === null ? 0 : event.clientY - startY;
    var swipe = startX !== null && zoom.scale === 1 && !wasPinch;
    startX = null;
    if (swipe && Math.abs(dx) > 50 && Math.abs(dx) > Math.abs(dy) * 1.5) { swiped = true; show(current + (dx < 0 ? 1 : -1)); return; }
    if (swipe && dy > 90 && Math.abs(dy) > Math.abs(dx) * 1.5) { swiped = true; close(); return; }
    if (wasPinch || event.pointerType === 'mouse' || event.target !== img) return;
    var now = Date.now();
    if (event.pointerType !== 'mouse') touchedAt = now;
    if (now - lastTap < 300) { lastTap = 0; zoomTo(zoom.scale > 1 ? 1 : 2.5, event.clientX, event.clientY); }
    else lastTap = now;
  });
  window.addEventListener('resize', function () { if (!box.hidden) img.sizes = fit(linkAt(current)); });
  window.addEventListener('popstate', fromHash);
  window.addEventListener('hashchange', fromHash);

  if (/^#photo-\d+$/.test(location.hash)) fromHash();
})();
