#pragma once

#include "Commands.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sweepdraw {

class CompiledRoutine;
class DrawingSurface;

// What the runner runs, queues and keeps in the picture's history: one of
// the window's commands, or a routine read from a file, which draws like a
// command of its own. A small value, cheap to copy: copies of one routine
// share it, and are the same command.
class Runnable final
{
public:
    // Implicit: every button's command is one.
    Runnable(Button button) noexcept
        : m_button(button)
    {
    }
    explicit Runnable(const CompiledRoutine &routine);

    // The button, or nothing for a routine.
    std::optional<Button> button() const;
    // The routine, or nullptr for a button.
    const CompiledRoutine *routine() const;

    // What the command does: nothing for "退出", which ends the program.
    bool hasAction() const;
    bool clears() const;
    bool draws() const;
    // Throws RuntimeError as the command's action does.
    void draw(DrawingSurface &surface) const;

    // The same command stopped after its first `operations`, which is what
    // it leaves on the picture when the drawing is dropped part way.
    Runnable partOf(long long operations) const;
    // Whether it is the whole command, not a part of it.
    bool isWhole() const { return m_part < 0; }
    // The operations it makes: a button's tally's, or as many as its part
    // holds. A routine's are known once it has been drawn whole, and -1
    // before, but for a part's.
    long long operations() const;
    // The whole routine, drawn to its end elsewhere than by draw(), made
    // `operations`: known from then on. Nothing for a button's command.
    void drewWhole(long long operations) const;

    // The same command as started on a picture whose pen was `pen` pixels
    // wide, if what it draws may depend on that; as it is otherwise.
    Runnable startingOn(int pen) const;
    // The pen it started on, if what it draws may depend on it; 0 otherwise,
    // and before it starts.
    int startingPen() const { return m_pen; }
    // Sets the pen of `surface` to the one the command started on, if that
    // matters, so that it draws there as it drew then.
    void restorePenOn(DrawingSurface &surface) const;

    // The button's caption, or the routine's file name without its folder:
    // UTF-8.
    std::string caption() const;

    friend bool operator==(const Runnable &a, const Runnable &b) noexcept
    {
        return a.m_button == b.m_button && a.m_routine == b.m_routine && a.m_part == b.m_part;
    }

private:
    struct FromFile;

    Button m_button = Button::CmdGs;
    std::shared_ptr<const FromFile> m_routine;
    long long m_part = -1; // operations drawn, or -1 for the whole
    int m_pen = 0;

};

// The command's action, as drawn in one go or on a fiber.
inline std::function<void(DrawingSurface &)> actionOf(const Runnable &command)
{
    return [command](DrawingSurface &surface) { command.draw(surface); };
}

} // namespace sweepdraw
