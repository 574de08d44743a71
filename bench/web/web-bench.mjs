// SPDX-License-Identifier: MIT
// make web-bench: the page in one headless chromium run, beside the desktop.
//   - time to the first frame, from the navigation's start (the median of three loads)
//   - the timedemo of tests/data/full_game.replay at 600x600 (?timedemo=) and the bare WebGL
//     floor (floor.html: clear, one textured quad, finish) at the same size: medians and ratio
//   - the desktop's timedemo and floor at 600x600 (scripts/timedemo) and their ratio, beside it
// Usage: node bench/web/web-bench.mjs WEB_BUILD NATIVE_BUILD [--json FILE]
// Figures only: nothing here passes or fails on a number.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { GamePage, startBrowser, startServer } from '../../tests/web/runner.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.resolve(here, '..', '..');
const [web, native] = process.argv.slice(2, 4).map((p) => p && path.resolve(p));
const jsonAt = process.argv.indexOf('--json');
if (!web || !native) {
  console.error('usage: web-bench.mjs WEB_BUILD NATIVE_BUILD [--json FILE]');
  process.exit(2);
}

const kLine = /timedemo: (\d+) frames in ([0-9.]+) s, ([0-9.]+) frames a second; median ([0-9.]+) ms, 99th percentile ([0-9.]+) ms, worst ([0-9.]+) ms/;
function figures(line) {
  const [, frames, seconds, rate, median, p99, worst] = kLine.exec(line).map(Number);
  return { frames, seconds, rate, median, p99, worst };
}
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = await startServer({
  '/': path.join(web, 'www'), '/data/': path.join(source, 'tests', 'data'), '/bench/': here,
});
const browser = await startBrowser();
const results = {};
try {
  // the first step's frame: the first animation frame once the game has stepped, stamped on the
  // page's own clock, whose zero is the navigation's start
  await browser.context.addInitScript(() => {
    window.vxFirstFrame = new Promise((resolve) => {
      const look = () => (window.vx && window.vx.steps() >= 1
        ? requestAnimationFrame(() => resolve(performance.now()))
        : requestAnimationFrame(look));
      requestAnimationFrame(look);
    });
  });
  const loads = [];
  for (let i = 0; i < 3; ++i) {
    const game = await GamePage.open(browser, `${server.url}/index.html?no-save&size=600x600`);
    loads.push(await game.page.evaluate(() => window.vxFirstFrame));
    await game.page.close();
  }
  results.firstFrameMs = median(loads);
  console.error(`first frame: ${loads.map((ms) => ms.toFixed(0)).join(', ')} ms`);

  const demo = await GamePage.open(browser,
    `${server.url}/index.html?timedemo=/data/full_game.replay&size=600x600`);
  results.game = figures(await demo.waitForLine(kLine, 1800));
  await demo.page.close();
  const floor = await GamePage.open(browser, `${server.url}/bench/floor.html?size=600x600`);
  results.floor = figures(await floor.waitForLine(kLine, 600));
  await floor.page.close();
} finally {
  await browser.close();
  await server.close();
}

// the desktop's, under a virtual X server when there is no display
const json = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'vx-web-bench-')), 'desktop.json');
execFileSync('python3', [path.join(source, 'scripts', 'timedemo'), native, '--sizes', '600x600',
                         '--rounds', '1', '--json', json], { stdio: ['ignore', 'ignore', 'inherit'] });
const row = JSON.parse(fs.readFileSync(json, 'utf8')).rows[0];
fs.rmSync(path.dirname(json), { recursive: true, force: true });
results.desktop = { game: row.game.median, floor: row.floor.median };

const { game, floor, desktop } = results;
console.log('Browser build at 600x600 (headless chromium, WebGL through SwiftShader)');
console.log('');
console.log(`first frame ${results.firstFrameMs.toFixed(0)} ms after the navigation's start`);
console.log('');
console.log('| Timedemo of full_game.replay | Game median | Floor median | Game / floor | Game 99th pct | Frames a second |');
console.log('|---|---|---|---|---|---|');
console.log(`| page | ${game.median.toFixed(2)} ms | ${floor.median.toFixed(2)} ms | ` +
            `${(game.median / floor.median).toFixed(1)}x | ${game.p99.toFixed(2)} ms | ${game.rate.toFixed(0)} |`);
console.log(`| desktop | ${desktop.game.toFixed(2)} ms | ${desktop.floor.toFixed(2)} ms | ` +
            `${(desktop.game / desktop.floor).toFixed(1)}x | ${row.game.p99.toFixed(2)} ms | ${row.game.rate.toFixed(0)} |`);
if (jsonAt > 0)
  fs.writeFileSync(process.argv[jsonAt + 1], JSON.stringify(results, null, 2) + '\n');
