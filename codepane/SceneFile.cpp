#include "SceneFile.h"

#include "DrawingSurface.h"
#include "LoopRecorder.h"
#include "RuntimeError.h"

namespace sweepdraw {

namespace {

// Notes the file of the outermost loop running at the first operation made
// inside a loop, and refuses that operation, which ends the drawing there.
class FileNotingSurface final : public DrawingSurface
{
public:
    explicit FileNotingSurface(const LoopRecorder &loops)
        : m_loops(loops)
    {
    }

    const char *file() const { return m_file; }

protected:
    Status doSetPenWidth(int) override { return note(); }
    Status doPlotPoint(float, float, Colour) override { return note(); }
    Status doDrawBox(float, float, float, float, Colour) override { return note(); }
    Status doDrawCircle(float, float, float, Colour) override { return note(); }
    Status doClearSurface() override { return note(); }

private:
    Status note()
    {
        if (m_loops.depth() == 0)
            return {};
        m_file = m_loops.loop(0).where.file_name();
        return Status::failure(FaultKind::StoppedHere);
    }

    const LoopRecorder &m_loops;
    const char *m_file = nullptr;
};

} // namespace

const char *sceneFileOf(Button button)
{
    const Command &command = commandOf(button);
    if (command.ends())
        return nullptr;
    LoopRecorder loops;
    FileNotingSurface surface(loops);
    const LoopRecorder::Activation recording(&loops);
    try {
        command.action(surface);
    } catch (const RuntimeError &) {
        // The operation refused, or one the scene got wrong before it.
    }
    return surface.file();
}

} // namespace sweepdraw
