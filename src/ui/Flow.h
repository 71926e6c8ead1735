// Flow.h — the program's way between its screens: the start screen, the game screen and back.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GameScreen.h"
#include "StartScreen.h"
#include "game/Ports.h"
#include "platform/App.h"
#include "platform/Timers.h"
#include "sound/SoundModule.h"

namespace quarn::ui {

struct FlowFolders {
  std::filesystem::path Data;                      // Graphics and sound
  std::vector<std::filesystem::path> ZoneFolders;  // listed in this order
  std::filesystem::path UserZones;                 // where a zone is copied to be edited;
                                                   // empty when the player has no usable one
  std::filesystem::path Shipped;                   // zones never edited where they are
  std::string UserZonesRefused{};  // why the player's folder is not used; told on the start screen
};

class Flow {
 public:
  Flow(platform::App& app, ProgramContext& program, SoundModule& sound, Prompter& prompter,
       FlowFolders folders);
  ~Flow();
  Flow(const Flow&) = delete;
  Flow& operator=(const Flow&) = delete;

  // The start screen's load and first showing: the sound question first (unless askSound is
  // false, when sound stays as it is), then the screen.
  void Begin(bool askSound);
  // Plays zone without the start screen: closing the game screen ends the program. False when
  // the zone cannot be opened (the player has been told).
  bool PlayOnly(const std::string& zone);

  StartScreen& Start() { return *start_; }
  // The game screen being played, or null.
  GameScreen* Game() { return game_.get(); }
  // Runs for every new game screen before its zone is loaded (the trace hooks onto it).
  std::function<void(GameScreen&)> OnNewGameScreen;
  // Replaceable for tests: hands a link, or a zone file for the editor, to the desktop; false
  // when no program could be started for it.
  std::function<bool(const std::string&)> OpenLink;
  std::function<bool(const std::filesystem::path&)> OpenInEditor;

 private:
  // A fresh game screen for zone; false when the zone could not be opened.
  bool OpenGame(const std::string& zone, std::function<void()> onClosed);
  void Play(const std::filesystem::path& zone);
  void Edit(const std::filesystem::path& zone);
  void Link(const std::string& link);
  void BackToStart();
  // A closed game screen is dropped once the event that closed it is over.
  void Retire();

  platform::App& app_;
  ProgramContext& program_;
  SoundModule& sound_;
  Prompter& prompter_;
  FlowFolders folders_;
  std::unique_ptr<StartScreen> start_;
  std::unique_ptr<GameScreen> game_;
  std::unique_ptr<GameScreen> retired_;
  platform::Timer reaper_;
};

}  // namespace quarn::ui
