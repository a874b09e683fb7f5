#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace sweepdraw {

// The files of the learner's routines: kept in a folder of the program's
// own data (QStandardPaths::AppDataLocation), each a routine file of the
// scenes' shape, read and written whole.
namespace RoutineFiles {

// The folder the routines are kept in.
QString folder();

// What the folder holds: its routine files, written last first, and a line
// for each entry named like one that is not a regular file, saying why it
// is passed over: a directory, a FIFO, a device or a link to one, a link to
// nothing. Nothing is opened to find out.
struct Contents
{
    QStringList routines;
    QStringList passedOver;
};
Contents contents();

// What tells one version of a file from another without reading it: the
// file the name leads to and when it was last written. Every write takes a
// new file (see FileWriter), so a write made elsewhere always changes it.
struct Stamp
{
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;

    friend bool operator==(const Stamp &, const Stamp &) = default;
};

// The stamp of the file at `path`, or nothing if there is none.
std::optional<Stamp> stampOf(const QString &path);

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
// reaches, and only a regular file (see readRoutineFile), so that neither
// a FIFO nor a device can hold the program up or fill its memory. The error
// gives the system's reason, and quotes the path escaped.
Read read(const QString &path);

// Writes `text` as the whole of the file at `path`, in UTF-8, through the
// program's FileWriter: why it could not, or an empty string. The file is
// replaced only once the new text is wholly written; until then, and if
// writing fails, it is as it was.
QString write(const QString &path, const QString &text);

} // namespace RoutineFiles

} // namespace sweepdraw
