#include "LoopRecorder.h"

namespace sweepdraw {

thread_local constinit LoopRecorder *LoopRecorder::s_active = nullptr;

} // namespace sweepdraw
