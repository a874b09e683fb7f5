#include "FailureWording.h"

#include "RuntimeError.h"

namespace sweepdraw {

namespace {

std::string inEnglish(const RuntimeError &error)
{
    return error.what();
}

FailureWording g_wording = inEnglish;

} // namespace

void setFailureWording(FailureWording wording)
{
    g_wording = wording ? wording : inEnglish;
}

std::string wordedFailure(const RuntimeError &error)
{
    return g_wording(error);
}

std::string wordedFailure(const Status &status)
{
    return g_wording(RuntimeError(status.fault()));
}

} // namespace sweepdraw
