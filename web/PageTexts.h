#pragma once

// The page's own texts, each under the key web/page/*.js looks it up by.
// Nothing compiles this table: the page's build reads it (see
// web/tools/desktopFacts.mjs), and lupdate reads the texts into the
// "Page" context of translations/*.ts, as it reads the window's.

#define QT_TRANSLATE_NOOP(context, text) text

namespace sweepdraw::PageTexts {

struct PageText
{
    const char *key;
    const char *text;
};

inline constexpr PageText kTexts[] = {
    {"ended", QT_TRANSLATE_NOOP("Page", "The drawing has ended. You can close this page.")},
    {"unknownSpeed", QT_TRANSLATE_NOOP("Page", "Unknown speed: %1")},
    {"unknownCommand", QT_TRANSLATE_NOOP("Page", "Unknown command: %1")},
    {"badLink", QT_TRANSLATE_NOOP("Page", "%1: error: the link does not hold a routine")},
    {"copyLink", QT_TRANSLATE_NOOP("Page", "Copy link")},
};

} // namespace sweepdraw::PageTexts
