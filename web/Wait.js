// Wait.js — the game's wait in the page. The game loop sleeps until its next timer is due; the
// page has one browser timer for that whole time, and an event that SDL queues meanwhile (a key,
// the pointer, the page's focus) ends the wait at once. Each wait is one turn of the browser's
// event loop given to the game; Module.quarnWaits counts them, so that a test can see how often
// an idle page wakes.
mergeInto(LibraryManager.library, {
  $QuarnWait: { wake: null },
  quarn_wait__deps: ['$QuarnWait', '$callUserCallback'],
  quarn_wait: function (ms) {
    Asyncify.handleSleep(function (wakeUp) {
      // The game was given up to another tab (web/index.html): it waits for ever.
      if (Module.quarnFrozen) return;
      Module.quarnWaits = (Module.quarnWaits || 0) + 1;
      var done = false, timer = 0;
      var end = function () {
        if (done) return;
        done = true;
        clearTimeout(timer);
        QuarnWait.wake = null;
        wakeUp();
      };
      timer = setTimeout(function () { callUserCallback(end); }, ms);
      // Called from inside SDL's event handler, in the middle of compiled code: the game is
      // resumed from a fresh turn once that handler has returned.
      QuarnWait.wake = function () {
        QuarnWait.wake = null;
        clearTimeout(timer);
        timer = setTimeout(function () { callUserCallback(end); }, 0);
      };
    });
  },
  quarn_wake__deps: ['$QuarnWait'],
  quarn_wake: function () {
    if (QuarnWait.wake) QuarnWait.wake();
  },
});
