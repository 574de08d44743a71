// SPDX-License-Identifier: MIT
// The browser tests' machinery: a static server of our own on 127.0.0.1, Debian's chromium
// headless (driven by playwright-core) on a fresh profile, and the game's page watched through
// its console and its step counter. Whatever is started here is stopped here, by pid.
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

import { chromium } from 'playwright-core';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.json': 'application/json',
  '.css': 'text/css',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
  '.replay': 'text/plain; charset=utf-8',
  '.txt': 'text/plain; charset=utf-8',
};

// routes: URL prefix ('/', '/data/') -> folder. Files put() later are served from memory.
// served: the files sent, by path.
export async function startServer(routes) {
  const made = new Map();
  const served = new Set();
  const prefixes = Object.keys(routes).sort((a, b) => b.length - a.length);
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    const name = decodeURIComponent(url.pathname);
    const send = (status, body, type) => {
      response.writeHead(status, { 'Content-Type': type, 'Cache-Control': 'no-store' });
      response.end(request.method === 'HEAD' ? undefined : body);
    };
    if (made.has(name))
      return send(200, made.get(name), kTypes[path.extname(name)] || 'application/octet-stream');
    const prefix = prefixes.find((p) => name.startsWith(p));
    if (!prefix)
      return send(404, 'not found', 'text/plain');
    const root = path.resolve(routes[prefix]);
    let file = path.resolve(root, '.' + path.sep + name.slice(prefix.length));
    // nothing outside the route's folder, however the path is spelled
    if (file !== root && !file.startsWith(root + path.sep))
      return send(403, 'forbidden', 'text/plain');
    if (fs.existsSync(file) && fs.statSync(file).isDirectory())
      file = path.join(file, 'index.html');
    fs.readFile(file, (error, body) => {
      if (error)
        return send(404, 'not found', 'text/plain');
      served.add(file);
      send(200, body, kTypes[path.extname(file)] || 'application/octet-stream');
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}`,
    served,
    put(name, body) { made.set(name, body); },
    close() {
      server.closeAllConnections();
      return new Promise((resolve) => server.close(resolve));
    },
  };
}

export const kChromiumFlags = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  // WebGL through SwiftShader, with no GPU
  '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  // a page in the background keeps its frames and timers, as a player's tab in front does
  '--disable-renderer-backgrounding', '--disable-background-timer-throttling',
  '--disable-backgrounding-occluded-windows',
];

// the processes of the browser on this profile: a fresh temporary folder names only ours
function profilePids(profile) {
  const pids = [];
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry) || Number(entry) === process.pid)
      continue;
    try {
      if (fs.readFileSync(`/proc/${entry}/cmdline`, 'latin1').includes(profile))
        pids.push(Number(entry));
    } catch {
      // gone meanwhile
    }
  }
  return pids;
}

function killProfile(profile) {
  for (const pid of profilePids(profile)) {
    try {
      process.kill(pid, 'SIGKILL');
    } catch {
      // gone meanwhile
    }
  }
  fs.rmSync(profile, { recursive: true, force: true });
}

const sProfiles = new Set();
// a test run that dies or is stopped leaves no browser behind
process.on('exit', () => sProfiles.forEach(killProfile));
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP'])
  process.on(signal, () => process.exit(128 + os.constants.signals[signal]));

export const kChromium = process.env.VX_CHROMIUM || '/usr/bin/chromium';

export async function startBrowser(viewport = { width: 900, height: 760 }) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vx-web-profile-'));
  sProfiles.add(profile);
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: kChromium,
    headless: true,
    args: kChromiumFlags,
    viewport,
  });
  return {
    context,
    newPage: () => context.newPage(),
    async close() {
      // a browser that does not close in time is killed all the same
      let timer;
      await Promise.race([context.close().catch(() => {}),
                          new Promise((resolve) => { timer = setTimeout(resolve, 20000); })]);
      clearTimeout(timer);
      killProfile(profile);
      sProfiles.delete(profile);
    },
  };
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// what the page says on its console: standard output as log lines, standard error as errors
export function watchConsole(page) {
  const lines = { log: [], error: [] };
  page.on('console', (message) =>
    (message.type() === 'error' ? lines.error : lines.log).push(message.text()));
  page.on('pageerror', (error) => lines.error.push(`page error: ${error.message}`));
  return lines;
}

// A page of the game, with the waits the tests use. Waits are on the game's own steps; the
// wall-clock limits are only safety nets for a loaded machine.
export class GamePage {
  constructor(page, lines) {
    this.page = page;
    this.lines = lines;
  }

  static async open(browser, url) {
    const page = await browser.newPage();
    const lines = watchConsole(page);
    const game = new GamePage(page, lines);
    await page.goto(url);
    return game;
  }

  steps() {
    return this.page.evaluate(() => (window.vx && window.vx.steps ? window.vx.steps() : -1));
  }

  state() {
    return this.page.evaluate(() => (window.vx ? window.vx.state : 'none'));
  }

  async waitFor(fn, arg, seconds = 600) {
    await this.page.waitForFunction(fn, arg, { timeout: seconds * 1000, polling: 50 });
  }

  // the game has run this many steps since it started
  waitForStep(step, seconds = 600) {
    return this.waitFor((n) => window.vx && window.vx.steps && window.vx.steps() >= n, step,
                        seconds);
  }

  // this many steps more than now
  async waitForSteps(steps, seconds = 600) {
    await this.waitForStep((await this.steps()) + steps, seconds);
  }

  waitForEnd(seconds = 600) {
    return this.waitFor(() => window.vx && window.vx.state === 'ended', null, seconds);
  }

  // the first console line that matches, once it is there
  async waitForLine(pattern, seconds = 600) {
    const until = Date.now() + seconds * 1000;
    for (;;) {
      const line = this.lines.log.find((l) => pattern.test(l));
      if (line !== undefined)
        return line;
      if (Date.now() > until)
        throw new Error(`no console line like ${pattern}; the last ones:\n` +
                        this.lines.log.slice(-10).join('\n'));
      await sleep(50);
    }
  }

  summary() {
    return this.lines.log.find((l) => l.startsWith('summary: '));
  }

  canvas() {
    return this.page.locator('canvas').first();
  }

  // the canvas as the player sees it: PNG bytes, and its pixels (RGBA) decoded by the browser
  async shot() {
    const png = await this.canvas().screenshot();
    return { png, ...(await decodePng(this.page, png)) };
  }
}

export async function decodePng(page, png) {
  const decoded = await page.evaluate(async (base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
                                          { colorSpaceConversion: 'none' });
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const data = context.getImageData(0, 0, image.width, image.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000)
      text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return { width: image.width, height: image.height, rgba: btoa(text) };
  }, Buffer.from(png).toString('base64'));
  return { width: decoded.width, height: decoded.height,
           rgba: new Uint8Array(Buffer.from(decoded.rgba, 'base64')) };
}

// how many pixels differ by more than `levels` in some channel, outside the masked areas
export function differingPixels(a, b, levels = 0, masked = []) {
  if (a.width !== b.width || a.height !== b.height)
    return { differ: Infinity, compared: 0 };
  let differ = 0, compared = 0;
  for (let y = 0; y < a.height; ++y)
    for (let x = 0; x < a.width; ++x) {
      if (masked.some((m) => x >= m.x0 && x <= m.x1 && y >= m.y0 && y <= m.y1))
        continue;
      ++compared;
      const i = (y * a.width + x) * 4;
      if (Math.abs(a.rgba[i] - b.rgba[i]) > levels || Math.abs(a.rgba[i + 1] - b.rgba[i + 1]) > levels ||
          Math.abs(a.rgba[i + 2] - b.rgba[i + 2]) > levels)
        ++differ;
    }
  return { differ, compared };
}

// the number of distinct colours, up to `enough`
export function colours(shot, enough = 16) {
  const seen = new Set();
  for (let i = 0; i < shot.rgba.length && seen.size < enough; i += 4)
    seen.add((shot.rgba[i] << 16) | (shot.rgba[i + 1] << 8) | shot.rgba[i + 2]);
  return seen.size;
}

// the folders the tests read: the web build, the source tree and the native build
export function folders() {
  const need = (name) => {
    const value = process.env[name];
    if (!value)
      throw new Error(`${name} is not set (the web build's tests run under ctest)`);
    return path.resolve(value);
  };
  return { web: need('VX_WEB_DIR'), source: need('VX_SOURCE_DIR'), native: need('VX_BINARY_DIR') };
}
