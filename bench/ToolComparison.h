#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <string>

#include <ResourceLookup.h>

#include "InTurn.h"
#include "res/Resource.h"

// What the benchmarks that weigh Periolex against other programs share beside taking turns
// (InTurn.h): a scratch folder, the peak memory, and the start of a program that makes new
// catalogues.

inline QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

inline QString InFolder(const QString& name) {
    return Folder().filePath(name);
}

inline double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A path as one word of a shell command.
inline std::string Quoted(const QString& path) {
    std::string word(1, '\'');
    word += path.toStdString();
    word += '\'';
    return word;
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
