// Fault injection for the configuration library's tests: a test defines its
// own extern "C" version of a C library function, which asks failNow()
// whether to fail and otherwise passes the call on to real(). The library's
// calls resolve to the test's definition; the armed call fails once with the
// armed errno.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

#ifndef __THROW
#define __THROW
#endif

namespace {

struct Fault
{
    const char *function = nullptr;
    int countdown = 0; // the armed call is the countdown-th one
    int error = 0;
    bool injected = false;
};
Fault fault;

void arm(const char *function, int nth, int error)
{
    fault = Fault {function, nth, error, false};
}

void disarm()
{
    fault.function = nullptr;
}

bool failNow(const char *function)
{
    if (!fault.function || strcmp(fault.function, function) != 0 || fault.injected)
        return false;
    if (--fault.countdown > 0)
        return false;
    fault.injected = true;
    errno = fault.error;
    return true;
}

template<typename Function>
Function real(const char *name)
{
    void *symbol = dlsym(RTLD_NEXT, name);
    if (!symbol)
        abort();
    return reinterpret_cast<Function>(symbol);
}

} // namespace
