// ControlsWindow.cpp — the controls screen in the look of the records and the help: a row for
// each action, the line under it, and two clickable words for the mouse and a finger.
#include "ControlsWindow.h"

#include <algorithm>

#include "GameLayout.h"
#include "PanelWindow.h"
#include "base/Keys.h"
#include "base/Text.h"

namespace quarn::ui {

namespace {

constexpr int Width = 440;
constexpr int RowHeight = 22;
constexpr int TableTop = 40;
constexpr int Rows = static_cast<int>(system::KeyActionCount);
constexpr int LineTop = TableTop + RowHeight * (Rows + 1) + 8;
constexpr int FootTop = LineTop + 48;
constexpr int Height = FootTop + 58;
constexpr int NameLeft = 16, NameWidth = 190, KeyLeft = 214, KeyWidth = 210;
constexpr platform::Colour Navy{0, 0, 128};
constexpr platform::Colour ChosenGround{0, 0, 192};
constexpr platform::Colour White{255, 255, 255};
constexpr platform::Colour Yellow{255, 255, 0};
constexpr platform::Colour Cyan{0, 255, 255};

constexpr const char* WaitingKey = "stiskni klávesu…";

std::string Capitalised(std::string_view text) {
  std::string s(text);
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

std::string ActionName(int row) {
  return std::string(system::KeyActions()[static_cast<size_t>(row)].Czech);
}

}  // namespace

ControlsWindow::ControlsWindow(platform::App& app, Prompter& prompter,
                               std::filesystem::path configFolder)
    : app_(app),
      prompter_(prompter),
      configFolder_(std::move(configFolder)),
      window_(app, [] {
        platform::WindowOptions o = PanelWindowOptions("Quarn – ovládání", Width, Height);
        // Drawn as large as the start screen it is opened from.
        o.ScaleAsWidth = GameScreenWidth;
        o.ScaleAsHeight = GameScreenHeight;
        return o;
      }()) {
  platform::PictureBox& root = window_.Root();
  root.Background = Navy;
  auto label = [&](const std::string& text, SDL_Rect bounds, platform::Colour ink) {
    return AddPanelLabel(app_.FontSet(), root, labels_, text, bounds, ink);
  };
  label("Ovládání", SDL_Rect{12, 8, 300, 22}, Yellow)->Font.Points = 12;
  label("Akce", SDL_Rect{NameLeft, TableTop, NameWidth, RowHeight}, Cyan);
  label("Klávesa", SDL_Rect{KeyLeft, TableTop, KeyWidth, RowHeight}, Cyan);
  for (int r = 0; r < Rows; ++r) {
    const int top = TableTop + RowHeight * (r + 1);
    // The row is one strip the chosen colour fills; the name and the key lie on it.
    platform::Label* strip = label("", SDL_Rect{NameLeft - 6, top, KeyLeft + KeyWidth - NameLeft + 6,
                                                RowHeight}, White);
    names_.push_back(label(Capitalised(ActionName(r)), SDL_Rect{NameLeft, top + 2, NameWidth, RowHeight - 2},
                           White));
    keys_.push_back(label("", SDL_Rect{KeyLeft, top + 2, KeyWidth, RowHeight - 2}, White));
    strips_.push_back(strip);
    for (platform::Label* l : {strip, names_.back(), keys_.back()})
      l->OnClick = [this, r] { ClickRow(r); };
  }
  line_ = label("", SDL_Rect{12, LineTop, Width - 24, 44}, White);
  line_->WordWrap = true;
  label("Ctrl+R (znovu), F1 (nápověda) a klávesy nabídek zůstávají.",
        SDL_Rect{12, FootTop, Width - 24, 18}, Cyan)
      ->Font.Points = 8.25;
  label("Výchozí klávesy", SDL_Rect{12, FootTop + 26, 150, 20}, Yellow)->OnClick = [this] {
    ClickDefaults();
  };
  platform::Label* close = label("Zavřít", SDL_Rect{Width - 12 - 100, FootTop + 26, 100, 20}, Yellow);
  close->Alignment = platform::Label::Align::Right;
  close->OnClick = [this] { Hide(); };
  window_.OnKeyDown = [this](int virtualKey) { KeyDown(virtualKey); };
  // A held arrow goes on choosing; a held key is never taken twice.
  window_.OnKeyRepeat = [this](int virtualKey) {
    if (!waiting_ && (virtualKey == vk::Up || virtualKey == vk::Down)) KeyDown(virtualKey);
  };
  window_.OnCloseRequest = [this] { Hide(); };
}

const std::string& ControlsWindow::Line() const { return line_->Caption; }

std::string ControlsWindow::KeyShown(int row) const {
  return keys_.at(static_cast<size_t>(row))->Caption;
}

void ControlsWindow::Show(const system::KeyBindings& bindings) {
  bindings_ = bindings;
  chosen_ = 0;
  waiting_ = false;
  line_->Caption = "Enter – změnit klávesu vybrané akce · Delete – výchozí klávesy · Esc – zavřít";
  Layout();
  shown_ = true;
  window_.Show();
}

void ControlsWindow::Hide() {
  if (!shown_) return;
  shown_ = false;
  waiting_ = false;
  window_.Hide();
  if (OnClosed) OnClosed();
}

void ControlsWindow::Choose(int row) {
  chosen_ = std::clamp(row, 0, Rows - 1);
  Layout();
}

void ControlsWindow::ClickRow(int row) {
  if (row < 0 || row >= Rows) return;
  Choose(row);
  waiting_ = true;
  line_->Caption = "Stiskni novou klávesu pro „" + ActionName(row) + "“ · Esc – nechat, jak je";
  Layout();
}

void ControlsWindow::KeyDown(int virtualKey) {
  if (waiting_) {
    Take(virtualKey);
    return;
  }
  switch (virtualKey) {
    case vk::Escape:
      Hide();
      break;
    case vk::Up:
      Choose(chosen_ - 1);
      break;
    case vk::Down:
      Choose(chosen_ + 1);
      break;
    case vk::Home:
      Choose(0);
      break;
    case vk::End:
      Choose(Rows - 1);
      break;
    case vk::Enter:
      ClickRow(chosen_);
      break;
    case vk::Delete:
      ClickDefaults();
      break;
    default:
      break;
  }
}

void ControlsWindow::Take(int virtualKey) {
  const auto action = static_cast<system::KeyAction>(chosen_);
  if (virtualKey == vk::Escape) {
    waiting_ = false;
    line_->Caption = Capitalised(ActionName(chosen_)) + " má dál klávesu " +
                     system::KeyShownName(bindings_.Of(action)) + ".";
    Layout();
    return;
  }
  if (auto refused = system::KeyRefusal(bindings_, action, virtualKey)) {
    // The player stays asked: the next key may be one the game can give.
    line_->Caption = *refused + " Stiskni jinou klávesu, nebo Esc.";
    Layout();
    return;
  }
  waiting_ = false;
  system::KeyBindings changed = bindings_;
  changed.Keys[static_cast<size_t>(chosen_)] = virtualKey;
  Change(changed, Capitalised(ActionName(chosen_)) + " má teď klávesu " + system::KeyShownName(virtualKey) + ".");
}

void ControlsWindow::ClickDefaults() {
  waiting_ = false;
  if (bindings_ == system::KeyBindings{}) {
    line_->Caption = "Všechny akce už mají klávesy hry.";
    Layout();
    return;
  }
  if (prompter_.SkinMsgBox("Vrátit všem akcím klávesy hry?", msgbox::YesNo, msgbox::IconQuestion,
                           "") != msgbox::ResultYes) {
    Layout();
    return;
  }
  Change(system::KeyBindings{}, "Všechny akce mají zase klávesy hry.");
}

void ControlsWindow::Change(const system::KeyBindings& bindings, const std::string& told) {
  bindings_ = bindings;
  // The keys hold for this run of the game even when the file cannot be written; the player is
  // told they will not be there next time.
  if (auto error = system::KeepKeyBindings(configFolder_, bindings_)) {
    line_->Caption = told + " Klávesy se ale nepodařilo uložit: " + ShowControls(*error);
  } else {
    line_->Caption = told;
  }
  Layout();
  if (OnChanged) OnChanged(bindings_);
}

void ControlsWindow::Layout() {
  for (int r = 0; r < Rows; ++r) {
    const bool chosen = r == chosen_;
    strips_[static_cast<size_t>(r)]->Background =
        chosen ? std::optional<platform::Colour>(ChosenGround) : std::nullopt;
    names_[static_cast<size_t>(r)]->Fore = chosen ? Yellow : White;
    keys_[static_cast<size_t>(r)]->Fore = chosen ? Yellow : White;
    keys_[static_cast<size_t>(r)]->Caption =
        chosen && waiting_ ? WaitingKey
                           : system::KeyShownName(bindings_.Of(static_cast<system::KeyAction>(r)));
  }
  window_.Invalidate();
}

}  // namespace quarn::ui
