// The page's words in the browser's language, from the desktop's
// translations (translations/*.ts, read when the page is built).

import facts from 'sweepdraw-facts';

// The first of the browser's languages that the translations have, or
// English, in which the texts are written.
export function language() {
    for (const wanted of navigator.languages ?? [navigator.language]) {
        const found = Object.keys(facts.translations).find(
            have => have.toLowerCase() === wanted.toLowerCase() || have.split('-')[0] === wanted.split('-')[0]);
        if (found)
            return found;
    }
    return 'en';
}

const chosen = facts.translations[language()] ?? {};

export function qsTranslate(context, text) {
    return chosen[context]?.[text] ?? text;
}

// The page's own text under `key` (web/PageTexts.h), %1 replaced by `value`.
export function say(key, value = '') {
    return qsTranslate('Page', facts.pageTexts[key]).replace('%1', value);
}

// A failure the engine kept (engine.js), in the browser's language: its
// wording translated in the "Fault" context and its values in place (a
// phrase among them translated too), as compilers write it,
// "FILE:LINE:COLUMN: error: what" (no column for a run-time error), or what
// alone for a fault that has no file; anything else as the engine says it.
export function worded(failure) {
    if (failure.wording === undefined)
        return failure.message;
    const value = v => (typeof v === 'object' ? qsTranslate('Fault', v.phrase) : v);
    const what = qsTranslate('Fault', failure.wording)
        .replace(/%([1-9])/g, (_, n) => value(failure.values[n - 1] ?? ''));
    if (!failure.file)
        return what;
    let where = failure.file;
    if (failure.line > 0)
        where += `:${failure.line}`;
    if (failure.line > 0 && failure.column > 0)
        where += `:${failure.column}`;
    return `${where}: error: ${what}`;
}
