// The page's figures, measured in one run against the desktop's:
//   node web/tools/bench.mjs BENCH_PROGRAM [PAGE_DIR]
// BENCH_PROGRAM is the desktop's benchmark (build/default/bench/
// sweepdraw-bench), which times the sunshine natively; PAGE_DIR the built
// page (build/web). Prints each figure beside its goal (docs/web.md).

import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { readDesktopFacts } from './desktopFacts.mjs';
import { serve } from './serve.mjs';

const [benchProgram, pageDir = 'build/web'] = process.argv.slice(2);
if (!benchProgram) {
    console.error('usage: node web/tools/bench.mjs BENCH_PROGRAM [PAGE_DIR]');
    process.exit(2);
}
const kRepeats = 7;
const kWarmUp = 20;
const top = resolve(dirname(fileURLToPath(import.meta.url)), '../..');

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

// The sunshine drawn natively on the raster surface, by its function and
// from its file, in milliseconds (Google Benchmark's real time).
function nativeSunshine() {
    const out = execFileSync(resolve(benchProgram), [
        '--benchmark_filter=^BM_Scene/sunshine/raster$|^BM_Routine/sunshine/raster$',
        '--benchmark_format=json', `--benchmark_repetitions=${kRepeats}`, '--benchmark_report_aggregates_only=true',
        // Run from its build tree, where it finds the scenes' files.
    ], { cwd: dirname(dirname(resolve(benchProgram))), env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' },
         stdio: ['ignore', 'pipe', 'ignore'] });
    const runs = JSON.parse(out).benchmarks.filter(b => b.aggregate_name === 'median');
    const find = prefix => {
        const run = runs.find(b => b.run_name.startsWith(prefix));
        if (!run)
            throw new Error(`the desktop's benchmark gave no ${prefix}`);
        return { wall: run.real_time, cpu: run.cpu_time };
    };
    return { compiled: find('BM_Scene/sunshine/raster'), interpreted: find('BM_Routine/sunshine/raster') };
}

function gzippedSize(dir) {
    let total = 0;
    for (const name of readdirSync(dir)) {
        const path = join(dir, name);
        total += statSync(path).isDirectory() ? gzippedSize(path) : gzipSync(readFileSync(path), { level: 9 }).length;
    }
    return total;
}

const native = nativeSunshine();
const { server, url } = await serve(pageDir);
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
try {
    const page = await browser.newPage();
    await page.setViewport({ width: 800, height: 552, deviceScaleFactor: 1 });

    await page.goto(`${url}?run=sunshine`);
    // Not before the page has made window.sweepdraw: undefined is not null.
    await page.waitForFunction(() => (window.sweepdraw?.firstPicture() ?? null) !== null, { timeout: 30000 });
    const firstPicture = await page.evaluate(() => window.sweepdraw.firstPicture());

    // Straight after the page starts, while the browser still compiles
    // the engine's busiest functions again to optimised code on another
    // thread; then once kWarmUp more drawings of each have given it the
    // time, as the native benchmark's many iterations measure its own.
    const timed = async () => {
        const times = {};
        for (const interpreted of [false, true])
            times[interpreted ? 'interpreted' : 'compiled'] = median(await page.evaluate((interpreted, repeats) =>
                Array.from({ length: repeats }, () => window.sweepdraw.timeScene('sunshine', interpreted)),
                interpreted, kRepeats));
        return times;
    };
    const inPageAtStart = await timed();
    await page.evaluate(repeats => {
        for (let i = 0; i < repeats; ++i) {
            window.sweepdraw.timeScene('sunshine', false);
            window.sweepdraw.timeScene('sunshine', true);
        }
    }, kWarmUp);
    const inPage = await timed();

    const longest = {};
    for (const { name: speed, rate } of readDesktopFacts(top).speeds) {
        // The slow speed would take a minute for all four: the sunshine
        // alone shows its frames as well. The slowest lands a few
        // operations a frame and would take hours: 300 frames of it.
        const list = rate > 0 && rate < 100000 ? 'sunshine' : 'mountains,water,sunshine,bridge';
        await page.goto(`${url}?run=${list}&speed=${speed}`);
        if (rate > 0 && rate < 1000)
            await page.waitForFunction(() => window.sweepdraw?.frameTimes().length >= 300, { timeout: 120000, polling: 200 });
        else
            await page.waitForFunction(() => window.sweepdraw?.idle(), { timeout: 120000, polling: 200 });
        const times = (await page.evaluate(() => window.sweepdraw.frameTimes())).sort((a, b) => a - b);
        longest[speed] = { max: times.at(-1), p99: times[Math.floor(times.length * 0.99)], median: median(times),
                           frames: times.length };
    }

    const size = gzippedSize(pageDir);
    const row = (what, value, goal) => console.log(`${what.padEnd(56)} ${value.padStart(16)}   goal ${goal}`);
    // The page's times are the wall's: beside the native wall time, and
    // beside its processor time, which a loaded machine does not inflate.
    for (const [what, key] of [['compiled', 'compiled'], ['from its file', 'interpreted']]) {
        row(`sunshine at once ${what}, native wall and processor (ms)`,
            `${native[key].wall.toFixed(1)} ${native[key].cpu.toFixed(1)}`, '');
        row(`sunshine at once ${what}, page at its start, warm (ms)`,
            `${inPageAtStart[key].toFixed(1)} ${inPage[key].toFixed(1)}`, '');
        row(`  page warm / native wall, page warm / native processor`,
            `${(inPage[key] / native[key].wall).toFixed(2)} ${(inPage[key] / native[key].cpu).toFixed(2)}`, '<= 1.6');
    }
    // What each draws its button with: the desktop its compiled scene, the
    // page the scene's file through the interpreter.
    row('  page warm from its file / native compiled, wall and processor',
        `${(inPage.interpreted / native.compiled.wall).toFixed(2)} ${(inPage.interpreted / native.compiled.cpu).toFixed(2)}`,
        '<= 1.6');
    for (const [speed, { max, p99, median, frames }] of Object.entries(longest))
        row(`frames at ${speed}: longest, 99th percentile, median (ms)`,
            `${max.toFixed(1)} ${p99.toFixed(1)} ${median.toFixed(1)}`,
            `longest <= 8 (16 at instant, its budget); ${frames} frames`);
    row('the page, gzipped (KB)', (size / 1024).toFixed(0), '<= 400');
    row('first picture after the page starts (ms)', firstPicture.toFixed(0), '<= 1000');
    console.log(`load average while measuring: ${readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')}`);
} finally {
    await browser.close();
    server.close();
}
