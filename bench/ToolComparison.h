#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
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
