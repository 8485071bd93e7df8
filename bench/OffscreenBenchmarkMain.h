#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

// Runs the registered benchmarks inside a QApplication on the offscreen platform (no display needed).
inline int runOffscreenBenchmarks(int& argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
