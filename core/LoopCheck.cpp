#include "LoopCheck.h"

#include "RuntimeError.h"

#include <cstdio>
#include <string>

namespace sweepdraw {

namespace {

std::string numberText(double value, const char *format = "%g")
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

[[noreturn]] void throwAt(LoopSite where, FaultKind kind, std::vector<std::string> values)
{
    throw RuntimeError({kind, std::move(values), static_cast<int>(where.line()), 0}, where.file_name());
}

} // namespace

void refuseSweep(double start, double end, double step, LoopSite where)
{
    if (!std::isfinite(start) || !std::isfinite(end) || !std::isfinite(step))
        throwAt(where, FaultKind::SweepNotFinite, {numberText(start), numberText(end), numberText(step)});
    throwAt(where, FaultKind::SweepCannotAdvance, {numberText(step), numberText(start), numberText(end)});
}

void refuseStalledSweep(double value, double step, LoopSite where)
{
    throwAt(where, FaultKind::SweepStalls, {numberText(step), numberText(value, "%.17g")});
}

void refuseColourPass(int first, int change, int stop, LoopSite where)
{
    const long long distance = static_cast<long long>(stop) - first;
    const std::vector<std::string> values{std::to_string(first), std::to_string(stop), std::to_string(change)};
    if (change != 0 && distance % change == 0 && distance / change > 0) {
        std::vector<std::string> withPasses = values;
        withPasses.push_back(std::to_string(distance / change));
        throwAt(where, FaultKind::ColourPassTooLong, std::move(withPasses));
    }
    throwAt(where, FaultKind::ColourPassNeverEnds, values);
}

} // namespace sweepdraw
