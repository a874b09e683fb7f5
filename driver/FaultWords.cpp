#include "FaultWords.h"

#include "FaultEnglish.h"
#include "RuntimeError.h"

#include <QCoreApplication>

namespace sweepdraw {

namespace {

std::string translated(FaultKind kind)
{
    return QCoreApplication::translate("Fault", englishOf(kind)).toStdString();
}

} // namespace

QString wordedFault(const FaultMessage &message)
{
    return QString::fromStdString(withValues(translated(message.kind), message.values, translated));
}

QString wordedRefusal(const FaultMessage &message, const QString &fileName)
{
    return QString::fromStdString(message.located(fileName.toStdString(), wordedFault(message).toStdString()));
}

QString wordedRuntimeError(const RuntimeError &error)
{
    return wordedRefusal(error.message(), QString::fromStdString(error.fileName()));
}

} // namespace sweepdraw
