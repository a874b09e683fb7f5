#include "RoutineDrawing.h"

#include "CompiledRoutine.h"
#include "LoopRecorder.h"
#include "RuntimeError.h"
#include "VectorState.h"

#include <algorithm>
#include <utility>

namespace sweepdraw {

bool RoutineDrawing::draws(const Runnable &command)
{
    return command.routine() != nullptr || command.clears();
}

RoutineDrawing::RoutineDrawing(std::vector<Runnable> commands, bool restorePens, DrawingSurface &target,
                               LoopRecorder *points)
    : m_commands(std::move(commands))
    , m_restorePens(restorePens)
    , m_target(target)
    , m_points(points)
    , m_finished(m_commands.empty())
{
}

RoutineDrawing::~RoutineDrawing() = default;

long long RoutineDrawing::land(long long operations, std::optional<Deadline> deadline)
{
    if (m_finished || operations <= 0)
        return 0;
    const long long before = m_landed;
    m_deadline = deadline;
    m_stopped = false;
    m_paused = false;
    clearUpperVectorState();
    try {
        const LoopWatch::Activation watching(this);
        while (!m_finished && !m_stopped && m_landed - before < operations && !(m_deadline && m_deadline->passed()))
            landPiece(std::min(operations - (m_landed - before), m_stop ? 1 : kBatch));
    } catch (const RuntimeError &error) {
        m_failure = error;
        m_finished = true;
    } catch (...) {
        m_finished = true;
        throw;
    }
    return m_landed - before;
}

long long RoutineDrawing::landUntil(long long operations, const Stop &stop, std::optional<Deadline> deadline)
{
    m_stop = &stop;
    const long long landed = land(operations, deadline);
    m_stop = nullptr;
    return landed;
}

template <typename Piece>
long long RoutineDrawing::metered(long long operations, const Piece &piece)
{
    m_piece = operations;
    m_let = 0;
    // What was let through and not refused has landed, whether the piece
    // ends or throws.
    const auto take = [this] {
        const long long landed = m_let - m_target.stopMetering();
        m_landed += landed;
        return landed;
    };
    m_target.startMetering(*this);
    try {
        piece();
    } catch (...) {
        take();
        throw;
    }
    return take();
}

void RoutineDrawing::landPiece(long long operations)
{
    const Runnable &command = m_commands[m_current];
    if (m_restorePens && !m_penSet) {
        m_penSet = true;
        const int pen = command.startingPen();
        if (pen > 0 && m_target.penWidth() != pen) {
            metered(1, [this, pen] { (void)m_target.SetPenWidth(pen); });
            return;
        }
    }
    if (!command.routine()) {
        metered(1, [this] { check(m_target.ClearSurface()); });
        nextCommand();
        return;
    }
    // A part of a routine ends at the operation after its own, where it was
    // dropped: run on to it, it is not made.
    if (!command.isWhole())
        operations = std::min(operations, command.operations() - m_commandLanded);
    if (!m_run)
        m_run = std::make_unique<RoutineRun>(*command.routine(), m_target);
    bool ended = false;
    m_commandLanded += metered(operations, [this, operations, &ended] { ended = m_run->resume(operations); });
    if (ended && command.isWhole())
        command.drewWhole(m_commandLanded);
    const bool partDrawn = !command.isWhole() && m_commandLanded == command.operations() && !m_paused;
    if (ended || partDrawn)
        nextCommand();
}


void RoutineDrawing::nextCommand()
{
    m_run.reset();
    m_penSet = false;
    m_commandLanded = 0;
    m_finished = ++m_current == m_commands.size();
}

long long RoutineDrawing::more()
{
    m_let = m_piece;
    return m_piece;
}

void RoutineDrawing::last(bool point, float x, float y)
{
    if (noteLast(m_points, m_stop, point, x, y))
        m_stopped = true;
}

void RoutineDrawing::look()
{
    if (!m_deadline || !m_deadline->passed())
        return;
    // The loops are noted where they are, however long since the last
    // operation, and the routine stops at the end of this turn.
    if (m_points)
        m_points->note();
    m_stopped = m_paused = true;
    if (m_run)
        m_run->pause();
}

} // namespace sweepdraw
