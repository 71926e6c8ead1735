// EditorOverlays.cpp — what only a checking editor can draw over the zone: the cells the player
// can reach from the start (the strict check's own walk), keys and the doors the key under the
// pointer can open, and the laser doors of each group with the group's pattern played on a panel.
#include <algorithm>

#include "EditorScreen.h"
#include "game/Game.h"
#include "zone/ZoneCheck.h"

namespace quarn::ui {

namespace {

using Tint = EditorCanvas::Tint;

constexpr int StripTop = 567, StripHeight = 21, OverlaysLeft = 592;
constexpr int PanelCells = 24, PanelCell = 9, PanelGap = 2, PanelRow = 14;
constexpr int PanelWidth = 18 + PanelCells * (PanelCell + PanelGap) + 4 + 26,
              PanelHeight = 4 + 3 * PanelRow + 2;
constexpr int LaserStepMs = 400;  // the panel's play: one laser period at this pace

constexpr std::array<platform::Colour, 3> GroupInk{
    platform::Colour{255, 70, 70}, platform::Colour{70, 255, 70}, platform::Colour{190, 90, 255}};
constexpr platform::Colour OpenInk{40, 40, 80};

constexpr std::array<const char*, 3> OverlayNames{"btnReach", "btnKeys", "btnLasers"};
constexpr std::array<const char*, 3> OverlayCaptions{"Dosah", "Klíče", "Lasery"};

}  // namespace

void EditorScreen::BuildOverlays() {
  const std::array<const char*, 3> tips{
      "Ukázat pole, kam se hráč ze startu dostane (jak je počítá kontrola: s klíči, dveřmi a "
      "zabouchávacími dveřmi)",
      "Ukázat klíče a zamčené dveře; najeď na klíč a zelené budou dveře, které jím lze odemknout",
      "Ukázat laserové dveře podle skupin a vzory skupin (plný čtvereček: laser svítí); ► je "
      "přehraje"};
  const std::array<int, 3> widths{56, 52, 60};
  int x = OverlaysLeft;
  for (size_t i = 0; i < 3; ++i) {
    auto b = std::make_unique<platform::Button>(app_.FontSet());
    b->Caption = OverlayCaptions[i];
    b->ToolTip = tips[i];
    b->OnClick = [this, i] { ToggleOverlay(static_cast<Overlay>(i)); };
    Add(OverlayNames[i], std::move(b), SDL_Rect{x, StripTop, widths[i], StripHeight});
    x += widths[i] + 4;
  }

  auto panel = std::make_unique<platform::PictureBox>();
  panel->Background = platform::Colour{0, 0, 96};
  panel->Visible = false;
  panel->CatchesMouse = true;
  laserPanel_ = &Add("laserPanel", std::move(panel),
                     SDL_Rect{6, EditorCanvasArea.h - PanelHeight - 6, PanelWidth, PanelHeight},
                     canvasBox_);
  for (int g = 0; g < 3; ++g) {
    auto name = std::make_unique<platform::Label>(app_.FontSet());
    name->Caption = std::string(1, static_cast<char>('a' + g));
    name->Font = platform::FontSpec{"Arial", 8.25, true};
    name->Fore = GroupInk[static_cast<size_t>(g)];
    Add("laserName(" + std::to_string(g) + ")", std::move(name),
        SDL_Rect{5, 2 + g * PanelRow, 12, PanelRow}, laserPanel_);
    for (int i = 0; i < PanelCells; ++i) {
      auto cell = std::make_unique<platform::Shape>();
      cell->Filled = true;
      laserCells_[static_cast<size_t>(g)].push_back(&Add(
          "laserCell(" + std::to_string(g) + "," + std::to_string(i) + ")", std::move(cell),
          SDL_Rect{18 + i * (PanelCell + PanelGap), 5 + g * PanelRow, PanelCell, PanelCell},
          laserPanel_));
    }
  }
  // The first column is now: the phase the doors on the canvas show.
  auto now = std::make_unique<platform::Shape>();
  now->Ink = platform::Colour{255, 255, 0};
  Add("laserNow", std::move(now), SDL_Rect{16, 2, PanelCell + 4, 3 * PanelRow + 1}, laserPanel_);
  auto play = std::make_unique<platform::Button>(app_.FontSet());
  play->Caption = "►";
  play->ToolTip = "Přehrát vzory laserových dveří (znovu: zastavit); Shift: o krok zpět na začátek";
  play->OnClick = [this] {
    if (platform::HeldModifiers().Shift) {
      laserClock_->SetEnabled(false);
      SetLaserPhase(0);
      return;
    }
    laserClock_->SetEnabled(!laserClock_->Enabled());
    ShowLaserPanel();
  };
  Add("btnLaserPlay", std::move(play), SDL_Rect{PanelWidth - 28, 12, 24, 24}, laserPanel_);
  laserClock_ = std::make_unique<platform::Timer>(app_.Timers(),
                                                  [this] { SetLaserPhase(laserPhase_ + 1); });
  laserClock_->SetInterval(LaserStepMs);
}

void EditorScreen::ToggleOverlay(Overlay which) {
  BlurFields();
  const size_t i = static_cast<size_t>(which);
  overlays_[i] = !overlays_[i];
  auto& b = dynamic_cast<platform::Button&>(ControlNamed(OverlayNames[i]));
  b.Caption = overlays_[i] ? std::string("[") + OverlayCaptions[i] + "]" : OverlayCaptions[i];
  if (which == Overlay::Lasers && !overlays_[i]) laserClock_->SetEnabled(false);
  ShowLaserPanel();
  ShowOverlays();
  ShowCanvasDamage();
  window_.Invalidate();
}

bool EditorScreen::LaserShut(int group, int phase) const {
  const std::string pattern = model_.Field(
      static_cast<edit::HeaderField>(static_cast<int>(edit::HeaderField::LaserA) + group));
  // As the loader starts them: shut when the pattern begins with "0"; then a group switches at
  // each period where its pattern's character changes.
  bool shut = !pattern.empty() && pattern[0] == '0';
  const std::vector<bool> switches = LaserSwitchesOf(pattern);
  if (switches.empty()) return shut;
  const size_t n = switches.size();
  // Whole rounds of the pattern switch it as often as the pattern has changes.
  const auto changes = static_cast<size_t>(std::count(switches.begin(), switches.end(), true));
  const size_t p = static_cast<size_t>(std::max(phase, 0));
  if ((p / n) * changes % 2 == 1) shut = !shut;
  for (size_t q = 1; q <= p % n; ++q) {
    if (switches[q]) shut = !shut;
  }
  return shut;
}

void EditorScreen::SetLaserPhase(int phase) {
  laserPhase_ = std::max(0, phase);
  ShowLaserPanel();
  if (overlays_[static_cast<size_t>(Overlay::Lasers)]) {
    ShowOverlays();
    ShowCanvasDamage();
  }
}

void EditorScreen::ShowLaserPanel() {
  const bool shown = overlays_[static_cast<size_t>(Overlay::Lasers)];
  laserPanel_->Visible = shown;
  if (shown) {
    for (int g = 0; g < 3; ++g) {
      for (int i = 0; i < PanelCells; ++i) {
        laserCells_[static_cast<size_t>(g)][static_cast<size_t>(i)]->Ink =
            LaserShut(g, laserPhase_ + i) ? GroupInk[static_cast<size_t>(g)] : OpenInk;
      }
    }
    dynamic_cast<platform::Button&>(ControlNamed("btnLaserPlay")).Caption =
        laserClock_->Enabled() ? "■" : "►";
  }
  window_.Invalidate();
}

void EditorScreen::OverlayPointer(std::optional<SDL_Point> cell) {
  if (!overlays_[static_cast<size_t>(Overlay::Keys)] || !cell) return;
  if (model_.At(cell->x, cell->y) != 'K') return;
  if (overlayKey_ && overlayKey_->x == cell->x && overlayKey_->y == cell->y) return;
  overlayKey_ = cell;
  ShowOverlays();
  ShowCanvasDamage();
}

void EditorScreen::ShowOverlays() {
  if (std::none_of(overlays_.begin(), overlays_.end(), [](bool on) { return on; })) {
    if (!canvas_.Overlay().empty()) {
      canvas_.SetOverlay({});
      canvas_.ComposeAll();
    }
    return;
  }
  const int w = model_.Width(), h = model_.Height();
  std::vector<Tint> tints(static_cast<size_t>(w * h));
  auto parsed = ParseZoneText(model_.Text(), "", ZoneLimits::Editor);
  const ParsedZone* zone = parsed.Ok() ? &parsed.Value() : nullptr;
  const bool reach = overlays_[static_cast<size_t>(Overlay::Reach)];
  const bool keys = overlays_[static_cast<size_t>(Overlay::Keys)];
  if (overlayKey_ && model_.At(overlayKey_->x, overlayKey_->y) != 'K') overlayKey_.reset();
  if (zone && (reach || keys)) {
    std::optional<std::pair<int, int>> key;
    if (keys && overlayKey_) key = std::make_pair(overlayKey_->x, overlayKey_->y);
    const ZoneReach walk = ReachableCells(*zone, key);
    if (!walk.Why.empty()) message_ = "Dosah nelze ukázat: " + walk.Why;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const size_t i = static_cast<size_t>(y * w + x);
        const char c = model_.At(x, y);
        if (reach && i < walk.Cells.size() && walk.Cells[i]) tints[i] = Tint{0, 255, 90, 80};
        if (keys && c == 'K') tints[i] = Tint{255, 210, 0, 120};
        if (keys && c == 'D') {
          const bool opened = key && i < walk.OpenedByKey.size() && walk.OpenedByKey[i];
          tints[i] = opened ? Tint{0, 255, 0, 170} : Tint{255, 110, 0, 120};
        }
      }
    }
    if (key) tints[static_cast<size_t>(key->second * w + key->first)] = Tint{0, 255, 255, 170};
  }
  if (overlays_[static_cast<size_t>(Overlay::Lasers)]) {
    std::array<bool, 3> shut{};
    for (int g = 0; g < 3; ++g) shut[static_cast<size_t>(g)] = LaserShut(g, laserPhase_);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const char c = model_.At(x, y);
        if (c < 'a' || c > 'c') continue;
        const auto g = static_cast<size_t>(c - 'a');
        const platform::Colour ink = GroupInk[g];
        tints[static_cast<size_t>(y * w + x)] =
            Tint{ink.R, ink.G, ink.B, static_cast<uint8_t>(shut[g] ? 170 : 60)};
      }
    }
  }
  canvas_.SetOverlay(std::move(tints));
  canvas_.ComposeAll();
}

}  // namespace quarn::ui
