// ControlsWindow.h — "Ovládání" (K or its button on the start screen): each action of play with
// the player's key for it, changed by pressing the new key, and the game's own keys back.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/Ports.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "system/KeyBindings.h"

namespace quarn::ui {

class ControlsWindow {
 public:
  // The keys are kept in configFolder's keys file as soon as one changes.
  ControlsWindow(platform::App& app, Prompter& prompter, std::filesystem::path configFolder);
  ControlsWindow(const ControlsWindow&) = delete;
  ControlsWindow& operator=(const ControlsWindow&) = delete;

  // Shows these keys, the first action chosen.
  void Show(const system::KeyBindings& bindings);
  void Hide();
  bool Shown() const { return shown_; }
  // Up and Down choose an action, Enter (or a click on its row) waits for its new key, which
  // is refused with the reason when the game cannot give it; Esc stops waiting, or closes.
  // Delete (or a click on "Výchozí klávesy") gives every action the game's own key, after a
  // question.
  void ClickRow(int row);
  void ClickDefaults();

  // The keys after a change, kept or not (the line under the table says when not).
  std::function<void(const system::KeyBindings&)> OnChanged;
  // Esc, the window frame or "Zavřít".
  std::function<void()> OnClosed;

  const system::KeyBindings& Bindings() const { return bindings_; }
  int Chosen() const { return chosen_; }
  bool Waiting() const { return waiting_; }
  // The line under the table: what to do now, or what happened to the last key pressed.
  const std::string& Line() const;
  // The key shown on each action's row.
  std::string KeyShown(int row) const;
  platform::Window& Window() { return window_; }

 private:
  void KeyDown(int virtualKey);
  void Take(int virtualKey);
  void Choose(int row);
  void Change(const system::KeyBindings& bindings, const std::string& told);
  void Layout();

  platform::App& app_;
  Prompter& prompter_;
  std::filesystem::path configFolder_;
  platform::Window window_;
  std::vector<std::unique_ptr<platform::Label>> labels_;
  std::vector<platform::Label*> strips_, names_, keys_;  // by action; a strip is the row's ground
  platform::Label* line_ = nullptr;
  system::KeyBindings bindings_;
  int chosen_ = 0;
  bool waiting_ = false;
  bool shown_ = false;
};

}  // namespace quarn::ui
