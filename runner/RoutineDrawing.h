#pragma once

#include "DrawingSurface.h"
#include "LoopWatch.h"
#include "PiecewiseDrawing.h"
#include "Runnable.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sweepdraw {

class RoutineRun;

// Routines drawn a piece at a time by their interpreter, which stops before
// any operation, or at a turn of a loop, and goes on later where it
// stopped, with no fiber: so it runs wherever the engine does, the page
// included. Besides routines, whole or a part of one, it draws "清除",
// whose one operation needs no stopping. See PiecewiseDrawing.
class RoutineDrawing final : public PiecewiseDrawing, private DrawingSurface::Meter, private LoopWatch
{
public:
    // Whether it can draw `command`.
    static bool draws(const Runnable &command);

    // Draws `commands` one after another, each of which it draws, each
    // starting on the pen it started on where `restorePens` is true (see
    // drawInPieces); nothing lands before the first land().
    RoutineDrawing(std::vector<Runnable> commands, bool restorePens, DrawingSurface &target,
                   LoopRecorder *points = nullptr);
    ~RoutineDrawing() override;

    long long land(long long operations, std::optional<Deadline> deadline = std::nullopt) override;
    long long landUntil(long long operations, const Stop &stop,
                        std::optional<Deadline> deadline = std::nullopt) override;

    bool finished() const override { return m_finished; }
    const std::optional<RuntimeError> &failure() const override { return m_failure; }
    long long landed() const override { return m_landed; }

private:
    // Lets the next piece through, at most `operations`: a pen set, a
    // clear, or a run of the routine, which may stop short at a look.
    void landPiece(long long operations);
    // Lets `piece` make up to `operations` on the target, metered: how
    // many landed. A template, used in the source file alone, so that no
    // piece is wrapped in a std::function, which would allocate for each.
    template <typename Piece>
    long long metered(long long operations, const Piece &piece);
    // The current command is done with: on to the next, if any.
    void nextCommand();

    long long more() override;
    void last(bool point, float x, float y) override;
    // Every few thousand turns of the routine's loops: has it stop there
    // once the deadline has passed.
    void look() override;

    std::vector<Runnable> m_commands;
    bool m_restorePens;
    DrawingSurface &m_target;
    LoopRecorder *m_points;
    std::size_t m_current = 0;     // the command under way
    bool m_penSet = false;         // for the command under way, if it had to be
    long long m_commandLanded = 0; // of the command under way
    std::unique_ptr<RoutineRun> m_run; // of the command under way, once begun
    std::optional<Deadline> m_deadline;
    const Stop *m_stop = nullptr;
    long long m_piece = 0;  // operations the piece under way lets through
    long long m_let = 0;    // of those, let through once the first came
    bool m_stopped = false; // by `stop`, or at a look once the time is up
    bool m_paused = false;  // at a look, part way to the next operation
    long long m_landed = 0;
    bool m_finished = false;
    std::optional<RuntimeError> m_failure;
};

} // namespace sweepdraw
