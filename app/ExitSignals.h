#pragma once

#include "ExitStatus.h"
#include "LoopWatch.h"

#include <QObject>

namespace sweepdraw {

// SIGINT, SIGTERM and SIGHUP taken as requests to end: the handler only
// notes the signal and writes a byte to a pipe, and the program ends through
// its own exit path, where every file half written is removed, with
// 128 + the signal's number as its status, as a shell reports a process the
// signal killed. A second such signal ends the program at once.
//
// Work that does not return to the event loop hears the signal through a
// SignalWatch: between its pieces, and every LoopWatch::kTurnsPerLook turns
// of a drawing's loops, however little they draw, it throws EndedBySignal,
// which unwinds the work, and with it every file half written, to where
// the program ends with the signal's status.
//
// SIGXFSZ is ignored, so that a write beyond the file size limit fails with
// "File too large" like any other write, rather than killing the program.
class ExitSignals final : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers; before any other thread starts, so that the
    // signals come to this one.
    static void install();
    // The signal caught, or 0: for work that does not return to the event
    // loop, to look at between its steps.
    static int caught();
    static ExitStatus statusFor(int signal) { return static_cast<ExitStatus>(ExitSignal + signal); }

    // Emits received() from the event loop once a signal has come.
    explicit ExitSignals(QObject *parent = nullptr);

signals:
    void received(int signal);
};

// The signal that ends the program, thrown to end the work under way.
struct EndedBySignal
{
    int signal;
};

// While it is active, throws EndedBySignal from the loops of a drawing, and
// from check(), once a signal to end has come.
class SignalWatch final : public LoopWatch
{
public:
    SignalWatch() = default;

    // Throws EndedBySignal if a signal to end has come: between two pieces
    // of work.
    static void check();

protected:
    void look() override { check(); }
};

} // namespace sweepdraw
