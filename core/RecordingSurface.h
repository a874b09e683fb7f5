#pragma once

#include "DrawingSurface.h"
#include "Operation.h"

#include <cstdint>
#include <vector>

namespace sweepdraw {

// Remembers every successful call in order, with its arguments exactly as
// passed, and draws nothing. Calls with invalid arguments fail as on any
// surface and are not recorded.
class RecordingSurface final : public DrawingSurface
{
public:
    using Op = Operation;

    // Fields an operation does not take stay zero. DrawBox uses x, y, x2, y2;
    // DrawCircle uses x, y and radius; SetPenWidth uses width.
    struct Call
    {
        Op op;
        float x = 0, y = 0;
        float x2 = 0, y2 = 0;
        float radius = 0;
        int width = 0;
        Colour colour{};

        friend bool operator==(const Call &, const Call &) = default;
    };

    RecordingSurface() = default;

    const std::vector<Call> &calls() const noexcept { return m_calls; }

    // Makes `call` on `target`, as it was made here.
    static Status perform(DrawingSurface &target, const Call &call);

protected:
    Status doSetPenWidth(int width) override;
    Status doPlotPoint(float x, float y, Colour colour) override;
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override;
    Status doDrawCircle(float x, float y, float radius, Colour colour) override;
    Status doClearSurface() override;

private:
    std::vector<Call> m_calls;
};

} // namespace sweepdraw
