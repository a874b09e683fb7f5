#pragma once

#include <string>

namespace sweepdraw {

class RuntimeError;
class Status;

// How a command's failure is put into words: what() as the engine words it,
// in English, unless the layer that shows it has installed a wording of its
// own, as the window does for routines' errors in the user's language.
using FailureWording = std::string (*)(const RuntimeError &error);
void setFailureWording(FailureWording wording);
std::string wordedFailure(const RuntimeError &error);
// A surface's refusal, worded as the error check() would make of it.
std::string wordedFailure(const Status &status);

} // namespace sweepdraw
