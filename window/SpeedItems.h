#pragma once

#include "Speed.h"
#include "TableOrder.h"

#include <QKeyCombination>
#include <QtGlobal>

#include <array>

namespace sweepdraw {

// What the window's menu shows of one speed: its text and its key.
struct SpeedItem
{
    Speed speed;
    const char *menuText; // UTF-8 source text for tr() in the "Speed" context
    QKeyCombination key;
};

// In the order of Speed, slowest first: the first items of the menu.
inline constexpr std::array<SpeedItem, 5> kSpeedItems = {{
    {Speed::Slowest, QT_TRANSLATE_NOOP("Speed", "Slowest"), Qt::CTRL | Qt::Key_1},
    {Speed::Slow, QT_TRANSLATE_NOOP("Speed", "Slow"), Qt::CTRL | Qt::Key_2},
    {Speed::Normal, QT_TRANSLATE_NOOP("Speed", "Normal"), Qt::CTRL | Qt::Key_3},
    {Speed::Fast, QT_TRANSLATE_NOOP("Speed", "Fast"), Qt::CTRL | Qt::Key_4},
    {Speed::Instant, QT_TRANSLATE_NOOP("Speed", "Instant"), Qt::CTRL | Qt::Key_5},
}};
static_assert(kSpeedItems.size() == kSpeeds.size(), "every speed has its item in the menu");
static_assert(listedInOrder(kSpeedItems, &SpeedItem::speed), "kSpeedItems must list the speeds in the order of Speed");

} // namespace sweepdraw
