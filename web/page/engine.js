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

// The picture a command draws on, at `ratio` device pixels a pixel; or,
// from borrowed(), one the runner owns.
export class Picture {
    constructor(ratio, handle = engine._sd_picture_new(ratio)) {
        this.handle = handle;
        this.width = engine._sd_picture_width(this.handle);
        this.height = engine._sd_picture_height(this.handle);
    }

    static borrowed(handle) {
        return new Picture(0, handle);
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

    // The rectangle's pixels as ImageData, over the engine's memory: for
    // putImageData() at once, before the engine runs again. A copy here
    // left megabytes a second for the garbage collector at the paced
    // speeds, whose pauses made the longest frames.
    imageData(x, y, width, height) {
        const at = engine._sd_picture_rgba(this.handle, x, y, width, height);
        return new ImageData(new Uint8ClampedArray(engine.HEAPU8.buffer, at, width * height * 4), width, height);
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
        // What the runner's state names the routine's command by.
        this.key = engine._sd_routine_key(handle);
    }

    dispose() {
        engine._sd_routine_delete(this.handle);
    }
}

// The engine's runner (PageRunner.cpp), drawing on a picture of its own
// at `ratio`, on the page's clock, or with `manualClock` on the time
// setTime() gives it.
export class EngineRunner {
    constructor(ratio, manualClock) {
        this.handle = engine._sd_runner_new(ratio, manualClock ? 1 : 0);
    }

    // The picture it draws on now.
    picture() {
        return Picture.borrowed(engine._sd_runner_picture(this.handle));
    }

    setTime(ms) { engine._sd_runner_set_time(this.handle, ms); }
    // How often it wants advance(), in milliseconds: 0 as soon as the page
    // is free, -1 not at all.
    ticking() { return engine._sd_runner_ticking(this.handle); }
    advance() { engine._sd_runner_advance(this.handle); }
    // A routine, or 清除 with none.
    enqueue(routine) {
        if (routine)
            engine._sd_runner_enqueue(this.handle, routine.handle);
        else
            engine._sd_runner_enqueue_clear(this.handle);
    }
    // `speed`: its index in the speeds, slowest first.
    setSpeed(speed) { engine._sd_runner_set_speed(this.handle, speed); }
    setPaused(paused) { engine._sd_runner_set_paused(this.handle, paused ? 1 : 0); }
    finish() { engine._sd_runner_finish(this.handle); }
    step() { engine._sd_runner_step(this.handle); }
    stepBack() { engine._sd_runner_step_back(this.handle); }
    runToLine(line) { engine._sd_runner_run_to_line(this.handle, line); }
    stop() { engine._sd_runner_stop(this.handle); }
    setRatio(ratio) { engine._sd_runner_set_ratio(this.handle, ratio); }
    showChange(routine) { engine._sd_runner_show_change(this.handle, routine.handle); }

    // A picture of its own at `ratio` with what the runner's shows, for the
    // caller to dispose of.
    drawnAt(ratio) {
        const handle = engine._sd_runner_drawn_at(this.handle, ratio);
        if (!handle)
            throw new Error(JSON.stringify(lastError()));
        return new Picture(ratio, handle);
    }

    // {paused, idle, landed, queued, current: null or {command: {routine,
    // caption, operations}, landed, loops: [{line, value, pass, passes,
    // counter}], point: null or {x, y, line}}, told: [what happened since
    // the last call]}.
    state() {
        return JSON.parse(engine.UTF8ToString(engine._sd_runner_state(this.handle)));
    }

    // What last painted the device pixel (x, y): null, or {command,
    // operation, line, loops, point}.
    whatDrew(x, y) {
        return JSON.parse(engine.UTF8ToString(engine._sd_runner_what_drew(this.handle, x, y)));
    }
}

// Runs `routine` on `picture` at once, to the end, uncounted: the error
// that stopped it, or null.
export function runAtOnce(routine, picture) {
    return engine._sd_routine_run(routine.handle, picture.handle) === 0 ? null : lastError();
}
