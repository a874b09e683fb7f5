// The engine's runner as the page drives it: the window's CommandRunner,
// with its queue, its pace, its steps forward and back, Run to the caret,
// the picture's history and the replays that find what drew a pixel, woken
// by the page's animation frames through a few functions with C names.
//
// The runner's clock is the page's: performance.now(), or, for the tests,
// a time the page sets. Its ticker only notes whether and how often it
// wants to be woken (sd_runner_ticking), which the page reads after every
// call and answers with requestAnimationFrame. What it tells is kept, as
// JSON, until the page reads it with the runner's state (sd_runner_state).
// Its failures are worded as data (failureJson), for the page to word.

#include "PageEngine.h"
#include "PageJson.h"

#include "CommandRunner.h"
#include "Operation.h"
#include "RoutineLines.h"
#include "RunnerEvents.h"
#include "RuntimeError.h"
#include "Ticker.h"
#include "WhatDrew.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>

using namespace sweepdraw;
using namespace sweepdraw::page;

namespace {

using namespace std::chrono;

// The key the page knows a routine by: its command's, shared by the
// runner's copies of it.
std::uintptr_t keyOf(const Runnable &command)
{
    return reinterpret_cast<std::uintptr_t>(command.routine());
}

// The command's routine, its caption, and how many operations it makes,
// -1 while not known.
void writeCommand(Json &json, const Runnable &command)
{
    json.open('{').key("routine").number(static_cast<double>(keyOf(command))).key("caption").text(command.caption());
    json.key("operations").number(static_cast<double>(command.operations())).close('}');
}

// A failure the runner tells, as data for the page to word.
void writeFailure(Json &json, const RuntimeError &failure)
{
    json.raw(failureJson(failure));
}

RoutineLines linesOf(const Runnable &command)
{
    const CompiledRoutine *routine = command.routine();
    return routine ? RoutineLines(routine->loops(), routine->calls()) : RoutineLines();
}

// Where a command was at an operation, as the code pane shows it: the
// loops running, outermost first, each with the line its call starts on,
// its counter's name and value and, for a colour pass, which of how many;
// the point plotted, in twips, and the line that plots it.
void writeWhere(Json &json, const LoopState &at, const RoutineLines &lines)
{
    json.key("loops").open('[');
    for (int i = 0; i < at.depth(); ++i) {
        const LoopState::Loop &loop = at.loop(i);
        const int line = static_cast<int>(loop.where.line());
        const RoutineLoop *written = lines.loopAt(line);
        json.open('{').key("line").number(line).key("counter").text(written ? written->counter : "");
        json.key("value").number(loop.value).key("pass").number(loop.pass).key("passes").number(loop.passes);
        json.close('}');
    }
    json.close(']').key("point");
    if (!at.hasPoint() || at.depth() == 0) {
        json.null();
        return;
    }
    const int innermost = static_cast<int>(at.loop(at.depth() - 1).where.line());
    json.open('{').key("x").number(at.lastPoint().x).key("y").number(at.lastPoint().y);
    json.key("line").number(lines.lineCalling(operationName(Operation::PlotPoint), innermost)).close('}');
}

class PageRunner final : private RunnerEvents, private Ticker
{
public:
    PageRunner(double ratio, bool manualClock)
        : m_picture(std::make_unique<Picture>(ratio))
        , m_runner(m_picture->surface, this, this)
    {
        if (manualClock)
            m_runner.setClock([this] { return duration_cast<nanoseconds>(duration<double, std::milli>(m_time)); });
        else
            m_runner.setClock([] { return duration_cast<nanoseconds>(duration<double, std::milli>(emscripten_get_now())); });
        // A frame's drawing leaves it room to paint what it drew and to
        // follow the state, within 8 ms at a paced speed and within the
        // frame's 16 at once (docs/web.md, Figures).
        m_runner.setFrameBudget({milliseconds{5}, milliseconds{11}});
        // A learner's routine that fails is passed over, and what was
        // queued after it goes on; a scene that fails stops the drawing.
        m_runner.setForgiving([](const Runnable &command) { return command.routine() && !command.routine()->fileName().starts_with("scenes/"); });
    }

    CommandRunner &runner() { return m_runner; }
    Picture &picture() { return *m_picture; }
    void setTime(double ms) { m_time = ms; }
    int ticking() const { return m_ticking; }

    // Operations landed by the drawing: those of the commands finished,
    // and of the one under way.
    long long operationsLanded() const { return m_finished + m_runner.progress().landed; }

    void stepBack()
    {
        const DrawingProgress before = m_runner.progress();
        m_runner.stepBack();
        // The last command finished may be under way again, one operation
        // short of its end.
        const DrawingProgress after = m_runner.progress();
        if (after.current && (!before.current || !(*after.current == *before.current) || after.landed > before.landed))
            m_finished -= after.landed + 1;
    }

    // The picture drawn again at `ratio`, from its history.
    void setRatio(double ratio)
    {
        auto picture = std::make_unique<Picture>(ratio);
        m_runner.redrawOn(picture->surface);
        m_picture = std::move(picture);
        if (m_changing)
            showChange(m_changed);
    }

    // The learner's routine drawn in place of its earlier versions, the
    // rest of the picture as it was, on a picture of its own until whole.
    void showChange(const Runnable &command)
    {
        // Dropping a change under way forgets its picture.
        m_runner.dropChange();
        m_changing = std::make_unique<Picture>(m_picture->surface.devicePixelRatio());
        m_changed = command;
        const std::string file = command.routine()->fileName();
        m_runner.showChange(command, [file](const Runnable &shown) {
            return shown.routine() && shown.routine()->fileName() == file;
        }, m_changing->surface);
    }

    // The state as JSON, with what the runner told since the last call.
    std::string state()
    {
        const DrawingProgress progress = m_runner.progress();
        Json json;
        json.open('{').key("paused").boolean(m_runner.isPaused());
        json.key("idle").boolean(m_runner.isIdle() && !m_runner.isChanging());
        json.key("landed").number(static_cast<double>(operationsLanded())).key("queued").number(progress.queued);
        json.key("current");
        if (progress.current) {
            json.open('{').key("command");
            writeCommand(json, *progress.current);
            json.key("landed").number(static_cast<double>(progress.landed));
            writeWhere(json, m_runner.loops(), linesOf(*progress.current));
            json.close('}');
        } else {
            json.null();
        }
        json.key("told").open('[').raw(m_told.str()).close(']').close('}');
        m_told = Json();
        return json.str();
    }

private:
    // What the runner told, one object each, for state() to hand on.
    Json &tell() { return m_told.open('{'); }

    void finishedCommand(const Runnable &command) override
    {
        m_finished += command.operations() < 0 ? 0 : command.operations();
        writeCommand(tell().key("finished"), command);
        m_told.close('}');
    }
    void stoppedByFailure(const RuntimeError &failure) override
    {
        writeFailure(tell().key("failed"), failure);
        m_told.close('}');
    }
    void passedOver(const Runnable &command, const RuntimeError &failure) override
    {
        writeCommand(tell().key("passedOver"), command);
        writeFailure(m_told.key("failed"), failure);
        m_told.close('}');
    }
    void changeWhole(const Runnable &command) override
    {
        m_picture = std::move(m_changing);
        writeCommand(tell().key("changed"), command);
        m_told.close('}');
    }
    void changeGone(const std::optional<RuntimeError> &failure) override
    {
        m_changing.reset();
        if (!failure)
            return;
        writeFailure(tell().key("changeFailed"), *failure);
        m_told.close('}');
    }

    void startTicking(milliseconds interval) override { m_ticking = static_cast<int>(interval.count()); }
    void stopTicking() override { m_ticking = -1; }

    std::unique_ptr<Picture> m_picture;
    std::unique_ptr<Picture> m_changing; // the change's, until it is whole
    Runnable m_changed = Button::CmdCls;
    CommandRunner m_runner;
    double m_time = 0;    // the clock set by the page, in milliseconds
    int m_ticking = -1;   // how often to be woken, in milliseconds, or -1 for not at all
    long long m_finished = 0;
    Json m_told; // the objects, with no brackets round them
};

} // namespace

extern "C" {

// A runner drawing on a picture at `ratio` device pixels a pixel, on the
// page's clock or, with `manualClock`, on the time sd_runner_set_time sets.
EMSCRIPTEN_KEEPALIVE PageRunner *sd_runner_new(double ratio, int manualClock)
{
    return new PageRunner(ratio > 0 ? ratio : 1.0, manualClock != 0);
}

EMSCRIPTEN_KEEPALIVE void sd_runner_delete(PageRunner *runner)
{
    delete runner;
}

EMSCRIPTEN_KEEPALIVE void sd_runner_set_time(PageRunner *runner, double ms)
{
    runner->setTime(ms);
}

// How often the runner wants to be woken by sd_runner_advance, in
// milliseconds: 0 as soon as the page is free, -1 not at all.
EMSCRIPTEN_KEEPALIVE int sd_runner_ticking(const PageRunner *runner)
{
    return runner->ticking();
}

// The picture the runner draws on now: it changes with the ratio and with
// a change made whole.
EMSCRIPTEN_KEEPALIVE Picture *sd_runner_picture(PageRunner *runner)
{
    return &runner->picture();
}

// The key of the routine's command, as sd_runner_state names it.
EMSCRIPTEN_KEEPALIVE double sd_routine_key(const Routine *routine)
{
    return static_cast<double>(keyOf(routine->command));
}

EMSCRIPTEN_KEEPALIVE void sd_runner_enqueue(PageRunner *runner, const Routine *routine)
{
    runner->runner().enqueue(routine->command);
}

EMSCRIPTEN_KEEPALIVE void sd_runner_enqueue_clear(PageRunner *runner)
{
    runner->runner().enqueue(Button::CmdCls);
}

// The speed, in the order of kSpeeds.
EMSCRIPTEN_KEEPALIVE void sd_runner_set_speed(PageRunner *runner, int speed)
{
    if (speed >= 0 && speed < static_cast<int>(kSpeeds.size()))
        runner->runner().setSpeed(kSpeeds[static_cast<std::size_t>(speed)].speed);
}

EMSCRIPTEN_KEEPALIVE void sd_runner_set_paused(PageRunner *runner, int paused)
{
    runner->runner().setPaused(paused != 0);
}

EMSCRIPTEN_KEEPALIVE void sd_runner_advance(PageRunner *runner)
{
    runner->runner().advance();
}

EMSCRIPTEN_KEEPALIVE void sd_runner_finish(PageRunner *runner)
{
    runner->runner().finishQueued();
}

EMSCRIPTEN_KEEPALIVE void sd_runner_step(PageRunner *runner)
{
    runner->runner().step();
}

EMSCRIPTEN_KEEPALIVE void sd_runner_step_back(PageRunner *runner)
{
    runner->stepBack();
}

// Runs to the next time line `line` of the command under way runs.
EMSCRIPTEN_KEEPALIVE void sd_runner_run_to_line(PageRunner *runner, int line)
{
    const std::optional<Runnable> current = runner->runner().progress().current;
    runner->runner().runTo(current ? RunToStop::at(linesOf(*current), line) : RunToStop{});
}

// 退出: nothing more is drawn.
EMSCRIPTEN_KEEPALIVE void sd_runner_stop(PageRunner *runner)
{
    runner->runner().stop();
}

EMSCRIPTEN_KEEPALIVE void sd_runner_set_ratio(PageRunner *runner, double ratio)
{
    runner->setRatio(ratio);
}

EMSCRIPTEN_KEEPALIVE void sd_runner_show_change(PageRunner *runner, const Routine *routine)
{
    runner->showChange(routine->command);
}

// A picture of its own at `ratio` showing what the runner's shows, for
// the page to delete: nullptr when drawing it failed (sd_error).
EMSCRIPTEN_KEEPALIVE Picture *sd_runner_drawn_at(PageRunner *runner, double ratio)
{
    auto picture = std::make_unique<Picture>(ratio);
    const DrawingProgress progress = runner->runner().progress();
    if (const auto failed = PictureHistory::drawPictures(picture->surface, runner->runner().pictures(),
                                                         progress.current, progress.landed)) {
        keepError(failureJson(*failed));
        return nullptr;
    }
    return picture.release();
}

// The runner's state as JSON (see PageRunner::state), valid until the next
// call.
EMSCRIPTEN_KEEPALIVE const char *sd_runner_state(PageRunner *runner)
{
    static std::string state;
    state = runner->state();
    return state.c_str();
}

// What last painted the device pixel at (`x`, `y`), as JSON: null if
// nothing did; otherwise the command, which of its operations it was, the
// line that made it, and where its loops were then.
EMSCRIPTEN_KEEPALIVE const char *sd_runner_what_drew(PageRunner *runner, int x, int y)
{
    static std::string answer;
    const DrawingProgress progress = runner->runner().progress();
    const std::optional<DrawnBy> drawn = whatDrew(runner->runner().pictures(), progress.current, progress.landed,
                                                  runner->picture().surface.devicePixelRatio(), x, y);
    if (!drawn) {
        answer = "null";
        return answer.c_str();
    }
    const RoutineLines lines = linesOf(drawn->command);
    const int innermost = drawn->at.depth() > 0 ? static_cast<int>(drawn->at.loop(drawn->at.depth() - 1).where.line()) : 0;
    const int line = innermost > 0 ? lines.lineCalling(drawn->call, innermost) : lines.lineOfCallOutsideLoops(drawn->outsideIndex);
    Json json;
    writeCommand(json.open('{').key("command"), drawn->command);
    json.key("operation").number(static_cast<double>(drawn->operation)).key("line").number(line);
    writeWhere(json, drawn->at, lines);
    answer = json.close('}').str();
    return answer.c_str();
}

} // extern "C"
