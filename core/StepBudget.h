#pragma once

#include "LoopWatch.h"
#include "RuntimeError.h"

#include <string>

namespace sweepdraw {

// Ends a drawing whose loops turn more often than a budget allows: for a
// run that no one can stop with a button, so that a loop that never ends
// ends all the same. A step is one turn of a loop (LoopWatch); the budget
// is met to within LoopWatch::kTurnsPerLook steps, and counts every
// drawing run while the budget is active, together.
class StepBudget final : public LoopWatch
{
public:
    // What the steps of a run without a window are, unless it is told.
    static constexpr long long kDefault = 100'000'000;

    // Thrown from the loop that spent the budget.
    class Spent final : public RuntimeError
    {
    public:
        explicit Spent(long long steps)
            : RuntimeError({FaultKind::StepsSpent, {std::to_string(steps)}, 0, 0})
            , steps(steps)
        {
        }

        long long steps;
    };

    // No budget at all for 0.
    explicit StepBudget(long long steps)
        : m_steps(steps)
    {
    }

protected:
    void look() override
    {
        m_taken += kTurnsPerLook;
        if (m_steps > 0 && m_taken >= m_steps)
            throw Spent(m_steps);
    }

private:
    long long m_steps;
    long long m_taken = 0;
};

} // namespace sweepdraw
