// Boost.Context's ucontext backend, which the sanitizer build uses because
// it tells AddressSanitizer of every switch between stacks (BOOST_USE_ASAN),
// keeps the record of the context running on each thread in the compiled
// library, and Debian's library is built for the default backend only.
// These are its definitions, as the library's own sources give them.
#if defined(BOOST_USE_UCONTEXT)

#include <boost/context/fiber.hpp>

namespace boost::context::detail {

namespace {

// The context running on this thread; the thread's own to begin with.
thread_local fiber_activation_record *t_current = nullptr;
thread_local std::size_t t_initializers = 0;

} // namespace

fiber_activation_record_initializer::fiber_activation_record_initializer() noexcept
{
    if (t_initializers++ == 0)
        t_current = new fiber_activation_record();
}

fiber_activation_record_initializer::~fiber_activation_record_initializer()
{
    if (--t_initializers == 0)
        delete t_current;
}

fiber_activation_record *&fiber_activation_record::current() noexcept
{
    thread_local fiber_activation_record_initializer initializer;
    return t_current;
}

} // namespace boost::context::detail

#endif
