// EditBench.cpp — what the zone editor does on a change of the largest shipped zone: the paint
// itself, and the full check (loader and strict check) that follows it.
#include <benchmark/benchmark.h>

#include <string>

#include "edit/ZoneModel.h"

namespace {

const char* const LargestShippedZone = QUARN_SOURCE_DIR "/zones/20-velke-mesto.qrn";

// The largest shipped zone as it is (argument 0), or grown to the largest size a zone may have,
// the new cells open floor that the check must walk too (argument 1).
quarn::edit::ZoneModel Loaded(bool grown = true) {
  quarn::edit::ZoneModel model;
  model.Load(LargestShippedZone);
  if (grown) model.Resize(150, 130);
  return model;
}

// Painting one cell back and forth inside a stroke: what a drag costs per cell, without a check.
void BM_EditPaintCell(benchmark::State& state) {
  auto model = Loaded();
  model.BeginStroke();
  int i = 0;
  for (auto _ : state) {
    const bool painted = model.Paint(1 + i % 140, 1 + (i / 140) % 120, (i & 1) ? 'W' : 'K');
    benchmark::DoNotOptimize(painted);
    ++i;
  }
  model.EndStroke();
}
BENCHMARK(BM_EditPaintCell);

// One paint as its own undo step, then the findings: what every change costs when checked at once.
void BM_EditPaintAndCheck(benchmark::State& state) {
  auto model = Loaded(state.range(0) != 0);
  int i = 0;
  for (auto _ : state) {
    model.Paint(75, 65, (i++ & 1) ? '.' : 'T');
    benchmark::DoNotOptimize(model.Findings().size());
  }
  state.SetLabel(std::to_string(model.Width()) + "x" + std::to_string(model.Height()));
}
BENCHMARK(BM_EditPaintAndCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The text handed to a test-play run.
void BM_EditTestPlayText(benchmark::State& state) {
  auto model = Loaded();
  for (auto _ : state) benchmark::DoNotOptimize(model.Text());
}
BENCHMARK(BM_EditTestPlayText)->Unit(benchmark::kMicrosecond);

}  // namespace
