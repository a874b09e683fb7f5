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
