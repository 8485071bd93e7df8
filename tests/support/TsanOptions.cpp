// Read by the thread sanitizer at start-up when this program is built with it; unused otherwise.
// Points it at the one list of suppressions, so a test program run by hand or by CTest is checked
// the same way (TSAN_OPTIONS, when set, still adds to or overrides this).
extern "C" const char* __tsan_default_options();

extern "C" const char* __tsan_default_options()
{
    return "suppressions=" SKORREL_TSAN_SUPPRESSIONS;
}

#if defined(__SANITIZE_THREAD__) && defined(__linux__)
#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

// QProcess starts programs with clone(CLONE_VM | CLONE_VFORK): the child runs in this process's
// memory and its calls into the sanitizer's interceptors before exec change the parent thread's
// sanitizer state, after which that thread's mutex operations go unseen and every queue it shares
// reads as racing. A child with its own copy of memory (a plain fork) leaves the parent intact.
extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...)
{
    va_list rest;
    va_start(rest, arg);
    pid_t* parentTid = va_arg(rest, pid_t*);
    void* tls = va_arg(rest, void*);
    pid_t* childTid = va_arg(rest, pid_t*);
    va_end(rest);
    using Clone = int (*)(int (*)(void*), void*, int, void*, ...);
    static const auto real = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
    if ((flags & CLONE_VFORK) && (flags & CLONE_VM))
        flags &= ~(CLONE_VM | CLONE_VFORK);
    return real(fn, stack, flags, arg, parentTid, tls, childTid);
}

namespace {
// Programs a test starts (the sanitized skorrel binary) are checked with the same list.
const bool childrenShareSuppressions = setenv("TSAN_OPTIONS", "suppressions=" SKORREL_TSAN_SUPPRESSIONS, 0) == 0;
}  // namespace
#endif
