// The window's facts as the desktop's sources state them, read from those
// sources when the page is built, so that each stays written once: the
// design size and twips, the palette and the window's colours, the panel,
// the labels and the buttons where the stage places them, the commands and
// the speeds, and the translations. A source that no longer reads as
// expected stops the build with the fact that could not be found, rather
// than letting the page drift from the window.

import { readFileSync, readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';

function fail(what) {
    throw new Error(`desktopFacts: ${what}`);
}

function matchOne(text, pattern, what) {
    const found = text.match(pattern);
    if (!found)
        fail(`cannot find ${what}`);
    return found;
}

// The one file under the layers' folders whose text matches `pattern`.
function sourceDefining(top, pattern, what) {
    const found = [];
    for (const folder of ['core', 'scenes', 'routine', 'runner', 'window']) {
        const dir = join(top, folder);
        for (const name of readdirSync(dir)) {
            const path = join(dir, name);
            if (/\.(h|cpp)$/.test(name) && statSync(path).isFile() && pattern.test(readFileSync(path, 'utf8')))
                found.push(path);
        }
    }
    if (found.length !== 1)
        fail(`${what} is defined in ${found.length} files, not one`);
    return readFileSync(found[0], 'utf8');
}

// The C++ string literals of `text`, adjacent ones joined, UTF-8 as written.
function stringLiterals(text) {
    return [...text.matchAll(/"((?:[^"\\]|\\.)*)"(?:\s*"((?:[^"\\]|\\.)*)")*/g)].map(m =>
        JSON.parse(m[0].replace(/"\s*"/g, '')));
}

function rgbHex(r, g, b) {
    return '#' + [r, g, b].map(v => Number(v).toString(16).padStart(2, '0')).join('');
}

function readDesign(top) {
    const design = readFileSync(join(top, 'core/Design.h'), 'utf8');
    const twips = Number(matchOne(design, /kTwipsPerPixel\s*=\s*(\d+)/, 'kTwipsPerPixel')[1]);
    const size = matchOne(design, /kDesignSize\{(\d+),\s*(\d+)\}/, 'kDesignSize');
    return { twipsPerPixel: twips, width: Number(size[1]), height: Number(size[2]) };
}

function readPalette(top) {
    const text = readFileSync(join(top, 'core/Palette.h'), 'utf8');
    const names = matchOne(text, /enum class PaletteName \{([^}]*)\}/, 'PaletteName')[1]
        .split(',').map(s => s.trim()).filter(Boolean);
    const table = matchOne(text, /kPalette = \{([^;]*)\};/, 'kPalette')[1];
    const colours = [...table.matchAll(/Colour\((\d+),\s*(\d+),\s*(\d+)\)/g)].map(m => rgbHex(m[1], m[2], m[3]));
    if (names.length !== colours.length)
        fail('the palette names and colours differ in number');
    return Object.fromEntries(names.map((name, i) => [name, colours[i]]));
}

function readWindowColours(top, palette) {
    const text = readFileSync(join(top, 'window/WindowColours.h'), 'utf8');
    const colours = {};
    for (const m of text.matchAll(/QRgb k(\w+)\s*=\s*([^;]+);/g)) {
        const named = m[2].match(/PaletteName::(\w+)/);
        const rgb = m[2].match(/qRgb\(([^,]+),([^,]+),([^)]+)\)/);
        if (named)
            colours[m[1]] = palette[named[1]];
        else if (rgb)
            colours[m[1]] = rgbHex(...rgb.slice(1).map(v => Number(v.trim())));
    }
    for (const needed of ['Background', 'PanelBorder', 'Panel', 'Title', 'Name', 'Date'])
        if (!colours[needed])
            fail(`cannot find the window colour k${needed}`);
    return colours;
}

function twipsRect(args, twips) {
    const [left, top, width, height] = args.split(',').map(v => Number(v.trim()) / twips);
    return { left: Math.trunc(left), top: Math.trunc(top), width: Math.trunc(width), height: Math.trunc(height) };
}

function readStage(top, twips, colours) {
    const text = readFileSync(join(top, 'window/Stage.cpp'), 'utf8');
    const panel = twipsRect(matchOne(text, /m_shape1,\s*fromTwips\(([^)]*)\)/, 'the panel')[1], twips);
    const labels = [...matchOne(text, /kLabels = \{\{([^;]*)\}\};/, 'kLabels')[1]
        .matchAll(/\{"(\w+)",\s*"([^"]*)",\s*fromTwips\(([^)]*)\),\s*(\d+),\s*WindowColour::k(\w+)\}/g)]
        .map(m => ({ name: m[1], text: m[2], ...twipsRect(m[3], twips), pixelSize: Number(m[4]), colour: colours[m[5]] }));
    if (labels.length !== 3)
        fail(`found ${labels.length} labels, not 3`);
    const button = matchOne(text, /fromTwips\(\w+->left,\s*(\d+),\s*(\d+),\s*(\d+)\)/, "the buttons' place");
    return { panel, labels, buttonTop: Number(button[1]), buttonWidth: Number(button[2]), buttonHeight: Number(button[3]) };
}

// The commands (runner/Commands.h), each with its button as the window
// shows it (window/ButtonTable.h), both in the order of Button.
function readCommands(top, stage, twips) {
    const table = matchOne(sourceDefining(top, /kCommands = \{\{/, 'kCommands'),
                           /kCommands = \{\{([\s\S]*?)\}\};/, 'kCommands')[1];
    const looks = matchOne(sourceDefining(top, /kButtonLooks = \{\{/, 'kButtonLooks'),
                           /kButtonLooks = \{\{([\s\S]*?)\}\};/, 'kButtonLooks')[1];
    const entries = text => text.split(/\{Button::/).slice(1);
    const lookOf = new Map(entries(looks).map(entry => {
        const place = matchOne(entry, /^(\w+),\s*"[^"]*",\s*(\d+),\s*(\d+),/, "a button's place");
        const strings = stringLiterals(entry);
        return [place[1], { objectName: strings[0], toolTip: strings[2], left: Number(place[2]),
                            tabIndex: Number(place[3]) }];
    }));
    const commands = entries(table).map(entry => {
        const m = matchOne(entry, /^(\w+),\s*"([^"]*)",\s*(nullptr|"[^"]*"),\s*(\w+)\}/, 'a command');
        const look = lookOf.get(m[1]) ?? fail(`cannot find the button of ${m[1]}`);
        return {
            objectName: look.objectName,
            caption: m[2],
            toolTip: look.toolTip,
            name: m[3] === 'nullptr' ? null : JSON.parse(m[3]),
            tabIndex: look.tabIndex,
            action: m[4],
            left: Math.trunc(look.left / twips),
            top: Math.trunc(stage.buttonTop / twips),
            width: Math.trunc(stage.buttonWidth / twips),
            height: Math.trunc(stage.buttonHeight / twips),
        };
    });
    if (commands.length !== 6 || lookOf.size !== 6)
        fail(`found ${commands.length} commands and ${lookOf.size} buttons, not 6`);
    return commands;
}

// The speeds the runner knows (runner/Speed.h), each with its text and key
// in the window's menu (window/SpeedItems.h), both in the order of Speed.
function readSpeeds(top) {
    const text = sourceDefining(top, /kSpeeds = \{\{/, 'kSpeeds');
    const rates = [...matchOne(text, /kSpeeds = \{\{([\s\S]*?)\}\};/, 'kSpeeds')[1]
        .matchAll(/\{Speed::(\w+),\s*"(\w+)",\s*([\d']+)\}/g)];
    const items = new Map([...matchOne(sourceDefining(top, /kSpeedItems = \{\{/, 'kSpeedItems'),
                                       /kSpeedItems = \{\{([\s\S]*?)\}\};/, 'kSpeedItems')[1]
        .matchAll(/\{Speed::(\w+),\s*QT_TRANSLATE_NOOP\("Speed",\s*"([^"]*)"\),\s*Qt::CTRL \| Qt::Key_(\w)\}/g)]
        .map(m => [m[1], { menuText: m[2], ctrlKey: m[3] }]));
    const speeds = rates.map(m => ({ name: m[2], rate: Number(m[3].replaceAll("'", '')),
                                     ...(items.get(m[1]) ?? fail(`cannot find the menu item of ${m[1]}`)) }));
    if (speeds.length === 0 || items.size !== speeds.length)
        fail(`found ${speeds.length} speeds and ${items.size} menu items`);
    const fallback = matchOne(text, /kDefaultSpeed = Speed::(\w+)/, 'kDefaultSpeed')[1].toLowerCase();
    return { speeds, defaultSpeed: fallback };
}

function unescapeXml(text) {
    return text.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&apos;/g, "'")
        .replace(/&amp;/g, '&');
}

// Every finished translation of translations/sweepdraw_LANG.ts, by context
// and source text.
function readTranslations(top) {
    const languages = {};
    for (const file of readdirSync(join(top, 'translations'))) {
        const language = file.match(/^sweepdraw_(\w+)\.ts$/)?.[1];
        if (!language || language === 'en')
            continue;
        const text = readFileSync(join(top, 'translations', file), 'utf8');
        const contexts = {};
        for (const context of text.matchAll(/<context>\s*<name>([^<]*)<\/name>([\s\S]*?)<\/context>/g)) {
            const messages = (contexts[context[1]] = {});
            for (const m of context[2].matchAll(/<source>([\s\S]*?)<\/source>[\s\S]*?<translation( type="[^"]*")?>([\s\S]*?)<\/translation>/g))
                if (!m[2] && m[3])
                    messages[unescapeXml(m[1])] = unescapeXml(m[3]);
        }
        languages[language.replace('_', '-')] = contexts;
    }
    return languages;
}

// The page's own texts (web/PageTexts.h) by key, in English.
function readPageTexts(top) {
    const text = readFileSync(join(top, 'web/PageTexts.h'), 'utf8');
    const texts = Object.fromEntries([...text.matchAll(/\{"(\w+)",\s*QT_TRANSLATE_NOOP\("Page",\s*"((?:[^"\\]|\\.)*)"\)\}/g)]
        .map(m => [m[1], JSON.parse(`"${m[2]}"`)]));
    if (Object.keys(texts).length === 0)
        fail('cannot find the page\'s texts');
    return texts;
}

// A key of the window's menu as Qt writes it ("Qt::SHIFT | Qt::Key_F10") in
// the words its menu shows ("Shift+F10"), or null for none.
function keyText(written) {
    if (written.trim() === 'kNoKey')
        return null;
    const names = { CTRL: 'Ctrl', SHIFT: 'Shift', ALT: 'Alt', Key_Escape: 'Esc' };
    return written.split('|').map(part => {
        const name = part.trim().replace(/^Qt::/, '');
        return names[name] ?? name.replace(/^Key_/, '');
    }).join('+');
}

// The items of the window's menu after the speeds (window/MenuItems.h), in
// its order: each with its name, its text and its keys.
function readMenu(top) {
    const table = matchOne(sourceDefining(top, /kMenuItems = \{\{/, 'kMenuItems'),
                           /kMenuItems = \{\{([\s\S]*?)\}\};/, 'kMenuItems')[1];
    const items = [...table.matchAll(
        /\{MenuItem::(\w+),\s*(true|false),\s*QT_TRANSLATE_NOOP\("Menu",\s*"([^"]*)"\),\s*([^,]+),\s*([^,]+),/g)]
        .map(m => ({ name: m[1], startsSection: m[2] === 'true', text: m[3], key: keyText(m[4]), alsoKey: keyText(m[5]) }));
    if (items.length === 0)
        fail('cannot find the menu\'s items');
    return items;
}

// Horizontal pixels a dragged number moves for one unit.
function readPixelsPerUnit(top) {
    const text = readFileSync(join(top, 'codepane/NumberDrag.h'), 'utf8');
    return Number(matchOne(text, /kPixelsPerUnit\s*=\s*(\d+)/, 'kPixelsPerUnit')[1]);
}

export function readDesktopFacts(top) {
    const design = readDesign(top);
    const palette = readPalette(top);
    const colours = readWindowColours(top, palette);
    const stage = readStage(top, design.twipsPerPixel, colours);
    return {
        design,
        palette: Object.values(palette),
        colours,
        panel: stage.panel,
        labels: stage.labels,
        commands: readCommands(top, stage, design.twipsPerPixel),
        ...readSpeeds(top),
        translations: readTranslations(top),
        pageTexts: readPageTexts(top),
        menu: readMenu(top),
        pixelsPerUnit: readPixelsPerUnit(top),
    };
}
