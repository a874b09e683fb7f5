#include "RunTimeErrorLine.h"

#include <QDebug>

namespace sweepdraw {

void writeRunTimeError(const QString &message, bool endsTheDrawing)
{
    if (endsTheDrawing)
        qCritical().noquote() << "sweepdraw: run-time error:" << message;
    else
        qWarning().noquote() << "sweepdraw: run-time error:" << message;
}

} // namespace sweepdraw
