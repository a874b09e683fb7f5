// The page: the stage, the runner, the engine, and the words of the command
// line in the address: ?run=LIST&speed=SPEED draws what --run LIST --speed
// SPEED draws.

import facts from 'sweepdraw-facts';
import sceneSources from 'sweepdraw-scenes';
import { loadEngine, Picture, Routine, runAtOnce } from './engine.js';
import { Runner } from './runner.js';
import { offerFile, stageImage } from './save.js';
import { Stage } from './stage.js';
import { language, say, worded } from './translate.js';

function showMessage(text) {
    const message = document.getElementById('message');
    message.textContent = text;
    message.hidden = !text;
}

// The command a name stands for: its English name, in any case, or its
// caption; "退出" is not among them.
function commandByName(name) {
    const lower = name.toLowerCase();
    return facts.commands.find(c => c.name && (c.name === lower || c.caption === name)) ?? null;
}

function speedNamed(name) {
    return facts.speeds.find(s => s.name === name) ?? null;
}

// The page's own clock, in milliseconds; with ?clock=manual the tests move
// it, and frames come only when they ask for one.
function makeClock(manual) {
    if (!manual)
        return { now: () => performance.now(), manual: false };
    let time = 0;
    return { now: () => time, advance: ms => (time += ms), manual: true };
}

// The name a routine from a link is read under, in its messages.
const kLinkFileName = 'Link.cpp';

// The bytes of #routine=TEXT, TEXT being UTF-8 in base64url without
// padding, which the engine reads as it reads a file's; undefined for a link
// that is not base64url, null for no link at all.
function readRoutineLink(hash) {
    const found = hash.match(/^#routine=(.*)$/);
    if (!found)
        return null;
    try {
        if (!/^[A-Za-z0-9_-]*$/.test(found[1]))
            return undefined;
        const binary = atob(found[1].replace(/-/g, '+').replace(/_/g, '/'));
        return Uint8Array.from(binary, c => c.charCodeAt(0));
    } catch {
        return undefined;
    }
}

async function start() {
    await loadEngine();
    const params = new URLSearchParams(location.search);
    const clock = makeClock(params.get('clock') === 'manual');
    document.documentElement.lang = language();

    // Each scene's routine, compiled from its own file the first time it
    // is asked for, so that the page shows as soon as it can.
    const routines = new Map();
    function routineOf(command) {
        if (!routines.has(command)) {
            const file = `${command.action.slice(4)}.cpp`;
            const { routine, refusal } = Routine.compile(`scenes/${file}`, sceneSources[file]);
            if (refusal)
                throw new Error(worded(refusal));
            routines.set(command, routine);
        }
        return routines.get(command);
    }

    const stage = new Stage(document.getElementById('stage'), command => click(command));
    const context = stage.canvas.getContext('2d');
    let firstPicture = null;
    const runner = new Runner(1, {
        clock: clock.now,
        onPaint(picture, dirty) {
            if (stage.canvas.width !== picture.width || stage.canvas.height !== picture.height) {
                stage.canvas.width = picture.width;
                stage.canvas.height = picture.height;
                dirty = { x: 0, y: 0, width: picture.width, height: picture.height };
            }
            context.putImageData(picture.imageData(dirty.x, dirty.y, dirty.width, dirty.height), dirty.x, dirty.y);
            const where = runner.where();
            if (where?.command.source)
                pane?.show(where.command.source, where.loops);
            firstPicture ??= performance.now();
        },
        onError(command, error) {
            showMessage(worded(error));
        },
    });

    let frameAsked = false;
    const frameTimes = [];
    function frame(now) {
        frameAsked = false;
        const more = runner.frame(now);
        frameTimes.push(performance.now() - now);
        if (more)
            askFrame();
    }
    function askFrame() {
        if (!frameAsked && !clock.manual) {
            frameAsked = true;
            requestAnimationFrame(() => frame(clock.now()));
        }
    }

    function click(command) {
        if (!command.action.startsWith('Draw') && command.name !== 'clear') {
            runner.end();
            for (const { button } of stage.buttons)
                button.disabled = true;
            showMessage(say('ended'));
            return;
        }
        runner.enqueue(command.name === 'clear' ? { name: command.name, clears: true }
                                                : { name: command.name, routine: routineOf(command),
                                                    source: sceneSources[`${command.action.slice(4)}.cpp`] });
        askFrame();
    }

    // The pane beside the picture that Ctrl+U opens, as on the desktop: the
    // routine drawing, and the learner's own once Ctrl+E or a link asks.
    // Loaded when first wanted.
    const paneElement = document.getElementById('pane');
    let pane = null;
    async function thePane() {
        const { Pane } = await import('./pane.js');
        pane ??= new Pane(paneElement, {
            copyLinkCaption: say('copyLink'),
            copyOf: source => source ?? sceneSources['Sunshine.cpp'],
            edited(changed) {
                const { routine, refusal } = Routine.compile(kLinkFileName, changed);
                if (refusal)
                    return worded(refusal);
                const error = runner.drawLive({ name: kLinkFileName, routine, source: changed });
                return error ? worded(error) : null;
            },
        });
        return pane;
    }

    function layOut() {
        const paneWidth = paneElement.hidden ? 0 : Math.round(window.innerWidth * 0.4);
        paneElement.style.width = `${paneWidth}px`;
        const picture = stage.layOut(window.innerWidth - paneWidth, window.innerHeight);
        runner.setRatio(stage.zoom * window.devicePixelRatio);
        stage.canvas.style.width = `${picture.width}px`;
        stage.canvas.style.height = `${picture.height}px`;
    }
    window.addEventListener('resize', layOut);
    layOut();
    stage.focusFirst();

    document.addEventListener('keydown', event => {
        const speedKey = event.ctrlKey && facts.speeds.find(speed => speed.ctrlKey === event.key);
        if (event.key === 'Escape') {
            runner.setPaused(false);
            runner.finish();
            askFrame();
        } else if (event.key === 'Pause') {
            runner.setPaused(!runner.paused);
            askFrame();
        } else if (event.key === 'F10' && !event.shiftKey && !event.ctrlKey) {
            event.preventDefault();
            runner.step();
        } else if (event.ctrlKey && event.key.toLowerCase() === 's') {
            // Save picture, as in the window's menu.
            event.preventDefault();
            savePicture().then(blob => offerFile(blob, 'sweepdraw.png'));
        } else if (speedKey) {
            // The speeds' keys, as in the window's menu.
            event.preventDefault();
            runner.setRate(speedKey.rate);
            askFrame();
        } else if (event.ctrlKey && event.key.toLowerCase() === 'u') {
            event.preventDefault();
            thePane().then(pane => {
                pane.setOpen(!pane.open);
                layOut();
            });
        } else if (event.ctrlKey && event.key.toLowerCase() === 'e') {
            event.preventDefault();
            thePane().then(pane => {
                pane.edit();
                layOut();
            });
        }
    });

    const speed = speedNamed(params.get('speed') ?? facts.defaultSpeed);
    runner.setRate((speed ?? speedNamed(facts.defaultSpeed)).rate);
    if (!speed)
        showMessage(say('unknownSpeed', params.get('speed')));
    for (const name of (params.get('run') ?? '').split(',').filter(Boolean)) {
        const command = commandByName(name.trim());
        if (!command) {
            showMessage(say('unknownCommand', name));
            break;
        }
        click(command);
    }

    async function savePicture() {
        const picture = runner.drawnAt(1);
        try {
            return await stageImage(picture, stage);
        } finally {
            picture.dispose();
        }
    }

    // A routine shared as a link: drawn once, or refused with the message a
    // file gets.
    const shared = readRoutineLink(location.hash);
    if (shared !== null) {
        (await thePane()).edit(shared ? new TextDecoder().decode(shared) : '');
        layOut();
        const { routine, refusal } = shared ? Routine.compile(kLinkFileName, shared) : {};
        if (!shared)
            showMessage(say('badLink', kLinkFileName));
        else if (refusal)
            showMessage(worded(refusal));
        else
            runner.enqueue({ name: kLinkFileName, routine, source: new TextDecoder().decode(shared) });
        askFrame();
    }

    // What the tests and the bench read and move.
    window.sweepdraw = {
        // Milliseconds from the page's start to the first picture shown.
        firstPicture: () => firstPicture,
        // How long each animation frame spent drawing, in milliseconds.
        frameTimes: () => frameTimes,
        // Milliseconds to draw a scene at once on a picture of its own, by
        // its compiled function or through the interpreter from its file.
        timeScene(name, interpreted) {
            const command = commandByName(name);
            const picture = new Picture(1);
            const start = performance.now();
            if (interpreted)
                runAtOnce(routineOf(command), picture);
            else
                picture.drawScene(facts.commands.indexOf(command));
            const time = performance.now() - start;
            picture.dispose();
            return time;
        },
        landed: () => runner.landed,
        idle: () => runner.idle(),
        ratio: () => runner.ratio,
        async digest() {
            const hash = await crypto.subtle.digest('SHA-256', runner.picture.argbBytes());
            return [...new Uint8Array(hash)].map(b => b.toString(16).padStart(2, '0')).join('');
        },
        editor: () => pane?.editor,
        // What Save picture writes, in base64.
        async savedPicture() {
            const bytes = new Uint8Array(await (await savePicture()).arrayBuffer());
            let binary = '';
            for (const byte of bytes)
                binary += String.fromCharCode(byte);
            return btoa(binary);
        },
        // With the manual clock: moves it on by `ms` and draws one frame.
        frame(ms) {
            clock.advance(ms);
            return runner.frame(clock.now());
        },
    };
    document.body.dataset.ready = 'true';
}

start().catch(error => {
    showMessage(String(error));
    throw error;
});
