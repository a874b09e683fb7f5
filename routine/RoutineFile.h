#pragma once

#include "Fault.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace sweepdraw {

// Why a routine file was not read: the system's error, or that it is not a
// regular file, or is larger than the limit it was read with.
struct FileRefusal
{
    enum class Kind { System, NotRegular, TooLarge };

    Kind kind = Kind::System;
    int error = 0; // the errno value, for Kind::System

    // As a fault of the file as a whole: the system's own reason ("No such
    // file or directory", "Is a directory", "Permission denied"), or that
    // it is not a regular file, or is larger than `limit` bytes.
    FaultMessage fault(std::size_t limit) const;
};

// Why the file at `path` would not be read, as far as its type and size
// tell without opening it; nothing if it would be.
std::variant<std::monostate, FileRefusal> routineFileRefusal(const std::string &path, std::size_t limit);

// The bytes of the routine file at `path`, or why they were not read.
//
// Only a regular file, or a symbolic link to one, is read. It is looked at
// before it is opened, so that a device is never opened at all, and opened
// without blocking, so that a FIFO that took its place meanwhile answers at
// once; it is looked at again once open, and read only if it is still a
// regular file of at most `limit` bytes, and never beyond them. A directory
// is refused as the system refuses to read one, with EISDIR.
std::variant<std::string, FileRefusal> readRoutineFile(const std::string &path, std::size_t limit);

// Where the first byte of `text` that is not part of valid UTF-8 is, as a
// line and a column counted in characters from 1; nothing if all of it is.
std::optional<std::pair<int, int>> firstInvalidUtf8(std::string_view text);

} // namespace sweepdraw
