// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition's page: the chart, the search (in a Web Worker), the perpetual calendar, the
// settings and the date sheet, over the same engine as the desktop program (quorin.js).
const { load: loadEngine, useTables } = self.QuorinEngine;

const $ = (id) => document.getElementById(id);
const timings = (window.quorinTimings = { charts: [] });
const stored = (key, fallback) => {
  try {
    const text = localStorage.getItem(`quorin.${key}`);
    return text ? JSON.parse(text) : fallback;
  } catch {
    return fallback;
  }
};
const store = (key, value) => {
  try {
    localStorage.setItem(`quorin.${key}`, JSON.stringify(value));
  } catch {
    // A private window may refuse; the page still works, it only forgets.
  }
};

let q;            // the engine
let session;      // the chart on screen
let charted = null; // the request of the chart on screen
let places;       // the provinces of China with their cities
let worldPlaces;  // the world's countries and cities in each script (tables/world_places.json)

function status(text) {
  $('status').textContent = text;
}

function option(select, value, text) {
  const o = document.createElement('option');
  o.value = String(value);
  o.textContent = text;
  select.append(o);
  return o;
}

// ---- The chart's inputs -------------------------------------------------------------------

function fillMountains() {
  const mountains = q.mountains();
  for (const id of ['mountain', 'dragon-mountain', 'water-mountain']) {
    const box = $(id);
    box.replaceChildren();
    if (id !== 'mountain') option(box, -1, '无');
    mountains.forEach((m, i) => option(box, i, `${m.name}山`));
  }
  const fillGuas = (mountainId, guaId) => {
    const box = $(guaId);
    const m = Number($(mountainId).value);
    const keep = box.value;
    box.replaceChildren();
    if (m >= 0) mountains[m].guas.forEach((g, i) => option(box, i, g));
    if ([...box.options].some((o) => o.value === keep)) box.value = keep;
    box.disabled = m < 0;
  };
  for (const [m, g] of [['mountain', 'gua'], ['dragon-mountain', 'dragon-gua'], ['water-mountain', 'water-gua']]) {
    $(m).addEventListener('change', () => fillGuas(m, g));
    fillGuas(m, g);
  }
  fillMountains.refreshGuas = () => {
    for (const [m, g] of [['mountain', 'gua'], ['dragon-mountain', 'dragon-gua'], ['water-mountain', 'water-gua']]) fillGuas(m, g);
  };
}

// The province box: the provinces of China (the last, 未知地, has no cities), then the world's
// countries, each with its zones' cities ("w:" and the country's code).
function fillPlaces() {
  places = q.provinces();
  const box = $('province');
  const chosen = box.value;
  box.replaceChildren();
  places.forEach((p, i) => option(box, i, p.name));
  const countries = worldPlaces && worldPlaces[$('script').value];
  if (countries) {
    const group = document.createElement('optgroup');
    group.label = '海外';
    for (const c of countries) option(group, `w:${c.code}`, c.name);
    box.append(group);
  }
  box.value = [...box.options].some((o) => o.value === chosen) ? chosen : String(places.length - 1);
  fillCities();
}

// The chosen country of the world, or null for a province of China.
function chosenCountry() {
  const value = $('province').value;
  if (!value.startsWith('w:') || !worldPlaces) return null;
  return worldPlaces[$('script').value].find((c) => `w:${c.code}` === value) || null;
}

function fillCities() {
  const country = chosenCountry();
  const cities = country ? country.places.map((p) => p.shown) : (places[Number($('province').value)] || { cities: [] }).cities.map((c) => c.name);
  const box = $('city');
  box.replaceChildren();
  cities.forEach((name, i) => option(box, i, name));
  box.disabled = cities.length === 0;
  fillZones();
}

// The clock the typed time is read on: Beijing time, or the mainland's clock times with their
// summer times, for a place in China; a place abroad reads its own zone's clock.
function fillZones() {
  const box = $('zone');
  const chosen = box.value;
  box.replaceChildren();
  const country = chosenCountry();
  if (country) {
    const place = country.places[Number($('city').value)];
    if (place) option(box, place.zone, place.zoneName);
    box.disabled = true;
  } else {
    option(box, '', '北京时间');
    option(box, 'Asia/Shanghai', '中国（按当时钟表时间，含1986–1991年夏令时）');
    box.value = chosen === 'Asia/Shanghai' ? chosen : '';
    box.disabled = false;
  }
  $('zone-label').hidden = false;
  $('fold-label').hidden = !box.value;
}

// The chart request of the inputs, named as quorin-cli's options.
function chartRequest() {
  const request = {
    moment: `${$('date').value.trim()} ${$('time').value || '00:00'}`,
    lunar: $('calendar').value === 'lunar',
    leap: $('calendar').value === 'lunar' && $('leap').checked,
    name: $('name').value,
    female: $('sex').value === 'female',
    birth: Number($('birth').value),
    mountain: Number($('mountain').value),
    gua: Number($('gua').value),
    facing: $('facing').checked,
  };
  for (const kind of ['dragon', 'water']) {
    const m = Number($(`${kind}-mountain`).value);
    if (m >= 0) request[kind] = [m, Number($(`${kind}-gua`).value)];
  }
  const country = chosenCountry();
  if (country) {
    // A place abroad stands as the place not given for readers that know only the provinces;
    // its name and zone say where it is.
    const place = country.places[Number($('city').value)];
    if (place) Object.assign(request, { place: place.name, lon: place.lon, lat: place.lat, zone: place.zone });
  } else {
    const province = Number($('province').value);
    const p = places[province];
    const city = p && p.cities[Number($('city').value)];
    if (p && city) {
      Object.assign(request, { province, city: Number($('city').value), place: p.key + city.key, lon: city.lon, lat: city.lat });
    }
    if ($('zone').value) request.zone = $('zone').value;
  }
  if (request.zone && $('fold').value) request.fold = Number($('fold').value);
  if (!Number.isFinite(request.birth) || $('birth').value.trim() === '') request.birth = 1978;
  const persons = personsOfInputs();
  if (persons.length > 0) request.persons = persons;
  return request;
}

// ---- The persons after 主命 ------------------------------------------------------------------

const kMaxOtherPersons = 7;

// The rows typed so far; a row without a name is not yet a person.
function personsOfInputs() {
  const persons = [];
  for (const row of document.querySelectorAll('#persons .person')) {
    const name = row.querySelector('.person-name').value.trim();
    if (!name) continue;
    const person = { name, birth: Number(row.querySelector('.person-birth').value) };
    if (row.querySelector('.person-sex').value === 'female') person.female = true;
    persons.push(person);
  }
  return persons;
}

function addPersonRow(person = { name: '', birth: Number($('birth').value) || 1978 }) {
  const row = document.createElement('div');
  row.className = 'person';
  const name = Object.assign(document.createElement('input'), { className: 'person-name', value: person.name,
                                                               maxLength: 10, placeholder: '称谓，如配偶' });
  const sex = Object.assign(document.createElement('select'), { className: 'person-sex' });
  sex.append(new Option('男', 'male'), new Option('女', 'female'));
  sex.value = person.female ? 'female' : 'male';
  const birth = Object.assign(document.createElement('input'), { className: 'person-birth', type: 'number',
                                                                value: person.birth, min: -4713, max: 9999 });
  birth.inputMode = 'numeric';
  const remove = Object.assign(document.createElement('button'), { type: 'button', className: 'person-remove',
                                                                  textContent: '✕', title: '删除' });
  remove.setAttribute('aria-label', '删除');
  remove.addEventListener('click', () => {
    row.remove();
    showPersonsButton();
    saveInputs();
  });
  row.append(name, sex, birth, remove);
  $('persons').append(row);
  showPersonsButton();
  return row;
}

function showPersonsButton() {
  $('add-person').disabled = $('persons').children.length >= kMaxOtherPersons;
}

function saveInputs() {
  const inputs = {};
  for (const id of ['name', 'birth', 'sex', 'mountain', 'gua', 'dragon-mountain', 'dragon-gua', 'water-mountain',
                    'water-gua', 'calendar', 'date', 'time', 'province', 'city', 'zone', 'fold']) inputs[id] = $(id).value;
  inputs.facing = $('facing').checked;
  inputs.leap = $('leap').checked;
  inputs.persons = personsOfInputs();
  store('inputs', inputs);
}

function restoreInputs() {
  const inputs = stored('inputs', null);
  if (!inputs) return;
  const set = (id) => {
    if (inputs[id] !== undefined) $(id).value = inputs[id];
  };
  for (const id of ['name', 'birth', 'sex', 'mountain', 'dragon-mountain', 'water-mountain', 'calendar', 'date', 'time']) set(id);
  fillMountains.refreshGuas();
  for (const id of ['gua', 'dragon-gua', 'water-gua']) set(id);
  set('province');
  fillCities();
  set('city');
  fillZones();
  set('zone');
  set('fold');
  $('fold-label').hidden = !$('zone').value;
  $('facing').checked = !!inputs.facing;
  $('leap').checked = !!inputs.leap;
  for (const person of (inputs.persons || []).slice(0, kMaxOtherPersons)) addPersonRow(person);
}

// ---- The chart ----------------------------------------------------------------------------

// The text with its coloured spans; spans count characters, later ones over earlier ones.
function showText(element, text, spans) {
  const characters = Array.from(text);
  const colour = new Array(characters.length).fill('');
  const bold = new Array(characters.length).fill(false);
  for (const s of spans) {
    for (let i = s.start; i < Math.min(s.start + s.length, characters.length); ++i) {
      colour[i] = s.color;
      bold[i] = s.bold;
    }
  }
  const fragment = document.createDocumentFragment();
  let from = 0;
  for (let i = 1; i <= characters.length; ++i) {
    if (i < characters.length && colour[i] === colour[from] && bold[i] === bold[from]) continue;
    const piece = characters.slice(from, i).join('');
    if (colour[from] || bold[from]) {
      const span = document.createElement('span');
      span.textContent = piece;
      if (colour[from]) span.style.color = colour[from];
      if (bold[from]) span.style.fontWeight = 'bold';
      fragment.append(span);
    } else {
      fragment.append(piece);
    }
    from = i;
  }
  element.replaceChildren(fragment);
}

// The picture's drawn part: the engine's picture keeps room on the right for the six-line chart
// of a selection, which a narrow screen cannot spare while it is empty.
function drawnWidth(svg, width) {
  let right = 0;
  for (const element of svg.children) {
    if (element.tagName === 'rect' && Number(element.getAttribute('width')) >= width) continue;
    const box = element.getBBox();
    right = Math.max(right, box.x + box.width);
  }
  return Math.min(width, Math.ceil(right) + 6);
}

function showChart(result) {
  const holder = $('chart-picture');
  holder.innerHTML = result.svg;
  const svg = holder.querySelector('svg');
  let shown = result.width;
  if (svg) {
    svg.removeAttribute('width');
    svg.removeAttribute('height');
    svg.setAttribute('preserveAspectRatio', 'xMinYMin meet');
    shown = drawnWidth(svg, result.width);
    svg.setAttribute('viewBox', `0 0 ${shown} ${result.height}`);
    // Fitted to a phone's width; on a wide screen no bigger than a quarter over its own size.
    svg.style.maxWidth = `${Math.round(shown * 1.25)}px`;
  }
  showText($('chart-text'), result.text, result.spans);
  // Where the table lies in picture pixels, and how wide the shown part is: for users' own
  // scripts and the tests.
  Object.assign(holder.dataset, { width: shown, height: result.height, table: JSON.stringify(result.areas.table) });
}

function tell(text) {
  const notice = $('chart-notice');
  notice.textContent = text || '';
  notice.hidden = !text;
}

// A zoned chart needs the recorded zones, put in place at its first use.
async function chart(request = chartRequest()) {
  if (request.zone) await useTables(q);
  const started = performance.now();
  const result = session.compute(request);
  timings.charts.push(performance.now() - started);
  if (timings.firstChart === undefined) timings.firstChart = performance.now();
  if (!result.ok) {
    tell(result.error);
    return false;
  }
  tell(result.notice);
  charted = request;
  showChart(result);
  saveInputs();
  return true;
}

function clickPicture(event) {
  if (!charted) return;
  const svg = $('chart-picture').querySelector('svg');
  if (!svg) return;
  const box = svg.getBoundingClientRect();
  const width = Number($('chart-picture').dataset.width);
  const scale = width / box.width;
  const x = Math.round((event.clientX - box.left) * scale);
  const y = Math.round((event.clientY - box.top) * scale);
  showChart(session.click(x, y));
}

// 时-- 时++ 日-- 日++: the moment of the chart on screen stepped, in the Gregorian calendar.
function step(days) {
  if (!charted) {
    tell('请先排一个正确的盘！');
    return;
  }
  const stepped = session.step(days);
  if (!stepped.ok) {
    tell(stepped.error);
    return;
  }
  const [date, time] = stepped.moment.split(' ');
  const before = { date: $('date').value, time: $('time').value, calendar: $('calendar').value, leap: $('leap').checked };
  $('date').value = date;
  $('time').value = time;
  $('calendar').value = 'solar';
  $('leap').checked = false;
  chart().then((shown) => {
    if (shown) return;
    // The engine refused the stepped moment: the inputs go back to the chart on screen.
    $('date').value = before.date;
    $('time').value = before.time;
    $('calendar').value = before.calendar;
    $('leap').checked = before.leap;
  });
}

// ---- The date sheet -----------------------------------------------------------------------

function printSheet() {
  if (!charted) {
    tell('请先排一个正确的盘！');
    return;
  }
  const sheet = session.sheet();
  const page = $('sheet');
  page.replaceChildren();
  const title = document.createElement('h1');
  title.textContent = sheet.title;
  page.append(title);
  for (const line of sheet.headerLines) {
    const p = document.createElement('p');
    p.className = 'header-line';
    p.textContent = line;
    page.append(p);
  }
  const holder = document.createElement('div');
  holder.innerHTML = sheet.svg;
  const svg = holder.querySelector('svg');
  if (svg) {
    svg.setAttribute('viewBox', `0 ${sheet.top} ${sheet.width} ${sheet.bottom - sheet.top}`);
    svg.removeAttribute('width');
    svg.removeAttribute('height');
    page.append(svg);
  }
  // Paper needs one empty line between the sections where the screen has several.
  const { text, spans } = collapseBlankLines(sheet.text, sheet.spans);
  const analysis = document.createElement('pre');
  analysis.style.textIndent = `${sheet.indent}pt`;
  showText(analysis, text, spans);
  page.append(analysis);
  const today = new Date();
  const issued = `出具日期：${today.getFullYear()}年${today.getMonth() + 1}月${today.getDate()}日`;
  document.documentElement.style.setProperty('--issued', JSON.stringify(issued));
  document.title = sheet.title;
  window.print();
  document.title = 'Quorin 择日';
}

// Runs of blank lines become one, leading ones none; spans move with their characters.
function collapseBlankLines(text, spans) {
  const characters = Array.from(text);
  const moved = new Array(characters.length + 1).fill(0);
  let out = [];
  let blankBefore = true;
  for (let from = 0; from < characters.length;) {
    let end = characters.indexOf('\n', from);
    if (end < 0) end = characters.length - 1;
    const line = characters.slice(from, end + 1);
    const blank = line.join('').trim() === '';
    for (let i = from; i <= end; ++i) moved[i] = out.length + (blank && blankBefore ? 0 : i - from);
    if (!(blank && blankBefore)) out = out.concat(line);
    blankBefore = blank;
    from = end + 1;
  }
  moved[characters.length] = out.length;
  if (out[out.length - 1] === '\n') out.pop();
  const at = (p) => moved[Math.max(0, Math.min(p, characters.length))];
  return {
    text: out.join(''),
    spans: spans.map((s) => ({ ...s, start: at(s.start), length: at(s.start + s.length) - at(s.start) })),
  };
}

// ---- The search ---------------------------------------------------------------------------

let worker = null;
let searching = null;   // the search running: its request, lines and CSV rows
let lastSearch = { lines: [] };

// Result lines shown at a time: a century's search can find 200,000; more follow on request.
const kShownResults = 500;

function startWorker() {
  worker = new Worker('search-worker.js');
  worker.onmessage = (event) => {
    const m = event.data;
    if (!searching) return;
    if (m.type === 'start') {
      searching.csv = [m.header];
    } else if (m.type === 'found') {
      // Batches can be long: no spreading into arguments.
      searching.lines = searching.lines.concat(m.lines);
      searching.csv = searching.csv.concat(m.rows);
      $('search-progress').value = m.percent;
      showMoreResults(false);
    } else if (m.type === 'done') {
      finishSearch(m.result.ok ? null : m.result.error, false);
    }
  };
}

// Appends result lines up to the next block of kShownResults (or the first block while searching).
function showMoreResults(more) {
  const list = $('search-results');
  const lines = (searching || lastSearch).lines;
  const limit = more ? list.children.length + kShownResults : kShownResults;
  for (let i = list.children.length; i < Math.min(lines.length, limit); ++i) {
    const item = document.createElement('li');
    const pick = Object.assign(document.createElement('input'), { type: 'checkbox', className: 'pick', value: lines[i] });
    pick.setAttribute('aria-label', '选择对比');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = lines[i];
    item.append(pick, button);
    list.append(item);
  }
  $('search-more').hidden = list.children.length >= lines.length;
  $('search-more').textContent = `再显示${Math.min(kShownResults, lines.length - list.children.length)}条（共${lines.length}条）`;
}

function searchRequest() {
  const c = chartRequest();
  const request = { birth: c.birth, mountain: c.mountain, gua: c.gua, facing: c.facing, conditions: [] };
  if (c.persons) request.persons = c.persons;
  if (c.dragon) request.dragon = c.dragon;
  if (c.water) request.water = c.water;
  if (c.lon !== undefined) request.lon = c.lon;
  // A place abroad (or the mainland's clock times): its clock times are searched.
  if (c.zone) request.zone = c.zone;
  if ($('search-kind').value === 'year') {
    request.year = Number($('search-year').value);
  } else {
    request.from = $('search-from').value.trim();
    request.to = $('search-to').value.trim();
  }
  if ($('search-pattern').value) request.pattern = $('search-pattern').value;
  if ($('search-near').checked) request.near = true;
  for (const box of document.querySelectorAll('#search-conditions input:checked')) request.conditions.push(box.value);
  for (const kind of ['qi', 'yun']) {
    const digits = $(`search-${kind}-digits`).value.trim();
    if (digits) {
      request[`${kind}Digits`] = digits;
      request[`${kind}Adjacent`] = $(`search-${kind}-adjacent`).checked;
    }
  }
  return request;
}

function search(event) {
  event.preventDefault();
  if (searching) return;
  const request = searchRequest();
  $('search-results').replaceChildren();
  $('compare').hidden = true;
  $('search-compare').disabled = true;
  $('search-summary').textContent = '正在查找……';
  $('search-progress').value = 0;
  $('search-csv').hidden = true;
  $('search-button').disabled = true;
  $('search-cancel').disabled = false;
  searching = { request, lines: [], csv: [], started: performance.now() };
  worker.postMessage({ type: 'search', request, script: $('script').value, settings: settings() });
}

function finishSearch(error, cancelled) {
  // Near misses follow the full matches, each line naming what it misses.
  const near = searching.lines.filter((line) => line.includes('　差：')).length;
  const found = searching.lines.length - near;
  const nearText = searching.request.near ? (near > 0 ? `，另有${near}条差一条的日课列在后面` : '，也没有差一条的日课') : '';
  timings.lastSearch = performance.now() - searching.started;
  if (error) {
    $('search-summary').textContent = error;
  } else if (cancelled) {
    $('search-summary').textContent = found + near > 0 ? `已取消，保留了已找到的${found}条日课${nearText}，点按一条直接查看日课！`
                                                       : '已取消，还没有找到符合条件的日课。';
  } else if (found + near > 0) {
    $('search-summary').textContent = `共找到${found}条日课${nearText}，点按一条直接查看日课！`;
  } else {
    $('search-summary').textContent = searching.request.near ? '没有找到符合条件的日课，也没有差一条的日课。'
                                                             : '没有找到符合条件的日课，请改变查找条件。';
  }
  if (found + near > 0 && searching.csv.length > 0) {
    const link = $('search-csv');
    if (link.href) URL.revokeObjectURL(link.href);
    link.href = URL.createObjectURL(new Blob(['\uFEFF', ...searching.csv], { type: 'text/csv;charset=utf-8' }));
    link.hidden = false;
  }
  $('search-button').disabled = false;
  $('search-cancel').disabled = true;
  $('search-progress').value = error ? 0 : cancelled ? $('search-progress').value : 100;
  lastSearch = searching;
  searching = null;
  showMoreResults(false);
  document.body.dataset.searchDone = String(Date.now());
}

// 取消: the worker stops at once; what it found is already here.
function cancelSearch() {
  if (!searching) return;
  worker.terminate();
  finishSearch(null, true);
  startWorker();
}

// "3：2012年03月05日07时" (astronomical year) opens that moment's chart at minute 5.
// The moment of a result line as the inputs write it: [date, time], the year as users write it.
function resultMoment(line) {
  const m = /(-?\d+)年(\d+)月(\d+)日(\d+)时/.exec(line);
  if (!m) return null;
  const astronomical = Number(m[1]);
  const year = astronomical <= 0 ? astronomical - 1 : astronomical;
  return [`${year}-${m[2]}-${m[3]}`, `${m[4]}:05`];
}

function openResult(line) {
  const moment = resultMoment(line);
  if (!moment) return;
  [$('date').value, $('time').value] = moment;
  $('calendar').value = 'solar';
  $('leap').checked = false;
  showPage('page-chart');
  chart();
}

// ---- 对比所选日课 ----------------------------------------------------------------------------

function pickedResults() {
  return Array.from(document.querySelectorAll('#search-results input.pick:checked'), (box) => box.value);
}

function showComparePossible() {
  const count = pickedResults().length;
  $('search-compare').disabled = count < 2 || count > 4;
}

// The picked results side by side, judged by the conditions of the search that found them.
function compareResults() {
  const moments = pickedResults().map((line) => resultMoment(line).join(' '));
  const request = Object.assign(chartRequest(), { moment: moments[0], lunar: false, leap: false });
  const result = q.compare(request, (lastSearch.request || searchRequest()), moments);
  const table = $('compare-table');
  table.replaceChildren();
  if (!result.ok) {
    $('search-summary').textContent = result.error;
    $('compare').hidden = true;
    return;
  }
  const head = table.createTHead().insertRow();
  head.append(document.createElement('th'));
  for (const caption of result.captions) head.append(Object.assign(document.createElement('th'), { textContent: caption }));
  const body = table.createTBody();
  for (const row of result.rows) {
    const tr = body.insertRow();
    if (row.differs) tr.className = 'differs';
    tr.insertCell().textContent = row.label;
    for (const value of row.values) {
      const cell = tr.insertCell();
      cell.textContent = value;
      if (value === '差') cell.className = 'missed';
    }
  }
  $('compare').hidden = false;
  $('compare').scrollIntoView();
}

function fillSearchConditions() {
  const holder = $('search-conditions');
  const groups = new Map();
  for (const c of q.conditions()) {
    if (!groups.has(c.group)) {
      const set = document.createElement('fieldset');
      const legend = document.createElement('legend');
      legend.textContent = c.group;
      set.append(legend);
      holder.append(set);
      groups.set(c.group, set);
    }
    const label = document.createElement('label');
    label.className = 'check';
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.value = c.caption;
    label.append(box, ` ${c.shown}`);
    groups.get(c.group).append(label);
  }
  for (const p of q.patterns()) option($('search-pattern'), p, p);
}

// ---- The perpetual calendar ---------------------------------------------------------------

function fillCalendarLists() {
  for (let m = 1; m <= 12; ++m) option($('cal-month'), m, `${m}月`);
  for (let h = 0; h < 24; ++h) option($('cal-hour'), h, `${h}时`);
  const now = new Date();
  $('cal-year').value = now.getFullYear();
  $('cal-month').value = now.getMonth() + 1;
  $('cal-hour').value = now.getHours();
  calendarDay = now.getDate();
}

let calendarDay = 1;
function drawMonth() {
  const page = q.month(Number($('cal-year').value), Number($('cal-month').value), calendarDay, Number($('cal-hour').value));
  if (!page.ok) {
    $('cal-label').textContent = page.error;
    return;
  }
  calendarDay = page.day;
  $('cal-label').textContent = page.monthLabel;
  const grid = $('cal-grid');
  grid.replaceChildren();
  page.weekdays.forEach((name, i) => {
    // Monday first, Sunday last, as the window lays it out.
    const cell = document.createElement('div');
    cell.className = `weekday${i >= 5 ? ' weekend' : ''}`;
    cell.textContent = page.weekdays[(i + 1) % 7];
    grid.append(cell);
  });
  const lastRow = Math.max(...page.cells.map((c) => c.row));
  const cells = new Map(page.cells.map((c) => [`${c.row}:${c.column}`, c]));
  for (let row = 1; row <= lastRow; ++row) {
    for (let column = 0; column < 7; ++column) {
      const cell = document.createElement('div');
      const c = cells.get(`${row}:${column}`);
      if (c) {
        if (c.term) cell.classList.add('term');
        if (c.day === calendarDay) cell.classList.add('selected');
        const button = document.createElement('button');
        button.type = 'button';
        const number = document.createElement('span');
        number.className = 'number';
        number.textContent = c.term ? `${c.number} ${c.term}` : c.number;
        const lunar = document.createElement('span');
        lunar.className = 'lunar';
        lunar.textContent = c.lunar;
        button.append(number, lunar);
        button.addEventListener('click', () => {
          calendarDay = c.day;
          drawMonth();
        });
        cell.append(button);
      }
      grid.append(cell);
    }
  }
  $('cal-title').textContent = page.title;
  $('cal-pillars').textContent = page.pillars;
  $('cal-terms').textContent = page.terms;
}

function stepMonth(by) {
  let year = Number($('cal-year').value);
  let month = Number($('cal-month').value) + by;
  if (month < 1) {
    month = 12;
    year = year === 1 ? -1 : year - 1;
  } else if (month > 12) {
    month = 1;
    year = year === -1 ? 1 : year + 1;
  }
  if (year < -4713 || year > 9999) return;
  $('cal-year').value = year;
  $('cal-month').value = month;
  drawMonth();
}

function chartCalendarDay() {
  const m = String($('cal-month').value).padStart(2, '0');
  const d = String(calendarDay).padStart(2, '0');
  $('date').value = `${$('cal-year').value}-${m}-${d}`;
  $('time').value = `${String($('cal-hour').value).padStart(2, '0')}:00`;
  $('calendar').value = 'solar';
  $('leap').checked = false;
  showPage('page-chart');
  chart();
}

// ---- Settings and pages -------------------------------------------------------------------

function settings() {
  return {
    idate: Number($('set-idate').value),
    ijiazi: Number($('set-ijiazi').value),
    iShanShow: Number($('set-iShanShow').value),
    bRiGua: $('set-bRiGua').checked ? 1 : 0,
    leftpos: Math.max(0, Math.min(500, Number($('set-leftpos').value) || 0)),
  };
}

async function applySettings(redraw) {
  const s = settings();
  store('settings', { ...s, script: $('script').value });
  q.useSettings(s);
  const script = $('script').value;
  document.documentElement.lang = script;
  if (script !== 'zh-Hans') await useTables(q);
  const problem = q.useScript(script);
  if (problem) status(problem);
  // The lists name their places in the script; the choices stay.
  const city = $('city').value;
  fillPlaces();
  if ([...$('city').options].some((o) => o.value === city)) $('city').value = city;
  fillZones();
  if (redraw) {
    fillMountains.rename();
    drawMonth();
    if (charted) chart(charted);
  }
}

function restoreSettings() {
  const s = stored('settings', null);
  if (!s) return;
  for (const key of ['idate', 'ijiazi', 'iShanShow', 'leftpos']) if (s[key] !== undefined) $(`set-${key}`).value = s[key];
  $('set-bRiGua').checked = !!s.bRiGua;
  if (s.script) $('script').value = s.script;
}

function showPage(id) {
  for (const tab of document.querySelectorAll('.tabs button')) {
    tab.setAttribute('aria-selected', String(tab.dataset.page === id));
    $(tab.dataset.page).hidden = tab.dataset.page !== id;
  }
  if (id === 'page-calendar') drawMonth();
}

async function start() {
  const world = fetch('tables/world_places.json').then((r) => (r.ok ? r.json() : null)).catch(() => null);
  q = await loadEngine();
  worldPlaces = await world;
  session = new q.ChartSession();
  fillMountains();
  fillMountains.rename = () => {
    // Names follow the script; the choices stay.
    const chosen = ['mountain', 'gua', 'dragon-mountain', 'dragon-gua', 'water-mountain', 'water-gua'].map((id) => $(id).value);
    fillMountains();
    ['mountain', 'gua', 'dragon-mountain', 'dragon-gua', 'water-mountain', 'water-gua'].forEach((id, i) => {
      $(id).value = chosen[i];
      if (i % 2 === 0) fillMountains.refreshGuas();
    });
  };
  fillPlaces();
  fillSearchConditions();
  fillCalendarLists();
  restoreSettings();
  restoreInputs();
  await applySettings(false);

  $('chart-form').addEventListener('submit', (event) => {
    event.preventDefault();
    chart();
  });
  $('add-person').addEventListener('click', () => addPersonRow().querySelector('.person-name').focus());
  $('persons').addEventListener('change', saveInputs);
  $('province').addEventListener('change', fillCities);
  $('city').addEventListener('change', fillZones);
  $('zone').addEventListener('change', fillZones);
  $('chart-picture').addEventListener('click', clickPicture);
  $('hour-back').addEventListener('click', () => step(-1 / 12));
  $('hour-forward').addEventListener('click', () => step(1 / 12));
  $('day-back').addEventListener('click', () => step(-1));
  $('day-forward').addEventListener('click', () => step(1));
  $('print-button').addEventListener('click', printSheet);
  $('compass-button').addEventListener('click', () => {
    const found = q.compassDegrees($('compass').value);
    if (!found) {
      tell('罗盘度数应为0到360之间的整数，可带分，如 18 或 18-12');
      return;
    }
    $('mountain').value = found.mountain;
    fillMountains.refreshGuas();
    $('gua').value = found.gua;
  });
  $('search-form').addEventListener('submit', search);
  $('search-cancel').addEventListener('click', cancelSearch);
  $('search-more').addEventListener('click', () => showMoreResults(true));
  // One listener for every result line: a tap opens its chart.
  $('search-results').addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (button) openResult(button.textContent);
  });
  $('search-results').addEventListener('change', showComparePossible);
  $('search-compare').addEventListener('click', compareResults);
  $('compare-close').addEventListener('click', () => { $('compare').hidden = true; });
  $('search-kind').addEventListener('change', () => {
    for (const label of document.querySelectorAll('[data-kind]')) label.hidden = label.dataset.kind !== $('search-kind').value;
  });
  $('cal-previous').addEventListener('click', () => stepMonth(-1));
  $('cal-next').addEventListener('click', () => stepMonth(1));
  for (const id of ['cal-year', 'cal-month', 'cal-hour']) $(id).addEventListener('change', drawMonth);
  $('cal-chart').addEventListener('click', chartCalendarDay);
  $('settings-form').addEventListener('change', () => applySettings(true));
  for (const tab of document.querySelectorAll('.tabs button')) tab.addEventListener('click', () => showPage(tab.dataset.page));
  startWorker();

  status('');
  document.body.dataset.ready = 'true';
  timings.ready = performance.now();
  chart();
}

if ('serviceWorker' in navigator && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').catch(() => {
    // Without a service worker the page still works, only not offline.
  });
}

start().catch((error) => status(`排盘引擎无法载入：${error}`));
