// Flow.cpp — opening zones from the start screen, going back to it, the editor and the links.
#include "Flow.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "RunProof.h"
#include "base/Text.h"
#include "system/Copies.h"
#include "system/Folders.h"
#include "system/Launch.h"
#include "system/Recovery.h"
#include "system/SafeFile.h"
#include "zone/ZoneTitle.h"
#include "zone/ZoneWriter.h"

namespace quarn::ui {

Flow::Flow(platform::App& app, ProgramContext& program, SoundModule& sound, Prompter& prompter,
           FlowFolders folders)
    : app_(app),
      program_(program),
      sound_(sound),
      prompter_(prompter),
      folders_(std::move(folders)),
      catalogue_([this] {
        // The shipped folder is shipped however it was named.
        std::vector<system::CatalogueRoot> roots = folders_.ZoneFolders;
        for (system::CatalogueRoot& root : roots) {
          std::error_code ec;
          if (!folders_.Shipped.empty() && std::filesystem::equivalent(root.Folder, folders_.Shipped, ec))
            root.Shipped = true;
        }
        return roots;
      }()),
      reaper_(app.Timers(),
              [this] {
                reaper_.SetEnabled(false);
                retired_.reset();
                retiredEditor_.reset();
              }),
      keeper_(folders_.State, folders_.Runs, {{}, std::chrono::milliseconds(2000), ProveKeptRun}) {
  keeper_.Load();
  settings_ = system::ReadSettings(folders_.State);
  system::ReadBindings keys = system::ReadKeyBindings(folders_.Config);
  keyBindings_ = keys.Bindings;
  keysDamaged_ = std::move(keys.Message);
  OpenLink = [](const std::string& link) { return system::OpenLink(link); };
  OpenInEditor = [](const std::filesystem::path& file) { return system::OpenInEditor(file); };
  reaper_.SetInterval(0);
}

Flow::~Flow() {
  // The game screen frees its sound slots before the start screen and the timers go.
  game_.reset();
  retired_.reset();
  editor_.reset();
  retiredEditor_.reset();
  if (!testFolder_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(testFolder_, ec);
  }
}

void Flow::Begin(bool askSound) {
  // Asked once per run, before the start screen is first seen, and before anything of it is
  // read (its pictures, the zones and their titles): the question is the game's first window.
  if (askSound) sound_.SetEnabled(AskSound(prompter_));
  start_ = std::make_unique<StartScreen>(app_, prompter_, folders_.Data, catalogue_);
  start_->OnPlay = [this](const std::filesystem::path& zone) { Play(zone); };
  start_->OnEdit = [this](const std::filesystem::path& zone) { Edit(zone); };
  start_->OnLink = [this](const std::string& link) { Link(link); };
  start_->OnCancel = [this] { app_.Quit(); };
  start_->OnWatch = [this](const std::filesystem::path& zone) { WatchBest(zone); };
  start_->OnHelp = [this] { ShowHelp(); };
  start_->OnRecords = [this] { ShowRecords(); };
  start_->OnControls = [this] { ShowKeysScreen(); };
  start_->RecordOf = [this](const std::filesystem::path& zone) -> const system::ZoneRecord* {
    const auto key = keeper_.ContentKeyOf(zone);
    return key ? keeper_.Find(*key) : nullptr;
  };
  start_->AuthorTimeOf = [this](const std::filesystem::path& zone) { return AuthorTime(zone); };
  start_->OnOpenEditor = [this](const std::filesystem::path& zone) { OpenEditor(zone); };
  if (OnStartScreenMade) OnStartScreenMade(*start_);
  // Players who start the game from the desktop see no terminal: the refusal is said here too.
  if (!folders_.UserZonesRefused.empty()) {
    prompter_.SkinMsgBox(folders_.UserZonesRefused, msgbox::OkOnly, msgbox::IconExclamation, "");
  }
  TellNotice();
  // The list opens where the player was: the zone played last, or the next one to win.
  const auto opening = system::OpeningPlace(
      catalogue_, system::ReadLastZone(folders_.State), [this](const std::filesystem::path& zone) {
        const system::ZoneRecord* r = start_->RecordOf(zone);
        return r && r->Won;
      });
  if (opening) start_->Select(catalogue_.ZoneAt(*opening)->File);
  start_->Show();
}

void Flow::KeepPlayed(const std::filesystem::path& zone) {
  if (folders_.State.empty()) return;
  // Only where the player is: a failure to keep it costs the next start its place, nothing more.
  if (auto kept = system::KeepLastZone(folders_.State, zone); !kept) {
    std::fprintf(stderr, "quarn: %s\n", ShowControls(kept.Error().Message).c_str());
  }
}

bool Flow::PlayOnly(const std::string& zone, const std::optional<std::string>& watch,
                    const std::optional<std::string>& ghost) {
  TellNotice();
  if (watch) return WatchRun(zone, *watch, [this] { app_.Quit(); });
  if (!ghost) return OpenGame(zone, [this] { app_.Quit(); });
  if (PlayRacing) return PlayRacing(zone, *ghost);
  // A run to race is read and checked as a watched one is, before the zone opens.
  auto script = ReadKeyScript(*ghost);
  if (auto* error = std::get_if<KeyScriptError>(&script)) {
    prompter_.SkinMsgBox("Průchod nelze přehrát.\n" + error->Describe(), msgbox::OkOnly,
                         msgbox::IconCritical, "");
    return false;
  }
  if (!RunFitsZone(std::get<KeyScript>(script), zone)) return false;
  if (!OpenGame(zone, [this] { app_.Quit(); }, "", false)) return false;
  auto run = GhostRun::Play(zone, std::get<KeyScript>(script));
  if (auto* error = std::get_if<OpenError>(&run)) {
    prompter_.SkinMsgBox("Průchod „" + ShowControls(std::filesystem::path(*ghost).filename().string()) +
                             "“ nelze přehrát.\n" + error->Describe(),
                         msgbox::OkOnly, msgbox::IconExclamation, "");
    return true;
  }
  game_->SetGhost(std::make_shared<const GhostRun>(std::move(std::get<GhostRun>(run))),
                  "průchodu");
  return true;
}

bool Flow::RunFitsZone(const KeyScript& run, const std::filesystem::path& zone) {
  if (!run.NamedZone) return true;
  // Mended: a run of another zone played without a word, to an end that means nothing here.
  const std::string title = ShowControls(ReadZoneTitle(zone).value_or(zone.filename().string()));
  return *run.NamedZone == title ||
         prompter_.SkinMsgBox("Tento záznam je ze zóny „" + *run.NamedZone + "“, ne ze zóny „" +
                                  title + "“.\nPřehrát ho přesto?",
                              msgbox::YesNo, msgbox::IconQuestion, "") == msgbox::ResultYes;
}

std::shared_ptr<const GhostRun> Flow::PlayGhost(const std::string& zone,
                                                const std::filesystem::path& file) {
  auto script = ReadKeyScript(file.string());
  if (auto* error = std::get_if<KeyScriptError>(&script)) {
    std::fprintf(stderr, "quarn: no ghost: %s\n", ShowControls(error->Describe()).c_str());
    return nullptr;
  }
  auto run = GhostRun::Play(zone, std::get<KeyScript>(script));
  if (auto* error = std::get_if<OpenError>(&run)) {
    std::fprintf(stderr, "quarn: no ghost from %s: %s\n", ShowControls(file.string()).c_str(),
                 ShowControls(error->Describe()).c_str());
    return nullptr;
  }
  return std::make_shared<const GhostRun>(std::move(std::get<GhostRun>(run)));
}

void Flow::GiveGhost(const std::string& zone) {
  if (!game_) return;
  const auto key = keeper_.ContentKeyOf(zone);
  std::shared_ptr<const GhostRun> plain, rewound;
  if (key && !folders_.Runs.empty()) {
    if (auto file = system::FindRun(folders_.Runs, *key, false)) plain = PlayGhost(zone, *file);
    if (auto file = system::FindRun(folders_.Runs, *key, true)) rewound = PlayGhost(zone, *file);
  }
  if (plain) {
    game_->SetGhost(plain, "nejlepšímu", rewound);
  } else if (rewound) {
    game_->SetGhost(rewound, "nejlepšímu se zpětným chodem", rewound);
  } else {
    if (const auto author = AuthorRunOf(zone)) {
      game_->SetGhost(PlayGhost(zone, *author), "autorovi");
    }
  }
}

void Flow::TellNotice() {
  // A win that waited for another game's lock is saved at the next chance.
  if (keeper_.Waiting() > 0) keeper_.Retry();
  const std::string notice = keeper_.TakeNotice();
  if (!notice.empty()) prompter_.SkinMsgBox(notice, msgbox::OkOnly, msgbox::IconExclamation, "");
}

bool Flow::WatchRun(const std::filesystem::path& zone, const std::filesystem::path& run,
                    std::function<void()> onClosed) {
  auto script = ReadKeyScript(run.string());
  if (auto* error = std::get_if<KeyScriptError>(&script)) {
    prompter_.SkinMsgBox("Průchod nelze přehrát.\n" + error->Describe(), msgbox::OkOnly,
                         msgbox::IconCritical, "");
    return false;
  }
  if (!RunFitsZone(std::get<KeyScript>(script), zone)) return false;
  if (!OpenGame(zone.string(), std::move(onClosed), "", false)) return false;
  game_->OnWin = nullptr;
  game_->OnNextZone = nullptr;
  game_->WhatComesNext = nullptr;
  game_->WatchedName = run.filename().string();
  game_->Watch(std::move(std::get<KeyScript>(script)));
  return true;
}

void Flow::WatchBest(const std::filesystem::path& zone) {
  const auto key = keeper_.ContentKeyOf(zone);
  const auto run = key ? keeper_.BestRunOf(*key) : std::nullopt;
  if (!run) {
    prompter_.SkinMsgBox("Tato zóna zatím nemá uložený průchod. Vyhraj ji a hra si ho zapamatuje.",
                         msgbox::OkOnly, msgbox::IconInformation, "");
    return;
  }
  game_.reset();
  retired_.reset();
  if (WatchRun(zone, *run, [this] { BackToStart(); })) start_->Hide();
}

NextOffer Flow::WhatComesNext(const std::string& zone) const {
  // A zone no longer listed has no next one either.
  const auto place = catalogue_.Find(zone);
  if (!place) return NextOffer::Last;
  if (catalogue_.NextInSet(zone)) return NextOffer::Next;
  // With one set there is nothing to name: the list's last zone is the last.
  const std::string set =
      catalogue_.SetsWithZones() > 1 ? ShowControls(catalogue_.Sets()[place->Set].Title) : "";
  if (const system::ZoneSet* after = catalogue_.SetAfter(place->Set))
    return NextOffer(NextOffer::SetEnd, set, ShowControls(after->Title));
  return NextOffer(NextOffer::Last, set);
}

void Flow::NextZone(const std::string& zone) {
  if (!start_) return;
  const system::ZoneEntry* next = catalogue_.NextToPlay(zone);
  if (!next) {
    prompter_.SkinMsgBox("Tohle byla poslední zóna v seznamu.", msgbox::OkOnly,
                         msgbox::IconInformation, "");
    return;
  }
  const std::filesystem::path file = next->File;
  start_->Select(file);
  // N comes from the old game screen's own key handler: it is dropped once that is over.
  Retire();
  if (OpenGame(file.string(), [this] { BackToStart(); })) {
    KeepPlayed(file);
  } else {
    start_->Show();
  }
}

void Flow::ShowHelp() {
  // Made anew when a pad came or went since, or the player's keys changed: the help names the
  // pad's buttons while one is in, and the player's keys.
  if (!help_ || helpWithPad_ != app_.PadInUse() || helpKeys_ != keyBindings_) {
    if (help_) help_->Hide();
    helpWithPad_ = app_.PadInUse();
    helpKeys_ = keyBindings_;
    help_ = std::make_unique<HelpWindow>(app_, folders_.Data, std::nullopt,
                                         PlayerHelpKeys(keyBindings_, helpWithPad_),
                                         PlayerHelpTiles(keyBindings_));
    help_->OnClosed = [this] {
      if (pausedForHelp_ && game_ && game_->Paused()) game_->TogglePause();
      pausedForHelp_ = false;
      // The keyboard goes back to the window the help was opened from.
      if (game_ && game_->Window().Shown()) {
        game_->Window().Show();
      } else if (editor_ && editor_->Window().Shown()) {
        editor_->Window().Show();
      } else if (start_ && start_->Window().Shown()) {
        start_->Window().Show();
      }
    };
  }
  // The game waits while the player reads.
  if (game_ && !game_->Paused()) {
    game_->TogglePause();
    pausedForHelp_ = true;
  }
  help_->Show();
}

void Flow::ShowKeysScreen() {
  if (!start_) return;
  if (!controlsWindow_) {
    controlsWindow_ = std::make_unique<ControlsWindow>(app_, prompter_, folders_.Config);
    controlsWindow_->OnChanged = [this](const system::KeyBindings& keys) { keyBindings_ = keys; };
    controlsWindow_->OnClosed = [this] {
      if (start_ && start_->Window().Shown()) start_->Window().Show();
    };
  }
  controlsWindow_->Show(keyBindings_);
}

void Flow::ShowRecords() {
  if (!start_) return;
  if (!recordsWindow_) {
    recordsWindow_ = std::make_unique<RecordsWindow>(app_);
    recordsWindow_->OnClosed = [this] {
      if (start_ && start_->Window().Shown()) start_->Window().Show();
    };
  }
  std::vector<RecordsRow> rows;
  for (const system::ZoneSet& set : catalogue_.Sets()) {
    for (const system::ZoneEntry& z : set.Zones) {
      const auto key = keeper_.ContentKeyOf(z.File);
      rows.push_back(RecordsRowOf(ShowControls(z.Title), key ? keeper_.Find(*key) : nullptr,
                                  AuthorTime(z.File)));
      rows.back().Set = ShowControls(set.Title);
    }
  }
  recordsWindow_->Show(std::move(rows));
}

std::optional<int64_t> Flow::AuthorTime(const std::filesystem::path& zone) {
  const auto run = AuthorRunOf(zone);
  if (!run) return std::nullopt;
  // Replayed once per content of the zone and its run.
  std::error_code ec;
  // (The browser's library counts file times in 128 bits.)
  auto when = [&ec](const std::filesystem::path& file) {
    return static_cast<int64_t>(std::filesystem::last_write_time(file, ec).time_since_epoch().count());
  };
  const Stamp stamp{when(zone), when(*run)};
  auto& kept = authorTimes_[zone.string()];
  if (!kept || kept->first != stamp) kept = std::make_pair(stamp, AuthorTicks(zone));
  return kept->second;
}

bool Flow::EditOnly(const std::string& zone) {
  return StartEditor(zone, [this] { app_.Quit(); });
}

void Flow::OpenEditor(const std::filesystem::path& zone) {
  if (StartEditor(zone, [this] {
        retiredEditor_ = std::move(editor_);
        reaper_.SetEnabled(true);
        start_->Show();
      })) {
    start_->Hide();
  }
}

bool Flow::StartEditor(const std::filesystem::path& zone, std::function<void()> onClosed) {
  edit::ZoneFolders folders;
  folders.Copies = folders_.UserZones;
  folders.Protected = {system::ShippedZoneFolder(folders_.Data)};
  if (!folders_.Shipped.empty()) folders.Protected.push_back(folders_.Shipped);
  // Every shipped set, also those in the shipped folder's subfolders. The editor opened alone
  // reads the catalogue here; with a start screen the list is its own to refresh, so that its
  // rows always show the catalogue's sets.
  if (!start_) catalogue_.Refresh();
  for (const std::filesystem::path& shipped : catalogue_.ShippedFolders())
    folders.Protected.push_back(shipped);
  if (!folders_.RefusedZones.empty()) folders.Refused = {folders_.RefusedZones};
  // Mended: E on a shipped zone the player had edited opened the shipped one again, and its save
  // made a second copy beside the first.
  std::filesystem::path file = zone;
  if (auto copy = system::ExistingCopy(system::CopyNameOf(catalogue_, zone), folders_.UserZones))
    file = *copy;
  const std::filesystem::path recovery =
      folders_.State.empty() ? std::filesystem::path() : system::RecoveryFolder(folders_.State);
  editor_ =
      std::make_unique<EditorScreen>(app_, prompter_, folders_.Data, std::move(folders), recovery);
  editor_->OnClosed = std::move(onClosed);
  editor_->OnTestPlay = [this](const std::string& text) { TestPlay(text); };
  editor_->OnTestPlayHere = [this](const std::string& text) { TestPlay(text, false); };
  editor_->ShareClipboard(clipboard_);
  editor_->OnHelp = [this] { ShowHelp(); };
  if (OnEditorMade) OnEditorMade(*editor_);
  if (!editor_->Open(file)) {
    editor_.reset();
    return false;
  }
  editor_->Show();
  return true;
}

void Flow::KeepUnsavedWork() {
  if (!editor_) return;
  const std::string zone = editor_->Model().Path().empty()
                               ? "nová zóna"
                               : ShowControls(editor_->Model().Path().string());
  if (const auto kept = editor_->KeepUnsaved()) {
    std::fprintf(stderr,
                 "quarn: neuložené změny (%s) jsou uchovány v %s; editor je nabídne obnovit, až "
                 "zónu otevřeš příště.\n",
                 zone.c_str(), ShowControls(kept->string()).c_str());
  }
}

void Flow::TestPlay(const std::string& zoneText, bool fromStart) {
  if (testFolder_.empty()) {
    // A folder of our own, so that no other program can put a file where the copy goes.
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quarn-zkouska-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      prompter_.SkinMsgBox("Zónu nelze vyzkoušet: chybí místo pro dočasný soubor.", msgbox::OkOnly,
                           msgbox::IconCritical, "");
      return;
    }
    testFolder_ = pattern;
  }
  const std::filesystem::path copy = testFolder_ / "zkouska.qrn";
  if (const auto written = system::WriteWhole(copy, zoneText); !written) {
    prompter_.SkinMsgBox("Zónu nelze vyzkoušet: " + written.Error().Message, msgbox::OkOnly,
                         msgbox::IconCritical, "");
    return;
  }
  game_.reset();
  retired_.reset();
  const std::string authors =
      editor_ && !editor_->Model().Path().empty() ? editor_->Model().Path().string() : "";
  if (OpenGame(copy.string(), [this] { BackToEditor(); }, authors)) {
    // A test-play is no run of the player's: nothing is recorded, and a win is offered to the
    // author as the zone's solution once the editor is back.
    solution_.clear();
    game_->OnWin = [this](const system::FinishedRun& run) {
      // The script names the zone the author edits, not the private copy that was played.
      if (run.Ticks) {
        solution_ = system::RunText(run, editor_ ? editor_->Model().Path() : run.Zone.File);
      }
    };
    // A run from another cell proves nothing about the zone: a win there is not kept.
    if (!fromStart) game_->OnWin = [](const system::FinishedRun&) {};
    game_->OnNextZone = nullptr;
    game_->WhatComesNext = nullptr;
    game_->EscapeLeadsTo = "zpět do editoru";
    if (editor_) editor_->Hide();
  }
}

void Flow::BackToEditor() {
  Retire();
  if (!editor_) return;
  editor_->Show();
  if (!solution_.empty()) editor_->OfferSolution(std::exchange(solution_, std::string()));
}

bool Flow::OpenGame(const std::string& zone, std::function<void()> onClosed,
                    const std::string& shownPath, bool withGhost) {
  game_ = std::make_unique<GameScreen>(app_, program_, sound_, prompter_, folders_.Data);
  game_->ShownPath = shownPath;
  game_->OnClosed = std::move(onClosed);
  game_->OnLink = [this](const std::string& link) { Link(link); };
  game_->TakeOpening = [this](const std::filesystem::path& file) { return keeper_.Open(file); };
  // The screen hands its win over; the keeper decides what is recorded and kept, and the line
  // under the board tells whether it was a record, or the best this run did not beat.
  game_->OnWin = [this, zone, withGhost](const system::FinishedRun& run) {
    const auto bestOf = [this, &run]() -> std::optional<int64_t> {
      const system::ZoneRecord* r =
          run.Zone.ContentKey ? keeper_.Find(*run.Zone.ContentKey) : nullptr;
      return r ? (run.Rewound ? r->BestRewind : r->BestPlain) : std::nullopt;
    };
    const auto before = bestOf();
    keeper_.Keep(run);
    // The next run races the best as it stands now.
    if (withGhost && run.Ticks && game_) GiveGhost(zone);
    if (run.Ticks && game_) {
      const auto best = bestOf();
      WinOutcome outcome = game_->LastWin();
      outcome.NewRecord = best && *best == *run.Ticks && (!before || *run.Ticks < *before);
      if (!outcome.NewRecord) outcome.Best = best;
      game_->SetWinOutcome(outcome);
    }
    TellNotice();
  };
  if (start_) {
    game_->OnNextZone = [this, zone] { NextZone(zone); };
    game_->WhatComesNext = [this, zone] { return WhatComesNext(zone); };
    game_->EscapeLeadsTo = "výběr zóny";
  }
  game_->OnHelp = [this] { ShowHelp(); };
  if (keyBindings_ != system::KeyBindings{})
    game_->Window().KeyMap = system::KeyMapOf(keyBindings_);
  game_->UseKeys(keyBindings_);
  if (!keysDamaged_.empty()) {
    prompter_.SkinMsgBox(std::exchange(keysDamaged_, std::string()), msgbox::OkOnly,
                         msgbox::IconExclamation, "");
  }
  if (OnNewGameScreen) OnNewGameScreen(*game_);
  game_->SetGhostShown(settings_.Ghost);
  game_->OnGhostToggled = [this](bool shown) {
    settings_.Ghost = shown;
    if (folders_.State.empty()) return;
    if (auto kept = system::KeepSettings(folders_.State, settings_); !kept) {
      std::fprintf(stderr, "quarn: %s\n", ShowControls(kept.Error().Message).c_str());
    }
  };
  if (!game_->Load(zone)) {
    game_.reset();
    return false;
  }
  if (withGhost) GiveGhost(zone);
  return true;
}

void Flow::Play(const std::filesystem::path& zone) {
  // Every zone chosen gets a fresh game screen.
  game_.reset();
  retired_.reset();
  // An unreadable zone stays on the start screen, after the loader's error was shown.
  if (OpenGame(zone.string(), [this] { BackToStart(); })) {
    KeepPlayed(zone);
    start_->Hide();
    // The start screen's own windows go with it: they belong to the zone list.
    if (recordsWindow_) recordsWindow_->Hide();
    if (controlsWindow_) controlsWindow_->Hide();
  }
}

void Flow::BackToStart() {
  Retire();
  if (help_) help_->Hide();
  if (recordsWindow_) recordsWindow_->Hide();
  if (controlsWindow_) controlsWindow_->Hide();
  start_->Show();
  TellNotice();
}

void Flow::Retire() {
  // Closing runs inside the game screen's own event handlers: it is destroyed after them.
  retired_ = std::move(game_);
  reaper_.SetEnabled(true);
}

void Flow::Edit(const std::filesystem::path& zone) {
  const auto file =
      system::EditableZone(zone, system::CopyNameOf(catalogue_, zone), folders_.UserZones);
  if (!file) {
    prompter_.SkinMsgBox(file.Error().Message, msgbox::OkOnly, msgbox::IconCritical, "");
    return;
  }
  if (!OpenInEditor(*file)) {
    prompter_.SkinMsgBox(
        "Editor se nepodařilo spustit (xdg-open).\n" + ShowControls(file->string()), msgbox::OkOnly,
        msgbox::IconCritical, "");
  }
}

void Flow::Link(const std::string& link) {
  // Mended: with no program to open links a click did nothing at all; the player is told, as
  // for the editor.
  if (!OpenLink(link)) {
    prompter_.SkinMsgBox("Odkaz se nepodařilo otevřít: chybí program xdg-open.\n" + link,
                         msgbox::OkOnly, msgbox::IconExclamation, "");
  }
}

}  // namespace quarn::ui
