// RecordsWindow.h — the records overview (R on the start screen): every listed zone, won or not,
// its best plain and rewound times, and how many are won.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "system/Records.h"

namespace quarn::ui {

// One zone of the overview, as its columns show it: title, "vyhráno" or "–", the plain best,
// the best that went back ("–" for none), and the zone's set.
struct RecordsRow {
  std::string Title;
  std::string Won;
  std::string Plain;
  std::string Rewound;
  std::string Set{};
  std::string Author{};  // the author's time, "–" for none
};
RecordsRow RecordsRowOf(const std::string& title, const system::ZoneRecord* record,
                        std::optional<int64_t> author = std::nullopt);
// "Vyhráno 3 z 12 zón".
std::string WonCountText(int won, size_t listed);

class RecordsWindow {
 public:
  explicit RecordsWindow(platform::App& app);
  RecordsWindow(const RecordsWindow&) = delete;
  RecordsWindow& operator=(const RecordsWindow&) = delete;

  // Shows the rows in list order; the won count is taken from them.
  void Show(std::vector<RecordsRow> rows);
  void Hide();
  bool Shown() const { return shown_; }
  // The rows shown now, from the first in view (the arrows and Page keys move through a long
  // list).
  const std::vector<RecordsRow>& Rows() const { return rows_; }
  int FirstShown() const { return first_; }
  // Esc, R or the window frame closing it.
  std::function<void()> OnClosed;
  platform::Window& Window() { return window_; }

 private:
  void Layout();
  void ScrollTo(int first);

  platform::App& app_;
  platform::Window window_;
  std::vector<std::unique_ptr<platform::Label>> cells_;  // VisibleRows x Columns, then the foot
  platform::Label* total_ = nullptr;
  std::vector<RecordsRow> rows_;
  int first_ = 0;
  bool shown_ = false;
};

}  // namespace quarn::ui
