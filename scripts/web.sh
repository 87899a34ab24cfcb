#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web edition: the model compiled to WebAssembly with Debian's emscripten, and the page around it.
#
#   scripts/web.sh build            build the page into build/web/
#   scripts/web.sh serve [--port N] build, then serve build/web/ on 127.0.0.1 (default port 8080)
#   scripts/web.sh test             build, then check the engine against quorin-cli under node and
#                                   the page in headless chromium (needs build/release/bin/quorin-cli)
#   scripts/web.sh bench            build, then time the page in headless chromium and size its files
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian's emscripten freezes its cache of system libraries; ours lives in build/ and is filled on
# the first build (a few minutes). Its JavaScript optimiser needs Debian's acorn.
export EM_CACHE="${EM_CACHE:-$PWD/build/emscripten-cache}"
export EM_FROZEN_CACHE=
export NODE_PATH=/usr/share/nodejs

out=build/web
# The native build that records the tables: its own small one, or one already configured
# (scripts/test.sh passes build/release).
tools="${QUORIN_TOOLS_BUILD:-}"

build() {
  scripts/setup.sh
  # The tables recorded from the system's OpenCC, tzdata and ICU, by a native tool.
  if [ -z "$tools" ]; then
    tools=build/web-tools
    cmake -S . -B "$tools" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORIN_GUI=OFF -DQUORIN_TESTS=OFF \
      -DQUORIN_BENCH=OFF >/dev/null
  fi
  cmake --build "$tools" --target record_web_tables
  emcmake cmake -S . -B build/wasm -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/wasm
  assemble
}

# build/web/: the page's files, the module, the icons and the tables, and the service worker
# with the version and the list of every file.
assemble() {
  rm -rf "$out"
  mkdir -p "$out/icons" "$out/tables"
  cp app/web/page/index.html app/web/page/style.css app/web/page/app.js app/web/page/engine.js \
     app/web/page/search-worker.js app/web/page/manifest.webmanifest "$out/"
  cp build/wasm/module/quorin.js build/wasm/module/quorin.wasm "$out/"
  for size in 64 128 256 512; do cp "data/desktop/icons/quorin-$size.png" "$out/icons/"; done
  "$tools/bin/record_web_tables" "$out/tables"
  node -e '
    const fs = require("fs"), path = require("path"), crypto = require("crypto");
    const out = process.argv[1];
    // What the engine reads (world_places.json is read by the page itself).
    const tables = fs.readdirSync(path.join(out, "tables")).filter((f) => !f.endsWith(".json")).sort();
    fs.writeFileSync(path.join(out, "tables/index.json"), JSON.stringify({ files: tables }) + "\n");
    const files = [];
    const walk = (dir) => { for (const e of fs.readdirSync(dir, { withFileTypes: true }).sort((a, b) => a.name < b.name ? -1 : 1)) {
      const p = path.join(dir, e.name); e.isDirectory() ? walk(p) : files.push(path.relative(out, p)); } };
    walk(out);
    const digest = crypto.createHash("sha256");
    for (const f of files) digest.update(f).update(fs.readFileSync(path.join(out, f)));
    const version = digest.digest("hex").slice(0, 16);
    const worker = fs.readFileSync("app/web/page/sw.js", "utf8")
      .replace("@VERSION@", version).replace("@FILES@", JSON.stringify(["./", ...files]));
    fs.writeFileSync(path.join(out, "sw.js"), worker);
    console.log(`build/web: ${files.length + 1} files, version ${version}`);
  ' "$out"
}

# The browser tests' tools from npm (puppeteer-core, pinned by the lock file; no browser download).
browser_tools() {
  if [ ! -d tests/web/node_modules ] || [ tests/web/package-lock.json -nt tests/web/node_modules ]; then
    (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  fi
}

command="${1:-serve}"
shift || true
case "$command" in
  build) build ;;
  serve)
    port=8080
    while [ $# -gt 0 ]; do
      case "$1" in
        --port) port="$2"; shift 2 ;;
        *) echo "usage: $0 serve [--port N]" >&2; exit 2 ;;
      esac
    done
    build
    exec node app/web/serve.js "$out" "$port"
    ;;
  test)
    build
    [ -x build/release/bin/quorin-cli ] || { echo "build/release/bin/quorin-cli is missing: build the Release programs first" >&2; exit 1; }
    node tests/web/engine_parity.js build/wasm/module build/release/bin/quorin-cli
    browser_tools
    node tests/web/browser_test.js "$out"
    ;;
  bench)
    build
    browser_tools
    node bench/web_bench.js "$out"
    ;;
  *) echo "usage: $0 build | serve [--port N] | test | bench" >&2; exit 2 ;;
esac
