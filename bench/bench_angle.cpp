// Angle text under every coordinate readout and list row: formatting and
// reading, in ns per call.
#include <benchmark/benchmark.h>

#include "basAngle.h"

#include <QString>
#include <QStringList>

namespace {

void BM_SecToStr(benchmark::State& state) {
    SetAngleUnit(static_cast<int16_t>(state.range(0)));
    SetAngleSymbol(2);
    int32_t sec = -648000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SecToStr(sec));
        sec += 7919;
        if (sec > 648000) sec -= 1296000;
    }
}
BENCHMARK(BM_SecToStr)->DenseRange(1, 5)->ArgName("unit");

void BM_LonToStr(benchmark::State& state) {
    SetAngleUnit(1);
    SetAngleSymbol(2);
    SetAngleDirStyle(2);
    int32_t sec = -648000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LonToStr(sec));
        sec += 7919;
        if (sec > 648000) sec -= 1296000;
    }
}
BENCHMARK(BM_LonToStr);

const QStringList& samples() {
    static const QStringList s = {
        QStringLiteral("135.5"),
        QStringLiteral("E135°30′15″"),
        QStringLiteral("東経135度30分15秒"),
        QStringLiteral("135 30 15"),
        QStringLiteral("N35.5"),
        QStringLiteral("X+135ﾟ30'15\""),
        QStringLiteral("1.5rad"),
        QStringLiteral("北緯三十五度"),
    };
    return s;
}

void BM_AngleStrToSec(benchmark::State& state) {
    const QString text = samples().at(static_cast<int>(state.range(0)));
    state.SetLabel(text.toStdString());
    for (auto _ : state) benchmark::DoNotOptimize(AngleStrToSec(text));
}
BENCHMARK(BM_AngleStrToSec)->DenseRange(0, 7);

void BM_AngleStrToSecRejected(benchmark::State& state) {
    const QString text = QStringLiteral("N 35");
    for (auto _ : state) benchmark::DoNotOptimize(AngleStrToSec(text));
}
BENCHMARK(BM_AngleStrToSecRejected);

void BM_AngleFormalStr(benchmark::State& state) {
    const QString text = QStringLiteral("E135°30′15″");
    for (auto _ : state) benchmark::DoNotOptimize(AngleFormalStr(text));
}
BENCHMARK(BM_AngleFormalStr);

} // namespace

BENCHMARK_MAIN();
