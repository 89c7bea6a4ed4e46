/* Mosaic viewer: opens a photo full-screen; arrows, Home/End, Esc, +/-, swipes, pinch and
   double-tap zoom. Each opened photo is a history entry (Back closes the viewer) and a link
   (#photo-N opens the album on it). The page holds the first tiles; the album's photos.js holds
   every photo, and the tiles past the first screenfuls are made from it as the visitor
   scrolls near them. */
(function () {
  'use strict';
  var Step = 60; // tiles put on the page at a time
  var script = document.currentScript;
  var lists = Array.prototype.slice.call(document.querySelectorAll('.mosaic'));
  var box = document.querySelector('.lightbox');

  /* The album's photos in order: the tile's link once the tile exists, the photo's values once
     photos.js has come. The page's own tiles are the first photos. */
  var photos = [];
  var byAnchor = {};
  lists.forEach(function (list) {
    Array.prototype.forEach.call(list.querySelectorAll('.tile > a'), function (link) {
      byAnchor[link.parentNode.id] = photos.length;
      photos.push({ link: link, values: null });
    });
  });
  var written = photos.length; // the tiles the page itself holds
  var placed = written;        // the photos whose tiles are on the page
  var more = script && script.dataset.more;
  var total = Math.max(written, more ? +script.dataset.count || 0 : 0);
  var thumbSize = '';
  var loaded = !more, waiting = [], loading = false;
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

  /* photos.js: fetched once the page has loaded, or sooner when a photo past the page's
     tiles is wanted. Without it the viewer moves through the page's own tiles. */
  function arrived() {
    var list = window.albumPhotos && window.albumPhotos.photos;
    if (list && list.length) {
      thumbSize = window.albumPhotos.thumbSize;
      list.forEach(function (values, i) {
        if (i < written) { photos[i].values = values; return; }
        byAnchor[values.a] = i;
        photos[i] = { link: null, values: values };
      });
    }
    total = photos.length;
    loaded = true;
    waiting.splice(0).forEach(function (then) { then(); });
  }
  function whenLoaded(then) {
    if (loaded) { then(); return; }
    waiting.push(then);
    if (loading) return;
    loading = true;
    var tag = document.createElement('script');
    tag.src = more;
    tag.onload = tag.onerror = arrived;
    document.body.appendChild(tag);
  }
  function linkAt(i) {
    var photo = photos[i];
    if (!photo) return null;
    if (!photo.link) {
      photo.link = makeTile(photo.values).querySelector('a');
      listen(photo.link, i);
    }
    return photo.link;
  }

  /* Progressive rendering: puts the next tiles on the page, in their sections. */
  function sectionOf(list) { return list.closest('.group'); }
  function putMore() {
    if (placed >= photos.length) return false;
    var end = Math.min(placed + Step, photos.length);
    for (; placed < end; ++placed) {
      var link = linkAt(placed);
      var section = document.getElementById(photos[placed].values.g) || sectionOf(lists[lists.length - 1]);
      section.querySelector('.mosaic').appendChild(link.parentNode);
      section.hidden = false;
    }
    return true;
  }
  function putThrough(link) { while (!document.contains(link) && putMore()) { /* next step */ } }
  lists.forEach(function (list) { if (!list.querySelector('li')) sectionOf(list).hidden = true; });
  var sentinel = document.querySelector('.foot');
  if (more && total > written) {
    if (document.readyState === 'complete') whenLoaded(function () {});
    else window.addEventListener('load', function () { whenLoaded(function () {}); });
    if (sentinel && 'IntersectionObserver' in window) {
      var watch = new IntersectionObserver(function (entries) {
        if (!entries[0].isIntersecting) return;
        whenLoaded(function () {
          if (!putMore()) { watch.disconnect(); return; }
          watch.unobserve(sentinel); // observing again reports whether it is still near
          watch.observe(sentinel);
        });
      }, { rootMargin: '1200px 0px' });
      watch.observe(sentinel);
    } else {
      whenLoaded(function () { while (putMore()) { /* no observer: everything at once */ } });
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
    if (!link) return;
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
    // A photo past the page's tiles: shown once photos.js has come.
    if (!link) { whenLoaded(function () { if (!box.hidden) show(at); }); return; }
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
    if (!link) { whenLoaded(function () { open(at, push); }); return; }
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
    if (link) putThrough(link);
    (link && document.contains(link) ? link : opener || document.body).focus();
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
    var wanted = /^#(photo-\d+)$/.exec(location.hash);
    var at = wanted && byAnchor.hasOwnProperty(wanted[1]) ? byAnchor[wanted[1]] : -1;
    if (wanted && at < 0 && !loaded) { whenLoaded(fromHash); return; }
    pushed = !!(history.state && history.state.viewer);
    if (at >= 0) { if (at !== current || box.hidden) open(at, false); return; }
    hide();
    var group = /^#group-\d+$/.test(location.hash) && document.querySelector(location.hash);
    if (group && group.hidden) {
      whenLoaded(function () {
        while (group.hidden && putMore()) { /* a section chip leads past the tiles put so far */ }
        group.scrollIntoView();
      });
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
