/* Slideshow: plays the album full-screen; arrows, Space, Home/End, F, Esc, swipes. */
(function () {
  'use strict';
  var links = Array.prototype.slice.call(document.querySelectorAll('.slide-link'));
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
  var interval = Math.max(2, +show.dataset.interval || 5) * 1000;
  var current = -1, front = 0, timer = null, idleTimer = null, opener = null;

  function fit(link) {
    var w = +link.dataset.width, h = +link.dataset.height;
    var wide = show.dataset.fit === 'cover' ? Math.max(window.innerWidth, window.innerHeight * w / h)
                                            : Math.min(window.innerWidth, window.innerHeight * w / h);
    return Math.max(1, Math.round(wide)) + 'px';
  }
  function load(img, link) {
    img.removeAttribute('srcset');
    img.sizes = fit(link);
    img.srcset = link.dataset.srcset;
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
    new Image().srcset = links[(current + 1) % links.length].dataset.srcset;
    restartTimer();
  }
  function setPlaying(on) {
    show.classList.toggle('playing', on);
    playButton.setAttribute('aria-label', on ? 'Pause' : 'Play');
    restartTimer();
  }
  function open(i) {
    opener = document.activeElement;
    show.hidden = false;
    document.body.classList.add('show-open');
    setPlaying(show.dataset.autoplay === '1');
    go(i);
    playButton.focus();
  }
  function close() {
    clearTimeout(timer);
    show.classList.remove('playing');
    if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
    show.hidden = true;
    document.body.classList.remove('show-open');
    (links[current] || opener || document.body).focus();
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
    link.addEventListener('click', function (event) { event.preventDefault(); open(i); });
  });
  document.querySelector('.play').addEventListener('click', function () { open(0); });
  show.querySelector('.s-prev').addEventListener('click', function () { go(current - 1); });
  show.querySelector('.s-next').addEventListener('click', function () { go(current + 1); });
  show.querySelector('.s-close').addEventListener('click', close);
  show.querySelector('.s-full').addEventListener('click', fullScreen);
  playButton.addEventListener('click', function () { setPlaying(!show.classList.contains('playing')); });
  show.addEventListener('pointermove', wake);
  document.addEventListener('keydown', function (event) {
    if (show.hidden) return;
    wake();
    if (event.key === 'ArrowRight') go(current + 1);
    else if (event.key === 'ArrowLeft') go(current - 1);
    else if (event.key === 'Home') go(0);
    else if (event.key === 'End') go(links.length - 1);
    else if (event.key === ' ' && event.target.tagName !== 'BUTTON') setPlaying(!show.classList.contains('playing'));
    else if (event.key === 'f' || event.key === 'F') fullScreen();
    else if (event.key === 'Escape') close();
    else if (event.key === 'Tab') {
      var buttons = Array.prototype.slice.call(show.querySelectorAll('button')).filter(function (b) { return b.offsetParent; });
      var at = buttons.indexOf(document.activeElement) + (event.shiftKey ? -1 : 1);
      buttons[(at + buttons.length) % buttons.length].focus();
    } else return;
    event.preventDefault();
  });
  document.addEventListener('visibilitychange', function () { if (!show.hidden) restartTimer(); });

  var startX = null, startY = 0;
  show.addEventListener('pointerdown', function (event) { startX = event.clientX; startY = event.clientY; });
  show.addEventListener('pointerup', function (event) {
    if (startX === null) return;
    var dx = event.clientX - startX, dy = event.clientY - startY;
    startX = null;
    if (Math.abs(dx) > 50 && Math.abs(dx) > Math.abs(dy) * 1.5) go(current + (dx < 0 ? 1 : -1));
    else if (dy > 90 && Math.abs(dy) > Math.abs(dx) * 1.5) close();
  });
})();
