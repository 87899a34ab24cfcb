// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the engine (quorin.js and quorin.wasm) in the page and in the search worker alike, and puts
// the recorded tables (traditional scripts, time zones, the world's names) into its file system
// when a script or a zone first needs them. A classic script: workers load it with importScripts.
self.QuorinEngine = (() => {
  const tablesFolder = '/quorin/tables/';
  function load() {
    return self.QuorinModule();
  }

  // tables/index.json lists the files; each is fetched once per engine (the service worker keeps
  // them for offline use).
  function useTables(q) {
    if (q.quorinTables) return q.quorinTables;
    q.quorinTables = (async () => {
      const list = await (await fetch('tables/index.json')).json();
      q.FS.mkdirTree(tablesFolder);
      await Promise.all(list.files.map(async (name) => {
        const response = await fetch(`tables/${name}`);
        if (!response.ok) throw new Error(`tables/${name}: ${response.status}`);
        q.FS.writeFile(tablesFolder + name, new Uint8Array(await response.arrayBuffer()));
      }));
    })();
    return q.quorinTables;
  }

  return { load, useTables };
})();
