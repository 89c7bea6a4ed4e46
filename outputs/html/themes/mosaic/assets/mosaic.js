/* Mosaic viewer: opens a photo full-screen; arrows, Home/End, Esc, +/-, swipes, pinch and
   double-tap zoom. Each opened photo is a history entry (Back closes the viewer) and a link
   (#photo-N opens the album on it). Tiles past the first screenfuls wait in templates and are
   put on the page as the visitor scrolls near them. */
(function () {
  'use strict';
  var Step = 60; // tiles put on the page at a time
  var lists = Array.prototype.slice.call(document.querySelectorAll('.mosaic'));
  var links = [];
  lists.forEach(function (list) {
    Array.prototype.push.apply(links, list.querySelectorAll('.tile > a'));
    var more = list.querySelector('template.more');
    if (more) Array.prototype.push.apply(links, more.content.querySelectorAll('.tile > a'));
  });
  var box = document.querySelector('.lightbox');
  if (!box || !links.length) return;
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

  /* Progressive rendering: moves the next tiles out of the templates. */
  function sectionOf(list) { return list.closest('.group'); }
  function putMore() {
    for (var i = 0; i < lists.length; ++i) {
      var more = lists[i].querySelector('template.more');
      if (!more || !more.content.firstElementChild) continue;
      var tiles = Array.prototype.slice.call(more.content.querySelectorAll('.tile'), 0, Step);
      tiles.forEach(function (tile) { lists[i].insertBefore(tile, more); });
      sectionOf(lists[i]).hidden = false;
      if (!more.content.firstElementChild) more.remove();
      return true;
    }
    return false;
  }
  function putThrough(link) { while (!document.contains(link) && putMore()) { /* next step */ } }
  lists.forEach(function (list) { if (!list.querySelector('li')) sectionOf(list).hidden = true; });
  var sentinel = document.querySelector('.foot');
  if (sentinel && 'IntersectionObserver' in window && document.querySelector('template.more')) {
    var watch = new IntersectionObserver(function (entries) {
      if (!entries[0].isIntersecting) return;
      if (!putMore()) { watch.disconnect(); return; }
      watch.unobserve(sentinel); // observing again reports whether it is still near
      watch.observe(sentinel);
    }, { rootMargin: '1200px 0px' });
    watch.observe(sentinel);
  } else {
    while (putMore()) { /* no observer: everything at once */ }
  }

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
    for (var i = 0; i < links.length && !shown; i++) shown = links[i].querySelector('img').currentSrc || '';
    if (/\.avif$/.test(shown) && link.dataset.avifSrcset) return link.dataset.avifSrcset;
    var webp = shown ? /\.(avif|webp)$/.test(shown)
                     : document.createElement('canvas').toDataURL('image/webp').indexOf('data:image/webp') === 0;
    if (webp && link.dataset.webpSrcset) return link.dataset.webpSrcset;
    return link.dataset.srcset;
  }
  function preload(i) {
    var link = links[(i + links.length) % links.length];
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
    current = (i + links.length) % links.length;
    var link = links[current];
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
    count.textContent = (current + 1) + ' / ' + links.length;
    announce.textContent = 'Photo ' + (current + 1) + ' of ' + links.length + (title.textContent ? ': ' + title.textContent : '');
    permalink.href = '#' + link.parentNode.id;
    download.hidden = !link.dataset.download;
    if (link.dataset.download) { download.href = link.dataset.download; download.download = link.dataset.name || ''; }
    showCamera(link);
    setUrl('#' + link.parentNode.id);
    preload(current + 1);
    preload(current - 1);
  }
  function open(i, push) {
    if (box.hidden) opener = document.activeElement;
    box.hidden = false;
    document.body.classList.add('lb-open');
    if (push) { setUrl('#' + links[(i + links.length) % links.length].parentNode.id, true); pushed = true; }
    show(i);
    closeButton.focus();
  }
  function hide() {
    if (box.hidden) return;
    box.hidden = true;
    document.body.classList.remove('lb-open');
    var link = links[current];
    putThrough(link);
    (document.contains(link) ? link : opener || document.body).focus();
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
    var at = wanted ? links.findIndex(function (link) { return link.parentNode.id === wanted[1]; }) : -1;
    pushed = !!(history.state && history.state.viewer);
    if (at >= 0) { if (at !== current || box.hidden) open(at, false); return; }
    hide();
    var group = /^#group-\d+$/.test(location.hash) && document.querySelector(location.hash);
    if (group && group.hidden) {
      while (group.hidden && putMore()) { /* a section chip leads past the tiles put so far */ }
      group.scrollIntoView();
    }
  }

  links.forEach(function (link, i) {
    link.addEventListener('click', function (event) {
      if (event.ctrlKey || event.metaKey || event.shiftKey || event.button) return;
      event.preventDefault();
      open(i, true);
    });
  });
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
    else if (event.key === 'End') show(links.length - 1);
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
  window.addEventListener('resize', function () { if (!box.hidden) img.sizes = fit(links[current]); });
  window.addEventListener('popstate', fromHash);
  window.addEventListener('hashchange', fromHash);

  if (/^#photo-\d+$/.test(location.hash)) fromHash();
})();
