/* Classic: arrows, Home/End and Esc move between pages; swipes on touch screens; pinch,
   double-tap, double-click and +/- zoom the photo; index.html#photo-N opens photo N's page. */
(function () {
  'use strict';
  function go(selector) {
    var link = typeof selector === 'string' ? document.querySelector(selector) : null;
    var href = link ? link.getAttribute('href') : selector && selector.href;
    if (href) location.href = href;
  }
  var body = document.body;
  var photoPage = body.classList.contains('photo-page');
  document.addEventListener('keydown', function (event) {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    var target = null;
    if (photoPage && figure.classList.contains('zoomed') && /^(Arrow|Escape)/.test(event.key)) {
      if (event.key === 'Escape') zoomTo(1);
      event.preventDefault();
      return;
    }
    if (event.key === 'ArrowRight') target = 'link[rel="next"]';
    else if (event.key === 'ArrowLeft') target = 'link[rel="prev"]';
    else if (photoPage && event.key === 'Home') target = { href: body.dataset.first };
    else if (photoPage && event.key === 'End') target = { href: body.dataset.last };
    else if (photoPage && event.key === 'Escape') target = { href: body.dataset.index };
    if (!target) return;
    event.preventDefault();
    go(target);
  });
  var wanted = /^#photo-(\d+)$/.exec(location.hash);
  if (!photoPage && wanted && body.dataset.photoPage) location.replace(body.dataset.photoPage.replace('{number}', wanted[1]));
  if (photoPage) {
    var figure = document.getElementById('picture');
    var img = figure.querySelector('img');
    var zoom = { scale: 1, x: 0, y: 0 };
    var pointers = {};
    var pinch = null, pan = null, lastTap = 0, touchedAt = 0;
    var applyZoom = function () {
      figure.classList.toggle('zoomed', zoom.scale > 1);
      img.style.transform = zoom.scale > 1 ? 'translate(' + zoom.x + 'px,' + zoom.y + 'px) scale(' + zoom.scale + ')' : '';
    };
    var zoomTo = function (scale, cx, cy) {
      var rect = img.getBoundingClientRect();
      var next = Math.min(5, Math.max(1, scale));
      // The point under the fingers (or the centre) stays where it is.
      var mx = rect.left + rect.width / 2 - zoom.x, my = rect.top + rect.height / 2 - zoom.y;
      var px = cx === undefined ? zoom.x : cx - mx, py = cy === undefined ? zoom.y : cy - my;
      zoom.x = next === 1 ? 0 : px - (px - zoom.x) * next / zoom.scale;
      zoom.y = next === 1 ? 0 : py - (py - zoom.y) * next / zoom.scale;
      zoom.scale = next;
      applyZoom();
    };
    var spread = function () {
      var p = Object.keys(pointers).map(function (k) { return pointers[k]; });
      return { d: Math.hypot(p[0].x - p[1].x, p[0].y - p[1].y), x: (p[0].x + p[1].x) / 2, y: (p[0].y + p[1].y) / 2 };
    };
    var lift = function (event) {
      delete pointers[event.pointerId];
      if (Object.keys(pointers).length < 2) pinch = null;
      if (!Object.keys(pointers).length) pan = null;
    };
    var startX = null, startY = 0;
    figure.addEventListener('pointerdown', function (event) {
      pointers[event.pointerId] = { x: event.clientX, y: event.clientY };
      var n = Object.keys(pointers).length;
      if (n === 2) { var s = spread(); pinch = { d: s.d, scale: zoom.scale }; pan = null; startX = null; }
      else if (n === 1 && zoom.scale > 1) pan = { x: event.clientX - zoom.x, y: event.clientY - zoom.y };
      else if (n === 1) { startX = event.clientX; startY = event.clientY; }
    });
    figure.addEventListener('pointermove', function (event) {
      if (!pointers[event.pointerId]) return;
      pointers[event.pointerId] = { x: event.clientX, y: event.clientY };
      if (pinch && Object.keys(pointers).length === 2) { var s = spread(); zoomTo(pinch.scale * s.d / pinch.d, s.x, s.y); }
      else if (pan) { zoom.x = event.clientX - pan.x; zoom.y = event.clientY - pan.y; applyZoom(); }
    });
    figure.addEventListener('pointercancel', function (event) { lift(event); startX = null; });
    figure.addEventListener('pointerup', function (event) {
      var wasPinch = !!pinch;
      lift(event);
      var dx = startX === null ? 0 : event.clientX - startX, dy = startX === null ? 0 : event.clientY - startY;
      var swipe = startX !== null && zoom.scale === 1 && !wasPinch;
      startX = null;
      if (swipe && Math.abs(dx) > 50 && Math.abs(dx) > Math.abs(dy) * 1.5) { go(dx < 0 ? 'link[rel="next"]' : 'link[rel="prev"]'); return; }
      if (wasPinch || event.pointerType === 'mouse' || event.target !== img) return;
      var now = Date.now();
      if (event.pointerType !== 'mouse') touchedAt = now;
      if (now - lastTap < 300) { lastTap = 0; zoomTo(zoom.scale > 1 ? 1 : 2.5, event.clientX, event.clientY); }
      else lastTap = now;
    });
    img.addEventListener('dblclick', function (event) {
      // Touch screens send a dblclick after the two taps that already zoomed.
      if (Date.now() - touchedAt > 600) zoomTo(zoom.scale > 1 ? 1 : 2.5, event.clientX, event.clientY);
    });
    document.addEventListener('keydown', function (event) {
      if (event.altKey || event.ctrlKey || event.metaKey) return;
      if (event.key === '+' || event.key === '=') zoomTo(zoom.scale * 1.5);
      else if (event.key === '-') zoomTo(zoom.scale / 1.5);
      else return;
      event.preventDefault();
    });
    if (body.dataset.preload) {
      // The next photo as the browser will want it: same format as this one, by width.
      var shown = figure.querySelector('img').currentSrc || '';
      var next = new Image();
      next.sizes = body.dataset.preloadSizes;
      next.srcset = /\.(webp|avif)$/.test(shown) && body.dataset.preloadWebp ? body.dataset.preloadWebp : body.dataset.preload;
    }
  }
})();
