// The game on a touch screen: on-screen arrows and the B (jump) and A buttons over the picture,
// each followed by the id of the finger on it, so several fingers work at once and any of them
// may lift first; and one finger on the picture as the mouse's left button (a tap or a drag in
// the left view paints, a tap in the picker picks). The browser's own gestures (scrolling,
// zooming, the mouse events it makes up from a tap) are kept off the picture and the buttons.
'use strict';

(function () {
  // The buttons in the order the game numbers them (WebTouchControl), with their places.
  const BUTTONS = [
    { id: 'touch-left', label: '\u25C0', side: 'left', x: 0, y: 1 },
    { id: 'touch-right', label: '\u25B6', side: 'left', x: 2, y: 1 },
    { id: 'touch-up', label: '\u25B2', side: 'left', x: 1, y: 0 },
    { id: 'touch-down', label: '\u25BC', side: 'left', x: 1, y: 2 },
    { id: 'touch-jump', label: 'B', side: 'right', x: 1, y: 1 },
    { id: 'touch-a', label: 'A', side: 'right', x: 0, y: 2 },
  ];
  const touch = { shown: false, presses: 0 };
  window.RavelonTouch = touch;

  function call(name, args) {
    const types = args.map(() => 'number');
    return Module.ccall(name, 'number', types, args);
  }
  function passes() {
    return window.RavelonPage && window.RavelonPage.started ? call('WebPassesDone', []) : 0;
  }

  // What the fingers did, handed to the game in order. A press is held for two passes at least
  // before its release goes, so a quick tap is one the game sees.
  let queue = [];
  function later(ready, run) {
    queue.push({ ready, run });
    pump();
  }
  function pump() {
    while (queue.length > 0 && queue[0].ready()) queue.shift().run();
    if (queue.length > 0) requestAnimationFrame(pump);
  }

  // ---- the buttons -------------------------------------------------------------------------

  const held = BUTTONS.map(() => new Set());  // the fingers on each button
  const pressedAt = BUTTONS.map(() => -1);

  function fingerOn(index, pointerId) {
    const fingers = held[index];
    if (fingers.has(pointerId)) return;
    fingers.add(pointerId);
    if (fingers.size !== 1) return;
    touch.presses += 1;
    later(() => true, () => {
      pressedAt[index] = passes();
      call('WebTouchControl', [index, 1]);
    });
    $button(index).classList.add('held');
  }

  function fingerOff(index, pointerId) {
    const fingers = held[index];
    if (!fingers.delete(pointerId) || fingers.size !== 0) return;
    later(() => passes() >= pressedAt[index] + 2, () => call('WebTouchControl', [index, 0]));
    $button(index).classList.remove('held');
  }

  function $button(index) {
    return document.getElementById(BUTTONS[index].id);
  }

  function makeButtons() {
    const box = document.createElement('div');
    box.id = 'touch';
    box.hidden = true;
    for (const side of ['left', 'right']) {
      const pad = document.createElement('div');
      pad.className = 'touch-pad ' + side;
      box.appendChild(pad);
    }
    BUTTONS.forEach((place, index) => {
      const button = document.createElement('div');
      button.id = place.id;
      button.className = 'touch-button';
      button.textContent = place.label;
      button.style.gridColumn = String(place.x + 1);
      button.style.gridRow = String(place.y + 1);
      button.addEventListener('pointerdown', (event) => {
        event.preventDefault();
        event.stopPropagation();
        try { button.setPointerCapture(event.pointerId); } catch (error) { }
        fingerOn(index, event.pointerId);
      });
      for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) {
        button.addEventListener(type, (event) => fingerOff(index, event.pointerId));
      }
      button.addEventListener('contextmenu', (event) => event.preventDefault());
      box.querySelector('.touch-pad.' + place.side).appendChild(button);
    });
    document.getElementById('stage').appendChild(box);
  }

  // ---- a finger on the picture -------------------------------------------------------------

  let painter = null;  // { id, downAt }: the finger that is the mouse button, if any

  function at(event) {
    const box = document.getElementById('canvas').getBoundingClientRect();
    return [event.clientX - box.left, event.clientY - box.top, box.width, box.height];
  }

  // The pointer goes there first, and the press a pass later: the picker shows under the
  // finger before the tap picks.
  function pictureDown(event) {
    if (event.pointerType !== 'touch') return;
    event.preventDefault();
    show();
    if (painter !== null) return;
    const finger = { id: event.pointerId, downAt: -1 };
    painter = finger;
    try { event.currentTarget.setPointerCapture(event.pointerId); } catch (error) { }
    const where = at(event);
    const from = passes();
    later(() => true, () => call('WebTouchPointer', [0, ...where]));
    later(() => passes() >= from + 1, () => {
      finger.downAt = passes();
      call('WebTouchPointer', [1, ...where]);
    });
  }

  function pictureMove(event) {
    if (painter === null || event.pointerId !== painter.id) return;
    event.preventDefault();
    const where = at(event);
    later(() => true, () => call('WebTouchPointer', [0, ...where]));
  }

  function pictureUp(event) {
    if (painter === null || event.pointerId !== painter.id) return;
    const finger = painter;
    painter = null;
    const where = at(event);
    later(() => finger.downAt >= 0 && passes() >= finger.downAt + 2,
          () => call('WebTouchPointer', [2, ...where]));
  }

  // A hidden page lets go of every finger at once: nothing stays held while it is away.
  function letGo() {
    const waiting = queue;
    queue = [];
    for (const item of waiting) item.run();
    held.forEach((fingers, index) => {
      if (fingers.size === 0) return;
      fingers.clear();
      call('WebTouchControl', [index, 0]);
      $button(index).classList.remove('held');
    });
    if (painter !== null) {
      painter = null;
      call('WebTouchPointer', [2, -1, -1, 1, 1]);
    }
  }

  function show() {
    if (touch.shown) return;
    touch.shown = true;
    document.getElementById('touch').hidden = false;
    if (window.RavelonPage && window.RavelonPage.touchFound) window.RavelonPage.touchFound();
  }

  window.addEventListener('DOMContentLoaded', () => {
    makeButtons();
    const canvas = document.getElementById('canvas');
    canvas.addEventListener('pointerdown', pictureDown);
    canvas.addEventListener('pointermove', pictureMove);
    canvas.addEventListener('pointerup', pictureUp);
    canvas.addEventListener('pointercancel', pictureUp);
    // The first touch anywhere shows the buttons; a touch screen shows them from the start.
    window.addEventListener('pointerdown', (event) => {
      if (event.pointerType === 'touch') show();
    }, { capture: true });
    if (window.matchMedia && window.matchMedia('(pointer: coarse)').matches) show();
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden' && window.RavelonPage &&
          window.RavelonPage.started) letGo();
    });
  });
})();
