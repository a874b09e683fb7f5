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

// A failure the engine kept (engine.js), in the browser's language: a
// routine's fault as compilers write it, "FILE:LINE:COLUMN: error: what"
// (no column for a run-time error), its wording translated and its values
// in place; any other as the engine words it, as the desktop shows it too.
export function worded(failure) {
    if (failure.wording === undefined)
        return failure.message;
    const what = qsTranslate('RoutineFault', failure.wording)
        .replace(/%([1-9])/g, (_, n) => failure.values[n - 1] ?? '');
    let where = failure.file;
    if (failure.line > 0)
        where += `:${failure.line}`;
    if (failure.line > 0 && failure.column > 0)
        where += `:${failure.column}`;
    return `${where}: error: ${what}`;
}
