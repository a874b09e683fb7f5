#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace sweepdraw {

// Where a loop is written: the file and the line its call is on. A scene's
// loop takes it from current(); a routine read from a file names its own.
class LoopSite final
{
public:
    constexpr LoopSite() noexcept = default;
    constexpr LoopSite(const char *file, std::uint_least32_t line) noexcept
        : m_file(file), m_line(line)
    {
    }

    // As a default argument, where the call that leaves it out is written,
    // as std::source_location::current() gives it; built on the compiler's
    // own builtins, which GCC and Clang both have, since not every standard
    // library the engine is built with has std::source_location.
    static constexpr LoopSite current(const char *file = __builtin_FILE(),
                                      std::uint_least32_t line = __builtin_LINE()) noexcept
    {
        return LoopSite(file, line);
    }

    constexpr const char *file_name() const noexcept { return m_file; }
    constexpr std::uint_least32_t line() const noexcept { return m_line; }

private:
    const char *m_file = "";
    std::uint_least32_t m_line = 0;
};

// Where a drawing is at one operation: the ColourPass and Sweep loops that
// are running, outermost first, each with where it is written in the scene
// and its counter's value, and the last point plotted.
class LoopState
{
public:
    static constexpr int kMaxDepth = 8;

    struct Loop
    {
        LoopSite where;     // the loop's call in the scene or routine
        double value = 0;           // its counter's current value
        int pass = 0;               // for a ColourPass, counted from 1; 0 for a Sweep
        int passes = 0;             // for a ColourPass, how many it draws; 0 for a Sweep
    };

    struct Point
    {
        float x = 0;
        float y = 0;
    };

    // The loops running and recorded, outermost first.
    int depth() const noexcept { return m_depth < kMaxDepth ? m_depth : kMaxDepth; }
    const Loop &loop(int index) const noexcept { return m_loops[static_cast<std::size_t>(index)]; }

    // A point plotted is finite, so a NaN marks none.
    bool hasPoint() const noexcept { return !std::isnan(m_point.x); }
    Point lastPoint() const noexcept { return m_point; }

protected:
    static constexpr Point kNoPoint{std::numeric_limits<float>::quiet_NaN(), 0};

    std::array<Loop, kMaxDepth> m_loops{};
    int m_depth = 0;
    Point m_point = kNoPoint;
};

// Where a drawing is while it runs, kept up to date by its loops.
//
// The loops record on the recorder active on their thread when they begin,
// and only there: one activated while a piece of a drawing runs sees that
// drawing's loops, and a drawing run while none is active records nothing.
// Each loop takes its place on entry and gives it back when it ends, however
// it ends, an exception included, so a drawing that is stopped leaves the
// recorder as it found it. Loops nested deeper than kMaxDepth run without
// being recorded.
//
// The loops move on to their next values before the next operation is made,
// so whoever meters the drawing notes where it is as an operation lands, and
// reads the note, which stays as it was while the drawing goes on.
//
// Recording costs a store for every value the loops take; nothing allocates.
class LoopRecorder final : public LoopState
{
public:
    LoopRecorder() = default;
    LoopRecorder(const LoopRecorder &) = delete;
    LoopRecorder &operator=(const LoopRecorder &) = delete;

    // One store, for it comes with every point.
    void plotted(float x, float y) noexcept { m_point = {x, y}; }
    // Forgets the last point; the loops are the running code's to end.
    void forgetPoint() noexcept { m_point = kNoPoint; }

    // Keeps where the drawing is now, as noted() gives it.
    void note() noexcept { m_noted = static_cast<const LoopState &>(*this); }
    const LoopState &noted() const noexcept { return m_noted; }

    // The recorder the loops beginning on this thread record on, or nullptr.
    static LoopRecorder *active() noexcept { return s_active; }

    // Makes a recorder, or none, the active one while it lives, then puts
    // back the one that was.
    class Activation final
    {
    public:
        explicit Activation(LoopRecorder *recorder) noexcept
            : m_previous(s_active)
        {
            s_active = recorder;
        }
        ~Activation() { s_active = m_previous; }
        Activation(const Activation &) = delete;
        Activation &operator=(const Activation &) = delete;

    private:
        LoopRecorder *m_previous;
    };

    // One running loop, on the active recorder while it lives.
    class Scope final
    {
    public:
        explicit Scope(LoopSite where, int passes = 0) noexcept
            : m_recorder(s_active)
        {
            if (m_recorder)
                m_loop = m_recorder->push(where, passes);
        }
        ~Scope()
        {
            if (m_recorder)
                --m_recorder->m_depth;
        }
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

        void set(double value) noexcept
        {
            if (m_loop)
                m_loop->value = value;
        }
        void setPass(int colour, int pass) noexcept
        {
            if (m_loop) {
                m_loop->value = colour;
                m_loop->pass = pass;
            }
        }

    private:
        LoopRecorder *m_recorder;
        Loop *m_loop = nullptr;
    };

private:
    Loop *push(LoopSite where, int passes) noexcept
    {
        const int at = m_depth++;
        if (at >= kMaxDepth)
            return nullptr;
        Loop &loop = m_loops[static_cast<std::size_t>(at)];
        loop = {where, 0, 0, passes};
        return &loop;
    }

    static thread_local constinit LoopRecorder *s_active;

    LoopState m_noted;
};

} // namespace sweepdraw
