#pragma once

#include <QString>

namespace sweepdraw {

// The files of the learner's routines: kept in a folder of the program's
// own data (QStandardPaths::AppDataLocation), each a routine file of the
// scenes' shape, read and written whole.
namespace RoutineFiles {

// The folder the routines are kept in.
QString folder();

// The routine in the folder written last, or an empty string if there is
// none.
QString lastEdited();

// Whether `path` is that of a file in the folder.
bool isKept(const QString &path);

// A path in the folder for a file named `fileName` ("MySunshine.cpp"), or,
// where that is taken, the same with the first free number after its base
// name ("MySunshine2.cpp"). Makes the folder if it is not there yet.
QString freePath(const QString &fileName);

// What reading a routine file gave: its text, or why there is none.
struct Read
{
    QString text;
    QString error; // empty when the text was read
};

// Reads the routine file at `path`: UTF-8, at most a size no routine file
// reaches.
Read read(const QString &path);

// Writes `text` as the whole of the file at `path`, in UTF-8, through the
// program's FileWriter: why it could not, or an empty string. The file is
// replaced only once the new text is wholly written; until then, and if
// writing fails, it is as it was.
QString write(const QString &path, const QString &text);

} // namespace RoutineFiles

} // namespace sweepdraw
