#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

namespace kestrel::bench {

// Runs the benchmarks of a widget program inside a QApplication, on the
// offscreen platform unless QT_QPA_PLATFORM names another (xcb under Xvfb
// measures what a user's X server adds).
inline int RunQtBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace kestrel::bench
