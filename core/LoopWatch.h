#pragma once

namespace sweepdraw {

// Someone who wants a look in while a drawing's loops turn, however few
// surface operations they make: a runner that must not miss its frame, a
// program that must hear a signal to end. A loop whose body draws nothing
// never reaches the surface, so the surface's meter cannot stand in for it.
//
// Every turn of a loop of a drawing (each value of a Sweep, each pass of a
// ColourPass, each turn of a routine's own loops) counts, and at every
// kTurnsPerLook-th turn every watch active on the calling thread is asked
// to look(), the outermost first. It may return, throw to stop the drawing,
// or, the innermost alone, suspend the fiber the drawing runs on. With no
// watch active, a turn costs a decrement and a test.
//
// A watch is active while an Activation of it lives, on the thread that
// made the Activation; activations nest, and the watches of those round an
// activation stay active within it: a program that must hear a signal keeps
// hearing it while a runner's own watch is active inside.
class LoopWatch
{
public:
    static constexpr int kTurnsPerLook = 4096;

    // One turn of a loop: whether the watches were asked to look at it.
    static bool turn()
    {
        if (--t_turnsLeft <= 0) [[unlikely]] {
            lookIn();
            return true;
        }
        return false;
    }

    class Activation final
    {
    public:
        explicit Activation(LoopWatch *watch) noexcept
            : m_watch(watch)
            , m_previous(t_active)
        {
            t_active = this;
        }
        ~Activation() { t_active = m_previous; }
        Activation(const Activation &) = delete;
        Activation &operator=(const Activation &) = delete;

    private:
        friend class LoopWatch;

        LoopWatch *m_watch;
        const Activation *m_previous;
    };

protected:
    LoopWatch() = default;
    ~LoopWatch() = default;
    LoopWatch(const LoopWatch &) = default;
    LoopWatch &operator=(const LoopWatch &) = default;

    // Called every kTurnsPerLook turns while this watch is active.
    virtual void look() = 0;

private:
    [[gnu::noinline]] static void lookIn();
    static void askFrom(const Activation *activation);

    static thread_local constinit int t_turnsLeft;
    static thread_local constinit const Activation *t_active;
};

} // namespace sweepdraw
