// The page's side of the engine's runner (PageRunner.cpp), which queues
// the commands, paces them, steps them forward and back, runs to a line
// and keeps the picture's history, as the window's runner does. Here it is
// woken by animation frames when it asks to be (its ticker); after every
// call the picture's changed rectangle is painted and what the runner told
// is handed on.
//
// Time is the clock's, never the wall's: on the page the runner reads
// performance.now() itself; with the tests' clock, each call is told the
// time first.

import { EngineRunner } from './engine.js';

export class Runner {
    // `onPaint(picture, dirty)` paints a rectangle of the picture,
    // `onState(state)` follows where the runner stands and what it told
    // (EngineRunner.state()); `clock` is {now, manual}.
    constructor(ratio, { clock, onPaint, onState }) {
        this.clock = clock;
        this.engine = new EngineRunner(ratio, clock.manual);
        this.onPaint = onPaint;
        this.onState = onState;
        this.ratio = ratio;
        this.ended = false;
        this.frameAsked = false;
        this.frameTimes = [];
        this.picture = this.engine.picture();
        this.state = this.engine.state();
        // The blank picture, painted now: the canvas's first painting costs
        // far more than any after it, and no frame is to pay for it.
        this.onPaint(this.picture, { x: 0, y: 0, width: this.picture.width, height: this.picture.height });
    }

    // Calls `what` on the engine's runner, then paints, follows and asks
    // for the frames it wants.
    call(what) {
        if (this.clock.manual)
            this.engine.setTime(this.clock.now());
        what(this.engine);
        const picture = this.engine.picture();
        let dirty = picture.takeDirty();
        if (picture.handle !== this.picture.handle) {
            this.picture = picture;
            dirty = { x: 0, y: 0, width: picture.width, height: picture.height };
        }
        if (dirty.width > 0 && dirty.height > 0)
            this.onPaint(picture, dirty);
        this.state = this.engine.state();
        this.onState(this.state);
        this.askFrame();
    }

    // Follows the runner's state again, as after a call.
    refresh() {
        this.call(() => {});
    }

    askFrame() {
        if (this.frameAsked || this.clock.manual || this.engine.ticking() < 0)
            return;
        this.frameAsked = true;
        requestAnimationFrame(() => {
            this.frameAsked = false;
            this.frame();
        });
    }

    // One frame: whether the runner wants another.
    frame() {
        const start = performance.now();
        this.call(runner => runner.advance());
        this.frameTimes.push(performance.now() - start);
        return this.engine.ticking() >= 0;
    }

    // A routine's command, or 清除 with none.
    enqueue(routine) {
        if (!this.ended)
            this.call(runner => runner.enqueue(routine));
    }

    setSpeed(index) { this.call(runner => runner.setSpeed(index)); }
    setPaused(paused) { this.call(runner => runner.setPaused(paused)); }
    get paused() { return this.state.paused; }
    // Esc: everything queued is drawn at once.
    finish() { this.call(runner => runner.finish()); }
    // F10, Shift+F10 and Ctrl+F10 pause first, as in the window.
    step() { this.call(runner => (runner.setPaused(true), runner.step())); }
    stepBack() { this.call(runner => (runner.setPaused(true), runner.stepBack())); }
    runToLine(line) { this.call(runner => (runner.setPaused(true), runner.runToLine(line))); }
    showChange(routine) { this.call(runner => runner.showChange(routine)); }

    // 退出: the drawing under way stops, and nothing more is drawn.
    end() {
        this.ended = true;
        this.call(runner => runner.stop());
    }

    idle() {
        return this.state.idle;
    }

    landed() {
        return this.state.landed;
    }

    // The picture at another density: drawn again from its history.
    setRatio(ratio) {
        if (ratio === this.ratio)
            return;
        this.ratio = ratio;
        this.call(runner => runner.setRatio(ratio));
    }

    // A picture of its own at `ratio` with what this one shows: the owner
    // disposes of it.
    drawnAt(ratio) {
        return this.engine.drawnAt(ratio);
    }

    // What last painted the device pixel (x, y), while the picture stands
    // still: paused, or with nothing to draw; undefined while it moves.
    whatDrew(x, y) {
        if (!this.state.paused && !this.state.idle)
            return undefined;
        return this.engine.whatDrew(x, y);
    }
}
