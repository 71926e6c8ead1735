// HelpWindow.h — the help (F1): the keys, every tile with its picture, and the goal of a zone.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Host.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "render/PictureSet.h"
#include "system/KeyBindings.h"

namespace quarn::ui {

// One tile line of the help: the picture slots shown side by side and what the tile does.
struct HelpTile {
  std::vector<int> Slots;
  std::string Text;
};
const std::vector<HelpTile>& HelpTiles();
// The tile lines as the player has them: his own walk keys where he moved them.
std::vector<HelpTile> PlayerHelpTiles(const system::KeyBindings& keys);
// The key lines, "key – what it does", grouped under headings (lines without " – "), as the
// desktop build (browser false) or the browser build (true) answers them.
const std::vector<std::string>& HelpKeys(bool browser = InBrowser());
// The pad's buttons, as the key lines; the help adds them while a pad is plugged in.
const std::vector<std::string>& PadHelpKeys();
// The key lines as the player has them: his own keys in play in place of the game's, and the
// pad's buttons after them when pad.
std::vector<std::string> PlayerHelpKeys(const system::KeyBindings& keys, bool pad);
std::string HelpGoal();

class HelpWindow {
 public:
  // Pictures come from dataFolder's Graphics; a picture that cannot be read leaves its place
  // empty. The window fits room (logical pixels; the screen's usable part when not given): on a
  // narrow screen the keys take fewer columns and the tiles go under them, and on a low one the
  // page scrolls (arrows, Page Up, Page Down, Home, End, the wheel) above a foot that stays.
  HelpWindow(platform::App& app, const std::filesystem::path& dataFolder,
             std::optional<SDL_Point> room = std::nullopt,
             std::vector<std::string> keyLines = HelpKeys(),
             std::vector<HelpTile> tiles = HelpTiles());
  HelpWindow(const HelpWindow&) = delete;
  HelpWindow& operator=(const HelpWindow&) = delete;

  void Show();
  void Hide();
  bool Shown() const { return shown_; }
  // Esc, F1 or the window frame closing it.
  std::function<void()> OnClosed;
  platform::Window& Window() { return window_; }
  // The page of texts and pictures, and how far it is scrolled (pixels from its top).
  const platform::PictureBox& Page() const { return page_; }
  int Scrolled() const { return scroll_; }
  int ContentHeight() const { return contentHeight_; }

 private:
  platform::App& app_;
  std::vector<std::string> keyLines_;
  std::vector<HelpTile> tiles_;
  platform::Window window_;
  PictureSet pictures_;
  void ScrollTo(int y);

  std::vector<std::unique_ptr<platform::Control>> controls_;
  platform::PictureBox page_;
  std::vector<int> placed_;  // each page control's top when not scrolled
  int contentHeight_ = 0;
  int scroll_ = 0;
  bool shown_ = false;
};

}  // namespace quarn::ui
