// RecordsWindow.cpp — the records overview in the look of the game's dialog and help.
#include "RecordsWindow.h"

#include <algorithm>
#include <array>

#include "PanelWindow.h"
#include "base/Keys.h"

namespace quarn::ui {

namespace {

constexpr int Width = 740;
constexpr int RowHeight = 20;
constexpr int VisibleRows = 24;
constexpr int TableTop = 40;
constexpr int Height = TableTop + RowHeight * (VisibleRows + 1) + 40;
constexpr size_t Columns = 6;
constexpr std::array<int, Columns> ColumnLeft{12, 132, 312, 384, 484, 630};
constexpr std::array<int, Columns> ColumnWidth{114, 176, 68, 96, 142, 98};
constexpr platform::Colour Navy{0, 0, 128};
constexpr platform::Colour White{255, 255, 255};
constexpr platform::Colour Yellow{255, 255, 0};
constexpr platform::Colour Cyan{0, 255, 255};

std::string TimeOf(const std::optional<int64_t>& ticks) {
  return ticks ? system::SecondsText(*ticks) + " s" : "–";
}

}  // namespace

RecordsRow RecordsRowOf(const std::string& title, const system::ZoneRecord* record,
                        std::optional<int64_t> author) {
  const bool won = record && record->Won;
  return RecordsRow{title, won ? "vyhráno" : "–", won ? TimeOf(record->BestPlain) : "–",
                    won ? TimeOf(record->BestRewind) : "–", "", TimeOf(author)};
}

std::string WonCountText(int won, size_t listed) {
  return "Vyhráno " + std::to_string(won) + " z " + std::to_string(listed) +
         (listed == 1 ? " zóny" : " zón");
}

RecordsWindow::RecordsWindow(platform::App& app)
    : app_(app), window_(app, PanelWindowOptions("Quarn – rekordy", Width, Height)) {
  platform::PictureBox& root = window_.Root();
  root.Background = Navy;
  auto label = [&](const std::string& text, SDL_Rect bounds, platform::Colour ink) {
    return AddPanelLabel(app_.FontSet(), root, cells_, text, bounds, ink);
  };
  auto heading = label("Rekordy", SDL_Rect{12, 8, 300, 22}, Yellow);
  heading->Font.Points = 12;
  const std::array<const char*, Columns> names{"Sada",         "Zóna",
                                               "Vyhráno",      "Nejlepší čas",
                                               "Se zpětným chodem", "Čas autora"};
  for (size_t c = 0; c < names.size(); ++c) {
    label(names[c], SDL_Rect{ColumnLeft[c], TableTop, ColumnWidth[c], RowHeight}, Cyan);
  }
  for (int r = 0; r < VisibleRows; ++r) {
    for (size_t c = 0; c < names.size(); ++c) {
      label("", SDL_Rect{ColumnLeft[c], TableTop + RowHeight * (r + 1), ColumnWidth[c], RowHeight},
            White);
    }
  }
  total_ = label("", SDL_Rect{12, Height - 32, 300, RowHeight}, Yellow);
  label("Esc zavře přehled · šipky, Page Up, Page Down posouvají",
        SDL_Rect{Width - 12 - 400, Height - 32, 400, RowHeight}, Yellow)
      ->Alignment = platform::Label::Align::Right;
  window_.OnKeyDown = [this](int virtualKey) {
    switch (virtualKey) {
      case vk::Escape:
      case 'R':
        Hide();
        break;
      case vk::Up:
        ScrollTo(first_ - 1);
        break;
      case vk::Down:
        ScrollTo(first_ + 1);
        break;
      case vk::PageUp:
        ScrollTo(first_ - VisibleRows);
        break;
      case vk::PageDown:
        ScrollTo(first_ + VisibleRows);
        break;
      case vk::Home:
        ScrollTo(0);
        break;
      case vk::End:
        ScrollTo(static_cast<int>(rows_.size()));
        break;
      default:
        break;
    }
  };
  // A held arrow or page key goes on scrolling.
  window_.OnKeyRepeat = [this](int virtualKey) {
    if (virtualKey == vk::Up || virtualKey == vk::Down || virtualKey == vk::PageUp ||
        virtualKey == vk::PageDown)
      window_.OnKeyDown(virtualKey);
  };
  window_.OnCloseRequest = [this] { Hide(); };
}

void RecordsWindow::Show(std::vector<RecordsRow> rows) {
  rows_ = std::move(rows);
  first_ = 0;
  int won = 0;
  for (const RecordsRow& r : rows_) won += r.Won == "vyhráno" ? 1 : 0;
  total_->Caption = WonCountText(won, rows_.size());
  Layout();
  shown_ = true;
  window_.Show();
  window_.Invalidate();
}

void RecordsWindow::ScrollTo(int first) {
  const int last = std::max(0, static_cast<int>(rows_.size()) - VisibleRows);
  first_ = std::clamp(first, 0, last);
  Layout();
}

void RecordsWindow::Layout() {
  // The cells after the heading and the column names: VisibleRows rows of Columns.
  constexpr size_t FirstCell = 1 + Columns;
  for (int r = 0; r < VisibleRows; ++r) {
    const size_t i = static_cast<size_t>(first_ + r);
    const bool has = i < rows_.size();
    const std::array<std::string, Columns> texts =
        has ? std::array<std::string, Columns>{rows_[i].Set,   rows_[i].Title,
                                               rows_[i].Won,   rows_[i].Plain,
                                               rows_[i].Rewound, rows_[i].Author}
            : std::array<std::string, Columns>{};
    for (size_t c = 0; c < Columns; ++c) {
      cells_[FirstCell + static_cast<size_t>(r) * Columns + c]->Caption = texts[c];
    }
  }
  window_.Invalidate();
}

void RecordsWindow::Hide() {
  if (!shown_) return;
  shown_ = false;
  window_.Hide();
  if (OnClosed) OnClosed();
}

}  // namespace quarn::ui
