#pragma once

#include "DrawingSurface.h"
#include "Operation.h"

namespace sweepdraw {

class Runnable;

// Draws nothing, and knows the operations an action makes on it while the
// active LoopRecorder records the action's loops: the last made, and where
// it stands among those made outside every loop.
class CallSurface final : public DrawingSurface
{
public:
    // Refuses the operation made outside every loop `stopAtOutside`th,
    // counted from 0, and so ends the action there; -1 for none.
    explicit CallSurface(int stopAtOutside = -1)
        : m_stopAt(stopAtOutside)
    {
    }

    // The name of the last operation made (operationName), or "" before
    // the first.
    const char *last() const { return m_last; }
    // How many were made outside every loop before the last, if it was made
    // outside every loop too; -1 if it was made in one.
    int outsideIndex() const { return m_outsideIndex; }
    // Operations made, counted from 1, the refused one too.
    long long made() const { return m_made; }
    // Once the action has ended: the number, counted from 1, of the
    // operation it was refused at, the one it made outside every loop
    // `stopAtOutside`th; 0 if it made fewer there.
    long long stoppedAt() const { return m_outsideIndex >= 0 && m_outsideIndex == m_stopAt ? m_made : 0; }

protected:
    Status doSetPenWidth(int) override { return make(Operation::SetPenWidth); }
    Status doPlotPoint(float, float, Colour) override { return make(Operation::PlotPoint); }
    Status doDrawBox(float, float, float, float, Colour) override { return make(Operation::DrawBox); }
    Status doDrawCircle(float, float, float, Colour) override { return make(Operation::DrawCircle); }
    Status doClearSurface() override { return make(Operation::ClearSurface); }

private:
    Status make(Operation operation);

    int m_stopAt;
    const char *m_last = "";
    int m_outsideIndex = -1;
    int m_outside = 0;
    long long m_made = 0;
};

// The number, counted from 1, of the operation `command` makes outside
// every loop `index`th there, counted from 0; 0 if it makes fewer.
//
// The drawing is exact, so this is the command drawn again on a
// CallSurface, as far as that operation.
long long operationOutsideLoops(const Runnable &command, int index);

} // namespace sweepdraw
