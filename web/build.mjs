// Bundles the page with esbuild into static files:
//   node web/build.mjs ENGINE_DIR OUT_DIR
// ENGINE_DIR holds engine.mjs and engine.wasm as the `web` preset builds
// them; OUT_DIR gets index.html, page.css, page.js, engine.wasm and the
// fonts. The window's facts and the scenes' own files go into the bundle
// as they stand in the source tree. The pane and its editor are a chunk
// of their own in chunks/.

import { build } from 'esbuild';
import { copyFileSync, existsSync, mkdirSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { readDesktopFacts } from './tools/desktopFacts.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '..');
const [engineDir, outDir] = process.argv.slice(2).map(p => resolve(p));
if (!engineDir || !outDir) {
    console.error('usage: node web/build.mjs ENGINE_DIR OUT_DIR');
    process.exit(2);
}

const facts = readDesktopFacts(top);
const scenes = Object.fromEntries(readdirSync(join(top, 'scenes'))
    .filter(name => name.endsWith('.cpp'))
    .map(name => [name, readFileSync(join(top, 'scenes', name), 'utf8')]));

// The three modules that come from outside web/page: the engine, the facts
// and the scenes' sources.
const outside = {
    name: 'sweepdraw',
    setup(b) {
        b.onResolve({ filter: /^sweepdraw-engine$/ }, () => ({ path: join(engineDir, 'engine.mjs') }));
        b.onResolve({ filter: /^sweepdraw-(facts|scenes)$/ }, args => ({ path: args.path, namespace: 'sweepdraw' }));
        b.onLoad({ filter: /.*/, namespace: 'sweepdraw' }, args => ({
            contents: JSON.stringify(args.path === 'sweepdraw-facts' ? facts : scenes),
            loader: 'json',
        }));
    },
};

mkdirSync(join(outDir, 'fonts'), { recursive: true });
// Chunks are named by their contents: those of an earlier build would stay.
rmSync(join(outDir, 'chunks'), { recursive: true, force: true });
await build({
    entryPoints: [join(here, 'page/main.js')],
    bundle: true,
    format: 'esm',
    minify: true,
    target: ['chrome100', 'firefox100', 'safari15'],
    // The pane and its editor load when first opened, so that the first
    // picture waits for the engine alone.
    splitting: true,
    outdir: outDir,
    entryNames: 'page',
    chunkNames: 'chunks/[name]-[hash]',
    plugins: [outside],
    logLevel: 'warning',
});
copyFileSync(join(engineDir, 'engine.wasm'), join(outDir, 'engine.wasm'));
for (const file of ['index.html', 'page.css'])
    copyFileSync(join(here, 'page', file), join(outDir, file));
if (!existsSync(join(outDir, 'fonts/kai.woff')))
    console.warn('web/build.mjs: no fonts/kai.woff: the labels fall back to the system\'s Kai face');
