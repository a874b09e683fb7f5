#pragma once

#include "TableOrder.h"

#include <QGuiApplication>
#include <QKeyCombination>
#include <QKeySequence>
#include <QList>
#include <QtGlobal>

#include <array>

namespace sweepdraw {

// The items of the window's menu that follow the speeds, in the order the
// menu shows them.
enum class MenuItem {
    FinishNow,
    SavePicture,
    CopyPicture,
    RecordAnimation,
    ShowCode,
    Pause,
    Step,
    StepBack,
    RunToCaret,
    EditCopy,
    NewRoutine,
    OpenRoutine,
    SaveRoutineAs,
    Run,
    Stop,
    Help,
    About
};

// Everything the program says about one of them, in the menu and in --help.
struct MenuItemInfo
{
    MenuItem item;
    bool startsSection;      // a line sets it and those after it apart from the items above
    const char *text;        // UTF-8 source text for tr() in the "Menu" context
    QKeyCombination key;     // none for an item without a key
    QKeyCombination alsoKey; // a second key for it, or none
    const char *help;        // what --help says of it after its key, in English
    // The platform's keys for it, where it has some; `key` is then the one
    // --help names.
    QKeySequence::StandardKey standard = QKeySequence::UnknownKey;
};

inline constexpr QKeyCombination kNoKey = QKeyCombination::fromCombined(0);

inline constexpr std::array<MenuItemInfo, 17> kMenuItems = {{
    {MenuItem::FinishNow, true, QT_TRANSLATE_NOOP("Menu", "Finish now"), Qt::Key_Escape, kNoKey,
     "Finish now: the drawing under way and every command queued"},
    // Ctrl+S and Ctrl+C are the first keys Qt gives QKeySequence::Save and
    // QKeySequence::Copy on every platform; the menu takes all the
    // platform's, Ctrl+Insert for copying on X11 among them.
    {MenuItem::SavePicture, true, QT_TRANSLATE_NOOP("Menu", "Save picture…"), Qt::CTRL | Qt::Key_S, kNoKey,
     "Save picture: the window as --save writes it", QKeySequence::Save},
    {MenuItem::CopyPicture, false, QT_TRANSLATE_NOOP("Menu", "Copy picture"), Qt::CTRL | Qt::Key_C, kNoKey,
     "Copy picture: the same image on the clipboard", QKeySequence::Copy},
    {MenuItem::RecordAnimation, false, QT_TRANSLATE_NOOP("Menu", "Record animation…"), kNoKey, kNoKey,
     "Record animation: the pictures since the last clear, as --record does"},
    {MenuItem::ShowCode, true, QT_TRANSLATE_NOOP("Menu", "Show code"), Qt::CTRL | Qt::Key_U, kNoKey,
     "Show code: the routine being drawn, live, beside the picture"},
    // The Pause key, and Ctrl+P for keyboards without one; F10 steps, as in
    // debuggers, and Shift+F10 steps back; both repeat while held down.
    {MenuItem::Pause, false, QT_TRANSLATE_NOOP("Menu", "Pause"), Qt::Key_Pause, Qt::CTRL | Qt::Key_P,
     "Pause or continue the drawing (Ctrl+P too)"},
    {MenuItem::Step, false, QT_TRANSLATE_NOOP("Menu", "Step"), Qt::Key_F10, kNoKey,
     "Step: the next operation, and pause"},
    {MenuItem::StepBack, false, QT_TRANSLATE_NOOP("Menu", "Step back"), Qt::SHIFT | Qt::Key_F10, kNoKey,
     "Step back: the last operation taken off again, and pause"},
    {MenuItem::RunToCaret, false, QT_TRANSLATE_NOOP("Menu", "Run to the caret"), Qt::CTRL | Qt::Key_F10, kNoKey,
     "Run to the caret: on to the next time the code pane's line at the caret runs, and pause"},
    // The learner's routine in the code pane. Stop is Esc's stronger form:
    // what is queued is dropped, not finished.
    {MenuItem::EditCopy, true, QT_TRANSLATE_NOOP("Menu", "Edit a copy"), Qt::CTRL | Qt::Key_E, kNoKey,
     "Edit a copy: of the routine in the code pane, as a routine of your own"},
    {MenuItem::NewRoutine, false, QT_TRANSLATE_NOOP("Menu", "New routine"), kNoKey, kNoKey,
     "New routine: a routine of your own, from a short template"},
    {MenuItem::OpenRoutine, false, QT_TRANSLATE_NOOP("Menu", "Open routine…"), Qt::CTRL | Qt::Key_O, kNoKey,
     "Open routine: a routine file, as a routine of your own"},
    {MenuItem::SaveRoutineAs, false, QT_TRANSLATE_NOOP("Menu", "Save routine as…"),
     Qt::CTRL | Qt::SHIFT | Qt::Key_S, kNoKey, "Save routine as: your routine, to a file of your choice"},
    {MenuItem::Run, false, QT_TRANSLATE_NOOP("Menu", "Run"), Qt::Key_F5, kNoKey,
     "Run: your routine, queued as a command"},
    {MenuItem::Stop, false, QT_TRANSLATE_NOOP("Menu", "Stop"), Qt::SHIFT | Qt::Key_Escape, kNoKey,
     "Stop: drop the drawing under way and every command queued"},
    {MenuItem::Help, true, QT_TRANSLATE_NOOP("Menu", "Help"), Qt::Key_F1, kNoKey, "Help"},
    {MenuItem::About, false, QT_TRANSLATE_NOOP("Menu", "About"), kNoKey, kNoKey,
     "About: the version, the licence and the Qt in use"},
}};
static_assert(listedInOrder(kMenuItems, &MenuItemInfo::item), "kMenuItems must list the items in the order of MenuItem");

constexpr const MenuItemInfo &menuItemInfo(MenuItem item)
{
    return kMenuItems[static_cast<std::size_t>(item)];
}

// The item's keys, the first of them the one the menu shows beside it. The
// platform's keys are known only once the application is made.
inline QList<QKeySequence> keysOf(const MenuItemInfo &info)
{
    if (info.standard != QKeySequence::UnknownKey && QGuiApplication::instance())
        return QKeySequence::keyBindings(info.standard);
    QList<QKeySequence> keys;
    for (const QKeyCombination key : {info.key, info.alsoKey})
        if (key != kNoKey)
            keys << QKeySequence(key);
    return keys;
}

} // namespace sweepdraw
