#include "ErrorLine.h"

#include "RuntimeErrorLine.h"

#include <QByteArray>

#include <cstdio>

namespace sweepdraw {

void printError(const QString &message)
{
    const QByteArray line = "sweepdraw: " + escapeForMessage(message).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace sweepdraw
