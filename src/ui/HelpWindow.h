// HelpWindow.h — the help (F1): the keys, every tile with its picture, and the goal of a zone.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "render/PictureSet.h"

namespace quarn::ui {

// One tile line of the help: the picture slots shown side by side and what the tile does.
struct HelpTile {
  std::vector<int> Slots;
  std::string Text;
};
const std::vector<HelpTile>& HelpTiles();
// True in the browser build: the browser keeps some keys for itself (Ctrl+N among them), so the
// screens answer others there, and they offer a link to a zone.
#ifdef __EMSCRIPTEN__
inline constexpr bool InBrowser = true;
#else
inline constexpr bool InBrowser = false;
#endif
// The key lines, "key – what it does", grouped under headings (lines without " – "), as the
// desktop build (browser false) or the browser build (true) answers them.
const std::vector<std::string>& HelpKeys(bool browser = InBrowser);
std::string HelpGoal();

class HelpWindow {
 public:
  // Pictures come from dataFolder's Graphics; a picture that cannot be read leaves its place
  // empty.
  HelpWindow(platform::App& app, const std::filesystem::path& dataFolder);
  HelpWindow(const HelpWindow&) = delete;
  HelpWindow& operator=(const HelpWindow&) = delete;

  void Show();
  void Hide();
  bool Shown() const { return shown_; }
  // Esc, F1 or the window frame closing it.
  std::function<void()> OnClosed;
  platform::Window& Window() { return window_; }

 private:
  platform::App& app_;
  platform::Window window_;
  PictureSet pictures_;
  std::vector<std::unique_ptr<platform::Control>> controls_;
  bool shown_ = false;
};

}  // namespace quarn::ui
