#include "RoutineFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sweepdraw {

namespace {

// Whether `info` is that of a file to read; why not otherwise.
std::variant<std::monostate, FileRefusal> refusalOf(const struct stat &info, std::size_t limit)
{
    if (S_ISDIR(info.st_mode))
        return FileRefusal{FileRefusal::Kind::System, EISDIR};
    if (!S_ISREG(info.st_mode))
        return FileRefusal{FileRefusal::Kind::NotRegular};
    if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > limit)
        return FileRefusal{FileRefusal::Kind::TooLarge};
    return std::monostate();
}

// Closes the descriptor it holds when it goes.
class Descriptor final
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The length of the valid UTF-8 sequence at `at`, or 0.
std::size_t utf8Length(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned first = byte(at);
    if (first < 0x80)
        return 1;
    const auto follows = [&](std::size_t i, unsigned low, unsigned high) {
        return byte(i) >= low && byte(i) <= high;
    };
    // The ranges of the well-formed sequences, which exclude overlong forms
    // and the surrogates.
    if (first >= 0xC2 && first <= 0xDF)
        return follows(at + 1, 0x80, 0xBF) ? 2 : 0;
    if (first >= 0xE0 && first <= 0xEF) {
        const unsigned low = first == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = first == 0xED ? 0x9F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2, 0x80, 0xBF) ? 3 : 0;
    }
    if (first >= 0xF0 && first <= 0xF4) {
        const unsigned low = first == 0xF0 ? 0x90 : 0x80;
        const unsigned high = first == 0xF4 ? 0x8F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2, 0x80, 0xBF) && follows(at + 3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

} // namespace

FaultMessage FileRefusal::fault(std::size_t limit) const
{
    switch (kind) {
    case Kind::System:
        return {FaultKind::CannotRead, {std::strerror(error)}, 0, 0};
    case Kind::NotRegular:
        return {FaultKind::CannotRead, {phrase(FaultKind::NotRegularFile)}, 0, 0};
    case Kind::TooLarge:
        return {FaultKind::FileTooLarge, {std::to_string(limit)}, 0, 0};
    }
    return {FaultKind::CannotRead, {}, 0, 0};
}

std::variant<std::monostate, FileRefusal> routineFileRefusal(const std::string &path, std::size_t limit)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return FileRefusal{FileRefusal::Kind::System, errno};
    return refusalOf(info, limit);
}

std::variant<std::string, FileRefusal> readRoutineFile(const std::string &path, std::size_t limit)
{
    if (auto refused = routineFileRefusal(path, limit); std::holds_alternative<FileRefusal>(refused))
        return std::get<FileRefusal>(refused);

    struct stat info {};
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0)
        return FileRefusal{FileRefusal::Kind::System, errno};
    if (::fstat(file.fd(), &info) != 0)
        return FileRefusal{FileRefusal::Kind::System, errno};
    if (auto refused = refusalOf(info, limit); std::holds_alternative<FileRefusal>(refused))
        return std::get<FileRefusal>(refused);

    // One byte more than the limit allows tells a file that grew since.
    std::string text(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t size = 0;
    while (size < text.size() && size <= limit) {
        const ssize_t got = ::read(file.fd(), text.data() + size, text.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileRefusal{FileRefusal::Kind::System, errno};
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
        if (size == text.size() && size <= limit)
            text.resize(std::min(text.size() * 2, limit + 1));
    }
    if (size > limit)
        return FileRefusal{FileRefusal::Kind::TooLarge};
    text.resize(size);
    return text;
}

std::optional<std::pair<int, int>> firstInvalidUtf8(std::string_view text)
{
    // Valid text is by far the common case: its place is counted only once
    // a sequence fails, over the characters before it, all whole.
    std::size_t at = 0;
    while (at < text.size()) {
        // Eight bytes at a time while none has its high bit set: ASCII.
        while (at + 8 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + at, sizeof word);
            if (word & 0x8080808080808080u)
                break;
            at += 8;
        }
        if (at == text.size())
            break;
        const std::size_t length = static_cast<unsigned char>(text[at]) < 0x80 ? 1 : utf8Length(text, at);
        if (length == 0)
            break;
        at += length;
    }
    if (at == text.size())
        return std::nullopt;
    const std::string_view before = text.substr(0, at);
    const std::size_t lineStart = before.rfind('\n') + 1; // 0 on the first line
    const auto line = 1 + std::count(before.begin(), before.end(), '\n');
    const auto column = 1 + std::count_if(before.begin() + static_cast<std::ptrdiff_t>(lineStart), before.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    return std::pair(static_cast<int>(line), static_cast<int>(column));
}

} // namespace sweepdraw
