// The engine compiled to WebAssembly (PageEngine.cpp), wrapped in a few
// small classes that own what they make in the engine's memory.

import createEngine from 'sweepdraw-engine';

let engine = null;

// Loads the engine once; every other function here needs it loaded.
export async function loadEngine() {
    engine ??= await createEngine();
}

// Calls use(address, length) with `text`, a string or bytes, in the
// engine's memory, terminated.
function withString(text, use) {
    const bytes = typeof text === 'string' ? new TextEncoder().encode(text) : text;
    const at = engine._malloc(bytes.length + 1);
    try {
        engine.HEAPU8.set(bytes, at);
        engine.HEAPU8[at + bytes.length] = 0;
        return use(at, bytes.length);
    } finally {
        engine._free(at);
    }
}

// The last failure the engine kept: {kind: "refused"|"runtime", ...}, a
// routine's fault as data for translate.js's worded().
function lastError() {
    return JSON.parse(engine.UTF8ToString(engine._sd_error()));
}

// The picture a command draws on, at `ratio` device pixels a pixel.
export class Picture {
    constructor(ratio) {
        this.handle = engine._sd_picture_new(ratio);
        this.width = engine._sd_picture_width(this.handle);
        this.height = engine._sd_picture_height(this.handle);
    }

    dispose() {
        engine._sd_picture_delete(this.handle);
    }

    // The premultiplied ARGB words' bytes, row by row, without padding: what
    // the desktop's tests take their digest of.
    argbBytes() {
        const stride = engine._sd_picture_stride(this.handle);
        const at = engine._sd_picture_pixels(this.handle);
        const rows = new Uint8Array(this.width * 4 * this.height);
        for (let y = 0; y < this.height; ++y)
            rows.set(engine.HEAPU8.subarray(at + y * stride, at + y * stride + this.width * 4), y * this.width * 4);
        return rows;
    }

    // Draws scene `index` (in the order of the buttons) at once, by its
    // compiled function.
    drawScene(index) {
        engine._sd_draw_scene(this.handle, index);
    }

    // The rectangle changed since the last call: {x, y, width, height}.
    takeDirty() {
        const at = engine._sd_picture_take_dirty(this.handle) >> 2;
        const [x, y, width, height] = engine.HEAP32.subarray(at, at + 4);
        return { x, y, width, height };
    }

    // The rectangle's pixels as ImageData.
    imageData(x, y, width, height) {
        const at = engine._sd_picture_rgba(this.handle, x, y, width, height);
        const bytes = new Uint8ClampedArray(engine.HEAPU8.buffer, at, width * height * 4);
        return new ImageData(new Uint8ClampedArray(bytes), width, height);
    }

    clear() {
        engine._sd_clear(this.handle);
    }

    // The operations landed by runs and clears so far.
    operations() {
        return engine._sd_picture_operations(this.handle);
    }
}

// A routine, compiled once; or, from compile(), what refused it.
export class Routine {
    // `text`: a string, or the bytes of a file.
    static compile(fileName, text) {
        const handle = withString(fileName, name => withString(text, (at, length) =>
            engine._sd_compile(name, at, length)));
        return handle ? { routine: new Routine(handle) } : { refusal: lastError() };
    }

    constructor(handle) {
        this.handle = handle;
    }

    dispose() {
        engine._sd_routine_delete(this.handle);
    }
}

// One run of a routine on a picture, a piece at a time.
export class RoutineRun {
    constructor(routine, picture) {
        this.handle = engine._sd_run_new(routine.handle, picture.handle);
        this.ended = false;
        this.error = null;
    }

    dispose() {
        engine._sd_run_delete(this.handle);
    }

    // Where it was at the last operation of its last piece: {loops: [{line,
    // value, pass, passes}], point: [x, y] or null}.
    where() {
        return JSON.parse(engine.UTF8ToString(engine._sd_run_where(this.handle)));
    }

    // Lets `operations` more land (at least one): whether it has ended,
    // with `error` set when it failed.
    resume(operations) {
        const outcome = engine._sd_run_resume(this.handle, Math.max(1, operations));
        if (outcome === 2)
            this.error = lastError();
        this.ended = outcome !== 0;
        return this.ended;
    }
}

// Runs `routine` on `picture` at once, to the end, uncounted: the error
// that stopped it, or null.
export function runAtOnce(routine, picture) {
    return engine._sd_routine_run(routine.handle, picture.handle) === 0 ? null : lastError();
}
