#pragma once

#include "RuntimeError.h"

#include <optional>

namespace sweepdraw {

class Runnable;

// What a CommandRunner tells whoever shows its picture, as it happens. Each
// does nothing unless overridden. A failure comes as the error itself, its
// fault as data, for whoever shows it to word.
class RunnerEvents
{
public:
    // Operations have landed on the picture since the last frame.
    virtual void landed() {}
    virtual void finishedCommand(const Runnable &) {}
    // A command failed; what it drew before the failure has landed, and
    // nothing more runs.
    virtual void stoppedByFailure(const RuntimeError &) {}
    // A command forgiven its failure failed, and was passed over; what it
    // drew before the failure has landed.
    virtual void passedOver(const Runnable &, const RuntimeError &) {}
    // The last queued command has finished.
    virtual void wentIdle() {}
    // The change is whole on its picture, which the runner draws on now.
    virtual void changeWhole(const Runnable &) {}
    // The change was dropped, with no failure, or failed.
    virtual void changeGone(const std::optional<RuntimeError> &) {}
    // A frame drew more of the change.
    virtual void changeGrew() {}

protected:
    RunnerEvents() = default;
    ~RunnerEvents() = default;
    RunnerEvents(const RunnerEvents &) = default;
    RunnerEvents &operator=(const RunnerEvents &) = default;
};

} // namespace sweepdraw
