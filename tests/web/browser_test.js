// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition in a real browser (Debian's chromium, headless, driven by puppeteer-core): it
// charts, a tap on the picture selects a cell, a search finishes and a result opens its chart, it
// still charts with the network cut after the first visit, and at phone size nothing scrolls
// sideways and every control is big enough to tap. Screenshots at both sizes go to build/web-shots/.
//   node tests/web/browser_test.js BUILD_WEB_FOLDER
'use strict';
const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const folder = path.resolve(process.argv[2] || 'build/web');
const shots = path.join(path.dirname(folder), 'web-shots');
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';

// The page's own server on 127.0.0.1, a free port; stopped however the test ends.
function startServer() {
  const server = childProcess.spawn(process.execPath, [path.join(__dirname, '../../app/web/serve.js'), folder, '0'],
                                    { stdio: ['ignore', 'pipe', 'inherit'] });
  process.on('exit', () => server.kill());
  return new Promise((resolve, reject) => {
    server.stdout.once('data', (data) => resolve({ server, url: data.toString().trim() }));
    server.once('exit', (code) => reject(new Error(`the server stopped: ${code}`)));
  });
}

async function ready(page) {
  await page.waitForSelector('body[data-ready="true"]', { timeout: 30000 });
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.length > 0);
}

async function setValue(page, id, value) {
  await page.$eval(`#${id}`, (element, v) => {
    if (element.type === 'checkbox') element.checked = v;
    else element.value = v;
    element.dispatchEvent(new Event('change', { bubbles: true }));
  }, value);
}

const chartText = (page) => page.$eval('#chart-text', (e) => e.textContent);

async function desktop(browser, url) {
  const page = await browser.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(e.message));
  await page.setViewport({ width: 1280, height: 800 });
  await page.goto(url);
  await ready(page);
  // The first visit installs the service worker, which keeps every file.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  await ready(page);

  // A chart from the inputs.
  await setValue(page, 'name', '李四');
  await setValue(page, 'birth', '1966');
  await setValue(page, 'sex', 'female');
  await setValue(page, 'mountain', '1');
  await setValue(page, 'date', '2025-05-01');
  await setValue(page, 'time', '10:05');
  await page.click('#chart-button');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.startsWith('主命：李四（1966年-女命），子山'));
  assert.ok((await chartText(page)).includes('公历：2025年5月1日10时5分'));

  // A place abroad charts its own clock time; the traditional script of Taiwan converts everything.
  await setValue(page, 'province', 'w:US');
  await setValue(page, 'city', await page.$eval('#city', (box) => [...box.options].find((o) => o.textContent === '纽约').value));
  await setValue(page, 'date', '2024-11-03');
  await setValue(page, 'time', '10:30');
  await page.click('#chart-button');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('当地时间：2024年11月3日10时30分(纽约时间，UTC-5)'));
  // A clock time that came twice asks which; the second is chosen.
  await setValue(page, 'time', '01:30');
  await page.click('#chart-button');
  await page.waitForFunction(() => document.getElementById('chart-notice').textContent.includes('出现了两次'));
  await setValue(page, 'fold', '2');
  await page.click('#chart-button');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('当地时间：2024年11月3日1时30分(纽约时间，UTC-5)'));
  await setValue(page, 'fold', '');
  await setValue(page, 'time', '10:30');
  await page.click('#chart-button');
  await setValue(page, 'script', 'zh-Hant-TW');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('當地時間：2024年11月3日10時30分(紐約時間，UTC-5)'));
  assert.strictEqual(await page.$eval('#province', (box) => box.selectedOptions[0].textContent), '美國');
  await setValue(page, 'script', 'zh-Hans');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('当地时间'));
  await setValue(page, 'province', '34');
  await setValue(page, 'date', '2025-05-01');
  await setValue(page, 'time', '10:05');
  await page.click('#chart-button');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('公历：2025年5月1日10时5分'));

  // A tap inside the table's first column selects that cell: the picture changes.
  const before = await page.$eval('#chart-picture', (e) => {
    e.scrollIntoView();
    return e.innerHTML;
  });
  const point = await page.$eval('#chart-picture', (e) => {
    const table = JSON.parse(e.dataset.table);
    const box = e.querySelector('svg').getBoundingClientRect();
    const scale = box.width / Number(e.dataset.width);
    return { x: box.left + (table.left + table.columnWidth / 2) * scale,
             y: box.top + (table.top + (table.bottom - table.top) * 0.4) * scale };
  });
  await page.mouse.click(point.x, point.y);
  await page.waitForFunction((b) => document.getElementById('chart-picture').innerHTML !== b, {}, before);

  // 时++ steps two hours.
  await page.click('#hour-forward');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('公历：2025年5月1日12时5分'));

  // 添加其他人: the person has their own sections; removed, the chart is 主命's alone again.
  await page.click('#add-person');
  await page.type('#persons .person:last-child .person-name', '配偶');
  await page.select('#persons .person:last-child .person-sex', 'female');
  await page.$eval('#persons .person:last-child .person-birth', (e) => { e.value = '1982'; });
  await page.click('#chart-button');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('配偶和日课关系：'));
  assert.match(await chartText(page), /其他人：配偶（1982年-女命）/);
  await page.click('#persons .person:last-child .person-remove');
  await page.click('#chart-button');
  await page.waitForFunction(() => !document.getElementById('chart-text').textContent.includes('其他人'));

  // A year's search in the worker; a tap on a result opens its chart.
  await page.click('#tab-search');
  await setValue(page, 'search-year', '2025');
  await setValue(page, 'mountain', '0');
  await page.$$eval('#search-conditions input', (boxes) => boxes.forEach((b) => { b.checked = b.value === '卦气同数'; }));
  await page.click('#search-button');
  await page.waitForSelector('body[data-search-done]', { timeout: 60000 });
  const results = await page.$$eval('#search-results button', (buttons) => buttons.map((b) => b.textContent));
  assert.ok(results.length > 0, 'the search found nothing');
  assert.match(await page.$eval('#search-summary', (e) => e.textContent), new RegExp(`共找到${results.length}条日课`));
  assert.ok(await page.$eval('#search-csv', (e) => !e.hidden && e.href.startsWith('blob:')));
  // 对比所选日课: two results ticked, side by side, the differing rows marked.
  assert.ok(await page.$eval('#search-compare', (e) => e.disabled));
  await page.click('#search-results li:nth-child(1) input.pick');
  await page.click('#search-results li:nth-child(2) input.pick');
  await page.click('#search-compare');
  await page.waitForSelector('#compare:not([hidden])');
  const heads = await page.$$eval('#compare-table th', (cells) => cells.map((c) => c.textContent));
  assert.strictEqual(heads.length, 3);
  assert.ok(await page.$$eval('#compare-table tr.differs', (rows) => rows.some((r) => r.cells[0].textContent === '四柱')));
  assert.ok(await page.$$eval('#compare-table tr', (rows) => rows.some((r) => r.cells[0].textContent === '卦气同数')));
  await page.click('#search-results li:first-child button');
  const [, y, m, d, h] = /(-?\d+)年(\d+)月(\d+)日(\d+)时/.exec(results[0]);
  await page.waitForFunction((t) => document.getElementById('chart-text').textContent.includes(t), {},
                             `公历：${Number(y)}年${Number(m)}月${Number(d)}日${Number(h)}时5分`);
  assert.strictEqual(await page.$eval('#page-chart', (e) => e.hidden), false);

  // 取消 keeps what was found: a century of 卦气合十 stopped once lines have come.
  await page.click('#tab-search');
  await setValue(page, 'search-kind', 'range');
  await setValue(page, 'search-from', '1950-01-01');
  await setValue(page, 'search-to', '2049-12-31');
  await page.$$eval('#search-conditions input', (boxes) => boxes.forEach((b) => { b.checked = b.value === '卦气合十'; }));
  await page.click('#search-button');
  await page.waitForFunction(() => document.querySelectorAll('#search-results li').length > 0);
  await page.click('#search-cancel');
  const kept = await page.$eval('#search-summary', (e) => e.textContent);
  assert.match(kept, /^已取消，保留了已找到的\d+条日课/);
  assert.ok(await page.$eval('#search-csv', (e) => !e.hidden));
  assert.ok(await page.$eval('#search-button', (e) => !e.disabled));

  // The perpetual calendar.
  await page.click('#tab-calendar');
  await page.waitForFunction(() => document.querySelectorAll('#cal-grid button').length >= 28);

  await page.click('#tab-chart');
  fs.mkdirSync(shots, { recursive: true });
  await page.screenshot({ path: path.join(shots, 'desktop.png'), fullPage: false });
  assert.deepStrictEqual(problems, []);
  return page;
}

async function offline(page) {
  // The network cut: the page, the engine and its files come from the service worker's cache.
  await page.setOfflineMode(true);
  await page.reload();
  await ready(page);
  await setValue(page, 'date', '2026-02-17');
  await setValue(page, 'time', '08:05');
  await page.click('#chart-button');
  await page.waitForFunction(() => document.getElementById('chart-text').textContent.includes('公历：2026年2月17日8时5分'));
  await page.setOfflineMode(false);
}

async function phone(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  await page.goto(url);
  await ready(page);
  for (const tab of ['tab-chart', 'tab-search', 'tab-calendar', 'tab-settings']) {
    await page.click(`#${tab}`);
    const layout = await page.evaluate(() => {
      const small = [];
      for (const e of document.querySelectorAll('main button, main select, main input:not([type=checkbox]), main label.check, .tabs button')) {
        const box = e.getBoundingClientRect();
        if (box.width > 0 && box.height > 0 && box.height < 40) small.push(`${e.id || e.textContent.trim()} ${box.height}`);
      }
      return { scroll: document.documentElement.scrollWidth, width: document.documentElement.clientWidth, small };
    });
    assert.ok(layout.scroll <= layout.width, `${tab}: the page scrolls sideways (${layout.scroll} > ${layout.width})`);
    assert.deepStrictEqual(layout.small, [], `${tab}: controls under 40 px high`);
  }
  await page.click('#tab-chart');
  const picture = await page.$eval('#chart-picture svg', (e) => e.getBoundingClientRect().right);
  assert.ok(picture <= 390, 'the picture is wider than the phone');
  await page.screenshot({ path: path.join(shots, 'phone.png'), fullPage: false });
  await page.evaluate(() => document.getElementById('chart-picture').scrollIntoView());
  await page.screenshot({ path: path.join(shots, 'phone-picture.png'), fullPage: false });
}

async function main() {
  const { url } = await startServer();
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorin-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    // CI runs as root, where chromium's sandbox cannot start.
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--no-first-run'],
  });
  try {
    const page = await desktop(browser, url);
    await offline(page);
    await phone(browser, url);
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(`browser: charts, picture taps, search, calendar, offline and phone layout work; screenshots in ${shots}`);
}

main().then(() => process.exit(0), (error) => {
  console.error(error.stack || error);
  process.exit(1);
});
