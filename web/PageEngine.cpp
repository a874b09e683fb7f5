// The engine as the page sees it: a few functions with C names over the
// core's pictures, the scenes and the routine language, called from
// JavaScript; the runner's are in PageRunner.cpp. Nothing here throws
// across the boundary: a failure is kept as data (sd_error) and the call
// says only whether it failed.
//
// A picture's premultiplied ARGB words stay readable as they are, for the
// page's tests to take their digest exactly as the desktop's tests do.

#include "PageEngine.h"
#include "PageJson.h"

#include "Fault.h"
#include "FaultEnglish.h"
#include "RuntimeError.h"
#include "Scenes.h"

#include <emscripten/emscripten.h>

#include <new>
#include <optional>
#include <variant>

using namespace sweepdraw;
using namespace sweepdraw::page;

namespace {

// The last failure, as a JSON object: {"kind":"refused"|"runtime", ...},
// see faultJson and failureJson.
std::string lastError = "null";

// A fault as data, for the page to word in its own language: the kind,
// its English wording (the key of its translation in the "Fault" context),
// the values that go in it, a phrase among them as {"phrase": its English
// wording}, and where it is.
std::string faultJson(const char *kind, const FaultMessage &message, const std::string &fileName)
{
    Json json;
    json.open('{').key("kind").text(kind).key("fault").number(static_cast<int>(message.kind));
    json.key("wording").text(englishOf(message.kind)).key("values").open('[');
    for (const std::string &value : message.values) {
        if (const std::optional<FaultKind> named = phraseIn(value))
            json.open('{').key("phrase").text(englishOf(*named)).close('}');
        else
            json.text(value);
    }
    json.close(']').key("file").text(fileName).key("line").number(message.line).key("column").number(message.column);
    return json.close('}').str();
}

// Runs `draw`, keeping what stopped it: whether it ran to the end.
template <typename Draw>
bool drawKeepingError(Draw &&draw)
{
    try {
        draw();
        return true;
    } catch (const RuntimeError &error) {
        keepError(failureJson(error));
    } catch (const std::bad_alloc &error) {
        keepError(failureJson(error));
    }
    return false;
}

using SceneFunction = void (*)(DrawingSurface &);

// The scenes in the order of the window's buttons.
constexpr SceneFunction kScenes[] = {DrawMountains, DrawWater, DrawSunshine, DrawBridge};

} // namespace

namespace sweepdraw::page {

std::string failureJson(const std::exception &error)
{
    if (const auto *fault = dynamic_cast<const RuntimeError *>(&error))
        return faultJson("runtime", fault->message(), fault->fileName());
    return Json().open('{').key("kind").text("runtime").key("message").text(error.what()).close('}').str();
}

void keepError(std::string json)
{
    lastError = std::move(json);
}

} // namespace sweepdraw::page

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

// The routine `length` bytes at `text` hold, read as the file `fileName`,
// or nullptr when it is refused (sd_error).
EMSCRIPTEN_KEEPALIVE Routine *sd_compile(const char *fileName, const char *text, int length)
{
    auto compiled = CompiledRoutine::compile(fileName, std::string_view(text, static_cast<std::size_t>(length)));
    if (const auto *message = std::get_if<FaultMessage>(&compiled)) {
        lastError = faultJson("refused", *message, fileName);
        return nullptr;
    }
    return new Routine(std::move(std::get<CompiledRoutine>(compiled)));
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

// The last failure as JSON, valid until the next call that fails.
EMSCRIPTEN_KEEPALIVE const char *sd_error()
{
    return lastError.c_str();
}

} // extern "C"
