#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <optional>

#include <ModalSeam.h>

// Runs the benchmarks of a program that starts Periolex windows: off screen, with every modal
// question answered by the seam, and with settings and desktop files in a folder of their own, so
// that a Periolex on this desktop is never asked to open the benchmark's catalogues and nothing
// lands in the user's folders. `withApplication` is false for benchmarks that make their own
// QApplication (in child processes).
inline int RunOffscreenBenchmarks(int argc, char** argv, bool withApplication = true) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<QApplication> application;
    if (withApplication) {
        application.emplace(argc, argv);
        ModalSeam::Enable(true);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
