// The live board in the browser: one WebSocket to the timer that brings the
// whole board after every change of the race screen, drawn as the board
// (phone or TV) or as one driver's view. It reconnects by itself.
'use strict';
(function () {
  const decoder = new TextDecoder();
  // When each board was shown, for the timer's own browser tests.
  const trace = (window.kestoTrace = []);
  let retryMs = 500;
  let columnsKey = '';

  const $ = (id) => document.getElementById(id);
  const driverId = () => parseInt(location.hash.slice(1), 10) || 0;

  function text(id, value) {
    const element = $(id);
    if (element && element.textContent !== value) element.textContent = value;
  }

  function notice(message) {
    const element = $('notice');
    element.hidden = !message;
    element.textContent = message || '';
  }

  function panel(board) {
    text('format', board.format);
    text('clock', board.clock);
    $('clock').classList.toggle('red', board.clockRed);
    const flag = $('flag');
    flag.className = board.flag ? 'flag ' + board.flag : '';
    flag.textContent = board.flag ? board.flag.toUpperCase() : '';
    $('raceOver').hidden = !board.raceOver;
    $('alarm').hidden = !board.alarm;
    text('alarm', board.alarm);
  }

  function columns(board) {
    const practice = board.mode === 'practice';
    const list = [
      ['row', 'Pos', 'pos'], ['id', 'ID', 'id'], ['name', 'Name', 'name'],
      ['laps', 'Laps', 'laps'], ['last', 'Last Lap', 'last'],
    ];
    if (!practice) list.push(['gap', 'Gap', 'gap']);
    list.push(['best', 'Best Lap', 'best']);
    if (practice || board.columns.lag !== 'Lag Behind') list.push(['lagColumn', board.columns.lag, 'extra']);
    if (!practice && board.columns.best !== 'Best Lap') list.push(['bestColumn', board.columns.best, 'extra']);
    return list;
  }

  function rows(board) {
    const list = columns(board);
    const key = list.map((c) => c[1]).join('|');
    const head = document.querySelector('#rows thead tr');
    if (key !== columnsKey) {
      columnsKey = key;
      head.replaceChildren(...list.map(([, title, cls]) => {
        const th = document.createElement('th');
        th.className = cls;
        th.textContent = title;
        return th;
      }));
    }
    const shown = board.cars.filter((car) => car.active);
    const body = document.querySelector('#rows tbody');
    body.replaceChildren(...(shown.length ? shown : board.cars).map((car) => {
      const tr = document.createElement('tr');
      tr.dataset.id = car.id;
      tr.style.background = car.color;
      tr.style.color = car.ink;
      for (const [field, , cls] of list) {
        const td = document.createElement('td');
        td.className = cls;
        td.textContent = String(car[field]);
        tr.appendChild(td);
      }
      tr.addEventListener('click', () => { location.href = '/driver#' + car.id; });
      return tr;
    }));
  }

  // A race meeting: the link to its standings and the next heat's call-up.
  function meeting(board) {
    const line = $('meeting');
    if (!line) return;
    line.hidden = !board.meeting;
    const next = board.meeting && board.meeting.nextHeat;
    text('nextHeat', next ? 'Next heat: ' + next.name + ' \u2013 ' +
      next.racers.map((racer) => racer.id + ' ' + racer.name).join(', ') : '');
  }

  function driver(board) {
    const id = driverId();
    const car = board.cars.find((c) => c.id === id);
    $('car').hidden = !car;
    $('choose').hidden = !!car;
    if (!car) {
      $('cars').replaceChildren(...board.cars.filter((c) => c.active).map((c) => {
        const li = document.createElement('li');
        const a = document.createElement('a');
        a.href = '#' + c.id;
        a.textContent = c.id + ' ' + c.name;
        a.style.background = c.color;
        a.style.color = c.ink;
        li.appendChild(a);
        return li;
      }));
      return;
    }
    const main = $('car');
    main.style.background = car.color;
    main.style.color = car.ink;
    text('carId', String(car.id));
    text('carName', car.name);
    text('position', board.mode === 'practice' ? '-' : String(car.position));
    text('laps', car.laps);
    text('last', car.last);
    text('best', car.best);
    text('median', car.median);
    $('recent').replaceChildren(...car.recent.map((lap) => {
      const li = document.createElement('li');
      li.textContent = 'Lap ' + lap.lap + ': ' + lap.time;
      return li;
    }));
  }

  let latest = null;
  function show(board) {
    latest = board;
    panel(board);
    meeting(board);
    if (document.body.classList.contains('driver')) driver(board);
    else rows(board);
    trace.push({ at: Date.now(), laps: Object.fromEntries(board.cars.map((c) => [c.id, c.laps])),
                 flag: board.flag, raceOver: board.raceOver });
    if (trace.length > 5000) trace.splice(0, 1000);
  }
  window.addEventListener('hashchange', () => { if (latest) show(latest); });

  function connect() {
    const socket = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') +
                                 location.host + '/live');
    socket.binaryType = 'arraybuffer';
    let full = false;
    socket.onopen = () => { retryMs = 500; notice(''); };
    socket.onmessage = (event) => {
      const message = JSON.parse(decoder.decode(event.data));
      if (message.full) {
        full = true;
        notice(message.full);
        return;
      }
      show(message);
    };
    socket.onclose = () => {
      if (!full) notice('Connection to the timer lost - reconnecting...');
      setTimeout(connect, full ? 60000 : retryMs);
      retryMs = Math.min(retryMs * 2, 5000);
    };
  }
  connect();
})();
