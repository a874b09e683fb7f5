#pragma once

#include "LoopRecorder.h"
#include "PiecewiseDrawing.h"
#include "RunToStop.h"

#include <memory>
#include <optional>

namespace sweepdraw {

class CallSearch;
class Runnable;

// Where step() or runTo() is to stop: a number of operations on, across
// commands if it comes to that, or a RunToStop in the command under way,
// whose call outside the loops, if it stops at one, is searched for a
// frame's time at a time before anything lands.
class StepGoal final
{
public:
    // One operation, on into the next command if it comes to that.
    static StepGoal oneOperation();
    // At `stop`, in the command under way.
    static StepGoal at(const RunToStop &stop);

    StepGoal(StepGoal &&) noexcept;
    StepGoal &operator=(StepGoal &&) noexcept;
    ~StepGoal();

    bool acrossCommands() const { return m_acrossCommands; }
    // Operations left to land across commands.
    long long left() const { return m_operations; }
    // `landed` more have landed across commands: whether the goal is reached.
    bool counted(long long landed);

    // What a frame's landing toward the stop did.
    struct Landing
    {
        long long operations = 0; // landed
        bool reached = false;     // the stop
    };

    // Lands toward the stop in `action`, drawing `command`, before
    // `deadline`, its loops recorded on `loops`; nothing while the stop's
    // call is still being searched for.
    std::optional<Landing> landIn(const Runnable &command, PiecewiseDrawing &action, LoopRecorder &loops,
                                  const std::optional<PiecewiseDrawing::Deadline> &deadline);

private:
    StepGoal(long long operations, bool acrossCommands, const RunToStop &stop);

    long long m_operations;              // left to land
    bool m_acrossCommands;               // a step, on into the next command
    RunToStop m_stop;                    // otherwise, in the command under way
    std::optional<LoopState> m_then;     // the loops when it began
    std::unique_ptr<CallSearch> m_search; // where the stop's call lands, while it is found
};

} // namespace sweepdraw
