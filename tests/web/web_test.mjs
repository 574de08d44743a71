// SPDX-License-Identifier: MIT
// The browser build in headless chromium, one group of cases a run, the group's cases sharing
// one browser:
//   node web_test.mjs gl        the GL subset's own pages: each reports its cases, none failed
//   node web_test.mjs game      the page played: first frame, a drag, a throw, the menu, the help,
//                               a refused recording, a stopped replay, a kept game after a reload
//   node web_test.mjs replays   every recording of tests/data ends on the desktop's summary line
//   node web_test.mjs pictures  the page's pictures of a replay stopped at three steps beside the
//                               desktop's (VX_WEB_PICTURES=DIR keeps both)
//   node web_test.mjs size      everything the page loads, gzipped, within 2 MB
// VX_WEB_DIR is the web build, VX_SOURCE_DIR the source tree and VX_BINARY_DIR the native build.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import zlib from 'node:zlib';

import {
  colours, decodePng, differingPixels, folders, GamePage, sleep, startBrowser, startServer,
} from './runner.mjs';

const group = process.argv[2];
const dirs = folders();
const data = path.join(dirs.source, 'tests', 'data');
let server, browser;

before(async () => {
  server = await startServer({
    '/': path.join(dirs.web, 'www'),
    '/tests/': path.join(dirs.web, 'tests'),
    '/data/': data,
  });
  browser = await startBrowser();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

const page = (query = '') => GamePage.open(browser, `${server.url}/index.html${query}`);

// the desktop game's own lines
function desktop(...args) {
  return execFileSync(path.join(dirs.native, args.shift()), args, { encoding: 'utf8' });
}

// where the HUD's texts stand in a 600x600 picture (as tests/support/e2e_play.cpp has them); the
// fonts of the two builds need not agree to the pixel there
const kHud = {
  timeLeft: { x0: 15, y0: 2, x1: 130, y1: 30 },
  level: { x0: 500, y0: 2, x1: 599, y1: 30 },
  rollsLeft: { x0: 15, y0: 62, x1: 198, y1: 92 },
  eggsLeft: { x0: 448, y0: 62, x1: 598, y1: 92 },
  powerLabel: { x0: 195, y0: 92, x1: 405, y1: 116 },
  centre: { x0: 160, y0: 215, x1: 440, y1: 306 },
  rank: { x0: 100, y0: 396, x1: 500, y1: 426 },
  replayMark: { x0: 470, y0: 560, x1: 599, y1: 590 },
};
const kHudTexts = Object.values(kHud);

// the HUD's texts are pure cyan over a night scene that has none
function cyanPixels(shot, area) {
  let n = 0;
  for (let y = area.y0; y <= area.y1 && y < shot.height; ++y)
    for (let x = area.x0; x <= area.x1 && x < shot.width; ++x) {
      const i = (y * shot.width + x) * 4;
      n += shot.rgba[i] < 60 && shot.rgba[i + 1] > 200 && shot.rgba[i + 2] > 200;
    }
  return n;
}
const playing = (shot) => cyanPixels(shot, kHud.timeLeft) > 40;
const centreMessage = (shot) => cyanPixels(shot, kHud.centre) > 80 && !playing(shot);

// a picture that satisfies the condition within this many of the game's steps
async function shotWithin(game, steps, condition) {
  const until = (await game.steps()) + steps;
  for (;;) {
    const shot = await game.shot();
    if (condition(shot))
      return shot;
    if ((await game.steps()) > until || (await game.state()) !== 'running')
      return null;
    await sleep(100);
  }
}

async function canvasPoint(game, fx, fy) {
  const box = await game.canvas().boundingBox();
  return { x: box.x + box.width * fx, y: box.y + box.height * fy };
}

async function drag(game, dx, dy) {
  const from = await canvasPoint(game, 0.5, 0.5);
  await game.page.mouse.move(from.x, from.y);
  await game.page.mouse.down({ button: 'left' });
  for (let i = 1; i <= 10; ++i) {
    await game.page.mouse.move(from.x + (dx * i) / 10, from.y + (dy * i) / 10);
    await game.waitForSteps(2);
  }
  await game.page.mouse.up({ button: 'left' });
}

const kPlayer = '?size=600x600';
const kSafety = { timeout: 900_000 };

if (group === 'gl') {
  // the pages under build-web/tests print "<name> cases: N passed, M failed"
  const pages = fs.readdirSync(path.join(dirs.web, 'tests'), { recursive: true })
    .filter((name) => name.endsWith('.html'));
  test('the GL subset has pages of cases', () => assert.ok(pages.length > 0));
  for (const name of pages) {
    test(`${name}: every case passes`, kSafety, async () => {
      const game = await GamePage.open(browser, `${server.url}/tests/${name}`);
      const line = await game.waitForLine(/^\w+ cases: \d+ passed, \d+ failed/, 300);
      const [, passed, failed] = /(\d+) passed, (\d+) failed/.exec(line).map(Number);
      assert.ok(passed > 0, line);
      assert.equal(failed, 0, [...game.lines.log, ...game.lines.error].join('\n'));
      await game.page.close();
    });
  }
}

if (group === 'game') {
  test('the first frame is drawn, and a drag turns the view', kSafety, async () => {
    const game = await page(kPlayer + '&no-save');
    await game.waitForStep(60);
    const first = await game.shot();
    assert.ok(colours(first) > 8, 'the canvas is all one colour');
    await game.waitForSteps(30);
    const still = await game.shot();
    await drag(game, 150, 0);
    await game.waitForSteps(10);
    const turned = await game.shot();
    // the yard barely moves on its own (the time bar, the owner); a drag turns all of it
    const alone = differingPixels(first, still, 10, kHudTexts);
    const dragged = differingPixels(still, turned, 10, kHudTexts);
    assert.ok(dragged.differ > dragged.compared * 0.2 && dragged.differ > 4 * alone.differ,
              `${dragged.differ} pixels turned by the drag, ${alone.differ} with none`);
    assert.deepEqual(game.lines.error, []);
    await game.page.close();
  });

  test('the menu button and the middle button open the menu; its Help and Exit work',
       kSafety, async () => {
    const game = await page(kPlayer + '&no-save');
    await game.waitForStep(30);
    const menu = game.page.locator('#vx-menu');
    await game.page.click('#vx-menu-button');
    await menu.waitFor({ state: 'visible' });
    assert.deepEqual(await menu.locator('button').allTextContents(),
                     ['Pause', '[  ] Full screen', 'Sound on', '[  ] Show score',
                      '[  ] Landing marker', 'Help', 'Exit']);
    await menu.getByText('Help', { exact: true }).click();
    await menu.waitFor({ state: 'hidden' });
    await game.waitForLine(/^HELP FILE$/, 120);
    // the help pauses the game until h
    const helpStep = await game.steps();
    await game.page.keyboard.press('h');
    await game.waitForStep(helpStep + 30);

    // a right press that closes the open menu throws nothing
    await game.page.click('#vx-menu-button');
    await menu.waitFor({ state: 'visible' });
    const aside = await canvasPoint(game, 0.5, 0.6);
    await game.page.mouse.move(aside.x, aside.y);
    await game.page.mouse.down({ button: 'right' });
    await menu.waitFor({ state: 'hidden' });
    await game.waitForSteps(20);
    await game.page.mouse.up({ button: 'right' });
    await game.waitForSteps(10);

    const middle = await canvasPoint(game, 0.3, 0.3);
    await game.page.mouse.move(middle.x, middle.y);
    await game.page.mouse.down({ button: 'middle' });
    await game.page.mouse.up({ button: 'middle' });
    await menu.waitFor({ state: 'visible' });
    await menu.getByText('Exit', { exact: true }).click();
    await game.waitForEnd(120);
    assert.equal(await game.page.evaluate(() => vx.exitStatus), 0);
    // the menu's Exit prints the live game's line in the page too, with no roll thrown
    assert.match(game.summary() || '', /^summary: steps=\d+ level=1 score=0 rolls_left=10 .* strips=0 /);
    await game.page.close();
  });

  test('a recording the reader refuses is named with its line, in the page and the console',
       kSafety, async () => {
    server.put('/data/refused.replay', 'vendettix-input 2\n5 key 97\n3 key 98\n');
    const game = await page('?replay=/data/refused.replay');
    await game.waitForEnd(300);
    assert.equal(await game.page.evaluate(() => vx.exitStatus), 2);
    assert.ok(game.lines.error.some((l) => /refused\.replay:3: /.test(l)), game.lines.error.join('\n'));
    assert.match(await game.page.locator('#vx-end').innerText(), /refused\.replay:3: /);
    await game.page.close();
  });

  test('a replay stopped by stop-at keeps its step until q, which prints the desktop\'s line',
       kSafety, async () => {
    const replay = path.join(data, 'short_game.replay');
    const game = await page('?replay=/data/short_game.replay&stop-at=400&size=320x240');
    await game.waitForStep(400);
    // only the wall's clock can tell a picture that stays
    await sleep(300);
    const held = await game.shot();
    await sleep(1500);
    assert.equal(await game.steps(), 400);
    assert.equal(differingPixels(held, await game.shot()).differ, 0, 'the picture moved on');
    await game.page.keyboard.press('q');
    await game.waitForEnd(120);
    assert.equal(game.summary(),
                 desktop('vendettix', '--replay', replay, '--headless', '--stop-at', '400').trim());
    await game.page.close();
  });

  // a live game: a throw, then the level key to GAME OVER; the game is kept in the browser and
  // after a reload its replay (?replay-score=1) plays the same game, the throw's strip and all
  test('a thrown roll counts, and a game kept at GAME OVER replays after a reload', kSafety,
       async () => {
    const game = await page(kPlayer);
    const before = await shotWithin(game, 600, playing);
    assert.ok(before, 'the level never started');
    const aim = await canvasPoint(game, 0.5, 0.4);
    await game.page.mouse.move(aim.x, aim.y);
    await game.page.mouse.down({ button: 'right' });
    await game.waitForSteps(15);
    await game.page.mouse.up({ button: 'right' });
    // a digit of "Rolls Left" changes; ten pixels is far below any digit's difference
    const rolls = cyanPixels(before, kHud.rollsLeft);
    assert.ok(await shotWithin(game, 300, (s) => Math.abs(cyanPixels(s, kHud.rollsLeft) - rolls) > 10),
              'the roll counter did not change');
    for (let level = 1; level <= 4; ++level) {
      await game.page.keyboard.press('c');
      assert.ok(await shotWithin(game, 900, centreMessage), `level ${level} did not end`);
      if (level < 4)
        assert.ok(await shotWithin(game, 900, playing), `level ${level + 1} did not start`);
    }
    await game.waitForSteps(120);
    await game.page.keyboard.press('q');
    await game.waitForEnd(120);
    assert.equal(await game.page.evaluate(() => vx.exitStatus), 0);
    // q after GAME OVER prints the live game's line, its one strip the throw's
    assert.match(game.summary() || '', /^summary: steps=\d+ level=5 .* strips=1 /);
    // the player's files reach the browser's store at the end
    await game.waitFor(() => new Promise((resolve) => {
      const open = indexedDB.open('/home/web_user');
      open.onerror = () => resolve(false);
      open.onsuccess = () => {
        const db = open.result;
        if (!db.objectStoreNames.contains('FILE_DATA'))
          return resolve(false);
        const keys = db.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
        keys.onsuccess = () => resolve(keys.result.some((k) => String(k).endsWith('/scores.db')));
        keys.onerror = () => resolve(false);
      };
    }), null, 120);

    const url = new URL(game.page.url());
    url.search = '?replay-score=1&size=320x240';
    await game.page.goto(url.href);
    await game.waitForEnd(600);
    assert.match(game.summary() || game.lines.error.join('\n'), /level=5 .* strips=1 /);
    await game.page.close();
  });
}

if (group === 'replays') {
  test('every recording ends on the summary line the desktop replays it to', kSafety, async () => {
    const names = fs.readdirSync(data).filter((n) => n.endsWith('.replay')).sort();
    const expected = desktop('vendettix-replay', ...names.map((n) => path.join(data, n)))
      .trim().split('\n');
    assert.equal(expected.length, names.length);
    // one after another in a small canvas: pages side by side slow each other far below the
    // game's own pace, which a page alone keeps
    for (let i = 0; i < names.length; ++i) {
      const game = await page(`?replay=/data/${names[i]}&size=200x150`);
      await game.waitForEnd(1200);
      assert.equal(game.summary(), expected[i], `${names[i]}: ${game.lines.error.join('\n')}`);
      assert.equal(await game.page.evaluate(() => vx.exitStatus), 0, names[i]);
      await game.page.close();
    }
  });
}

if (group === 'pictures') {
  // three moments of the whole game: level 1's strips on the house, level 2 after a look round,
  // level 3 from the house's other side
  const kStops = ['600', '2650', '4400'];
  test('the page draws the replay as the desktop does, outside the HUD\'s texts', kSafety, async () => {
    const keep = process.env.VX_WEB_PICTURES;
    const shots = keep || fs.mkdtempSync(path.join(os.tmpdir(), 'vx-web-pictures-'));
    try {
      const replay = path.join(data, 'full_game.replay');
      const games = await Promise.all(kStops.map((s) =>
        page(`?replay=/data/full_game.replay&stop-at=${s}&size=600x600`)));
      execFileSync(path.join(dirs.native, 'tests', 'scripted_play'),
                   ['stops', shots, replay, ...kStops],
                   { env: { ...process.env, VX_GAME: path.join(dirs.native, 'vendettix') },
                     stdio: ['ignore', 'ignore', 'inherit'] });
      for (let i = 0; i < kStops.length; ++i) {
        await games[i].waitForStep(Number(kStops[i]), 900);
        await sleep(500);
        const web = await games[i].shot();
        fs.writeFileSync(path.join(shots, `web-${kStops[i]}.png`), web.png);
        const desk = await decodePng(games[i].page, fs.readFileSync(path.join(shots, `stop-${kStops[i]}.png`)));
        const { differ, compared } = differingPixels(web, desk, 10, kHudTexts);
        console.log(`step ${kStops[i]}: ${(100 * (1 - differ / compared)).toFixed(2)} % of ` +
                    `${compared} pixels within 10 levels`);
        assert.ok(differ <= compared * 0.05, `step ${kStops[i]}: ${differ} of ${compared} pixels differ`);
      }
    } finally {
      if (!keep)
        fs.rmSync(shots, { recursive: true, force: true });
    }
  });
}

if (group === 'size') {
  test('everything the page loads is within 2 MB gzipped', kSafety, async () => {
    server.served.clear();
    const game = await page('?no-save');
    await game.waitForStep(60);
    let total = 0;
    for (const file of server.served) {
      const bytes = zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;
      console.log(`${(bytes / 1024).toFixed(1).padStart(8)} kB  ${path.relative(dirs.web, file)}`);
      total += bytes;
    }
    console.log(`${(total / 1024).toFixed(1).padStart(8)} kB  in all, gzipped`);
    assert.ok(server.served.size >= 3, 'the page, its script and the game');
    assert.ok(total <= 2 * 1024 * 1024, `${total} bytes`);
    await game.page.close();
  });
}

if (!['gl', 'game', 'replays', 'pictures', 'size'].includes(group))
  test('a group is named', () => assert.fail(`unknown group ${group}: gl, game, replays, pictures or size`));
