// The main of a benchmark program: Qt started as the program starts it
// (offscreen unless a platform is set), then the benchmarks. setUp runs
// after Qt and before the first benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>

#include <functional>

template <class App>
int RunBenchmarks(int argc, char** argv, const std::function<void()>& setUp = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    if (setUp) setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
