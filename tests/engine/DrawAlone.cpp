// The engine on its own, linked with no Qt: each scene drawn by its
// function and by its own file read as a routine, on pictures of the
// window's size, which must come out the same and not blank.
// Usage: DrawAlone SCENES_DIR

#include "CompiledRoutine.h"
#include "Design.h"
#include "RasterSurface.h"
#include "Scenes.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <variant>

using namespace sweepdraw;

namespace {

struct Scene
{
    const char *file;
    void (*draw)(DrawingSurface &);
};

bool samePixels(const RasterSurface &a, const RasterSurface &b)
{
    const auto bytes = static_cast<std::size_t>(a.size().height * a.bytesPerLine());
    return a.size() == b.size() && std::memcmp(a.pixels(), b.pixels(), bytes) == 0;
}

bool blank(const RasterSurface &picture)
{
    for (int y = 0; y < picture.size().height; ++y)
        for (int x = 0; x < picture.size().width; ++x)
            if (picture.pixel(x, y) != 0)
                return false;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCENES_DIR\n", argv[0]);
        return 2;
    }
    const Scene scenes[] = {{"Mountains.cpp", DrawMountains},
                            {"Water.cpp", DrawWater},
                            {"Sunshine.cpp", DrawSunshine},
                            {"Bridge.cpp", DrawBridge}};
    int failed = 0;
    for (const Scene &scene : scenes) {
        const std::string path = std::string(argv[1]) + "/" + scene.file;
        const auto routine = CompiledRoutine::compileFile(path);
        if (const auto *message = std::get_if<RoutineMessage>(&routine)) {
            std::fprintf(stderr, "%s\n", message->format(path).c_str());
            return 1;
        }
        RasterSurface drawn(kDesignSize);
        RasterSurface read(kDesignSize);
        scene.draw(drawn);
        std::get<CompiledRoutine>(routine).run(read);
        if (blank(drawn) || !samePixels(drawn, read)) {
            std::fprintf(stderr, "%s: drawn alone, its file does not draw the same picture\n", scene.file);
            failed = 1;
        }
    }
    return failed;
}
