#pragma once

#include "TableOrder.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace sweepdraw {

// How fast the window draws.
enum class Speed { Slowest, Slow, Normal, Fast, Instant };

// What the runner knows of one speed; the window's menu shows it in its
// own words (SpeedItems.h).
struct SpeedInfo
{
    Speed speed;
    const char *name; // on the command line: --speed NAME
    long long rate;   // surface operations a second; 0 for as fast as the machine goes
};

// In the order of Speed, slowest first.
// The slowest lets each point of a small routine be followed: one of 2,000
// points takes almost 7 s.
inline constexpr std::array<SpeedInfo, 5> kSpeeds = {{
    {Speed::Slowest, "slowest", 300},
    {Speed::Slow, "slow", 70'000},
    {Speed::Normal, "normal", 280'000},
    {Speed::Fast, "fast", 1'120'000},
    {Speed::Instant, "instant", 0},
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
inline std::string speedNames()
{
    std::string names;
    for (const SpeedInfo &info : kSpeeds)
        names += (names.empty() ? "" : ", ") + std::string(info.name);
    return names;
}

} // namespace sweepdraw
