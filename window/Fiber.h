#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>

#include <ucontext.h>

namespace sweepdraw {

// Runs a function a piece at a time on the calling thread, on a stack of its
// own: resume() runs it until it calls Fiber::suspend() or returns, and the
// next resume() goes on from there. Nothing runs concurrently, so whatever
// the function touches needs no locking.
//
// The function is expected to run to its end before the fiber is destroyed:
// destroying a suspended fiber abandons its stack without unwinding it.
class Fiber final
{
public:
    static constexpr std::size_t kDefaultStackSize = 1024 * 1024;

    explicit Fiber(std::function<void()> body, std::size_t stackSize = kDefaultStackSize);
    ~Fiber();

    Fiber(const Fiber &) = delete;
    Fiber &operator=(const Fiber &) = delete;

    // Runs the function until it suspends or returns; true once it has
    // returned. An exception that escapes the function is thrown here.
    // Must not be called from inside a fiber, nor once it has returned.
    bool resume();

    bool finished() const noexcept { return m_finished; }

    // Called from inside a fiber's function: returns from the resume() that
    // is running it, and carries on when it is resumed again.
    static void suspend();

private:
    static void entry(unsigned high, unsigned low);
    void run();
    void switchIn();
    void switchOut(bool forGood);

    std::function<void()> m_body;
    std::unique_ptr<char[]> m_stack;
    std::size_t m_stackSize;
    ucontext_t m_context{};
    ucontext_t m_caller{};
    bool m_finished = false;
    std::exception_ptr m_escaped;

    // Where the caller's stack is, for AddressSanitizer's bookkeeping.
    void *m_callerFakeStack = nullptr;
    void *m_fakeStack = nullptr;
    const void *m_callerStackBottom = nullptr;
    std::size_t m_callerStackSize = 0;
};

} // namespace sweepdraw
