// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The reference every benchmark program runs beside its own: filling the map image once, so
// that figures read as ratios on any machine.

#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"

#include <benchmark/benchmark.h>

namespace {

void ReferenceFillMapImage(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        MapImage().fill(Qt::black);
        benchmark::DoNotOptimize(MapImage().constBits());
        benchmark::ClobberMemory();
    }
    // The benchmarks after it find the map drawn.
    RedrawMap();
}
BENCHMARK(ReferenceFillMapImage)->Unit(benchmark::kMicrosecond);

}  // namespace
