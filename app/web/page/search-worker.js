// SPDX-License-Identifier: GPL-3.0-or-later
// The search off the page's thread: what it finds goes to the page as it is found, in batches a
// few times a second (a century can find 200,000 moments), so the page stays responsive and keeps
// every line when the search is stopped (the page ends the worker).
importScripts('quorin.js', 'engine.js');

const engine = self.QuorinEngine.load();
const kBatchMilliseconds = 100;

self.onmessage = async (event) => {
  const m = event.data;
  if (m.type !== 'search') return;
  const q = await engine;
  q.useSettings(m.settings);
  if (m.script !== 'zh-Hans' || m.request.zone) await self.QuorinEngine.useTables(q);
  q.useScript(m.script);
  let lines = [];
  let rows = [];
  let percent = 0;
  let sent = performance.now();
  const send = () => {
    postMessage({ type: 'found', lines, rows, percent });
    lines = [];
    rows = [];
    sent = performance.now();
  };
  const result = q.search(m.request, {
    start: (header) => postMessage({ type: 'start', header }),
    line: (line) => lines.push(line),
    row: (row) => rows.push(row),
    progress: (p) => {
      percent = p;
      if (performance.now() - sent >= kBatchMilliseconds) send();
    },
  });
  send();
  postMessage({ type: 'done', result: { ok: result.ok, error: result.error } });
};
