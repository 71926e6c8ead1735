// Flow.cpp — opening zones from the start screen, going back to it, the editor and the links.
#include "Flow.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "game/ZoneWriter.h"
#include "system/Folders.h"
#include "system/Launch.h"

namespace quarn::ui {

Flow::Flow(platform::App& app, ProgramContext& program, SoundModule& sound, Prompter& prompter,
           FlowFolders folders)
    : app_(app),
      program_(program),
      sound_(sound),
      prompter_(prompter),
      folders_(std::move(folders)),
      reaper_(app.Timers(), [this] {
        reaper_.SetEnabled(false);
        retired_.reset();
        retiredEditor_.reset();
      }) {
  OpenLink = [](const std::string& link) { system::OpenLink(link); };
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
  start_ = std::make_unique<StartScreen>(app_, prompter_, folders_.Data, folders_.ZoneFolders);
  start_->OnPlay = [this](const std::filesystem::path& zone) { Play(zone); };
  start_->OnEdit = [this](const std::filesystem::path& zone) { Edit(zone); };
  start_->OnLink = [this](const std::string& link) { OpenLink(link); };
  start_->OnCancel = [this] { app_.Quit(); };
  start_->OnOpenEditor = [this](const std::filesystem::path& zone) { OpenEditor(zone); };
  // Asked once per run, before the start screen is first seen.
  if (askSound) sound_.SetEnabled(start_->AskSound());
  start_->Show();
}

bool Flow::PlayOnly(const std::string& zone) {
  return OpenGame(zone, [this] { app_.Quit(); });
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
  const std::filesystem::path shipped = system::ShippedZoneFolder(folders_.Data);
  editor_ = std::make_unique<EditorScreen>(app_, prompter_, folders_.Data, shipped,
                                           folders_.UserZones);
  editor_->OnClosed = std::move(onClosed);
  editor_->OnTestPlay = [this](const std::string& text) { TestPlay(text); };
  if (!editor_->Open(zone)) {
    editor_.reset();
    return false;
  }
  editor_->Show();
  return true;
}

void Flow::TestPlay(const std::string& zoneText) {
  if (testFolder_.empty()) {
    // A folder of our own, so that no other program can put a file where the copy goes.
    std::string pattern = (std::filesystem::temp_directory_path() / "quarn-zkouska-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      prompter_.SkinMsgBox("Zónu nelze vyzkoušet: chybí místo pro dočasný soubor.", msgbox::OkOnly,
                           msgbox::IconCritical, "");
      return;
    }
    testFolder_ = pattern;
  }
  const std::filesystem::path copy = testFolder_ / "zkouska.qrn";
  if (auto error = WriteFileSafely(copy.string(), zoneText)) {
    prompter_.SkinMsgBox("Zónu nelze vyzkoušet: " + *error, msgbox::OkOnly, msgbox::IconCritical,
                         "");
    return;
  }
  game_.reset();
  retired_.reset();
  if (OpenGame(copy.string(), [this] { BackToEditor(); })) {
    if (editor_) editor_->Hide();
  }
}

void Flow::BackToEditor() {
  Retire();
  if (editor_) editor_->Show();
}

bool Flow::OpenGame(const std::string& zone, std::function<void()> onClosed) {
  game_ = std::make_unique<GameScreen>(app_, program_, sound_, prompter_, folders_.Data);
  game_->OnClosed = std::move(onClosed);
  game_->OnLink = [this](const std::string& link) { OpenLink(link); };
  if (OnNewGameScreen) OnNewGameScreen(*game_);
  if (!game_->Load(zone)) {
    game_.reset();
    return false;
  }
  return true;
}

void Flow::Play(const std::filesystem::path& zone) {
  // Every zone chosen gets a fresh game screen.
  game_.reset();
  retired_.reset();
  // An unreadable zone stays on the start screen, after the loader's error was shown.
  if (OpenGame(zone.string(), [this] { BackToStart(); })) start_->Hide();
}

void Flow::BackToStart() {
  Retire();
  start_->Show();
}

void Flow::Retire() {
  // Closing runs inside the game screen's own event handlers: it is destroyed after them.
  retired_ = std::move(game_);
  reaper_.SetEnabled(true);
}

void Flow::Edit(const std::filesystem::path& zone) {
  std::string error;
  const auto file = system::EditableZone(zone, folders_.UserZones, error);
  if (!file) {
    prompter_.SkinMsgBox(error, msgbox::OkOnly, msgbox::IconCritical, "");
    return;
  }
  if (!OpenInEditor(*file)) {
    prompter_.SkinMsgBox("Editor se nepodařilo spustit (xdg-open).\n" + file->string(),
                         msgbox::OkOnly, msgbox::IconCritical, "");
  }
}

}  // namespace quarn::ui
