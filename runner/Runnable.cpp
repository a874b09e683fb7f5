#include "Runnable.h"

#include "CompiledRoutine.h"
#include "DrawingSurface.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <limits>

namespace sweepdraw {

namespace {

// Thrown when a part of a command has drawn all it drew, to end the rest
// unrun.
struct PartDrawn
{
};

// Passes the first operations made on it on to another surface, and ends
// the drawing at the one after them; and counts them.
class PartSurface final : public DrawingSurface
{
public:
    PartSurface(DrawingSurface &target, long long operations)
        : m_target(target)
        , m_operations(operations)
        , m_left(operations)
    {
    }

    long long passed() const { return m_operations - m_left; }

protected:
    Status doSetPenWidth(int width) override { return pass().SetPenWidth(width); }
    Status doPlotPoint(float x, float y, Colour colour) override { return pass().PlotPoint(x, y, colour); }
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override
    {
        return pass().DrawBox(x1, y1, x2, y2, colour);
    }
    Status doDrawCircle(float x, float y, float radius, Colour colour) override
    {
        return pass().DrawCircle(x, y, radius, colour);
    }
    Status doClearSurface() override { return pass().ClearSurface(); }

private:
    DrawingSurface &pass()
    {
        if (m_left-- == 0)
            throw PartDrawn();
        return m_target;
    }

    DrawingSurface &m_target;
    long long m_operations;
    long long m_left;
};

} // namespace

struct Runnable::FromFile
{
    explicit FromFile(const CompiledRoutine &compiled)
        : routine(compiled)
    {
    }

    CompiledRoutine routine;
    // Counted the first time it is drawn whole: a routine is never run
    // only to be counted, which could take as long as it takes to draw.
    mutable std::atomic<long long> operations{-1};
};

Runnable::Runnable(const CompiledRoutine &routine)
    : m_routine(std::make_shared<const FromFile>(routine))
{
}

std::optional<Button> Runnable::button() const
{
    return m_routine ? std::nullopt : std::optional(m_button);
}

const CompiledRoutine *Runnable::routine() const
{
    return m_routine ? &m_routine->routine : nullptr;
}

bool Runnable::hasAction() const
{
    return m_routine || !commandOf(m_button).ends();
}

bool Runnable::clears() const
{
    return !m_routine && commandOf(m_button).clears();
}

bool Runnable::draws() const
{
    return m_routine || commandOf(m_button).draws();
}

void Runnable::draw(DrawingSurface &surface) const
{
    if (m_part >= 0) {
        // The whole command, on a surface that lets its first operations
        // through to `surface`, which meters them as its own.
        Runnable whole = *this;
        whole.m_part = -1;
        PartSurface part(surface, m_part);
        try {
            whole.draw(part);
        } catch (const PartDrawn &) {
        }
        return;
    }
    if (!m_routine) {
        commandOf(m_button).action(surface);
    } else if (m_routine->operations >= 0) {
        m_routine->routine.run(surface);
    } else {
        PartSurface counted(surface, std::numeric_limits<long long>::max());
        m_routine->routine.run(counted);
        m_routine->operations = counted.passed();
    }
}

Runnable Runnable::partOf(long long operations) const
{
    Runnable part = *this;
    part.m_part = operations;
    return part;
}

Runnable Runnable::startingOn(int pen) const
{
    // A routine would have to be run through to know whether it draws before
    // it sets a pen, which would double the time it takes to show a
    // changed number: its pen is kept whatever it draws.
    Runnable started = *this;
    started.m_pen = m_routine || (draws() && tallyOf(m_button).usesStartingPen) ? pen : 0;
    return started;
}

void Runnable::restorePenOn(DrawingSurface &surface) const
{
    if (m_pen > 0 && surface.penWidth() != m_pen)
        (void)surface.SetPenWidth(m_pen);
}

long long Runnable::operations() const
{
    const long long whole = m_routine ? m_routine->operations.load() : tallyOf(m_button).operations;
    if (m_part < 0)
        return whole;
    return whole < 0 ? m_part : std::min(m_part, whole);
}

void Runnable::drewWhole(long long operations) const
{
    if (m_routine && m_part < 0)
        m_routine->operations = operations;
}

std::string Runnable::caption() const
{
    if (m_routine)
        return std::filesystem::path(m_routine->routine.fileName()).filename().string();
    return commandOf(m_button).caption;
}

} // namespace sweepdraw
