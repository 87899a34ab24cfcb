// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition's speed in headless chromium on this machine, and the size of its files:
// the first chart after the page loads, further charts, a one-year and a 100-year search with
// every condition ticked (with how long the page's thread was ever busy meanwhile), the files
// gzip-compressed. Run by scripts/web.sh bench; prints one line per figure.
//   node bench/web_bench.js BUILD_WEB_FOLDER
'use strict';
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require(path.join(__dirname, '../tests/web/node_modules/puppeteer-core'));

const folder = path.resolve(process.argv[2] || 'build/web');

function sizes() {
  let raw = 0;
  let compressed = 0;
  const walk = (dir) => {
    for (const e of fs.readdirSync(dir, { withFileTypes: true })) {
      const p = path.join(dir, e.name);
      if (e.isDirectory()) {
        walk(p);
      } else {
        const data = fs.readFileSync(p);
        raw += data.length;
        compressed += zlib.gzipSync(data, { level: 9 }).length;
      }
    }
  };
  walk(folder);
  const wasm = fs.readFileSync(path.join(folder, 'quorin.wasm'));
  return { raw, compressed, wasm: wasm.length, wasmCompressed: zlib.gzipSync(wasm, { level: 9 }).length };
}

// Ticks every 10 ms on the page's thread while a search runs in the worker; the longest gap is
// how long the page could not answer a tap.
async function searchTimed(page, setUp) {
  await page.evaluate(setUp);
  return page.evaluate(() => new Promise((resolve) => {
    let last = performance.now();
    let longest = 0;
    const timer = setInterval(() => {
      const now = performance.now();
      longest = Math.max(longest, now - last);
      last = now;
    }, 10);
    const observer = new MutationObserver(() => {
      if (!document.body.dataset.searchDone) return;
      observer.disconnect();
      clearInterval(timer);
      const summary = document.getElementById('search-summary').textContent;
      resolve({ ms: window.quorinTimings.lastSearch, found: Number((/(\d+)条/.exec(summary) || [0, 0])[1]),
                longestBusy: longest, summary: document.getElementById('search-summary').textContent });
    });
    delete document.body.dataset.searchDone;
    observer.observe(document.body, { attributes: true });
    document.getElementById('search-button').click();
  }));
}

async function main() {
  const server = childProcess.spawn(process.execPath, [path.join(__dirname, '../app/web/serve.js'), folder, '0'],
                                    { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(d.toString().trim())));
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorin-bench-'));
  const browser = await puppeteer.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
                                           userDataDir: profile, args: ['--no-sandbox', '--disable-gpu'] });
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 800 });
    const firstCharts = [];
    for (let run = 0; run < 5; ++run) {
      await page.goto(url);
      await page.waitForSelector('body[data-ready="true"]');
      firstCharts.push(await page.evaluate(() => {
        const t = window.quorinTimings;
        const loaded = performance.getEntriesByType('navigation')[0].loadEventEnd;
        return { afterLoad: t.firstChart - loaded, afterStart: t.firstChart, engine: t.charts[0] };
      }));
    }
    const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
    const further = await page.evaluate(() => {
      const times = [];
      const date = document.getElementById('date');
      for (let day = 1; day <= 100; ++day) {
        date.value = `2025-${String(1 + (day % 12)).padStart(2, '0')}-${String(1 + (day % 28)).padStart(2, '0')}`;
        const started = performance.now();
        document.getElementById('chart-button').click();
        times.push(performance.now() - started);
      }
      times.sort((a, b) => a - b);
      return { median: times[50], worst: times[99] };
    });
    // As the native search benchmark asks: 子山 with its second hexagram, dragon, water and facing,
    // every condition, both digit groups of six adjacent digits.
    const yearSearch = await searchTimed(page, () => {
      const set = (id, value) => {
        const e = document.getElementById(id);
        if (e.type === 'checkbox') e.checked = value;
        else e.value = value;
        e.dispatchEvent(new Event('change'));
      };
      set('birth', '1978');
      set('mountain', '1');
      set('gua', '1');
      set('dragon-mountain', '5');
      set('dragon-gua', '0');
      set('water-mountain', '13');
      set('water-gua', '1');
      set('facing', true);
      document.querySelector('#tab-search').click();
      for (const box of document.querySelectorAll('#search-conditions input')) box.checked = true;
      set('search-qi-digits', '1,2,3,4,6,7');
      set('search-qi-adjacent', true);
      set('search-yun-digits', '9,8,7,6,4,3');
      set('search-yun-adjacent', true);
      set('search-kind', 'year');
      set('search-year', '2024');
    });
    const centurySearch = await searchTimed(page, () => {
      const kind = document.getElementById('search-kind');
      kind.value = 'range';
      kind.dispatchEvent(new Event('change'));
      document.getElementById('search-from').value = '1950-01-01';
      document.getElementById('search-to').value = '2049-12-31';
    });
    // A century where 卦气合十 alone finds about 215,000 moments: the lines reach the page in batches.
    const manyResults = await searchTimed(page, () => {
      for (const box of document.querySelectorAll('#search-conditions input')) box.checked = box.value === '卦气合十';
      for (const id of ['search-qi-digits', 'search-yun-digits']) document.getElementById(id).value = '';
      for (const id of ['dragon-mountain', 'water-mountain']) {
        document.getElementById(id).value = '-1';
        document.getElementById(id).dispatchEvent(new Event('change'));
      }
      document.getElementById('facing').checked = false;
    });
    const s = sizes();
    const f = (n) => n.toFixed(1);
    console.log(`first chart after the load event: median ${f(median(firstCharts.map((c) => c.afterLoad)))} ms ` +
                `(${f(median(firstCharts.map((c) => c.afterStart)))} ms after navigation; the engine's part ` +
                `${f(median(firstCharts.map((c) => c.engine)))} ms), 5 loads`);
    console.log(`further charts (engine, text and picture on the page): median ${f(further.median)} ms, worst ${f(further.worst)} ms of 100`);
    console.log(`one-year search, every condition: ${f(yearSearch.ms)} ms, ${yearSearch.found} found, ` +
                `page thread busy at most ${f(yearSearch.longestBusy)} ms (${yearSearch.summary})`);
    console.log(`100-year search, every condition: ${f(centurySearch.ms)} ms, ${centurySearch.found} found, ` +
                `page thread busy at most ${f(centurySearch.longestBusy)} ms (${centurySearch.summary})`);
    console.log(`100-year search, 卦气合十 only: ${f(manyResults.ms)} ms, ${manyResults.found} found, ` +
                `page thread busy at most ${f(manyResults.longestBusy)} ms`);
    console.log(`files: ${(s.raw / 1048576).toFixed(2)} MB, ${(s.compressed / 1048576).toFixed(2)} MB gzip -9 ` +
                `(quorin.wasm ${(s.wasm / 1048576).toFixed(2)} MB, ${(s.wasmCompressed / 1048576).toFixed(2)} MB gzip -9)`);
  } finally {
    await browser.close();
    server.kill();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(error.stack || error);
  process.exit(1);
});
