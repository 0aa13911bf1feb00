#pragma once

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>

// Runs the call as on a disk that fills up after `bytes` bytes of any file: a file size limit, which binds
// root as well; a write past it fails instead of ending the process.
template<typename Call> auto withFileSizeLimit(rlim_t bytes, Call call)
{
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = bytes;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const auto result = call();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}
#endif
