// EditorScreenBench.cpp — the zone editor's window on a zone of the largest size: a cell painted by
// a drag and the frame that shows it, a click that is a whole change (checked at once), and a
// scroll.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "edit/ZoneModel.h"
#include "platform/App.h"
#include "ui/Dialog.h"
#include "ui/EditorScreen.h"
#include "ui/KeyFeed.h"

namespace {

class StepClock : public quarn::platform::MonotonicClock {
 public:
  int64_t NowNs() override { return now; }
  int64_t now = 1'000'000'000;
};

const std::string Data = quarn::ProgramFolder().string();
// The largest shipped zone grown to the largest size a zone may have, written once per run.
std::string LargestZone() {
  static const std::string file = [] {
    const auto path = std::filesystem::temp_directory_path() / "quarn-bench-editor-largest.qrn";
    quarn::edit::ZoneModel model;
    if (model.Load(QUARN_SOURCE_DIR "/zones/20-velke-mesto.qrn")) return std::string();
    model.Resize(150, 130);
    return model.Save(path).SavedTo ? path.string() : std::string();
  }();
  return file;
}

// The editor on SDL's dummy display with the 150 x 130 zone open, at the given zoom.
struct Editor {
  explicit Editor(int zoom) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<quarn::platform::App>(keyFeed, clock);
    app->AnswerInstead = [](const auto&, const auto&, const auto&) { return 0; };
    dialog = std::make_unique<quarn::ui::Dialog>(*app, Data);
    editor = std::make_unique<quarn::ui::EditorScreen>(*app, *dialog, Data,
                                                          quarn::edit::ZoneFolders{});
    ok = !LargestZone().empty() && editor->Open(LargestZone()) && editor->Model().Width() == 150;
    if (!ok) return;
    editor->Canvas().View().SetZoom(zoom, SDL_Point{300, 265});
    editor->Canvas().ComposeAll();
    editor->Show();
    Present();
  }
  ~Editor() {
    editor.reset();
    dialog.reset();
    app.reset();
  }
  void Present() {
    clock.now += 1'000'000'000 / 60;
    editor->Window().PresentIfDue(clock.now);
  }
  // The canvas point in the middle of cell (x, y).
  SDL_Point At(int x, int y) {
    const SDL_Rect r = editor->Canvas().View().CellRect(x, y);
    return SDL_Point{r.x + r.w / 2, r.y + r.h / 2};
  }
  quarn::KeyState keys;
  quarn::ui::KeyFeed keyFeed{keys};
  StepClock clock;
  std::unique_ptr<quarn::platform::App> app;
  std::unique_ptr<quarn::ui::Dialog> dialog;
  std::unique_ptr<quarn::ui::EditorScreen> editor;
  bool ok = false;
};

// A drag goes on to the next cell: the cell is painted into the zone, drawn with its
// neighbours' laser caps, composed into the canvas, and the frame presented.
void PaintByDrag(benchmark::State& state) {
  Editor e(static_cast<int>(state.range(0)));
  if (!e.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  auto& canvas = e.editor->ControlNamed("canvas");
  const auto& view = e.editor->Canvas().View();
  // Cells in view, walked left to right and down, alternately wall and key.
  const int columns = std::min(view.Columns, view.ViewWidth / view.Zoom) - 2;
  const int rows = std::min(view.Rows, view.ViewHeight / view.Zoom) - 2;
  const int x0 = std::max(0, view.Left / view.Zoom) + 1, y0 = std::max(0, view.Top / view.Zoom) + 1;
  e.editor->Select('K');
  canvas.OnMouseDown(SDL_BUTTON_LEFT, e.At(x0, y0));
  int64_t i = 0;
  for (auto _ : state) {
    const int x = x0 + static_cast<int>(i % columns), y = y0 + static_cast<int>(i / columns % rows);
    if (x == x0) {
      // A new row: the stroke ends and begins again so the drag does not paint a line back.
      state.PauseTiming();
      canvas.OnMouseUp(SDL_BUTTON_LEFT, e.At(x, y));
      e.editor->Select((i / columns) % 2 ? 'W' : 'K');
      canvas.OnMouseDown(SDL_BUTTON_LEFT, e.At(x, y));
      e.Present();
      state.ResumeTiming();
    }
    canvas.OnMouseMove(e.At(x, y));
    e.Present();
    ++i;
  }
  canvas.OnMouseUp(SDL_BUTTON_LEFT, e.At(x0, y0));
  state.SetLabel("zoom " + std::to_string(view.Zoom) + " px");
}
BENCHMARK(PaintByDrag)
    ->Name("BM_EditorPaintByDragAndPresent")
    ->Arg(40)
    ->Arg(4)
    ->Unit(benchmark::kMicrosecond);

// A click on one cell, a whole change: the frame that shows the cell, then (checked) the check
// of the whole zone a frame later, its findings listed and the frame presented.
void Click(benchmark::State& state, bool checked) {
  Editor e(40);
  if (!e.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  auto& canvas = e.editor->ControlNamed("canvas");
  const SDL_Point p =
      e.At(e.editor->Canvas().View().Left / 40 + 3, e.editor->Canvas().View().Top / 40 + 3);
  int64_t i = 0;
  for (auto _ : state) {
    e.editor->Select(i++ % 2 ? 'T' : '.');
    canvas.OnMouseDown(SDL_BUTTON_LEFT, p);
    canvas.OnMouseUp(SDL_BUTTON_LEFT, p);
    e.Present();
    if (!checked) state.PauseTiming();
    e.clock.now += 20'000'000;
    e.app->Timers().RunDue();
    e.Present();
    if (!checked) state.ResumeTiming();
  }
}
void BM_EditorClickAndPresent(benchmark::State& state) { Click(state, false); }
BENCHMARK(BM_EditorClickAndPresent)->Unit(benchmark::kMicrosecond);
void BM_EditorClickCheckAndPresent(benchmark::State& state) { Click(state, true); }
BENCHMARK(BM_EditorClickCheckAndPresent)->Unit(benchmark::kMillisecond);

// One arrow-key scroll: the whole canvas composed again from the board and presented.
void BM_EditorScrollAndPresent(benchmark::State& state) {
  Editor e(static_cast<int>(state.range(0)));
  if (!e.ok) return state.SkipWithError("no zone or Graphics folder beside the benchmark");
  int64_t i = 0;
  for (auto _ : state) {
    e.editor->KeyDown(i++ % 2 ? 37 : 39, quarn::platform::Modifiers{});
    e.Present();
  }
}
BENCHMARK(BM_EditorScrollAndPresent)->Arg(40)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace
