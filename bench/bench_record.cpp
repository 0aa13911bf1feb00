// What `rm425t record` costs next to a program that does nothing but start Qt's core: wall time from process
// start to exit and peak memory of each, medians of several runs, and their ratios.

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Run
{
    double ms = 0;
    double peakMb = 0;
};

// One child from fork to exit, its output thrown away.
Run runChild(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    const auto ended = std::chrono::steady_clock::now();
    return { std::chrono::duration<double, std::milli>(ended - started).count(), usage.ru_maxrss / 1024.0 };
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--bare") {
        QCoreApplication app(argc, argv);
        return 0;
    }
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;
    // A settings folder of our own, so the user's files are never read.
    char folder[] = "/tmp/bench_record_XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    setenv("HOME", folder, 1);
    setenv("XDG_CONFIG_HOME", folder, 1);
    constexpr int kRuns = 15;
    std::vector<double> bareMs, bareMb, recordMs, recordMb;
    for (int i = 0; i < kRuns; ++i) {
        const Run bare = runChild({ self, "--bare" });
        const Run record = runChild({ RM425T_PROGRAM_PATH, "record" });
        bareMs.push_back(bare.ms);
        bareMb.push_back(bare.peakMb);
        recordMs.push_back(record.ms);
        recordMb.push_back(record.peakMb);
    }
    std::printf("medians of %d runs\n", kRuns);
    std::printf("bare QCoreApplication program: %.1f ms, peak memory %.1f MB\n", median(bareMs), median(bareMb));
    std::printf("rm425t record:                 %.1f ms, peak memory %.1f MB\n", median(recordMs), median(recordMb));
    std::printf("ratio: wall time %.2f x, peak memory %.2f x\n", median(recordMs) / median(bareMs),
        median(recordMb) / median(bareMb));
    return 0;
}
