// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition's engine gives what quorin-cli gives: chart texts and their colours, pictures
// after clicks, searches with their CSV, in every script and zone, for requests across the
// calendar's odd places (BC years, 1582, lunar and leap months, true solar time, positions).
//   node tests/web/engine_parity.js MODULE_FOLDER QUORIN_CLI
'use strict';
const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [moduleFolder, cli] = process.argv.slice(2);
const tablesFolder = path.join(path.dirname(moduleFolder), '..', 'web', 'tables');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorin-parity-'));
process.on('exit', () => fs.rmSync(work, { recursive: true, force: true }));

// A chart as options of both: the request's fields are quorin-cli's option names.
const charts = [
  { moment: '2024-11-03 10:30', mountain: 1 },
  { moment: '2025-01-29 00:05', mountain: 12, gua: 1, name: '张三', female: true, birth: 1990 },
  { moment: '-1-12-31 23:59', mountain: 5, birth: -30 },
  { moment: '-4713-01-01 12:00', mountain: 0, birth: -4713 },
  { moment: '-221-06-15 08:00', mountain: 7, gua: 2 },
  { moment: '1582-10-04 12:00', mountain: 3 },
  { moment: '1582-10-15 12:00', mountain: 3 },
  { moment: '1600-02-29 06:30', mountain: 9 },
  { moment: '9999-12-31 22:00', mountain: 23, birth: 9990 },
  { moment: '2023-02-01 10:00', lunar: true, mountain: 2 },
  { moment: '2023-02-15 10:00', lunar: true, leap: true, mountain: 2 },
  { moment: '2020-04-01 16:20', lunar: true, leap: true, mountain: 14, gua: 1 },
  { moment: '1984-01-01 00:00', lunar: true, mountain: 17 },
  { moment: '2025-06-21 12:00', mountain: 6, lon: 87.6, lat: 43.8, place: '乌鲁木齐', settings: { idate: 1 } },
  { moment: '2025-06-21 12:00', mountain: 6, lon: 126.6, lat: 45.7, place: '哈尔滨', settings: { idate: 2 } },
  { moment: '1970-03-05 04:05', mountain: 8, settings: { ijiazi: 1, bRiGua: 1, iShanShow: 1, leftpos: 8 } },
  { moment: '2025-05-01 10:05', mountain: 1, dragon: [4, 0], water: [10, 1], facing: true },
  { moment: '2001-09-09 09:09', mountain: 13, dragon: [22, 1], facing: true, birth: 1950, female: true },
  { moment: '2025-05-03 08:05', mountain: 19, water: [2, 0] },
  { moment: '2025-05-01 10:05', mountain: 1, flips: [1, 3] },
  { moment: '2025-05-01 10:05', mountain: 1, clicks: [[150, 250]] },
  { moment: '2025-05-01 10:05', mountain: 1, dragon: [4, 0], clicks: [[100, 240], [260, 300]] },
  { moment: '2025-05-01 10:05', mountain: 1, clicks: [[10, 10]], fontSize: 16 },
  { moment: '2025-05-01 10:05', mountain: 1, name: 'a*b?c' },
  { moment: '2025-05-01 10:05', mountain: 1, name: '   ' },
  { moment: '2025-02-30 10:00', mountain: 1 },
  { moment: '2024-11-03 01:30', mountain: 1, zone: 'America/New_York', fold: 2 },
  { moment: '2024-07-01 18:00', mountain: 4, zone: 'Europe/London' },
  { moment: '1900-01-01 12:00', mountain: 4, zone: 'Asia/Kolkata' },
  { moment: '2024-11-03 10:30', mountain: 1, script: 'zh-Hant-TW' },
  // World places as the page lists them (tables/world_places.json) and quorin-cli finds them by name.
  { moment: '2024-11-03 10:30', mountain: 1, worldPlace: 'New York', settings: { idate: 1 } },
  { moment: '2025-04-06 02:30', mountain: 9, worldPlace: 'Sydney', fold: 2 },
  { moment: '1990-07-01 12:00', mountain: 3, worldPlace: 'Kuala Lumpur', script: 'zh-Hant-HK' },
  { moment: '2023-02-15 10:00', lunar: true, leap: true, mountain: 2, script: 'zh-Hant-HK', dragon: [4, 0] },
  // A household: a column, a table in the picture and two sections for each person after 主命.
  { moment: '2025-05-01 10:05', mountain: 1, dragon: [4, 0], clicks: [[100, 240]],
    persons: [{ name: '配偶', female: true, birth: 1982 }, { name: '长子', birth: 2010 }, { name: '长女', female: true, birth: 2012 }] },
];

const searches = [
  { year: 2025, cli: ['--qi', '同数'], conditions: ['卦气同数'] },
  { year: -100, mountain: 5, gua: 1, birth: -130, cli: ['--yun', '合十', '--avoid', '冲主命'],
    conditions: ['卦运合十', '冲主命'] },
  { from: '2024-01-01', to: '2026-06-30', mountain: 12, pattern: '一卦纯清' },
  { from: '1582-09-01', to: '1583-03-01', mountain: 3, cli: ['--qi', '合十', '--include', '主命,坐山'],
    conditions: ['卦气合十', '主命纳入', '坐山纳入'] },
  { year: 2030, mountain: 1, dragon: [4, 0], water: [10, 1], facing: true, qiDigits: '1,9', lon: 100,
    cli: ['--qi-digits', '1,9', '--shengru'], conditions: ['生入克入'] },
  { year: 2031, mountain: 2, yunDigits: '2,8', yunAdjacent: true, cli: ['--yun-digits', '2,8', '--yun-adjacent'] },
  { year: 2024, mountain: 1, zone: 'America/New_York', cli: ['--qi', '合五'], conditions: ['卦气合五'] },
  { year: 2025, mountain: 1, script: 'zh-Hant-TW', cli: ['--family'], conditions: ['亲缘交通'] },
  { year: 2026, mountain: 1, birth: 1978, near: true, persons: [{ name: '配偶', female: true, birth: 1982 }, { name: '长子', birth: 2010 }],
    cli: ['--include', '主命', '--qi', '合十', '--avoid', '冲主命', '--near', '--person', '配偶,女,1982', '--person', '长子,男,2010'],
    conditions: ['主命纳入', '卦气合十', '冲主命'] },
  { from: '2024-06-01', to: '2026-05-31', mountain: 7, near: true, yunDigits: '3',
    cli: ['--qi', '合十', '--avoid', '冲主命,坐山三煞', '--shengru', '--yun-digits', '3', '--near'],
    conditions: ['卦气合十', '冲主命', '坐山三煞', '生入克入'] },
];

const comparisons = [
  { moments: ['2025-05-01 10:05', '2025-05-03 08:05', '2025-05-04 14:05'],
    chart: { mountain: 1, birth: 1978, persons: [{ name: '配偶', female: true, birth: 1982 }, { name: '长子', birth: 2010 }] },
    cli: ['--include', '主命', '--qi', '合十', '--avoid', '冲主命,冲山'], conditions: ['主命纳入', '卦气合十', '冲主命', '冲山'] },
];

function settingsFile(settings) {
  const file = path.join(work, `set-${Math.random().toString(36).slice(2)}.ini`);
  const keys = ['idate', 'ijiazi', 'leftpos', 'iShanShow', 'bRiGua'];
  fs.writeFileSync(file, `[set]\n${keys.map((k) => `${k}=${(settings || {})[k] || 0}`).join('\n')}\n`);
  return file;
}

function chartArgs(c, svg) {
  const args = ['chart', c.moment, '--mountain', String(c.mountain)];
  if (c.gua !== undefined) args.push('--gua', String(c.gua));
  if (c.lunar) args.push('--lunar');
  if (c.leap) args.push('--leap');
  if (c.name !== undefined) args.push('--name', c.name);
  if (c.female) args.push('--female');
  if (c.birth !== undefined) args.push('--birth', String(c.birth));
  for (const kind of ['dragon', 'water']) if (c[kind]) args.push(`--${kind}`, `${c[kind][0]}:${c[kind][1]}`);
  if (c.facing) args.push('--facing');
  if (c.lon !== undefined) args.push('--lon', String(c.lon), '--lat', String(c.lat));
  if (c.worldPlace) args.push('--place', c.worldPlace);
  else if (c.place !== undefined) args.push('--place', c.place);
  if (c.zone && !c.worldPlace) args.push('--zone', c.zone);
  if (c.fold) args.push('--fold', String(c.fold));
  if (c.flips) args.push('--flip', c.flips.join(','));
  for (const p of c.persons || []) args.push('--person', `${p.name},${p.female ? '女' : '男'},${p.birth}`);
  args.push('--settings', settingsFile(c.settings), '--spans', '--svg', svg);
  for (const [x, y] of c.clicks || []) args.push('--click', `${x},${y}`);
  if (c.fontSize) args.push('--font-size', String(c.fontSize));
  if (c.script) args.push('--script', c.script);
  return args;
}

const groupOptions = { 卦气: '--qi', 卦运: '--yun', 纳入: '--include', 避开年月日时: '--avoid' };

function searchArgs(s, csv) {
  const args = ['search'];
  if (s.year !== undefined) args.push('--year', String(s.year));
  else args.push('--from', s.from, '--to', s.to);
  args.push('--mountain', String(s.mountain || 0));
  if (s.gua !== undefined) args.push('--gua', String(s.gua));
  if (s.birth !== undefined) args.push('--birth', String(s.birth));
  for (const kind of ['dragon', 'water']) if (s[kind]) args.push(`--${kind}`, `${s[kind][0]}:${s[kind][1]}`);
  if (s.facing) args.push('--facing');
  if (s.pattern) args.push('--pattern', s.pattern);
  if (s.lon !== undefined) args.push('--lon', String(s.lon));
  if (s.zone) args.push('--zone', s.zone);
  if (s.script) args.push('--script', s.script);
  args.push(...(s.cli || []), '--settings', settingsFile({}), '--csv', csv);
  return args;
}

function run(args) {
  const r = childProcess.spawnSync(cli, args, { encoding: 'utf8' });
  return { status: r.status, stdout: r.stdout, stderr: r.stderr };
}

// quorin-cli --spans: one line per span after the text, "start length 0xBBGGRR bold".
function cliSpans(lines) {
  return lines.map((line) => {
    const [start, length, colour, bold] = line.split(' ');
    const c = parseInt(colour, 16);
    const hex = (n) => n.toString(16).toUpperCase().padStart(2, '0');
    return { start: Number(start), length: Number(length), color: `#${hex(c & 255)}${hex((c >> 8) & 255)}${hex(c >> 16)}`,
             bold: bold === '1' };
  });
}

async function main() {
  const factory = require(path.resolve(moduleFolder, 'quorin.js'));
  const q = await factory({ wasmBinary: fs.readFileSync(path.join(moduleFolder, 'quorin.wasm')) });
  q.FS.mkdirTree('/quorin/tables');
  for (const name of fs.readdirSync(tablesFolder)) {
    q.FS.writeFile(`/quorin/tables/${name}`, fs.readFileSync(path.join(tablesFolder, name)));
  }
  let checked = 0;
  const world = JSON.parse(fs.readFileSync(path.join(tablesFolder, 'world_places.json'), 'utf8'));

  for (const wanted of charts) {
    const c = { ...wanted };
    if (c.worldPlace) {
      const place = world['zh-Hans'].flatMap((country) => country.places).find((p) => p.english === c.worldPlace);
      Object.assign(c, { place: place.name, lon: place.lon, lat: place.lat, zone: place.zone });
    }
    const what = JSON.stringify(c);
    const svgFile = path.join(work, 'chart.svg');
    fs.rmSync(svgFile, { force: true });
    const expected = run(chartArgs(wanted, svgFile));
    q.useSettings(c.settings || {});
    assert.strictEqual(q.useScript(c.script || 'zh-Hans'), '', what);
    const got = new q.ChartSession().compute(c);
    if (expected.status !== 0) {
      assert.strictEqual(got.ok, false, `${what}: quorin-cli refused it`);
      assert.strictEqual(`${got.error}\n`, expected.stderr, what);
    } else {
      assert.ok(got.ok, `${what}: ${got.error}`);
      // The text, then the span lines.
      const spans = /(?:\d+ \d+ 0x[0-9A-F]{6} [01]\n)*$/.exec(expected.stdout);
      assert.strictEqual(got.text, expected.stdout.slice(0, spans.index), what);
      assert.deepStrictEqual(got.spans.map((s) => ({ ...s })), cliSpans(spans[0].split('\n').filter((l) => l)), what);
      assert.strictEqual(got.svg, fs.readFileSync(svgFile, 'utf8'), `${what}: the picture`);
    }
    q.useScript('zh-Hans');
    ++checked;
  }

  for (const s of searches) {
    const what = JSON.stringify(s);
    const csvFile = path.join(work, 'search.csv');
    fs.rmSync(csvFile, { force: true });
    const expected = run(searchArgs(s, csvFile));
    assert.strictEqual(expected.status, 0, `${what}: ${expected.stderr}`);
    q.useSettings({});
    assert.strictEqual(q.useScript(s.script || 'zh-Hans'), '', what);
    const lines = [];
    const rows = [];
    let header = '';
    const got = q.search(s, { line: (l) => lines.push(l), row: (r) => rows.push(r), start: (h) => { header = h; } });
    assert.ok(got.ok, `${what}: ${got.error}`);
    assert.strictEqual([...got.lines, got.summary].join('\n') + '\n', expected.stdout, what);
    assert.deepStrictEqual(lines, got.lines, `${what}: lines as they came`);
    if (fs.existsSync(csvFile)) {
      const csv = fs.readFileSync(csvFile, 'utf8');
      // A JavaScript string has no byte order mark; the page writes one into the file it offers.
      assert.strictEqual(`\uFEFF${got.csv}`, csv, `${what}: CSV`);
      assert.strictEqual(`\uFEFF${header}${rows.join('')}`, csv, `${what}: CSV rows as they came`);
    }
    q.useScript('zh-Hans');
    ++checked;
  }
  // 对比所选日课: the rows of quorin-cli compare, its " | " columns trimmed and its "≠" marks.
  for (const c of comparisons) {
    const what = JSON.stringify(c);
    const expected = run(['compare', ...c.moments, ...chartArgs({ ...c.chart, moment: c.moments[0] }).slice(2)
      .filter((a, i, all) => !['--spans', '--svg'].includes(a) && !['--svg'].includes(all[i - 1])), ...c.cli]);
    assert.strictEqual(expected.status, 0, `${what}: ${expected.stderr}`);
    q.useSettings({});
    const got = q.compare({ ...c.chart, moment: c.moments[0] }, { conditions: c.conditions }, c.moments);
    assert.ok(got.ok, `${what}: ${got.error}`);
    const [head, ...rows] = expected.stdout.trimEnd().split('\n').map((line) => ({
      differs: line.startsWith('≠'), fields: line.slice(2).split(' | ').map((f) => f.trim()) }));
    assert.deepStrictEqual([...got.captions], head.fields.slice(1), what);
    assert.deepStrictEqual(got.rows.map((r) => ({ differs: r.differs, fields: [r.label, ...r.values] })), rows, what);
    ++checked;
  }
  console.log(`engine parity: ${checked} requests equal quorin-cli's (${charts.length} charts, ${searches.length} searches, ` +
              `${comparisons.length} comparisons)`);
}

main().catch((error) => {
  console.error(error.message || error);
  process.exit(1);
});
