// A static server for the built page, on 127.0.0.1 only.
//   node web/tools/serve.mjs DIR [PORT]   (PORT 0: any free port)
// Prints the page's address once it listens. serve() is what the tests use.

import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const kTypes = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.woff': 'font/woff',
    '.txt': 'text/plain; charset=utf-8',
};

// Serves `dir` on 127.0.0.1:`port`; resolves to {server, url}.
export function serve(dir, port = 0) {
    const root = resolve(dir);
    const server = createServer(async (request, response) => {
        const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
        const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
        if (!file.startsWith(root)) {
            response.writeHead(403).end();
            return;
        }
        try {
            const body = await readFile(file);
            response.writeHead(200, { 'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream' });
            response.end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    return new Promise((done, failed) => {
        server.once('error', failed);
        server.listen(port, '127.0.0.1', () => done({ server, url: `http://127.0.0.1:${server.address().port}/` }));
    });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const [dir, port = '8080'] = process.argv.slice(2);
    const { url } = await serve(dir, Number(port));
    console.log(`sweepdraw's page: ${url}`);
}
