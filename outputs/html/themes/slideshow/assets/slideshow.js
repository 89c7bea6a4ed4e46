/* Slideshow: plays the album full-screen; arrows, Space, Home/End, F, Esc, +/-, swipes, pinch
   and double-tap zoom. Each opened show is a history entry (Back closes it) and every photo a
   link (#photo-N opens the show on it). Thumbnails past the first sixty wait in a template
   and are put on the page as the visitor scrolls near them. */
(function () {
  'use strict';
  var Step = 60; // thumbnails put on the page at a time
  var strip = document.querySelector('.strip');
  var more = strip && strip.querySelector('template.more');
  var links = Array.prototype.slice.call(document.querySelectorAll('.slide-link'));
  if (more) Array.prototype.push.apply(links, more.content.querySelectorAll('.slide-link'));
  var show = document.querySelector('.show');
  if (!show || !links.length) return;
  // The two pictures that take turns are made here: a picture without a source is no valid
  // markup in the page.
  var slides = [0, 1].map(function () {
    var slide = document.createElement('img');
    slide.className = 'slide';
    slide.alt = '';
    return show.querySelector('.stage').appendChild(slide);
  });
  var titleText = show.querySelector('.c-title');
  var descText = show.querySelector('.c-desc');
  var announce = show.querySelector('.announce');
  var count = show.querySelector('.s-count');
  var playButton = show.querySelector('.s-play');
  var timerBar = show.querySelector('.timer span');
  var detailsButton = show.querySelector('.s-details');
  var camera = show.querySelector('.s-camera');
  var download = show.querySelector('.s-download');
  var pushed = false; // the show's history entry is ours to take back on closing
  var interval = Math.max(2, +show.dataset.interval || 5) * 1000;
  var current = -1, front = 0, timer = null, idleTimer = null, opener = null;

  function putMore() {
    if (!more || !more.content.firstElementChild) return false;
    Array.prototype.slice.call(more.content.children, 0, Step).forEach(function (li) { strip.insertBefore(li, more); });
    if (!more.content.firstElementChild) more.remove();
    return true;
  }
  function putThrough(link) { while (!document.contains(link) && putMore()) { /* next step */ } }
  var sentinel = document.querySelector('.foot');
  if (more && sentinel && 'IntersectionObserver' in window) {
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
  function setUrl(hash, push) {
    var url = hash || location.pathname + location.search;
    try {
      if (push) history.pushState({ viewer: true }, '', url);
      else history.replaceState(push === false ? null : history.state, '', url);
    } catch (e) { /* a page from disk may refuse; the show works without */ }
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

  /* Zoom: pinch or double-tap on touch screens, double-click, + and - keys. */
  var zoom = { scale: 1, x: 0, y: 0 };
  var pointers = {};
  var pinch = null, pan = null, lastTap = 0, touchedAt = 0;
  function applyZoom() {
    show.classList.toggle('zoomed', zoom.scale > 1);
    slides[front].style.transform = zoom.scale > 1 ? 'translate(' + zoom.x + 'px,' + zoom.y + 'px) scale(' + zoom.scale + ')' : '';
  }
  function zoomTo(scale, cx, cy) {
    var next = Math.min(5, Math.max(1, scale));
    if (next > 1 && show.classList.contains('playing')) setPlaying(false);
    // The point under the fingers (or the centre) stays where it is.
    var px = cx === undefined ? zoom.x : cx - window.innerWidth / 2;
    var py = cy === undefined ? zoom.y : cy - window.innerHeight / 2;
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

  function fit(link) {
    var w = +link.dataset.width, h = +link.dataset.height;
    var wide = show.dataset.fit === 'cover' ? Math.max(window.innerWidth, window.innerHeight * w / h)
                                            : Math.min(window.innerWidth, window.innerHeight * w / h);
    return Math.max(1, Math.round(wide)) + 'px';
  }
  // The big pictures in the format the browser took for the strip: it showed a WebP (or
  // AVIF) thumbnail only if it can show that format.
  function srcsetOf(link) {
    var shown = '';
    for (var i = 0; i < links.length && !shown; i++) shown = links[i].querySelector('img').currentSrc || '';
    if (/\.avif$/.test(shown) && link.dataset.avifSrcset) return link.dataset.avifSrcset;
    var webp = shown ? /\.(avif|webp)$/.test(shown)
                     : document.createElement('canvas').toDataURL('image/webp').indexOf('data:image/webp') === 0;
    if (webp && link.dataset.webpSrcset) return link.dataset.webpSrcset;
    return link.dataset.srcset;
  }
  function load(img, link) {
    img.removeAttribute('srcset');
    img.sizes = fit(link);
    img.srcset = srcsetOf(link);
    img.src = link.getAttribute('href');
    img.alt = link.querySelector('img').alt;
  }
  function restartTimer() {
    clearTimeout(timer);
    timerBar.style.animation = 'none';
    void timerBar.offsetWidth; // restarts the bar's animation
    timerBar.style.animation = '';
    if (show.classList.contains('playing')) timer = setTimeout(function () { go(current + 1); }, interval);
  }
  function go(i) {
    resetZoom();
    current = (i + links.length) % links.length;
    var link = links[current];
    var old = slides[front];
    front = 1 - front;
    var img = slides[front];
    load(img, link);
    old.classList.remove('on');
    old.classList.add('gone');
    img.classList.remove('gone');
    img.classList.add('on');
    titleText.textContent = link.dataset.title || '';
    descText.textContent = link.dataset.description || '';
    count.textContent = (current + 1) + ' / ' + links.length;
    announce.textContent = 'Photo ' + (current + 1) + ' of ' + links.length + (link.dataset.title ? ': ' + link.dataset.title : '');
    download.hidden = !link.dataset.download;
    if (link.dataset.download) { download.href = link.dataset.download; download.download = link.dataset.name || ''; }
    showCamera(link);
    setUrl('#' + link.parentNode.id);
    var upcoming = new Image();
    upcoming.sizes = fit(links[(current + 1) % links.length]);
    upcoming.srcset = srcsetOf(links[(current + 1) % links.length]);
    restartTimer();
  }
  function setPlaying(on) {
    show.classList.toggle('playing', on);
    playButton.setAttribute('aria-label', on ? 'Pause' : 'Play');
    restartTimer();
  }
  function open(i, push) {
    if (show.hidden) opener = document.activeElement;
    show.hidden = false;
    document.body.classList.add('show-open');
    if (push) { setUrl('#' + links[(i + links.length) % links.length].parentNode.id, true); pushed = true; }
    setPlaying(show.dataset.autoplay === '1');
    go(i);
    playButton.focus();
  }
  function hide() {
    if (show.hidden) return;
    clearTimeout(timer);
    resetZoom();
    show.classList.remove('playing');
    if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
    show.hidden = true;
    document.body.classList.remove('show-open');
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
  function fromHash() {
    var wanted = /^#(photo-\d+)$/.exec(location.hash);
    var at = wanted ? links.findIndex(function (link) { return link.parentNode.id === wanted[1]; }) : -1;
    pushed = !!(history.state && history.state.viewer);
    if (at < 0) hide();
    else if (at !== current || show.hidden) open(at, false);
  }
  function fullScreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
    else if (show.requestFullscreen) show.requestFullscreen().catch(function () {});
  }
  function wake() {
    show.classList.remove('idle');
    clearTimeout(idleTimer);
    idleTimer = setTimeout(function () { if (show.classList.contains('playing')) show.classList.add('idle'); }, 2500);
  }

  links.forEach(function (link, i) {
    link.addEventListener('click', function (event) { event.preventDefault(); open(i, true); });
  });
  document.querySelector('.play').addEventListener('click', function () { open(0, true); });
  detailsButton.addEventListener('click', function () {
    var on = detailsButton.getAttribute('aria-expanded') !== 'true';
    detailsButton.setAttribute('aria-expanded', on ? 'true' : 'false');
    camera.hidden = !on;
    if (on) setPlaying(false); // reading takes longer than a slide
  });
  show.querySelector('.s-prev').addEventListener('click', function () { go(current - 1); });
  show.querySelector('.s-next').addEventListener('click', function () { go(current + 1); });
  show.querySelector('.s-close').addEventListener('click', close);
  show.querySelector('.s-full').addEventListener('click', fullScreen);
  playButton.addEventListener('click', function () { setPlaying(!show.classList.contains('playing')); });
  show.addEventListener('pointermove', wake);
  document.addEventListener('keydown', function (event) {
    if (show.hidden) return;
    wake();
    if (event.key === 'ArrowRight' && zoom.scale === 1) go(current + 1);
    else if (event.key === 'ArrowLeft' && zoom.scale === 1) go(current - 1);
    else if (event.key === '+' || event.key === '=') zoomTo(zoom.scale * 1.5);
    else if (event.key === '-') zoomTo(zoom.scale / 1.5);
    else if (event.key === 'Escape' && zoom.scale > 1) resetZoom();
    else if (event.key === 'Home') go(0);
    else if (event.key === 'End') go(links.length - 1);
    else if (event.key === ' ' && event.target.tagName !== 'BUTTON') setPlaying(!show.classList.contains('playing'));
    else if (event.key === 'f' || event.key === 'F') fullScreen();
    else if (event.key === 'Escape') close();
    else if (event.key === 'Tab') {
      var buttons = Array.prototype.slice.call(show.querySelectorAll('button, a[href]')).filter(function (b) { return b.offsetParent; });
      var at = buttons.indexOf(document.activeElement) + (event.shiftKey ? -1 : 1);
      buttons[(at + buttons.length) % buttons.length].focus();
    } else return;
    event.preventDefault();
  });
  document.addEventListener('visibilitychange', function () { if (!show.hidden) restartTimer(); });

  /* One finger swipes (or pans a zoomed photo), two pinch, two quick taps zoom. */
  var startX = null, startY = 0;
  show.addEventListener('pointerdown', function (event) {
    if (event.target.closest('.controls')) return;
    pointers[event.pointerId] = { x: event.clientX, y: event.clientY };
    var n = Object.keys(pointers).length;
    if (n === 2) { var s = spread(); pinch = { d: s.d, scale: zoom.scale }; pan = null; startX = null; }
    else if (n === 1 && zoom.scale > 1) pan = { x: event.clientX - zoom.x, y: event.clientY - zoom.y };
    else if (n === 1) { startX = event.clientX; startY = event.clientY; }
  });
  show.addEventListener('pointermove', function (event) {
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
  show.addEventListener('pointercancel', function (event) { lift(event); startX = null; });
  show.addEventListener('pointerup', function (event) {
    var wasPinch = !!pinch;
    lift(event);
    var dx = startX === null ? 0 : event.clientX - startX, dy = startX === null ? 0 : event.clientY - startY;
    var swipe = startX !== null && zoom.scale === 1 && !wasPinch;
    startX = null;
    if (swipe && Math.abs(dx) > 50 && Math.abs(dx) > Math.abs(dy) * 1.5) { go(current + (dx < 0 ? 1 : -1)); return; }
    if (swipe && dy > 90 && Math.abs(dy) > Math.abs(dx) * 1.5) { close(); return; }
    if (wasPinch || event.target.closest('.controls')) return;
    var now = Date.now();
    if (event.pointerType !== 'mouse') touchedAt = now;
    if (now - lastTap < 300) { lastTap = 0; zoomTo(zoom.scale > 1 ? 1 : 2.5, event.clientX, event.clientY); }
    else if (event.pointerType !== 'mouse') lastTap = now;
  });
  show.addEventListener('dblclick', function (event) {
    // Touch screens send a dblclick after the two taps that already zoomed.
    if (!event.target.closest('.controls') && Date.now() - touchedAt > 600) zoomTo(zoom.scale > 1 ? 1 : 2.5, event.clientX, event.clientY);
  });
  window.addEventListener('popstate', fromHash);
  window.addEventListener('hashchange', fromHash);
  if (/^#photo-\d+$/.test(location.hash)) fromHash();
})();
