#include "RoutineWords.h"

#include <QCoreApplication>

namespace sweepdraw {

QString wordedFault(const RoutineMessage &message)
{
    const QString wording = QCoreApplication::translate("RoutineFault", englishOf(message.fault));
    return QString::fromStdString(withValues(wording.toStdString(), message.values));
}

QString wordedRefusal(const RoutineMessage &message, const QString &fileName)
{
    return QString::fromStdString(message.located(fileName.toStdString(), wordedFault(message).toStdString()));
}

QString wordedRunTimeError(const RuntimeError &error)
{
    if (const auto *routine = dynamic_cast<const RoutineRunError *>(&error))
        return wordedRefusal(routine->message(), QString::fromStdString(routine->fileName()));
    return QString::fromUtf8(error.what());
}

} // namespace sweepdraw
