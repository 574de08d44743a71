// SPDX-License-Identifier: MIT
// The page around the game (vendettix.js): the address's options as the game's command line,
// the player's files kept in the browser, the throw's sound, the message box, the menu, and
// the end of the game. window.vx tells a script how far the game is.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const $ = (id) => document.getElementById(id);

  // ---- the address's options -> the command line ----
  // ?replay=URL ?timedemo=URL (same origin; fetched into the in-memory file system first),
  // ?replay-score=N ?no-save ?stop-at=N ?size=WxH
  const query = new URLSearchParams(location.search);
  const args = [];
  const fetches = [];  // [url, file]
  for (const option of ['replay', 'timedemo']) {
    const url = query.get(option);
    if (url === null) continue;
    const name = decodeURIComponent(new URL(url, location.href).pathname.split('/').pop()) || option;
    const file = '/tmp/' + name;
    fetches.push([url, file]);
    args.push('--' + option, file);
  }
  for (const option of ['replay-score', 'stop-at', 'size']) {
    const value = query.get(option);
    if (value !== null) args.push('--' + option, value);
  }
  const noSave = query.has('no-save');
  if (noSave) args.push('--no-save');
  const sized = /^(\d+)x(\d+)$/.exec(query.get('size') || '');
  if (sized) {
    canvas.classList.add('vx-sized');
    canvas.style.width = sized[1] + 'px';
    canvas.style.height = sized[2] + 'px';
  }
  const watching = query.has('replay') || query.has('replay-score');
  const timing = query.has('timedemo');

  // ---- what a script sees ----
  let endGame;
  const vx = {
    state: 'loading',
    exitStatus: null,
    args,
    ended: new Promise((resolve) => { endGame = resolve; }),
    // the fixed steps the game has taken (its own counter)
    steps() {
      try {
        if (Module._vx_step_count) vx.lastSteps = Module._vx_step_count();
      } catch (e) { /* the runtime is gone: the last count stands */ }
      return vx.lastSteps;
    },
    lastSteps: 0,
  };
  window.vx = vx;

  // ---- the console ----
  const lastErrors = [];
  function printErr(text) {
    console.error(text);
    lastErrors.push(text);
    if (lastErrors.length > 8) lastErrors.shift();
  }

  // ---- the overlays ----
  function showBox(id, title, text) {
    const box = $(id);
    box.querySelector('h2').textContent = title;
    box.querySelector('pre').textContent = text;
    box.hidden = false;
  }
  $('vx-message').querySelector('button').addEventListener('click', () => {
    $('vx-message').hidden = true;
    canvas.focus();
  });
  $('vx-end').querySelector('button').addEventListener('click', () => location.reload());

  function ended(status, why) {
    if (vx.state === 'ended') return;
    vx.steps();
    vx.state = 'ended';
    vx.exitStatus = status;
    $('vx-loading').hidden = true;
    closeMenu(false);
    let title = timing ? 'The timedemo ended.' : watching ? 'The replay ended.' : 'The game ended.';
    let text = why || '';
    if (status !== 0) {
      title = watching || timing ? 'The replay stopped.' : 'The game stopped.';
      if (!why) text = lastErrors.join('\n') + '\n(exit status ' + status + ')';
    }
    showBox('vx-end', title, text);
    syncFiles();
    endGame(status);
  }

  // ---- the player's files: the XDG folders under the home, kept in the browser's IndexedDB ----
  const home = '/home/web_user';
  let syncing = false;
  function syncFiles() {
    if (noSave || syncing || vx.state === 'loading' || typeof FS === 'undefined') return;
    syncing = true;
    FS.syncfs(false, (error) => {
      syncing = false;
      if (error) console.error('vendettix: cannot keep the player\'s files in the browser: ' + error);
    });
  }
  // every few seconds, and when the page is hidden or left
  setInterval(syncFiles, 3000);
  document.addEventListener('visibilitychange', () => { if (document.hidden) syncFiles(); });
  window.addEventListener('pagehide', syncFiles);

  function mountFiles() {
    if (noSave) return;
    FS.mkdirTree(home);
    FS.mount(FS.filesystems.IDBFS, {}, home);
    Module.addRunDependency('vx-files');
    FS.syncfs(true, (error) => {
      if (error) console.error('vendettix: cannot read the player\'s files kept in the browser: ' + error);
      Module.removeRunDependency('vx-files');
    });
  }

  // the recordings named in the address, from this page's own site
  function fetchRecordings() {
    FS.mkdirTree('/tmp');
    for (const [url, file] of fetches) {
      Module.addRunDependency('vx-fetch ' + file);
      const where = new URL(url, location.href);
      const fetched = where.origin !== location.origin
        ? Promise.reject(new Error('not on this page\'s site'))
        : fetch(where).then((answer) => {
          if (!answer.ok) throw new Error('the server answered ' + answer.status);
          return answer.arrayBuffer();
        });
      fetched.then((bytes) => {
        FS.writeFile(file, new Uint8Array(bytes));
        Module.removeRunDependency('vx-fetch ' + file);
      }, (error) => {
        const why = 'vendettix: cannot fetch ' + url + ': ' + error.message;
        printErr(why);
        ended(2, why);
      });
    }
  }

  // ---- the throw's sound ----
  let audio = null;
  let playing = null;
  const decoded = new Map();
  // the browser lets sound start only after the player's first click or key
  function wakeAudio() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!audio && Context) audio = new Context();
    if (audio && audio.state === 'suspended') audio.resume();
  }
  window.addEventListener('pointerdown', wakeAudio, true);
  window.addEventListener('keydown', wakeAudio, true);

  // a new sound cuts the one still playing short; volume in percent of the file's
  function playSound(name, bytes, volume) {
    if (!audio) return;
    if (!decoded.has(name)) decoded.set(name, audio.decodeAudioData(bytes.buffer).catch(() => null));
    decoded.get(name).then((buffer) => {
      if (!buffer) return;
      if (playing) playing.stop();
      const source = audio.createBufferSource();
      source.buffer = buffer;
      const gain = audio.createGain();
      gain.gain.value = volume / 100;
      source.connect(gain).connect(audio.destination);
      source.start();
      playing = source;
    });
  }

  // ---- the menu ----
  // GLUT's menu in the page: its entries [{label, value}] at x, y in the page; a choice, or the
  // menu closed without one (menu 0), goes back to GLUT
  let openMenu = 0;
  function showMenu(json, x, y, menuId) {
    const menu = $('vx-menu');
    menu.textContent = '';
    for (const entry of JSON.parse(json)) {
      const item = document.createElement('button');
      item.type = 'button';
      item.setAttribute('role', 'menuitem');
      item.textContent = entry.label;
      item.addEventListener('click', (event) => {
        event.stopPropagation();
        closeMenu(false);
        // the browser grants the full screen only to the click itself: the page asks for it
        // here, and the game's own switch, a step later, finds it done
        if (/^\[ *\] Full screen$/.test(entry.label) && !document.fullscreenElement)
          canvas.requestFullscreen().catch(() => {});
        Module._vxglutMenuChoose(menuId, entry.value);
      });
      menu.appendChild(item);
    }
    menu.hidden = false;
    menu.style.left = Math.max(0, Math.min(x, innerWidth - menu.offsetWidth)) + 'px';
    menu.style.top = Math.max(0, Math.min(y, innerHeight - menu.offsetHeight)) + 'px';
    openMenu = menuId;
    menu.querySelector('button')?.focus();
  }
  function closeMenu(tellGlut) {
    if (!openMenu) return;
    openMenu = 0;
    $('vx-menu').hidden = true;
    canvas.focus();
    if (tellGlut && vx.state === 'running') Module._vxglutMenuChoose(0, 0);
  }
  // a press outside the open menu only closes it, as a desktop menu does: the game never sees it
  // (no mousedown or mouseup follows a pointerdown whose default is prevented)
  window.addEventListener('pointerdown', (event) => {
    if (!openMenu || $('vx-menu').contains(event.target)) return;
    closeMenu(true);
    if (event.target === canvas) event.preventDefault();
  }, true);
  // the button opens the middle button's menu, under itself
  $('vx-menu-button').addEventListener('click', (event) => {
    event.stopPropagation();
    if (openMenu) return closeMenu(true);
    if (vx.state !== 'running' || !Module._vxglutMenuOpen) return;
    const place = canvas.getBoundingClientRect();
    const button = event.currentTarget.getBoundingClientRect();
    const scale = place.width > 0 ? canvas.width / place.width : 1;
    Module._vxglutMenuOpen(Math.round((button.right - place.left) * scale),
      Math.round((button.bottom - place.top) * scale));
  });

  // ---- the canvas follows the page's size (the window's size to the game) ----
  function fitCanvas() {
    if (sized || vx.state !== 'running') return;
    const width = Math.max(1, Math.round(canvas.clientWidth));
    const height = Math.max(1, Math.round(canvas.clientHeight));
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
  }
  window.addEventListener('resize', fitCanvas);

  // ---- keys and buttons stay the game's ----
  // the page's own keys (scrolling, search, going back) do nothing while the game has the
  // keyboard; those held with Ctrl, Alt or Meta, and F5 and F12, are the browser's
  window.addEventListener('keydown', (event) => {
    if (openMenu) {
      if (event.key === 'Escape') closeMenu(true);
      return;
    }
    const browsers = event.ctrlKey || event.altKey || event.metaKey || event.key === 'F5' ||
      event.key === 'F12';
    if (!browsers && (event.target === canvas || event.target === document.body)) event.preventDefault();
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  // the middle button would start the browser's scrolling
  canvas.addEventListener('mousedown', (event) => { if (event.button === 1) event.preventDefault(); });
  canvas.addEventListener('pointerdown', () => canvas.focus());

  // ---- the game ----
  window.Module = {
    canvas,
    arguments: args,
    print: (text) => console.log(text),
    printErr,
    preRun: [mountFiles, fetchRecordings],
    onRuntimeInitialized() {
      if (vx.state !== 'loading') return;
      vx.state = 'running';
      $('vx-loading').hidden = true;
      canvas.focus();
      // the game's window is made as main starts: the page's size is given to it after
      requestAnimationFrame(fitCanvas);
    },
    // every end: exit() (q, Exit, a replay or timedemo run out), main's return, a refusal
    onExit: (status) => ended(status),
    // exit() in the browser's frames leaves the runtime up: the frames stop here
    quit(status, toThrow) {
      if (Module.pauseMainLoop) Module.pauseMainLoop();
      ended(status);
      throw toThrow;
    },
    onAbort(what) {
      printErr('vendettix: the game stopped: ' + what);
      ended(-1, lastErrors.join('\n'));
    },
    vxPlaySound: playSound,
    vxShowMessage(title, text) { showBox('vx-message', title, text); },
    vxShowMenu: showMenu,
  };
})();
