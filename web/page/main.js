// The page: the stage, the runner, the engine, and the words of the command
// line in the address: ?run=LIST&speed=SPEED draws what --run LIST --speed
// SPEED draws.

import facts from 'sweepdraw-facts';
import sceneSources from 'sweepdraw-scenes';
import { loadEngine, Picture, Routine, runAtOnce } from './engine.js';
import { Menu } from './menu.js';
import { Runner } from './runner.js';
import { offerFile, stageImage } from './save.js';
import { Stage } from './stage.js';
import { language, qsTranslate, say, worded } from './translate.js';

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

    const paneElement = document.getElementById('pane');
    let pane = null;

    // What the page knows of each routine the runner may name, by its key:
    // its caption and its text.
    const known = new Map();
    function know(routine, caption, source) {
        known.set(routine.key, { caption, source });
        return routine;
    }

    const stage = new Stage(document.getElementById('stage'), command => click(command));
    const context = stage.canvas.getContext('2d');
    // Over the picture, never drawn into it, as the window shows it.
    const pauseNote = stage.root.appendChild(document.createElement('p'));
    pauseNote.id = 'pause-note';
    pauseNote.hidden = true;
    pauseNote.textContent = qsTranslate('sweepdraw::Form1', 'Paused · %1 to continue').replace('%1', 'Ctrl+P');
    let firstPicture = null;
    let finished = null;
    let rate = 0;
    const runner = new Runner(1, {
        clock,
        onPaint(picture, dirty) {
            if (stage.canvas.width !== picture.width || stage.canvas.height !== picture.height) {
                stage.canvas.width = picture.width;
                stage.canvas.height = picture.height;
                dirty = { x: 0, y: 0, width: picture.width, height: picture.height };
            }
            context.putImageData(picture.imageData(dirty.x, dirty.y, dirty.width, dirty.height), dirty.x, dirty.y);
        },
        onState(state) {
            // Painted before the state is followed: the first of a drawing.
            if (state.landed > 0)
                firstPicture ??= performance.now();
            for (const told of state.told) {
                if (told.finished)
                    finished = known.get(told.finished.routine)?.caption ?? told.finished.caption;
                // A learner's routine that fails is passed over, and its
                // editor says why too; anything else that fails stops the
                // drawing.
                if (told.changeFailed)
                    pane?.editor?.showMessage(worded(told.changeFailed));
                if (told.passedOver)
                    pane?.editor?.showMessage(worded(told.failed));
                if (told.failed)
                    showMessage(worded(told.failed));
            }
            pauseNote.hidden = !state.paused;
            pane?.show(state, state.current && known.get(state.current.command.routine), finished, rate);
        },
    });

    function click(command) {
        if (!command.action.startsWith('Draw') && command.name !== 'clear') {
            runner.end();
            for (const { button } of stage.buttons)
                button.disabled = true;
            showMessage(say('ended'));
            return;
        }
        const file = `${command.action.slice(4)}.cpp`;
        runner.enqueue(command.name === 'clear' ? null : know(routineOf(command), command.caption, sceneSources[file]));
    }

    // The pane beside the picture that Ctrl+U opens, as on the desktop: the
    // routine drawing, and the learner's own once Ctrl+E or a link asks.
    // Loaded when first wanted.
    async function thePane() {
        const { Pane } = await import('./pane.js');
        pane ??= new Pane(paneElement, {
            copyLinkCaption: say('copyLink'),
            copyOf: source => source ?? sceneSources['Sunshine.cpp'],
            // Drawn in place of its earlier versions; a failure as it is
            // drawn is told when it comes (onState).
            edited(changed) {
                const { routine, refusal } = Routine.compile(kLinkFileName, changed);
                if (refusal)
                    return worded(refusal);
                runner.showChange(know(routine, kLinkFileName, changed));
                return null;
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

    // The window's menu and its keys: the speeds, then the items the page
    // does, under the window's names.
    const withPane = use => thePane().then(pane => {
        use(pane);
        layOut();
    });
    const actions = {
        FinishNow: () => runner.finish(),
        SavePicture: () => savePicture().then(blob => offerFile(blob, 'sweepdraw.png')),
        ShowCode: () => withPane(pane => {
            pane.setOpen(!pane.open);
            runner.refresh();
        }),
        Pause: () => runner.setPaused(!runner.paused),
        Step: () => runner.step(),
        StepBack: () => runner.stepBack(),
        RunToCaret: () => withPane(pane => runner.runToLine(pane.caretLine())),
        EditCopy: () => withPane(pane => pane.edit()),
    };
    const menu = new Menu([
        ...facts.speeds.map((speed, i) => ({
            name: speed.name, startsSection: i === 0, key: `Ctrl+${speed.ctrlKey}`,
            text: () => qsTranslate('Speed', speed.menuText), checked: () => rate === speed.rate,
            run: () => setSpeed(speed),
        })),
        ...facts.menu.filter(item => actions[item.name]).map(item => ({
            ...item,
            text: () => (item.name === 'Pause' && runner.paused ? qsTranslate('sweepdraw::Form1', 'Continue')
                                                                : qsTranslate('Menu', item.text)),
            run: actions[item.name],
        })),
    ]);
    document.addEventListener('keydown', event => menu.pressed(event));
    stage.root.addEventListener('contextmenu', event => {
        if (event.target.tagName === 'BUTTON')
            return;
        event.preventDefault();
        menu.openAt(event.clientX, event.clientY);
    });

    // What drew a point: Ctrl and a click on the picture, anywhere no button
    // takes the click, while the picture stands still.
    stage.root.addEventListener('mousedown', event => {
        if (event.button !== 0 || !event.ctrlKey || event.target.tagName === 'BUTTON')
            return;
        const box = stage.canvas.getBoundingClientRect();
        const across = width => [Math.floor(((event.clientX - box.left) * width) / box.width),
                                 Math.floor(((event.clientY - box.top) * width) / box.width)];
        const [x, y] = across(stage.canvas.width);
        const drawn = runner.whatDrew(x, y);
        if (drawn === undefined)
            return;
        event.preventDefault();
        thePane().then(pane => {
            pane.showAnswer(drawn, drawn && known.get(drawn.command.routine), across(facts.design.width),
                            runner.landed());
            layOut();
        });
    });

    function setSpeed(speed) {
        rate = speed.rate;
        runner.setSpeed(facts.speeds.indexOf(speed));
    }

    const speed = speedNamed(params.get('speed') ?? facts.defaultSpeed);
    setSpeed(speed ?? speedNamed(facts.defaultSpeed));
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
            runner.enqueue(know(routine, kLinkFileName, new TextDecoder().decode(shared)));
    }

    // What the tests and the bench read and move.
    window.sweepdraw = {
        // Milliseconds from the page's start to the first picture shown.
        firstPicture: () => firstPicture,
        // How long each animation frame spent drawing, in milliseconds.
        frameTimes: () => runner.frameTimes,
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
        landed: () => runner.landed(),
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
        paused: () => runner.paused,
        // With the manual clock: moves it on by `ms` and draws one frame:
        // whether the runner wants another.
        frame(ms) {
            clock.advance(ms);
            return runner.frame();
        },
    };
    document.body.dataset.ready = 'true';
}

start().catch(error => {
    showMessage(String(error));
    throw error;
});
