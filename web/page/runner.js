// The page's runner: commands queue, and each frame lets through the
// surface operations due at the speed's rate since the drawing began or the
// speed last changed, across the end of one command and the start of the
// next, as the window's runner does. Every drawing command is a routine,
// run a piece at a time by the engine's interpreter; the picture's history
// is kept, so that a new density draws it all again, the command under way
// landing at once what it had landed.
//
// Time is the clock's, never the wall's: frame(now) is told the time, by
// animation frames on the page and by the tests' own clock in the tests.

import { Picture, RoutineRun, runAtOnce } from './engine.js';

// At the instant speed, and once Esc has asked for everything at once, a
// frame draws for this long, looking at the clock every kBatch operations.
const kFrameBudget = 16;
const kBatch = 1024;

export class Runner {
    constructor(ratio, { onPaint, onError, clock }) {
        this.picture = new Picture(ratio);
        this.ratio = ratio;
        this.onPaint = onPaint;
        this.onError = onError;
        this.clock = clock;
        this.queue = [];
        this.history = [];
        this.current = null;
        this.rate = 0;
        this.finishing = false;
        this.ended = false;
        this.paused = false;
        this.paceStart = 0;
        this.landedSincePace = 0;
        this.landed = 0;
    }

    // `rate` operations a second; 0 for as fast as the machine goes.
    setRate(rate) {
        this.rate = rate;
        this.restartPace();
    }

    // Queues a command: {name, routine} to draw, or {name, clears: true}.
    enqueue(command) {
        if (this.ended)
            return;
        if (this.idle())
            this.restartPace();
        this.queue.push(command);
    }

    idle() {
        return !this.current && this.queue.length === 0;
    }

    // Esc: everything queued is drawn at once.
    finish() {
        if (!this.idle())
            this.finishing = true;
    }

    // 退出: the drawing under way stops, and nothing more is drawn.
    end() {
        this.current?.run.dispose();
        this.current = null;
        this.queue = [];
        this.ended = true;
    }

    // The pace counts from now: the drawing begins, or the speed changes.
    restartPace() {
        this.paceStart = this.clock();
        this.landedSincePace = 0;
    }

    // Paused, frames land nothing; going on starts the pace afresh.
    setPaused(paused) {
        this.paused = paused;
        this.restartPace();
    }

    // While paused: exactly one operation more.
    step() {
        if (this.paused && !this.ended && this.land(1) > 0)
            this.paint();
    }

    // One frame at time `now` (milliseconds): whether more is to come.
    frame(now) {
        if (this.paused)
            return false;
        if (this.idle() || this.ended) {
            this.finishing = false;
            return false;
        }
        if (this.rate === 0 || this.finishing) {
            const deadline = now + kFrameBudget;
            do
                this.land(kBatch);
            while (!this.idle() && this.clock() < deadline);
            this.restartPace();
        } else {
            const due = Math.floor((this.rate * (now - this.paceStart)) / 1000) - this.landedSincePace;
            if (due > 0)
                this.landedSincePace += this.land(due);
        }
        this.paint();
        return !this.idle();
    }

    // Lets `operations` land, command after command: how many landed.
    land(operations) {
        let left = operations;
        while (left > 0 && !this.idle()) {
            if (!this.current) {
                const command = this.queue.shift();
                if (command.clears) {
                    this.picture.clear();
                    this.history = [];
                    --left;
                    continue;
                }
                this.current = { command, run: new RoutineRun(command.routine, this.picture), landed: 0 };
            }
            const before = this.picture.operations();
            const ended = this.current.run.resume(left);
            const landed = this.picture.operations() - before;
            this.current.landed += landed;
            left -= landed;
            if (ended) {
                const { command, run } = this.current;
                this.current = null;
                run.dispose();
                if (run.error)
                    this.onError(command, run.error);
                else
                    this.history.push(command);
            }
        }
        const landed = operations - left;
        this.landed += landed;
        return landed;
    }

    // The command being drawn and where it is, or null.
    where() {
        return this.current && { command: this.current.command, ...this.current.run.where() };
    }

    paint() {
        const dirty = this.picture.takeDirty();
        if (dirty.width > 0 && dirty.height > 0)
            this.onPaint(this.picture, dirty);
    }

    // The learner's routine drawn at once in place of what it drew last,
    // the rest of the picture as it was: the error that stopped it, or null.
    drawLive(command) {
        const live = this.history.findIndex(c => c.live);
        if (live >= 0) {
            this.history.splice(live, 1);
            this.redraw(this.ratio);
        }
        const error = runAtOnce(command.routine, this.picture);
        if (!error)
            this.history.push({ ...command, live: true });
        this.paint();
        return error;
    }

    // The picture at another density: drawn again from its history, the
    // command under way landing at once what it had landed.
    setRatio(ratio) {
        if (ratio !== this.ratio)
            this.redraw(ratio);
    }

    // A picture of its own at `ratio` with what this one shows: the owner
    // disposes of it.
    drawnAt(ratio) {
        const picture = new Picture(ratio);
        for (const command of this.history)
            runAtOnce(command.routine, picture);
        if (this.current?.landed > 0) {
            const run = new RoutineRun(this.current.command.routine, picture);
            run.resume(this.current.landed);
            run.dispose();
        }
        return picture;
    }

    redraw(ratio) {
        const old = this.picture;
        this.picture = new Picture(ratio);
        this.ratio = ratio;
        for (const command of this.history)
            runAtOnce(command.routine, this.picture);
        if (this.current) {
            const { command, landed } = this.current;
            this.current.run.dispose();
            this.current.run = new RoutineRun(command.routine, this.picture);
            if (landed > 0)
                this.current.run.resume(landed);
        }
        old.dispose();
        this.picture.takeDirty();
        this.onPaint(this.picture, { x: 0, y: 0, width: this.picture.width, height: this.picture.height });
    }
}
