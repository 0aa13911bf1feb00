#include "eventlog.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

bool g_enabled = true;

const QElapsedTimer &startClock()
{
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started;
}

} // namespace

void setEventLogEnabled(bool enabled)
{
    g_enabled = enabled;
    startClock();
}

void logEvent(const QString &line)
{
    if (!g_enabled)
        return;
    const qint64 ms = startClock().elapsed();
    std::fprintf(stderr, "%4lld.%03lld %s\n", static_cast<long long>(ms / 1000),
        static_cast<long long>(ms % 1000), line.toLocal8Bit().constData());
    std::fflush(stderr);
}
