// The page in Debian's chromium, driven by puppeteer-core, served from
// 127.0.0.1: the scenes' pixels against the digests the desktop's tests pin
// and against --save, the queue and the pace by the page's own clock, a
// refused routine and a shared one.
// Environment: SWEEPDRAW_WEB (the built page, build/web by default),
// SWEEPDRAW_EXECUTABLE (the desktop program, for the comparison with --save).

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { readDesktopFacts } from '../../web/tools/desktopFacts.mjs';
import { serve } from '../../web/tools/serve.mjs';

const top = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const facts = readDesktopFacts(top);
const kDeadline = 30000;

// The digests tst_sceneimages pins, as [the --run list that draws them,
// the ratio, the digest].
function pinnedDigests() {
    const source = readFileSync(join(top, 'tests/tst_sceneimages.cpp'), 'utf8');
    const rows = [...source.matchAll(
        /QList<Scene>\{([^}]*)\} << ([\d.]+)\s*<< QByteArray\("([0-9a-f]{64})"\)/g)];
    const names = { DrawMountains: 'mountains', DrawWater: 'water', DrawSunshine: 'sunshine', DrawBridge: 'bridge' };
    return rows.map(([, scenes, ratio, digest]) =>
        [scenes.split(',').map(s => names[s.trim()]).join(','), Number(ratio), digest]);
}

let server, url, browser;

before(async () => {
    ({ server, url } = await serve(process.env.SWEEPDRAW_WEB ?? join(top, 'build/web')));
    browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
});

after(async () => {
    await browser?.close();
    server?.close();
});

async function open(query = '', hash = '', languages = ['en-US'], zoom = 1) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(languages => {
        Object.defineProperty(navigator, 'languages', { get: () => languages });
    }, languages);
    const errors = [];
    page.on('pageerror', error => errors.push(error.message));
    await page.setViewport({ width: facts.design.width * zoom, height: facts.design.height * zoom, deviceScaleFactor: 1 });
    await page.goto(`${url}${query}${hash}`);
    await page.waitForSelector('body[data-ready]', { timeout: kDeadline });
    page.errors = errors;
    return page;
}

async function drawn(page) {
    await page.waitForFunction(() => window.sweepdraw.idle(), { timeout: kDeadline });
    return page.evaluate(() => window.sweepdraw.digest());
}

// The page made `ratio` times the design size draws its picture at that
// ratio, as the window does at that zoom.
test('the scenes come out as the desktop pins them, at every zoom', async t => {
    const rows = pinnedDigests();
    assert.equal(rows.length, 8);
    for (const [list, ratio, digest] of rows) {
        await t.test(`${list} at ${ratio}`, async () => {
            const page = await open(`?run=${list}&speed=instant`, '', undefined, ratio);
            assert.equal(await page.evaluate(() => window.sweepdraw.ratio()), ratio);
            assert.equal(await drawn(page), digest);
            assert.deepEqual(page.errors, []);
            await page.close();
        });
    }
});

// The pixels of two PNGs (base64) that differ outside the labels and the
// buttons, decoded by the browser: at most ten, as "x,y".
function differingOutsideControls(page, one, two) {
    const controls = [...facts.labels, ...facts.commands];
    return page.evaluate(async (a, b, controls) => {
        const pixels = async data => {
            const image = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
            const canvas = new OffscreenCanvas(image.width, image.height);
            const context = canvas.getContext('2d');
            context.drawImage(image, 0, 0);
            return context.getImageData(0, 0, image.width, image.height);
        };
        const [one, two] = [await pixels(a), await pixels(b)];
        if (one.width !== two.width || one.height !== two.height)
            return [`sizes ${one.width}x${one.height} and ${two.width}x${two.height}`];
        const inControl = (x, y) => controls.some(c =>
            x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height);
        const found = [];
        for (let y = 0; y < one.height; ++y)
            for (let x = 0; x < one.width; ++x) {
                const i = (y * one.width + x) * 4;
                if (!inControl(x, y) && [0, 1, 2].some(c => one.data[i + c] !== two.data[i + c]))
                    found.push(`${x},${y}`);
            }
        return found.slice(0, 10);
    }, one, two, controls);
}

test('the page and its Save picture equal --save outside the labels and the buttons',
    { skip: !process.env.SWEEPDRAW_EXECUTABLE }, async () => {
    const scratch = mkdtempSync(join(tmpdir(), 'sweepdraw-web-'));
    try {
        const list = 'mountains,water,sunshine,bridge';
        const saved = join(scratch, 'saved.png');
        execFileSync(process.env.SWEEPDRAW_EXECUTABLE, ['--run', list, '--save', saved],
            { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
        const desktop = readFileSync(saved).toString('base64');
        const page = await open(`?run=${list}&speed=instant`);
        await drawn(page);
        assert.deepEqual(await differingOutsideControls(page, desktop, await page.screenshot({ encoding: 'base64' })), []);
        const fromPage = await page.evaluate(() => window.sweepdraw.savedPicture());
        assert.deepEqual(await differingOutsideControls(page, desktop, fromPage), []);
        await page.close();
    } finally {
        rmSync(scratch, { recursive: true, force: true });
    }
});

test('commands queue and land at the speed by the page\'s clock', async () => {
    const fast = facts.speeds.find(s => s.name === 'fast');
    const list = 'mountains,water,sunshine,bridge';
    const page = await open(`?run=${list}&speed=fast&clock=manual`);
    const kFrame = 16;
    let frames = 0;
    for (let more = true; more; ) {
        more = await page.evaluate(ms => window.sweepdraw.frame(ms), kFrame);
        ++frames;
        const landed = await page.evaluate(() => window.sweepdraw.landed());
        if (more)
            assert.equal(landed, Math.floor((fast.rate * frames * kFrame) / 1000), `after frame ${frames}`);
        else
            assert.ok(landed <= Math.floor((fast.rate * frames * kFrame) / 1000));
    }
    assert.ok(frames > 10, `${frames} frames`);
    const all = pinnedDigests().find(([names, ratio]) => names === list && ratio === 1)[2];
    assert.equal(await page.evaluate(() => window.sweepdraw.digest()), all);
    await page.close();
});

test('a page resized in the middle of a drawing draws it at the new zoom', async () => {
    const [, , atTwo] = pinnedDigests().find(([list, ratio]) => list === 'mountains' && ratio === 2);
    const page = await open('?run=clear,mountains&clock=manual');
    await page.evaluate(() => window.sweepdraw.frame(100));
    await page.setViewport({ width: facts.design.width * 2, height: facts.design.height * 2, deviceScaleFactor: 1 });
    await page.waitForFunction(() => window.sweepdraw.ratio() === 2);
    while (await page.evaluate(() => window.sweepdraw.frame(100)));
    assert.equal(await page.evaluate(() => window.sweepdraw.digest()), atTwo);
    // Going on where it was: no operation landed twice.
    const unresized = await open('?run=clear,mountains&clock=manual');
    while (await unresized.evaluate(() => window.sweepdraw.frame(100)));
    assert.equal(await page.evaluate(() => window.sweepdraw.landed()),
        await unresized.evaluate(() => window.sweepdraw.landed()));
    await unresized.close();
    await page.close();
});

test('the pane shows the routine drawing, its loops lit with their values', async () => {
    const page = await open('?run=sunshine&clock=manual');
    await page.keyboard.down('Control');
    await page.keyboard.press('u');
    await page.keyboard.up('Control');
    await page.waitForSelector('#code .cm-editor', { timeout: kDeadline });
    await page.evaluate(() => window.sweepdraw.frame(16));
    const first = await page.$$eval('.cm-loop-value', values => values.map(v => v.textContent));
    assert.equal(first.length, 4, first.join(' | '));
    assert.match(first[0], /^colour = 9 · pass 1 of 6$/);
    assert.match(first[1], /^r = [\d.]+$/);
    assert.match(first[2], /^a = [\d.]+$/);
    assert.match(first[3], /^\(\d+, \d+\)$/);
    assert.match(await page.$eval('.cm-lit', line => line.textContent), /ColourPass\(9, 1, 15/);
    await page.evaluate(() => window.sweepdraw.frame(1000));
    const later = await page.$$eval('.cm-loop-value', values => values.map(v => v.textContent));
    assert.ok(Number(later[1].split(' = ')[1]) > Number(first[1].split(' = ')[1]), `${first[1]}, then ${later[1]}`);
    await page.close();
});

test('Esc draws everything queued at once, and 清除 clears what came before', async () => {
    const [, , mountains] = pinnedDigests().find(([list, ratio]) => list === 'mountains' && ratio === 1);
    const page = await open('?run=sunshine,bridge,清除,mountains&clock=manual');
    assert.equal(await page.evaluate(() => window.sweepdraw.frame(16)), true);
    await page.keyboard.press('Escape');
    assert.equal(await page.evaluate(() => window.sweepdraw.frame(16)), false);
    assert.equal(await page.evaluate(() => window.sweepdraw.digest()), mountains);
    await page.close();
});

test('Pause stops the landing, F10 lands one operation, and Pause again goes on at the pace', async () => {
    const normal = facts.speeds.find(s => s.name === facts.defaultSpeed);
    const perFrame = (normal.rate * 16) / 1000;
    const page = await open('?run=sunshine&clock=manual');
    const frame = ms => page.evaluate(ms => window.sweepdraw.frame(ms), ms);
    const landed = () => page.evaluate(() => window.sweepdraw.landed());
    await frame(16);
    assert.equal(await landed(), perFrame);
    await page.keyboard.press('Pause');
    await frame(1000);
    assert.equal(await landed(), perFrame);
    await page.keyboard.press('F10');
    assert.equal(await landed(), perFrame + 1);
    await page.keyboard.press('Pause');
    await frame(16);
    assert.equal(await landed(), 2 * perFrame + 1);
    await page.close();
});

// The engine's runner, through the page's keys and clicks: Ctrl+F10 with
// the caret on the rings' line lands up to the next ring, and on the
// colour pass's line up to the next pass; F10 lands one operation and
// Shift+F10 takes it off again, pixel for pixel; Ctrl and a click on a
// point of the second pass's colour names the line that plots it.
test('step, step back, run to the caret and what drew a point work from the engine\'s runner', async () => {
    const page = await open('?run=sunshine&clock=manual');
    const landed = () => page.evaluate(() => window.sweepdraw.landed());
    const digest = () => page.evaluate(() => window.sweepdraw.digest());
    const values = () => page.$$eval('#code .cm-loop-value', values => values.map(v => v.textContent));
    const progress = () => page.$eval('#progress', p => p.textContent);
    const withKey = async (key, press) => {
        await page.keyboard.down(key);
        await press();
        await page.keyboard.up(key);
    };
    // Ctrl+F10 with the caret on line `line` of the routine shown, until
    // the first value is `settled`.
    const runToLine = async (line, settled) => {
        await (await page.$$('#code .cm-line'))[line - 1].click();
        await withKey('Control', () => page.keyboard.press('F10'));
        await page.waitForFunction(settled, { timeout: kDeadline });
    };
    await page.evaluate(() => window.sweepdraw.frame(16));
    await withKey('Control', () => page.keyboard.press('u'));
    await page.waitForFunction(() => document.querySelectorAll('#code .cm-loop-value').length === 4,
        { timeout: kDeadline });
    const ring = Number((await values())[1].split(' = ')[1]);
    await runToLine(20, () => document.querySelectorAll('#code .cm-loop-value')[2].textContent === 'a = 0');
    const [, r] = await values();
    assert.ok(Math.abs(Number(r.split(' = ')[1]) - (ring + 0.2)) < 1e-3, `${ring}, then ${r}`);
    assert.match(await progress(), /^阳光 · paused · pass 1 of 6 · \d+ operations so far · 0 waiting$/);
    assert.equal(await page.$eval('#pause-note', note => note.hidden), false);
    await runToLine(19, () => document.querySelector('#code .cm-loop-value').textContent.startsWith('colour = 10'));
    assert.equal((await values())[0], 'colour = 10 · pass 2 of 6');

    const [before, first] = [await landed(), await digest()];
    await page.keyboard.press('F10');
    assert.equal(await landed(), before + 1);
    // A point may land on a pixel lit already in its colour: on until one
    // does not.
    let steps = 1;
    for (; steps < 100 && await digest() === first; ++steps)
        await page.keyboard.press('F10');
    assert.notEqual(await digest(), first);
    assert.equal(await landed(), before + steps);
    await withKey('Shift', async () => {
        for (let i = 0; i < steps; ++i)
            await page.keyboard.press('F10');
    });
    assert.equal(await landed(), before);
    assert.equal(await digest(), first);

    // A pixel of the second pass's colour.
    const pixel = await page.evaluate(colour => {
        const canvas = document.getElementById('picture');
        const { data, width } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
        const rgb = [1, 3, 5].map(i => parseInt(colour.slice(i, i + 2), 16));
        for (let i = 0; i < data.length; i += 4)
            if (rgb.every((v, c) => data[i + c] === v))
                return [(i / 4) % width, Math.floor(i / 4 / width)];
        return null;
    }, facts.palette[10]);
    assert.ok(pixel);
    const box = await page.$eval('#picture', c => { const r = c.getBoundingClientRect(); return [r.left, r.top, r.width]; });
    await withKey('Control', () => page.mouse.click(box[0] + pixel[0] + 0.5, box[1] + pixel[1] + 0.5));
    await page.waitForFunction(() => document.getElementById('progress').textContent.startsWith('Pixel'),
        { timeout: kDeadline });
    const answer = (await progress()).match(
        /^Pixel \((\d+), (\d+)\) was drawn by Sunshine\.cpp line 25 · 阳光 · pass 2 of 6 · operation \d+$/);
    assert.ok(answer, await progress());
    // The pixel at zoom 1, the pane having made the picture smaller: the
    // click's position is the browser's, to a pixel.
    pixel.forEach((v, i) => assert.ok(Math.abs(Number(answer[i + 1]) - (v * facts.design.width) / box[2]) <= 1,
        `${answer[0]} at ${pixel}`));
    assert.match(await page.$eval('#code .cm-answer', line => line.textContent), /PlotPoint/);
    await page.close();
});

test('退出 ends the drawing and says so in the browser\'s language', async () => {
    const page = await open('?run=sunshine&clock=manual', '', ['zh-CN', 'en']);
    await page.evaluate(() => window.sweepdraw.frame(16));
    await page.click('#CmdExit');
    const before = await page.evaluate(() => window.sweepdraw.landed());
    assert.equal(await page.evaluate(() => window.sweepdraw.frame(16)), false);
    assert.equal(await page.evaluate(() => window.sweepdraw.landed()), before);
    assert.equal(await page.$eval('#message', m => m.textContent),
        facts.translations['zh-CN'].Page[facts.pageTexts.ended]);
    assert.equal(await page.$$eval('#stage > button', buttons => buttons.every(b => b.disabled)), true);
    await page.close();
});

function routineLink(text) {
    return `#routine=${Buffer.from(text, 'utf8').toString('base64url')}`;
}

const kBox = `#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"

namespace sweepdraw {

void DrawBox(DrawingSurface &surface)
{
    check(surface.DrawBox(1500, 1500, 3000, 3000, PaletteColor(12)));
}

} // namespace sweepdraw
`;

test('a shared link draws its routine once, and Copy link gives it back', async () => {
    // Non-ASCII text too, which the link holds as UTF-8.
    const text = kBox.replace('namespace sweepdraw {', '// 红色的框\nnamespace sweepdraw {');
    await browser.defaultBrowserContext().overridePermissions(url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    const page = await open('', routineLink(text));
    await drawn(page);
    assert.deepEqual(await redBlueLime(page), [true, false, false]);
    assert.equal(await page.$eval('#message', m => m.hidden), true);
    assert.equal(await page.evaluate(() => window.sweepdraw.editor().text()), text);
    await page.bringToFront();
    await page.click('#copy-link');
    const copied = await (await page.waitForFunction(async () => {
        const text = await navigator.clipboard.readText();
        return text.includes('#routine=') && text;
    }, { timeout: kDeadline })).jsonValue();
    assert.equal(new URL(copied).hash, routineLink(text));
    await page.close();
});

// The arguments where glibc's sine and cosine differ from the core's, and
// the core's values, as tst_routine pins them: the page's are the same.
test('the sine and cosine come out as the desktop pins them', async () => {
    const source = readFileSync(join(top, 'tests/tst_routine.cpp'), 'utf8');
    const rows = [...source.matchAll(
        /QByteArray\("(sin|cos)"\) << QByteArray\("([\d.f]+)"\) << QByteArray\("([\d.f]+)"\)/g)];
    assert.equal(rows.length, 4);
    const same = rows.map(([, f, argument, value]) => `std::${f}(${argument}) == ${value}`).join(' && ');
    const text = kBox.replace('#include "RuntimeError.h"', '#include "RuntimeError.h"\n\n#include <cmath>')
        .replace('PaletteColor(12)', `PaletteColor(${same} ? 12 : 9)`);
    const page = await open('', routineLink(text));
    await drawn(page);
    assert.equal(await page.$eval('#message', m => m.hidden), true);
    assert.deepEqual(await redBlueLime(page), [true, false, false]);
    await page.close();
});

// Whether the picture holds red, blue and lime pixels.
function redBlueLime(page) {
    return page.evaluate(() => {
        const canvas = document.getElementById('picture');
        const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
        const found = new Set();
        for (let i = 0; i < data.length; i += 4)
            found.add(data.slice(i, i + 4).join());
        return ['255,0,0,255', '0,0,255,255', '0,255,0,255'].map(colour => found.has(colour));
    });
}

test('a change in the editor, typed or stepped with Alt+Up, is drawn at once', async () => {
    const page = await open('', routineLink(kBox));
    await drawn(page);
    assert.deepEqual(await redBlueLime(page), [true, false, false]);
    // The caret after "PaletteColor(1", and the 2 typed over with a 9.
    const at = kBox.indexOf('PaletteColor(12)') + 'PaletteColor(1'.length;
    await page.evaluate(at => window.sweepdraw.editor().view.dispatch({ selection: { anchor: at, head: at + 1 } }), at);
    await page.focus('#editing .cm-content');
    await page.keyboard.type('9');
    await page.waitForFunction(() => window.sweepdraw.editor().text().includes('PaletteColor(19)'));
    // Colour 19 is outside the palette: refused at run time, the red box stays.
    await drawn(page);
    assert.deepEqual(await redBlueLime(page), [true, false, false]);
    assert.match(await page.$eval('#editor-message', m => m.textContent), /19/);
    await page.keyboard.press('Backspace');
    await page.keyboard.press('Backspace');
    await page.keyboard.type('9');
    await drawn(page);
    assert.equal(await page.$eval('#editor-message', m => m.hidden), true);
    assert.deepEqual(await redBlueLime(page), [false, true, false]);
    // Alt+Up on the number makes it 10: lime, neither red nor blue.
    await page.keyboard.down('Alt');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.up('Alt');
    await page.waitForFunction(() => window.sweepdraw.editor().text().includes('PaletteColor(10)'));
    await drawn(page);
    assert.deepEqual(await redBlueLime(page), [false, false, true]);
    await page.close();
});

// A refusal and a fault met at run time are worded by the page, in the
// browser's language, from the desktop's translation of the fault's
// wording, where compilers put it.
test('a refused routine, and one that fails as it runs, get the message a file gets', async t => {
    const faults = facts.translations['zh-CN'].Fault;
    const rows = [
        ['refused', kBox.replace('PaletteColor(12)', 'PaletteColour(12)'), 'Link.cpp:9:51',
            '%1 was not declared in this scope', ["'PaletteColour'"]],
        ['at run time', kBox.replace('{\n    check', '{\n    int zero = 0;\n    check').replace('1500, 1500', '1500 / zero, 1500'),
            'Link.cpp:10', '%1 division by zero', ['int']],
    ];
    for (const [name, text, where, english, values] of rows) {
        await t.test(name, async () => {
            const page = await open('', routineLink(text), ['zh-CN', 'en']);
            await drawn(page);
            const what = faults[english].replace(/%([1-9])/g, (_, n) => values[n - 1]);
            assert.equal(await page.$eval('#message', m => m.textContent), `${where}: error: ${what}`);
            await page.close();
        });
    }
});
