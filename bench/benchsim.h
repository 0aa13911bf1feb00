#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <sys/resource.h>

// The module simulator as a child process of a benchmark; returns the device path it prints first, or an
// empty text when it did not start.
inline QString startSimulator(QProcess &sim, const QStringList &arguments)
{
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral(RM425T_SIM_PATH), arguments + QStringList { QStringLiteral("--quiet-log") });
    if (!sim.waitForStarted(5000))
        return {};
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(5000))
            return {};
    }
    return QString::fromLocal8Bit(sim.readLine().trimmed());
}

inline void stopSimulator(QProcess &sim)
{
    sim.write("quit\n");
    if (!sim.waitForFinished(3000))
        sim.kill();
    sim.waitForFinished(1000);
}

// CPU time this process has used so far, user and system, in milliseconds.
struct CpuTime
{
    double user = 0;
    double system = 0;
};

inline CpuTime cpuTimeSoFar()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return { ms(usage.ru_utime), ms(usage.ru_stime) };
}
