/* Slideshow: plays the album full-screen; arrows, Space, Home/End, F, Esc, +/-, swipes, pinch
   and double-tap zoom. Each opened show is a history entry (Back closes it) and every photo a
   link (#photo-N opens the show on it). The page holds the first sixty thumbnails; the ones
   past them are made from the album's photos-N.js, sixty photos each, as the visitor scrolls
   near. */
(function () {
  'use strict';
  var Step = 60; // thumbnails put on the page at a time, and the photos of each photos-N.js
  var script = document.currentScript;
  var strip = document.querySelector('.strip');

  /* The album's photos in order, each with its thumbnail's link once the thumbnail exists.
     The page's own are the first photos; the values of the others come in batches of Step,
     from the album's photos-1.js, photos-2.js... */
  var photos = Array.prototype.map.call(document.querySelectorAll('.slide-link'), function (link) {
    return { link: link };
  });
  var written = photos.length; // the thumbnails the page itself holds
  var placed = written;        // the photos whose thumbnails are on the page
  var more = script && script.dataset.more;
  var total = Math.max(written, more ? +script.dataset.count || 0 : 0);
  var loads = {}; // per batch: whether it has come or failed, and what waits for it

  function escapeHtml(value) {
    return String(value === undefined || value === null ? '' : value).replace(/[&<>"']/g, function (c) {
      return '&#' + c.charCodeAt(0) + ';';
    });
  }
  // The markup of a thumbnail, as index.html writes the first ones. Phones at 3x get the
  // pictures of 1.5x screens.
  var Sizes = '(max-width: 640px) and (min-resolution: 2.5dppx) calc((100vw - 3rem) / 6), (max-width: 640px) calc((100vw - 3rem) / 3), 120px';
  function thumbnailHtml(photo) {
    var big = photo.big, thumb = photo.thumb;
    var camera = (photo.camera || []).map(function (c) { return c[0] + ': ' + c[1] + '\n'; }).join('');
    var source = function (type, srcset) {
      return srcset ? '<source type="image/' + type + '" srcset="' + escapeHtml(srcset) + '" sizes="' + Sizes + '">' : '';
    };
    return '<li id="' + escapeHtml(photo.a) + '"><a href="' + escapeHtml(big.url) + '" class="slide-link" data-srcset="' + escapeHtml(big.srcset) +
      '" data-webp-srcset="' + escapeHtml(big.webp) + '" data-avif-srcset="' + escapeHtml(big.avif) + '" data-width="' + big.width +
      '" data-height="' + big.height + '" data-title="' + escapeHtml(photo.t) + '" data-description="' + escapeHtml(photo.d) + '"' +
      (photo.original ? ' data-download="' + escapeHtml(photo.original) + '" data-name="' + escapeHtml(photo.name) + '"' : '') +
      (camera ? ' data-camera="' + escapeHtml(camera) + '"' : '') + '><picture>' + source('avif', thumb.avif) + source('webp', thumb.webp) +
      '<img src="' + escapeHtml(thumb.url) + '" srcset="' + escapeHtml(thumb.srcset) + '" sizes="' + Sizes + '" width="' + thumb.width +
      '" height="' + thumb.height + '" alt="' + escapeHtml(photo.alt) + '" style="--ph:' + escapeHtml(photo.ph) +
      '" loading="lazy" decoding="async"></picture></a></li>';
  }
  function makeThumbnail(photo) {
    var maker = document.createElement('template');
    maker.innerHTML = thumbnailHtml(photo);
    return maker.content.firstElementChild;
  }
  // Kept where the album's tests compare the thumbnails made here with the page's own.
  window.slideshowThumbnail = makeThumbnail;

  /* The batches of photos: the next one is fetched once the page has loaded, any other when
     one of its photos is wanted. Without them the show keeps to the page's own thumbnails. */
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
    var link = makeThumbnail(values).querySelector('a');
    listen(link, i);
    photos[i] = { link: link };
    return link;
  }

  // Puts the thumbnails of the next batch on the page; false when there are no more (or
  // they could not come).
  function putMore() {
    var end = Math.min(placed + Step, total), was = placed;
    for (var link; placed < end && (link = linkAt(placed)); ++placed) strip.appendChild(link.parentNode);
    return placed > was;
  }
  // Puts thumbnails on the page until photo i's is there, then runs then.
  function putThrough(i, then) {
    if (i < placed) { then(); return; }
    whenLoaded(placed, function () { if (putMore()) putThrough(i, then); else then(); });
  }
  var sentinel = document.querySelector('.foot');
  if (strip && more && total > written) {
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
  var show = document.querySelector('.show');
  if (!show || !total) return;
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
    var thumbnails = document.querySelectorAll('.slide-link img');
    for (var i = 0; i < thumbnails.length && !shown; i++) shown = thumbnails[i].currentSrc || '';
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
    var at = (i + total) % total, link = linkAt(at);
    // A photo past the page's thumbnails: shown once its batch has come.
    if (!link) { whenLoaded(at, function () { if (!show.hidden && linkAt(at)) go(at); }); return; }
    resetZoom();
    current = at;
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
    count.textContent = (current + 1) + ' / ' + total;
    announce.textContent = 'Photo ' + (current + 1) + ' of ' + total + (link.dataset.title ? ': ' + link.dataset.title : '');
    download.hidden = !link.dataset.download;
    if (link.dataset.download) { download.href = link.dataset.download; download.download = link.dataset.name || ''; }
    showCamera(link);
    setUrl('#' + link.parentNode.id);
    var following = linkAt((current + 1) % total);
    whenLoaded((current - 1 + total) % total, function () {});
    if (!following) whenLoaded((current + 1) % total, function () {});
    else {
      var upcoming = new Image();
      upcoming.sizes = fit(following);
      upcoming.srcset = srcsetOf(following);
    }
    restartTimer();
  }
  function setPlaying(on) {
    show.classList.toggle('playing', on);
    playButton.setAttribute('aria-label', on ? 'Pause' : 'Play');
    restartTimer();
  }
  function open(i, push) {
    var at = (i + total) % total, link = linkAt(at);
    if (!link) { whenLoaded(at, function () { if (linkAt(at)) open(at, push); }); return; }
    // Closing puts the thumbnails on the page up to this one: their batches come meanwhile.
    for (var before = placed; before < at; before += Step) whenLoaded(before, function () {});
    whenLoaded(total - 1, function () {}); // for End, and Previous from the first photo
    if (show.hidden) opener = document.activeElement;
    show.hidden = false;
    document.body.classList.add('show-open');
    if (push) { setUrl('#' + link.parentNode.id, true); pushed = true; }
    setPlaying(show.dataset.autoplay === '1');
    go(at);
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
    var link = current >= 0 ? linkAt(current) : null;
    putThrough(link ? current : -1, function () {
      if (show.hidden) (link && document.contains(link) ? link : opener || document.body).focus();
    });
  }
  function close() {
    hide();
    // Back takes our entry away, as the phone's Back button would; otherwise forget the hash.
    if (pushed && history.state && history.state.viewer) { pushed = false; history.back(); }
    else setUrl('', false);
  }
  function fromHash() {
    var wanted = /^#photo-(\d+)$/.exec(location.hash);
    var at = wanted && +wanted[1] <= total ? +wanted[1] - 1 : -1;
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

  function listen(link, i) {
    link.addEventListener('click', function (event) { event.preventDefault(); open(i, true); });
  }
  photos.forEach(function (photo, i) { listen(photo.link, i); });
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
    else if (event.key === 'End') go(total - 1);
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
