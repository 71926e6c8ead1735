// touch.js — the page on a touchscreen. Two ways to walk, chosen on the page and remembered in the
// browser: an on-screen pad ("Tlačítka": four directions) or swipes over the game ("Tahy": a
// swipe walks one cell, a swipe held at its end keeps walking, and the finger may turn without
// lifting). Both keep the buttons for the box, going back, the pause and the restart, and those
// for what a phone has no key for: the help (F1), the records (R) and Zavřít (Esc: it closes the
// help, the records and a dialog as Ne or Zrušit, and leaves a zone; the arrows scroll). Every
// press is a key of the game's (web/Touch.cpp), so a run played by touch is recorded and
// replayed as the keyboard's runs are. Taps on the game's windows are clicks: with the pad SDL
// turns them into clicks itself; with swipes the page takes every touch of the game and hands a
// touch that did not move on as a click. The controls have their own strips beside the game
// (landscape) or under it (portrait); the game's windows are fitted into what is left, so no
// control ever covers the figure.
'use strict';
var QuarnTouch = (function () {
  var touchScreen = navigator.maxTouchPoints > 0 || 'ontouchstart' in window;
  var SchemeKey = 'quarn-dotyk';
  var Keys = { left: 37, up: 38, right: 39, down: 40, box: 32, back: 8, pause: 80 };
  // A swipe walks once the finger has gone this far (CSS pixels) one way more than the other.
  var SwipeStart = 18;
  var scheme = 'pad';
  try { if (localStorage.getItem(SchemeKey) === 'tahy') scheme = 'swipe'; } catch (e) {}
  var bar = null, pad = null, actions = null;

  function press(codes, down) {
    if (typeof Module === 'undefined' || !Module.calledRun || !Module._quarn_touch_key) return;
    var list = down ? codes : codes.slice().reverse();
    for (var i = 0; i < list.length; i++) Module._quarn_touch_key(list[i], down ? 1 : 0);
  }

  // A button that holds its keys as long as a finger is on it.
  function button(label, codes, title) {
    var b = document.createElement('button');
    b.className = 'touch-key';
    b.textContent = label;
    if (title) b.title = title;
    b.dataset.keys = codes.join(' ');
    var fingers = 0;
    b.addEventListener('touchstart', function (e) {
      e.preventDefault();
      if (fingers++ === 0) { b.classList.add('held'); press(codes, true); }
    }, { passive: false });
    var up = function (e) {
      e.preventDefault();
      for (var i = 0; i < e.changedTouches.length && fingers > 0; i++) fingers--;
      if (fingers === 0 && b.classList.contains('held')) { b.classList.remove('held'); press(codes, false); }
    };
    b.addEventListener('touchend', up, { passive: false });
    b.addEventListener('touchcancel', up, { passive: false });
    return b;
  }

  function choose(which) {
    scheme = which;
    try { localStorage.setItem(SchemeKey, which === 'swipe' ? 'tahy' : 'tlacitka'); } catch (e) {}
    show();
  }

  function build() {
    bar = document.createElement('div');
    bar.id = 'touch-scheme';
    var padChoice = document.createElement('button');
    padChoice.id = 'touch-pad-choice';
    padChoice.textContent = 'Tlačítka';
    var swipeChoice = document.createElement('button');
    swipeChoice.id = 'touch-swipe-choice';
    swipeChoice.textContent = 'Tahy';
    padChoice.addEventListener('click', function () { choose('pad'); });
    swipeChoice.addEventListener('click', function () { choose('swipe'); });
    bar.appendChild(padChoice);
    bar.appendChild(swipeChoice);

    pad = document.createElement('div');
    pad.id = 'touch-pad';
    var place = { up: [2, 1], left: [1, 2], right: [3, 2], down: [2, 3] };
    var arrows = { up: '▲', left: '◀', right: '▶', down: '▼' };
    Object.keys(place).forEach(function (way) {
      var b = button(arrows[way], [Keys[way]]);
      b.id = 'touch-' + way;
      b.style.gridColumn = place[way][0];
      b.style.gridRow = place[way][1];
      pad.appendChild(b);
    });

    actions = document.createElement('div');
    actions.id = 'touch-actions';
    [['box', 'Krabice', [Keys.box]], ['back', 'Zpět', [Keys.back]],
     ['pause', 'Pauza', [Keys.pause]], ['restart', 'Znovu', [17, 82]],
     ['help', 'Nápověda', [112]], ['records', 'Rekordy', [82]], ['close', 'Zavřít', [27]]].forEach(function (a) {
      var b = button(a[1], a[2]);
      b.id = 'touch-' + a[0];
      actions.appendChild(b);
    });
    document.body.appendChild(pad);
    document.body.appendChild(actions);
    document.body.appendChild(bar);
  }

  // The strips the controls take, in CSS pixels: { left, right, bottom }.
  function strips() {
    if (!touchScreen) return { left: 0, right: 0, bottom: 0 };
    var portrait = window.innerHeight > window.innerWidth;
    if (portrait) return { left: 0, right: 0, bottom: Math.min(300, Math.round(window.innerHeight * 0.4)) };
    var side = Math.min(180, Math.round(window.innerWidth * 0.22));
    return { left: side, right: side, bottom: 0 };
  }

  function show() {
    if (!touchScreen) return;
    var s = strips();
    var portrait = s.bottom > 0;
    document.body.classList.toggle('touch-portrait', portrait);
    document.body.classList.toggle('touch-landscape', !portrait);
    pad.style.visibility = scheme === 'pad' ? 'visible' : 'hidden';
    document.getElementById('touch-pad-choice').classList.toggle('chosen', scheme === 'pad');
    document.getElementById('touch-swipe-choice').classList.toggle('chosen', scheme === 'swipe');
    var files = 32;
    var put = function (el, left, right, top) {
      el.style.left = left === null ? '' : left + 'px';
      el.style.right = right === null ? '' : right + 'px';
      el.style.top = top + 'px';
    };
    if (portrait) {
      var top = window.innerHeight - files - s.bottom;
      put(bar, 8, null, top + 6);
      put(pad, 8, null, top + 48);
      put(actions, null, 8, top + 48);
    } else {
      put(bar, null, 4, 4);
      put(pad, 4, null, Math.max(48, Math.round((window.innerHeight - files - 3 * 56) / 2)));
      put(actions, null, 4, 48);
    }
  }

  // Swipes: every touch of the game is the page's while swipes are chosen.
  var swipe = null;  // { id, x, y, moved, way }
  function wayOf(dx, dy) {
    if (Math.max(Math.abs(dx), Math.abs(dy)) < SwipeStart || Math.abs(Math.abs(dx) - Math.abs(dy)) < 6) return null;
    return Math.abs(dx) > Math.abs(dy) ? (dx < 0 ? 'left' : 'right') : (dy < 0 ? 'up' : 'down');
  }
  function mouse(type, t) {
    var canvas = document.getElementById('canvas');
    canvas.dispatchEvent(new MouseEvent(type, { bubbles: true, cancelable: true, view: window,
      clientX: t.clientX, clientY: t.clientY, screenX: t.screenX, screenY: t.screenY, button: 0,
      buttons: type === 'mouseup' ? 0 : 1 }));
  }
  function onGame(e) { return e.target && e.target.id === 'canvas'; }
  function swipeStart(e) {
    if (!touchScreen || scheme !== 'swipe' || !onGame(e)) return;
    e.preventDefault();
    e.stopPropagation();
    if (swipe) return;
    var t = e.changedTouches[0];
    swipe = { id: t.identifier, x: t.clientX, y: t.clientY, moved: false, way: null, first: t };
  }
  function touchOf(e) {
    for (var i = 0; i < e.changedTouches.length; i++) {
      if (e.changedTouches[i].identifier === swipe.id) return e.changedTouches[i];
    }
    return null;
  }
  function swipeMove(e) {
    if (!swipe || !onGame(e)) return;
    e.preventDefault();
    e.stopPropagation();
    var t = touchOf(e);
    if (!t) return;
    var way = wayOf(t.clientX - swipe.x, t.clientY - swipe.y);
    if (!way) return;
    swipe.moved = true;
    // From here on the finger is measured afresh: it may turn to walk another way.
    swipe.x = t.clientX;
    swipe.y = t.clientY;
    if (way === swipe.way) return;
    if (swipe.way) press([Keys[swipe.way]], false);
    swipe.way = way;
    press([Keys[way]], true);
  }
  function swipeEnd(e) {
    if (!swipe || !onGame(e)) return;
    e.preventDefault();
    e.stopPropagation();
    var t = touchOf(e);
    if (!t) return;
    if (swipe.way) press([Keys[swipe.way]], false);
    else if (!swipe.moved && e.type === 'touchend') {
      // A tap: a click where it was.
      mouse('mousemove', swipe.first);
      mouse('mousedown', swipe.first);
      mouse('mouseup', swipe.first);
    }
    swipe = null;
  }

  function start() {
    if (!touchScreen) return;
    document.body.classList.add('touch');
    build();
    window.addEventListener('touchstart', swipeStart, { capture: true, passive: false });
    window.addEventListener('touchmove', swipeMove, { capture: true, passive: false });
    window.addEventListener('touchend', swipeEnd, { capture: true, passive: false });
    window.addEventListener('touchcancel', swipeEnd, { capture: true, passive: false });
    // No double-tap zoom and no scrolling of the page anywhere: a pinch or a drag is the game's.
    document.addEventListener('dblclick', function (e) { e.preventDefault(); }, { passive: false });
    window.addEventListener('resize', show);
    show();
  }

  return { start: start, strips: strips, scheme: function () { return scheme; }, touchScreen: touchScreen };
})();
