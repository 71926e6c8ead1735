// GameScreen.h — frmGame: the window where a zone is played, its controls, tick and buttons.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Dialog.h"
#include "game/Game.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "render/BoardRenderer.h"
#include "sound/GameSounds.h"

namespace quarn::ui {

class GameScreen {
 public:
  // Pictures come from folder's Graphics; the sound module and the prompter (the game's dialog)
  // outlive the screen.
  GameScreen(platform::App& app, ProgramContext& program, SoundModule& sound, Prompter& prompter,
             const std::filesystem::path& folder);
  ~GameScreen();
  GameScreen(const GameScreen&) = delete;
  GameScreen& operator=(const GameScreen&) = delete;

  // The load event: the sounds, then the zone; the window appears when the zone is open. False,
  // after telling the player why, when the zone cannot be played: nothing of it is shown.
  bool Load(const std::string& zoneFile);
  // The × label and Esc: the tick stops, every sound slot is freed, the window goes, OnClosed
  // runs.
  void Close();
  // P: the tick stops with "Pauza" over the board, and the next P lets it go on.
  void TogglePause();
  bool Paused() const { return paused_; }
  std::function<void()> OnClosed;
  // Runs after every tick (the end-to-end tests follow the player through it).
  std::function<void()> OnTicked;
  // The mail and web labels hand their link here; nothing else changes.
  std::function<void(const std::string& link)> OnLink;

  Game& TheGame() { return game_; }
  platform::Window& Window() { return window_; }
  platform::Timer& Timer1() { return timer_; }
  // A control by its name in the layout table ("Pole" is the board surface).
  platform::Control& ControlNamed(const std::string& name);
  // Clicks a control as the mouse would.
  void Click(const std::string& name);
  // Brings every control and the timer in line with the game state.
  void Sync();

 private:
  void Build();
  void Bind();
  void Tick();
  // The potato strips are painted once per load; their widths reveal the icons.
  void RepaintStrips();
  // After a button or label: a reload may have failed, the panel changed.
  void AfterReload();
  void ShowLoadFailure(const ZoneError& error);
  platform::Label& LabelNamed(const std::string& name);
  platform::Image& ImageNamed(const std::string& name);

  platform::App& app_;
  BoardRenderer painter_;
  GameSounds sounds_;
  Prompter& prompter_;
  Game game_;
  platform::Window window_;
  platform::Timer timer_;
  std::map<std::string, std::unique_ptr<platform::Control>> controls_;
  platform::PictureBox pole_;
  platform::PictureBox* viewport_ = nullptr;  // Picture1, on the client area; the board is in it
  // The controls every Sync writes, found once when the screen is built: looked up by name
  // they cost a string search each tick.
  struct Panel {
    platform::Control* BoxOverlay = nullptr;
    platform::Label* BoxesLeft = nullptr;
    platform::Label* Time = nullptr;
    platform::Control* Kapsa = nullptr;
    platform::Control* Need = nullptr;
    platform::Image* Key = nullptr;
    platform::Image* Carried = nullptr;
    std::array<platform::Control*, 4> Debug{};
    platform::Control* Pause = nullptr;
  } panel_;
  platform::SurfacePtr kapsaCanvas_;
  platform::SurfacePtr needCanvas_;
  quarn::SurfacePtr logo_;
  bool failureShown_ = false;
  bool closed_ = false;
  bool paused_ = false;
};

}  // namespace quarn::ui
