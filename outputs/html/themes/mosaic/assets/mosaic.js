/* Mosaic viewer: opens a photo full-screen; arrows, Home/End, Esc, swipes. */
(function () {
  'use strict';
  var links = Array.prototype.slice.call(document.querySelectorAll('.tile > a'));
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
  var closeButton = box.querySelector('.lb-close');
  var current = -1;
  var opener = null;

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
  function preload(i) {
    var link = links[(i + links.length) % links.length];
    var next = new Image();
    next.sizes = fit(link);
    next.srcset = link.dataset.srcset;
  }
  function setHash(hash) {
    try { history.replaceState(null, '', hash || location.pathname + location.search); } catch (e) { /* file pages may refuse */ }
  }
  function show(i) {
    current = (i + links.length) % links.length;
    var link = links[current];
    var thumb = link.querySelector('img');
    img.removeAttribute('srcset');
    img.src = thumb.currentSrc || thumb.src;
    img.width = +link.dataset.width;
    img.height = +link.dataset.height;
    img.sizes = fit(link);
    img.srcset = link.dataset.srcset;
    img.alt = thumb.alt;
    title.textContent = text(link, '.t');
    desc.textContent = text(link, '.d');
    count.textContent = (current + 1) + ' / ' + links.length;
    setHash('#' + link.parentNode.id);
    preload(current + 1);
    preload(current - 1);
  }
  function open(i) {
    opener = document.activeElement;
    box.hidden = false;
    document.body.classList.add('lb-open');
    show(i);
    closeButton.focus();
  }
  function close() {
    box.hidden = true;
    document.body.classList.remove('lb-open');
    setHash('');
    (links[current] || opener || document.body).focus();
  }
  function trapTab(event) {
    var buttons = Array.prototype.slice.call(box.querySelectorAll('button'));
    var at = buttons.indexOf(document.activeElement);
    var next = at + (event.shiftKey ? -1 : 1);
    event.preventDefault();
    buttons[(next + buttons.length) % buttons.length].focus();
  }

  links.forEach(function (link, i) {
    link.addEventListener('click', function (event) {
      if (event.ctrlKey || event.metaKey || event.shiftKey || event.button) return;
      event.preventDefault();
      open(i);
    });
  });
  box.querySelector('.lb-prev').addEventListener('click', function () { show(current - 1); });
  box.querySelector('.lb-next').addEventListener('click', function () { show(current + 1); });
  closeButton.addEventListener('click', close);
  var swiped = false;
  box.addEventListener('click', function (event) {
    if (swiped) { swiped = false; return; }
    if (event.target === box || event.target.classList.contains('lb-figure')) close();
  });
  document.addEventListener('keydown', function (event) {
    if (box.hidden) return;
    var keys = { ArrowRight: 1, ArrowLeft: -1 };
    if (event.key in keys) show(current + keys[event.key]);
    else if (event.key === 'Home') show(0);
    else if (event.key === 'End') show(links.length - 1);
    else if (event.key === 'Escape') close();
    else if (event.key === 'Tab') { trapTab(event); return; }
    else return;
    event.preventDefault();
  });

  var startX = null, startY = 0;
  box.addEventListener('pointerdown', function (event) { startX = event.clientX; startY = event.clientY; });
  box.addEventListener('pointerup', function (event) {
    if (startX === null) return;
    var dx = event.clientX - startX, dy = event.clientY - startY;
    startX = null;
    swiped = true;
    if (Math.abs(dx) > 50 && Math.abs(dx) > Math.abs(dy) * 1.5) show(current + (dx < 0 ? 1 : -1));
    else if (dy > 90 && Math.abs(dy) > Math.abs(dx) * 1.5) close();
    else swiped = false;
  });
  window.addEventListener('resize', function () { if (!box.hidden) img.sizes = fit(links[current]); });

  var wanted = /^#(photo-\d+)$/.exec(location.hash);
  if (wanted) {
    var at = links.findIndex(function (link) { return link.parentNode.id === wanted[1]; });
    if (at >= 0) open(at);
  }
})();
