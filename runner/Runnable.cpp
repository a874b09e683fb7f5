#include "Runnable.h"

#include "CompiledRoutine.h"
#include "DrawingSurface.h"
#include "RuntimeError.h"
#include "SteppedAction.h"

#include <QFileInfo>

#include <mutex>

namespace sweepdraw {

struct Runnable::FromFile
{
    explicit FromFile(const CompiledRoutine &compiled)
        : routine(compiled)
    {
    }

    CompiledRoutine routine;
    // Counted the first time it is asked for, as a button's is.
    mutable std::once_flag counted;
    mutable CommandTally tally;
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
        Runnable whole = *this;
        whole.m_part = -1;
        SteppedAction replay(actionOf(whole), surface);
        replay.land(m_part);
        if (const std::optional<QString> failure = replay.failure())
            throwRuntimeError("%s", qPrintable(*failure));
        return;
    }
    if (m_routine)
        m_routine->routine.run(surface);
    else
        commandOf(m_button).action(surface);
}

Runnable Runnable::partOf(long long operations) const
{
    Runnable part = *this;
    part.m_part = operations;
    return part;
}

Runnable Runnable::startingOn(int pen) const
{
    Runnable started = *this;
    started.m_pen = draws() && tally().usesStartingPen ? pen : 0;
    return started;
}

void Runnable::restorePenOn(DrawingSurface &surface) const
{
    if (m_pen > 0 && surface.penWidth() != m_pen)
        (void)surface.SetPenWidth(m_pen);
}

const CommandTally &Runnable::tally() const
{
    if (!m_routine)
        return tallyOf(m_button);
    const FromFile &file = *m_routine;
    std::call_once(file.counted, [&file] {
        file.tally = tallyOfDrawing([&file](DrawingSurface &surface) { file.routine.run(surface); });
    });
    return file.tally;
}

QString Runnable::caption() const
{
    if (m_routine)
        return QFileInfo(QString::fromStdString(m_routine->routine.fileName())).fileName();
    return QString::fromUtf8(commandOf(m_button).caption);
}

} // namespace sweepdraw
