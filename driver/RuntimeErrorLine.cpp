#include "RuntimeErrorLine.h"

#include "FaultWords.h"
#include "MessageText.h"
#include "RuntimeError.h"

#include <QDebug>

namespace sweepdraw {

QString escapeForMessage(const QString &text)
{
    return QString::fromStdString(escapeForMessage(text.toStdString()));
}

void writeRuntimeError(const QString &message, bool endsTheDrawing)
{
    if (endsTheDrawing)
        qCritical().noquote() << "sweepdraw: run-time error:" << escapeForMessage(message);
    else
        qWarning().noquote() << "sweepdraw: run-time error:" << escapeForMessage(message);
}

void writeRuntimeError(const RuntimeError &failure, bool endsTheDrawing)
{
    writeRuntimeError(wordedRuntimeError(failure), endsTheDrawing);
}

} // namespace sweepdraw
