#pragma once

#include "TableOrder.h"

#include <QKeyCombination>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <optional>
#include <string_view>

namespace sweepdraw {

// How fast the window draws.
enum class Speed { Slowest, Slow, Normal, Fast, Instant };

// Everything the program says or knows about one speed.
struct SpeedInfo
{
    Speed speed;
    const char *name;     // on the command line: --speed NAME
    long long rate;       // surface operations a second; 0 for as fast as the machine goes
    const char *menuText; // UTF-8 source text for tr() in the "Speed" context
    QKeyCombination key;
};

// In the order of Speed, slowest first.
// The slowest lets each point of a small routine be followed: one of 2,000
// points takes almost 7 s.
inline constexpr std::array<SpeedInfo, 5> kSpeeds = {{
    {Speed::Slowest, "slowest", 300, QT_TRANSLATE_NOOP("Speed", "Slowest"), Qt::CTRL | Qt::Key_1},
    {Speed::Slow, "slow", 70'000, QT_TRANSLATE_NOOP("Speed", "Slow"), Qt::CTRL | Qt::Key_2},
    {Speed::Normal, "normal", 280'000, QT_TRANSLATE_NOOP("Speed", "Normal"), Qt::CTRL | Qt::Key_3},
    {Speed::Fast, "fast", 1'120'000, QT_TRANSLATE_NOOP("Speed", "Fast"), Qt::CTRL | Qt::Key_4},
    {Speed::Instant, "instant", 0, QT_TRANSLATE_NOOP("Speed", "Instant"), Qt::CTRL | Qt::Key_5},
}};

inline constexpr Speed kDefaultSpeed = Speed::Normal;

constexpr const SpeedInfo &speedInfo(Speed speed)
{
    return kSpeeds[static_cast<std::size_t>(speed)];
}

static_assert(listedInOrder(kSpeeds, &SpeedInfo::speed), "kSpeeds must list the speeds in the order of Speed");

// Surface operations a second at `speed`; 0 for Instant.
constexpr long long operationsPerSecond(Speed speed)
{
    return speedInfo(speed).rate;
}

// The speed a command-line name stands for, exactly as written.
constexpr std::optional<Speed> speedByName(std::string_view name)
{
    for (const SpeedInfo &info : kSpeeds)
        if (name == info.name)
            return info.speed;
    return std::nullopt;
}

// The speeds' command-line names, slowest first: "slowest, slow, normal, fast, instant".
inline QString speedNames()
{
    QStringList names;
    for (const SpeedInfo &info : kSpeeds)
        names << QString::fromLatin1(info.name);
    return names.join(QStringLiteral(", "));
}

} // namespace sweepdraw
