// Which of the page's frames are long, and whether the page or the machine
// made them so: draws LIST at SPEED under Chrome's tracing and prints every
// animation frame longer than LIMIT ms, its wall time beside the time its
// thread ran, and what else ran then on any thread for over a millisecond.
//   node web/tools/frameTrace.mjs LIST SPEED [LIMIT] [PAGE_DIR]
// A frame whose thread ran for far less than its wall time waited for a
// core: on a loaded machine, the page's thread is set aside mid-frame.

import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serve } from './serve.mjs';

const [list, speed, limit = '8', pageDir = 'build/web'] = process.argv.slice(2);
if (!list || !speed) {
    console.error('usage: node web/tools/frameTrace.mjs LIST SPEED [LIMIT] [PAGE_DIR]');
    process.exit(2);
}
const scratch = mkdtempSync(join(tmpdir(), 'frame-trace-'));
const tracePath = join(scratch, 'trace.json');
const { server, url } = await serve(pageDir);
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
try {
    const page = await browser.newPage();
    await page.setViewport({ width: 800, height: 552, deviceScaleFactor: 1 });
    await page.tracing.start({ path: tracePath, categories: ['devtools.timeline', 'v8', 'v8.wasm', 'disabled-by-default-v8.gc', 'toplevel'] });
    await page.goto(`${url}?run=${list}&speed=${speed}`);
    await page.waitForFunction(() => window.sweepdraw?.idle(), { timeout: 300000, polling: 200 });
    await page.tracing.stop();
} finally {
    await browser.close();
    server.close();
}

const events = JSON.parse(readFileSync(tracePath, 'utf8')).traceEvents;
rmSync(scratch, { recursive: true, force: true });
const frames = events.filter(e => e.name === 'FireAnimationFrame' && e.dur);
if (frames.length === 0)
    throw new Error('the trace holds no animation frame');
const long = frames.filter(e => e.dur > Number(limit) * 1000);
const ms = us => (us / 1000).toFixed(1);
console.log(`${frames.length} frames, ${long.length} over ${limit} ms; the longest's thread ran ${
    ms(Math.max(...frames.map(e => e.tdur ?? 0)))} ms`);
for (const frame of long) {
    console.log(`at ${ms(frame.ts - frames[0].ts)} ms: wall ${ms(frame.dur)}, its thread ${ms(frame.tdur)}`);
    const meanwhile = events.filter(e => e !== frame && e.dur > 1000 && e.ts < frame.ts + frame.dur && e.ts + e.dur > frame.ts &&
                                         /wasm|GC|Compil/i.test(e.name));
    for (const e of meanwhile)
        console.log(`    ${e.tid === frame.tid ? 'its thread' : 'another thread'}: ${e.name} ${ms(e.dur)} ms`);
}
