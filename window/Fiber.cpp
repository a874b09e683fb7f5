#include "Fiber.h"

#include <cstdint>
#include <stdexcept>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace sweepdraw {

namespace {

// The fiber whose function is running, if any.
thread_local Fiber *t_running = nullptr;

// AddressSanitizer keeps its own picture of which stack is in use; it is told
// of every switch, before and after, or it takes one stack's frames for
// another's.
void startSwitch([[maybe_unused]] void **fakeStack, [[maybe_unused]] const void *bottom,
                 [[maybe_unused]] std::size_t size)
{
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_start_switch_fiber(fakeStack, bottom, size);
#endif
}

void finishSwitch([[maybe_unused]] void *fakeStack, [[maybe_unused]] const void **bottom,
                  [[maybe_unused]] std::size_t *size)
{
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_finish_switch_fiber(fakeStack, bottom, size);
#endif
}

// Saves the running context in `from` and carries on in `to`; returns when
// `from` is resumed. Not swapcontext: AddressSanitizer warns on stderr the
// first time that is called, though the switches are annotated for it.
[[gnu::noinline]] void switchContext(ucontext_t &from, const ucontext_t &to)
{
    // On the stack this frame stays on while `from` is suspended, so that it
    // reads true once `from` is resumed.
    volatile bool resumed = false;
    getcontext(&from);
    if (resumed)
        return;
    resumed = true;
    setcontext(&to);
}

} // namespace

Fiber::Fiber(std::function<void()> body, std::size_t stackSize)
    : m_body(std::move(body))
    , m_stack(std::make_unique_for_overwrite<char[]>(stackSize))
    , m_stackSize(stackSize)
{
    if (getcontext(&m_context) != 0)
        throw std::runtime_error("Fiber: getcontext failed");
    m_context.uc_stack.ss_sp = m_stack.get();
    m_context.uc_stack.ss_size = m_stackSize;
    m_context.uc_link = nullptr;
    // makecontext passes int arguments only: the pointer goes in two halves.
    const auto self = reinterpret_cast<std::uintptr_t>(this);
    makecontext(&m_context, reinterpret_cast<void (*)()>(&Fiber::entry), 2,
                static_cast<unsigned>(self >> 32), static_cast<unsigned>(self & 0xffffffffu));
}

Fiber::~Fiber() = default;

void Fiber::entry(unsigned high, unsigned low)
{
    reinterpret_cast<Fiber *>((std::uintptr_t{high} << 32) | low)->run();
}

void Fiber::run()
{
    finishSwitch(nullptr, &m_callerStackBottom, &m_callerStackSize);
    try {
        m_body();
    } catch (...) {
        m_escaped = std::current_exception();
    }
    m_finished = true;
    switchOut(true);
}

bool Fiber::resume()
{
    if (m_finished || t_running)
        throw std::logic_error("Fiber: resumed when finished, or from inside a fiber");
    t_running = this;
    startSwitch(&m_callerFakeStack, m_stack.get(), m_stackSize);
    switchContext(m_caller, m_context);
    finishSwitch(m_callerFakeStack, nullptr, nullptr);
    t_running = nullptr;
    if (m_escaped)
        std::rethrow_exception(std::exchange(m_escaped, nullptr));
    return m_finished;
}

void Fiber::suspend()
{
    Fiber *fiber = t_running;
    if (!fiber)
        throw std::logic_error("Fiber: suspended outside a fiber");
    fiber->switchOut(false);
    fiber->switchIn();
}

void Fiber::switchOut(bool forGood)
{
    // A fiber that is done needs no fake stack kept for it.
    startSwitch(forGood ? nullptr : &m_fakeStack, m_callerStackBottom, m_callerStackSize);
    if (forGood)
        setcontext(&m_caller);
    switchContext(m_context, m_caller);
}

void Fiber::switchIn()
{
    finishSwitch(m_fakeStack, &m_callerStackBottom, &m_callerStackSize);
}

} // namespace sweepdraw
