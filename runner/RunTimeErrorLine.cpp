#include "RunTimeErrorLine.h"

#include "MessageText.h"
#include "RuntimeError.h"

#include <QDebug>

namespace sweepdraw {

namespace {

QString inEnglish(const RuntimeError &error)
{
    return QString::fromUtf8(error.what());
}

FailureWording g_wording = inEnglish;

} // namespace

void setFailureWording(FailureWording wording)
{
    g_wording = wording ? wording : inEnglish;
}

QString wordedFailure(const RuntimeError &error)
{
    return g_wording(error);
}

QString escapeForMessage(const QString &text)
{
    return QString::fromStdString(escapeForMessage(text.toStdString()));
}

void writeRunTimeError(const QString &message, bool endsTheDrawing)
{
    if (endsTheDrawing)
        qCritical().noquote() << "sweepdraw: run-time error:" << escapeForMessage(message);
    else
        qWarning().noquote() << "sweepdraw: run-time error:" << escapeForMessage(message);
}

} // namespace sweepdraw
