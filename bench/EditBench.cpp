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

// A 60 x 60 piece of the zone pasted as one undo step, then the findings (argument 1 = 1; 0:
// the paste alone, what the frame that shows it waits for while the check follows later):
// stamping a block. Two places in turn, so that every paste changes cells.
void BM_EditPasteAndCheck(benchmark::State& state) {
  auto model = Loaded(state.range(0) != 0);
  const quarn::edit::Piece piece = model.Copy(quarn::edit::Area{5, 5, 60, 60});
  int i = 0;
  for (auto _ : state) {
    model.Paste(piece, 40 + (i++ & 1) * 7, 30);
    if (state.range(1) != 0) benchmark::DoNotOptimize(model.Findings().size());
  }
  state.SetLabel(std::to_string(model.Width()) + "x" + std::to_string(model.Height()));
}
BENCHMARK(BM_EditPasteAndCheck)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond);

// Flood fill of the whole connected floor (to time bonuses and back), then the findings
// (argument 1 = 1; 0: the fill alone).
void BM_EditFloodFillAndCheck(benchmark::State& state) {
  auto model = Loaded(state.range(0) != 0);
  // The streets inside the outer wall (the grown zone's new floor outside it is another area).
  int fx = 0, fy = 0;
  for (int y = 1; y < model.Height() && !fx; ++y) {
    for (int x = 1; x < model.Width(); ++x) {
      if (model.At(x, y) == '.') {
        fx = x;
        fy = y;
        break;
      }
    }
  }
  const int bonuses = model.Counts().Bonuses;
  model.FloodFill(fx, fy, 'T');
  const int cells = model.Counts().Bonuses - bonuses;
  model.Undo();
  int i = 0;
  for (auto _ : state) {
    model.FloodFill(fx, fy, (i++ & 1) ? '.' : 'T');
    if (state.range(1) != 0) benchmark::DoNotOptimize(model.Findings().size());
  }
  state.SetLabel(std::to_string(model.Width()) + "x" + std::to_string(model.Height()) + ", " +
                 std::to_string(cells) + " cells filled");
}
BENCHMARK(BM_EditFloodFillAndCheck)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond);

// The text handed to a test-play run.
void BM_EditTestPlayText(benchmark::State& state) {
  auto model = Loaded();
  for (auto _ : state) benchmark::DoNotOptimize(model.Text());
}
BENCHMARK(BM_EditTestPlayText)->Unit(benchmark::kMicrosecond);

}  // namespace
