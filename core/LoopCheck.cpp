#include "LoopCheck.h"

#include "RuntimeError.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace sweepdraw {

namespace {

[[noreturn]] __attribute__((format(printf, 2, 3))) void throwAt(LoopSite where, const char *format, ...)
{
    char what[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(what, sizeof what, format, args);
    va_end(args);
    throw LocatedError(std::string(where.file_name()) + ':' + std::to_string(where.line()) + ": error: " + what);
}

} // namespace

void refuseSweep(double start, double end, double step, LoopSite where)
{
    if (!std::isfinite(start) || !std::isfinite(end) || !std::isfinite(step))
        throwAt(where, "Sweep: start %g, end %g and step %g must be finite numbers", start, end, step);
    throwAt(where, "Sweep: step %g cannot advance from %g to %g", step, start, end);
}

void refuseStalledSweep(double value, double step, LoopSite where)
{
    throwAt(where, "Sweep: step %g no longer moves the counter at %.17g", step, value);
}

void refuseColourPass(int first, int change, int stop, LoopSite where)
{
    const long long distance = static_cast<long long>(stop) - first;
    if (change != 0 && distance % change == 0 && distance / change > 0)
        throwAt(where, "ColourPass: colour %d reaches %d in steps of %d only after %lld passes, more than an int counts",
                first, stop, change, distance / change);
    throwAt(where, "ColourPass: colour %d never reaches %d in steps of %d", first, stop, change);
}

} // namespace sweepdraw
