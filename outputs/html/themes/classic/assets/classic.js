/* Classic: arrows, Home/End and Esc move between pages; swipes on touch screens. */
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
    if (event.key === 'ArrowRight') target = 'link[rel="next"]';
    else if (event.key === 'ArrowLeft') target = 'link[rel="prev"]';
    else if (photoPage && event.key === 'Home') target = { href: body.dataset.first };
    else if (photoPage && event.key === 'End') target = { href: body.dataset.last };
    else if (photoPage && event.key === 'Escape') target = { href: body.dataset.index };
    if (!target) return;
    event.preventDefault();
    go(target);
  });
  if (photoPage) {
    var figure = document.getElementById('picture');
    var startX = null, startY = 0;
    figure.addEventListener('pointerdown', function (event) { startX = event.clientX; startY = event.clientY; });
    figure.addEventListener('pointerup', function (event) {
      if (startX === null) return;
      var dx = event.clientX - startX, dy = event.clientY - startY;
      startX = null;
      if (Math.abs(dx) > 50 && Math.abs(dx) > Math.abs(dy) * 1.5) go(dx < 0 ? 'link[rel="next"]' : 'link[rel="prev"]');
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
