#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <string>

#include <ResourceLookup.h>

#include "res/Resource.h"

// What the benchmarks that weigh Periolex against other programs share: a scratch folder, the
// CPU time of this process and of the tools it ran, the peak memory, and the start of a
// program that makes new catalogues.

inline QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

inline QString InFolder(const QString& name) {
    return Folder().filePath(name);
}

// User and system CPU seconds of this process (RUSAGE_SELF), or of its waited-for children
// (RUSAGE_CHILDREN).
inline double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Wall and CPU seconds of one piece of work.
struct Cost {
    double wall = 0;
    double cpu = 0;
};

// Runs `work` and measures it: the CPU of this process and of the child processes it waited
// for, so that a tool run through the shell counts whole.
template <typename Work>
Cost Measure(Work&& work) {
    const auto cpu = [] { return CpuSeconds(RUSAGE_SELF) + CpuSeconds(RUSAGE_CHILDREN); };
    const double cpuStart = cpu();
    const auto wallStart = std::chrono::steady_clock::now();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count(),
            cpu() - cpuStart};
}

// Our side and a tool's side of one comparison, taking turns, summed over the iterations.
// Reported as seconds per iteration and as ratios ours / tool, which are what the goals name.
class Comparison {
public:
    void AddOurs(const Cost& cost) { Add(m_ours, cost); }
    void AddTool(const Cost& cost) { Add(m_tool, cost); }
    // Runs both sides once for iteration `n`, taking turns at going first, so that neither side
    // always finds the caches warmed by the other.
    template <typename Ours, typename Tool>
    static void InTurn(benchmark::IterationCount n, const Ours& ours, const Tool& tool) {
        if (n % 2 == 0) {
            ours();
            tool();
        } else {
            tool();
            ours();
        }
    }

    void Report(benchmark::State& state) const {
        const auto perIteration = [&](double total) {
            return total / static_cast<double>(state.iterations());
        };
        state.counters["ours_cpu_s"] = perIteration(m_ours.cpu);
        state.counters["tool_cpu_s"] = perIteration(m_tool.cpu);
        state.counters["cpu_ratio"] = m_tool.cpu > 0 ? m_ours.cpu / m_tool.cpu : 0;
        state.counters["ours_wall_s"] = perIteration(m_ours.wall);
        state.counters["tool_wall_s"] = perIteration(m_tool.wall);
        state.counters["wall_ratio"] = m_tool.wall > 0 ? m_ours.wall / m_tool.wall : 0;
    }

private:
    static void Add(Cost& sum, const Cost& cost) {
        sum.wall += cost.wall;
        sum.cpu += cost.cpu;
    }

    Cost m_ours;
    Cost m_tool;
};

// A path as one word of a shell command.
inline std::string Quoted(const QString& path) {
    return "'" + path.toStdString() + "'";
}

// Runs the benchmarks with the application's texts, new catalogues coming from the template that
// the build puts beside the benchmarks' folder.
inline int RunCatalogueBenchmarks(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (!qEnvironmentVariableIsSet("PERIOLEX_SYSTEM_DIR")) {
        qputenv("PERIOLEX_SYSTEM_DIR",
                QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../res"))
                    .absolutePath()
                    .toUtf8());
    }
    AfxSetResourceTables(&PeriolexResources());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
