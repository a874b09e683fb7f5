#pragma once

#include "DrawingSurface.h"
#include "RecordingSurface.h"

#include <string>
#include <string_view>

namespace sweepdraw {

// Writes every operation made on it as one line of text, and draws nothing:
// the operation's name, then its arguments as the surface received them,
// separated by single spaces; an int as such, a float with 9 significant
// digits (%.9g, enough to tell any two floats apart) and a colour as
// #rrggbb in lower case:
//
//     SetPenWidth 3
//     DrawCircle 8000 2000 500 #ffff00
//
// The lines are kept until there are kFlushSize bytes of them, or until
// flush(), and then handed to the writer given, so that a program that
// ends in the middle of a drawing can still say what the drawing made.
class TraceSurface final : public DrawingSurface
{
public:
    static constexpr std::size_t kFlushSize = 64 * 1024;

    class Writer
    {
    public:
        virtual void write(std::string_view lines) = 0;

    protected:
        ~Writer() = default;
    };

    explicit TraceSurface(Writer &writer)
        : m_writer(writer)
    { }

    // The line `call` is written as, without its line end.
    static std::string lineOf(const RecordingSurface::Call &call);

    // Hands the lines kept so far to the writer.
    void flush();

protected:
    Status doSetPenWidth(int width) override;
    Status doPlotPoint(float x, float y, Colour colour) override;
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override;
    Status doDrawCircle(float x, float y, float radius, Colour colour) override;
    Status doClearSurface() override;

private:
    Status add(const RecordingSurface::Call &call);

    Writer &m_writer;
    std::string m_lines;
};

} // namespace sweepdraw
