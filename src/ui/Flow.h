// Flow.h — the program's way between its screens: the start screen, the game screen and back.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ControlsWindow.h"
#include "EditorScreen.h"
#include "GameScreen.h"
#include "HelpWindow.h"
#include "RecordsWindow.h"
#include "StartScreen.h"
#include "game/Ports.h"
#include "platform/App.h"
#include "platform/Timers.h"
#include "sound/SoundModule.h"
#include "system/Catalogue.h"
#include "system/KeyBindings.h"
#include "system/Records.h"
#include "system/RunKeeper.h"
#include "system/Settings.h"
#include "zone/ZoneTitle.h"

namespace quarn::ui {

struct FlowFolders {
  std::filesystem::path Data;                      // Graphics and sound
  std::vector<system::CatalogueRoot> ZoneFolders;  // their sets listed in this order
  std::filesystem::path UserZones;                 // where a zone is copied to be edited;
                                                   // empty when the player has no usable one
  std::filesystem::path Shipped;                   // zones never edited where they are
  std::string UserZonesRefused{};  // why the player's folder is not used; told on the start screen
  std::filesystem::path State{};   // the records; empty: nothing is kept
  std::filesystem::path Runs{};    // the best runs
  std::filesystem::path RefusedZones{};  // the refused folder, never read nor written by the editor
  std::filesystem::path Config{};  // the player's keys; empty: the game's own keys
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
  // With watch, the key script of that file is played instead (the player only watches).
  // With ghost, that file's run is raced as the ghost instead of the zone's kept run.
  bool PlayOnly(const std::string& zone, const std::optional<std::string>& watch = {},
                const std::optional<std::string>& ghost = {});
  // The player's records and kept runs.
  system::RunKeeper& Records() { return keeper_; }
  // Opens zone in the zone editor without the start screen: closing the editor ends the program.
  // False when the zone cannot be opened (the player has been told).
  bool EditOnly(const std::string& zone);
  // The zone editor on zone (an empty path: a new zone); the start screen comes back when it
  // closes. A shipped zone the player already has a copy of opens that copy, as the Editor
  // button does.
  void OpenEditor(const std::filesystem::path& zone);
  // The program is being ended by a signal: the editor's unsaved changes are kept in a recovery
  // copy, and stderr says where.
  void KeepUnsavedWork();

  StartScreen& Start() { return *start_; }
  // The game screen being played, or null.
  GameScreen* Game() { return game_.get(); }
  // The zone editor, or null.
  EditorScreen* Editor() { return editor_.get(); }
  // The records overview, once R opened it; null before.
  RecordsWindow* RecordsOverview() { return recordsWindow_.get(); }
  // The help, once F1 opened it; null before.
  HelpWindow* Help() { return help_.get(); }
  // The controls screen, once K opened it; null before.
  ControlsWindow* Controls() { return controlsWindow_.get(); }
  // The player's keys, as the game screens get them.
  const system::KeyBindings& KeyBindings() const { return keyBindings_; }
  // Runs for every new game screen before its zone is loaded (the trace hooks onto it).
  std::function<void(GameScreen&)> OnNewGameScreen;
  // Replaceable for tests: hands a link, or a zone file for the editor, to the desktop; false
  // when no program could be started for it.
  std::function<bool(const std::string&)> OpenLink;
  std::function<bool(const std::filesystem::path&)> OpenInEditor;

  // What the host adds (ui/Host.h; a desktop adds nothing). Runs when the start screen is made,
  // before it is shown.
  std::function<void(StartScreen&)> OnStartScreenMade;
  // Runs for every zone editor made, before it opens its zone.
  std::function<void(EditorScreen&)> OnEditorMade;
  // Plays a zone alone with a run to race (--ghost) the host's way instead of the desktop's.
  std::function<bool(const std::string& zone, const std::string& run)> PlayRacing;
  // The browser's ways (web/FlowBrowser.cpp; only the browser build has them): the zone of a
  // link played with the link's run as the ghost; Shift+O, a link to the zone with its best
  // kept run to beat; Shift+S, the zone's kept runs downloaded, the best first.
  bool PlayWithLinkRun(const std::string& zone, const std::string& runFile);
  void ShareWithRun(const std::filesystem::path& zone, const std::string& title);
  void DownloadRuns(const std::filesystem::path& zone, const std::string& title);

 private:
  // A fresh game screen for zone; false when the zone could not be opened.
  // shownPath: the file messages name instead of zone (a test-played copy names the author's).
  bool OpenGame(const std::string& zone, std::function<void()> onClosed,
                const std::string& shownPath = "", bool withGhost = true);
  // Plays the run in a fresh game screen of zone; false (the player told) when it cannot.
  bool WatchRun(const std::filesystem::path& zone, const std::filesystem::path& run,
                std::function<void()> onClosed);
  void WatchBest(const std::filesystem::path& zone);
  // Whether a run that names another zone is played on zone all the same (the player asked).
  bool RunFitsZone(const KeyScript& run, const std::filesystem::path& zone);
  // The game screen's ghost for zone: its best kept run without going back, else with it, else
  // the author's run beside the zone file; the splits of a run that goes back compare with the
  // best that went back.
  void GiveGhost(const std::string& zone);
  // The author's time of zone (the run beside it), replayed once per change of either file.
  std::optional<int64_t> AuthorTime(const std::filesystem::path& zone);
  // The run of file played through on zone as a ghost; none (said on stderr) when it cannot be.
  std::shared_ptr<const GhostRun> PlayGhost(const std::string& zone,
                                            const std::filesystem::path& file);
  // N after a win: the next zone of zone's set, or the first of the next set after a set's last.
  void NextZone(const std::string& zone);
  NextOffer WhatComesNext(const std::string& zone) const;
  // The zone the next start opens on (the state folder keeps it).
  void KeepPlayed(const std::filesystem::path& zone);
  void ShowHelp();
  // R on the start screen: every listed zone's record.
  void ShowRecords();
  // K on the start screen: the player's keys, which the next game screen takes.
  void ShowKeysScreen();
  void TellNotice();
  void Play(const std::filesystem::path& zone);
  void Edit(const std::filesystem::path& zone);
  void Link(const std::string& link);
  void BackToStart();
  bool StartEditor(const std::filesystem::path& zone, std::function<void()> onClosed);
  // F5 in the editor: the zone's text, unsaved changes included, is played from a private copy;
  // closing the game screen shows the editor again as it was. A win is offered as the zone's
  // solution only when the run began at the zone's own start (not after Shift+F5).
  void TestPlay(const std::string& zoneText, bool fromStart = true);
  void BackToEditor();
  // A closed game screen is dropped once the event that closed it is over.
  void Retire();

  platform::App& app_;
  ProgramContext& program_;
  SoundModule& sound_;
  Prompter& prompter_;
  FlowFolders folders_;
  system::Catalogue catalogue_;
  std::unique_ptr<StartScreen> start_;
  std::unique_ptr<GameScreen> game_;
  std::unique_ptr<GameScreen> retired_;
  std::unique_ptr<EditorScreen> editor_;
  std::unique_ptr<EditorScreen> retiredEditor_;
  std::filesystem::path testFolder_;  // the private folder of the test-played copy
  std::string solution_;              // the key script of a won test-play, until it is offered
  system::PlayerSettings settings_;
  system::KeyBindings keyBindings_;
  std::string keysDamaged_;  // told before the first zone is played
  bool helpWithPad_ = false;  // the help was made naming the pad's buttons
  system::KeyBindings helpKeys_;  // and these keys
  using Stamp = std::pair<int64_t, int64_t>;
  std::map<std::string, std::optional<std::pair<Stamp, std::optional<int64_t>>>> authorTimes_;
  edit::Piece clipboard_;             // the editor's, kept from one edited zone to the next
  platform::Timer reaper_;
  system::RunKeeper keeper_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<RecordsWindow> recordsWindow_;
  std::unique_ptr<ControlsWindow> controlsWindow_;
  bool pausedForHelp_ = false;  // the help paused the game, and its closing lets it go on
};

}  // namespace quarn::ui
