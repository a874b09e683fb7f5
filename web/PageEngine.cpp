// The engine as the page sees it: a few functions with C names over the
// core's pictures, the scenes and the routine language, called from
// JavaScript. Nothing here throws across the boundary: a failure is kept
// as data (sd_error) and the call says only whether it failed.
//
// A picture is a RasterSurface and beside it a buffer of straight RGBA
// bytes, the form a canvas's ImageData takes, filled for the rectangle asked
// for; its premultiplied ARGB words stay readable as they are, for the
// page's tests to take their digest exactly as the desktop's tests do.

#include "CompiledRoutine.h"
#include "Design.h"
#include "LoopRecorder.h"
#include "RasterSurface.h"
#include "RoutineFault.h"
#include "RuntimeError.h"
#include "Scenes.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using namespace sweepdraw;

namespace {

// Hands every operation on to the picture, counting those that land, so
// that the page knows how many a piece of a routine drew however it ended.
class CountingPicture final : public DrawingSurface
{
public:
    explicit CountingPicture(DrawingSurface &target)
        : m_target(target)
    {
    }

    long long operations = 0;
    // When `operations` reaches this, where the drawing is is noted on
    // `recorder`: at the last operation of a piece.
    long long noteAt = -1;
    LoopRecorder *recorder = nullptr;

protected:
    Status doSetPenWidth(int width) override { return landed(m_target.SetPenWidth(width)); }
    Status doPlotPoint(float x, float y, Colour colour) override { return landed(m_target.PlotPoint(x, y, colour)); }
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override
    {
        return landed(m_target.DrawBox(x1, y1, x2, y2, colour));
    }
    Status doDrawCircle(float x, float y, float radius, Colour colour) override
    {
        return landed(m_target.DrawCircle(x, y, radius, colour));
    }
    Status doClearSurface() override { return landed(m_target.ClearSurface()); }

private:
    Status landed(Status status)
    {
        if (++operations == noteAt && recorder)
            recorder->note();
        return status;
    }

    DrawingSurface &m_target;
};

struct Picture
{
    explicit Picture(double ratio)
        : surface(kDesignSize, ratio)
    {
    }

    RasterSurface surface;
    CountingPicture counted{surface};
    std::vector<std::uint8_t> rgba;
    int dirty[4] = {};
};

struct Routine
{
    CompiledRoutine compiled;
};

// The last failure, as a JSON object: {"kind":"refused"|"runtime", ...},
// see faultJson and failureJson.
std::string lastError = "null";

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

// A routine's fault as data, for the page to word in its own language:
// the kind, the fault's English wording (the key of its translation in
// the "RoutineFault" context), the values that go in it, and where it is.
std::string faultJson(const char *kind, const RoutineMessage &message, const std::string &fileName)
{
    std::string values;
    for (const std::string &value : message.values)
        values += (values.empty() ? "" : ",") + jsonString(value);
    return std::string("{\"kind\":\"") + kind + "\",\"fault\":" + std::to_string(static_cast<int>(message.fault)) +
           ",\"wording\":" + jsonString(englishOf(message.fault)) + ",\"values\":[" + values +
           "],\"file\":" + jsonString(fileName) + ",\"line\":" + std::to_string(message.line) +
           ",\"column\":" + std::to_string(message.column) + "}";
}

// A command's failure: a routine's fault as data; any other, such as a
// surface operation's, as the engine words it, which the desktop shows as
// it stands too.
std::string failureJson(const std::exception &error)
{
    if (const auto *routine = dynamic_cast<const RoutineRunError *>(&error))
        return faultJson("runtime", routine->message(), routine->fileName());
    return "{\"kind\":\"runtime\",\"message\":" + jsonString(error.what()) + "}";
}

// Runs `draw`, keeping what stopped it: whether it ran to the end.
template <typename Draw>
bool drawKeepingError(Draw &&draw)
{
    try {
        draw();
        return true;
    } catch (const RuntimeError &error) {
        lastError = failureJson(error);
    } catch (const std::bad_alloc &error) {
        lastError = failureJson(error);
    }
    return false;
}

using SceneFunction = void (*)(DrawingSurface &);

// The scenes in the order of the window's buttons.
constexpr SceneFunction kScenes[] = {DrawMountains, DrawWater, DrawSunshine, DrawBridge};

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE Picture *sd_picture_new(double ratio)
{
    return new Picture(ratio > 0 ? ratio : 1.0);
}

EMSCRIPTEN_KEEPALIVE void sd_picture_delete(Picture *picture)
{
    delete picture;
}

EMSCRIPTEN_KEEPALIVE int sd_picture_width(const Picture *picture)
{
    return picture->surface.size().width;
}

EMSCRIPTEN_KEEPALIVE int sd_picture_height(const Picture *picture)
{
    return picture->surface.size().height;
}

// The premultiplied ARGB words, sd_picture_stride() bytes a row.
EMSCRIPTEN_KEEPALIVE const std::uint32_t *sd_picture_pixels(const Picture *picture)
{
    return picture->surface.pixels();
}

EMSCRIPTEN_KEEPALIVE int sd_picture_stride(const Picture *picture)
{
    return static_cast<int>(picture->surface.bytesPerLine());
}

// The rectangle changed since the last call, as x, y, width and height.
EMSCRIPTEN_KEEPALIVE const int *sd_picture_take_dirty(Picture *picture)
{
    const Rect dirty = picture->surface.takeDirtyRect();
    picture->dirty[0] = dirty.x;
    picture->dirty[1] = dirty.y;
    picture->dirty[2] = dirty.width;
    picture->dirty[3] = dirty.height;
    return picture->dirty;
}

// The rectangle's pixels as straight RGBA bytes, row after row; the
// rectangle must lie inside the picture.
EMSCRIPTEN_KEEPALIVE const std::uint8_t *sd_picture_rgba(Picture *picture, int x, int y, int width, int height)
{
    picture->rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    std::uint8_t *out = picture->rgba.data();
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) {
            const std::uint32_t argb = picture->surface.pixel(column, row);
            const std::uint32_t alpha = argb >> 24;
            const auto straight = [alpha](std::uint32_t premultiplied) {
                return alpha == 0 || alpha == 255 ? premultiplied : (premultiplied * 255 + alpha / 2) / alpha;
            };
            *out++ = static_cast<std::uint8_t>(straight(argb >> 16 & 0xff));
            *out++ = static_cast<std::uint8_t>(straight(argb >> 8 & 0xff));
            *out++ = static_cast<std::uint8_t>(straight(argb & 0xff));
            *out++ = static_cast<std::uint8_t>(alpha);
        }
    }
    return picture->rgba.data();
}

// Draws scene `scene` (0 to 3, in the order of the buttons) at once: 0 when
// it drew to the end, 1 when it failed (sd_error).
EMSCRIPTEN_KEEPALIVE int sd_draw_scene(Picture *picture, int scene)
{
    if (scene < 0 || scene >= static_cast<int>(std::size(kScenes)))
        return 1;
    return drawKeepingError([&] { kScenes[scene](picture->surface); }) ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE int sd_clear(Picture *picture)
{
    return picture->counted.ClearSurface().ok() ? 0 : 1;
}

// The operations landed on the picture by a paced run or a clear, so far.
EMSCRIPTEN_KEEPALIVE double sd_picture_operations(const Picture *picture)
{
    return static_cast<double>(picture->counted.operations);
}

// The routine `length` bytes at `text` hold, read as the file `fileName`,
// or nullptr when it is refused (sd_error).
EMSCRIPTEN_KEEPALIVE Routine *sd_compile(const char *fileName, const char *text, int length)
{
    auto compiled = CompiledRoutine::compile(fileName, std::string_view(text, static_cast<std::size_t>(length)));
    if (const auto *message = std::get_if<RoutineMessage>(&compiled)) {
        lastError = faultJson("refused", *message, fileName);
        return nullptr;
    }
    return new Routine{std::move(std::get<CompiledRoutine>(compiled))};
}

EMSCRIPTEN_KEEPALIVE void sd_routine_delete(Routine *routine)
{
    delete routine;
}

// Draws the routine at once: 0 to the end, 1 when it failed (sd_error).
EMSCRIPTEN_KEEPALIVE int sd_routine_run(const Routine *routine, Picture *picture)
{
    return drawKeepingError([&] { routine->compiled.run(picture->surface); }) ? 0 : 1;
}

// A run of a routine, and where it was when its last piece ended.
struct Run
{
    Run(const Routine &routine, Picture &picture)
        : run(routine.compiled, picture.counted)
        , picture(picture)
    {
    }

    RoutineRun run;
    Picture &picture;
    LoopRecorder recorder;
    std::string where;
};

// A run of `routine` on `picture`, a piece at a time; both must outlive it.
EMSCRIPTEN_KEEPALIVE Run *sd_run_new(const Routine *routine, Picture *picture)
{
    return new Run(*routine, *picture);
}

EMSCRIPTEN_KEEPALIVE void sd_run_delete(Run *run)
{
    delete run;
}

// Lets `operations` more surface operations (at least one) land: 0 while
// the routine goes on, 1 when it has ended, 2 when it failed (sd_error).
EMSCRIPTEN_KEEPALIVE int sd_run_resume(Run *run, double operations)
{
    bool ended = false;
    CountingPicture &counted = run->picture.counted;
    counted.recorder = &run->recorder;
    counted.noteAt = counted.operations + std::max<long long>(1, static_cast<long long>(operations));
    const bool drew = drawKeepingError([&] {
        const LoopRecorder::Activation active(&run->recorder);
        ended = run->run.resume(static_cast<long long>(operations));
    });
    counted.recorder = nullptr;
    if (!drew)
        return 2;
    return ended ? 1 : 0;
}

// Where the run was at the last operation of its last piece, as JSON: the
// loops running, outermost first, each with its line, its counter's value
// and, for a colour pass, which of how many; and the last point plotted.
EMSCRIPTEN_KEEPALIVE const char *sd_run_where(Run *run)
{
    const LoopState &noted = run->recorder.noted();
    std::string loops;
    for (int i = 0; i < noted.depth(); ++i) {
        const LoopState::Loop &loop = noted.loop(i);
        char text[160];
        std::snprintf(text, sizeof text, "%s{\"line\":%u,\"value\":%.17g,\"pass\":%d,\"passes\":%d}",
                      i ? "," : "", static_cast<unsigned>(loop.where.line()), loop.value, loop.pass, loop.passes);
        loops += text;
    }
    char point[96] = "null";
    if (noted.hasPoint())
        std::snprintf(point, sizeof point, "[%.9g,%.9g]", noted.lastPoint().x, noted.lastPoint().y);
    run->where = "{\"loops\":[" + loops + "],\"point\":" + point + "}";
    return run->where.c_str();
}

// The last failure as JSON, valid until the next call that fails.
EMSCRIPTEN_KEEPALIVE const char *sd_error()
{
    return lastError.c_str();
}

} // extern "C"
