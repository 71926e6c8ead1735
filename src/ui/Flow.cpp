// Flow.cpp — opening zones from the start screen, going back to it, the editor and the links.
#include "Flow.h"

#include "game/Text.h"
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
      }) {
  OpenLink = [](const std::string& link) { return system::OpenLink(link); };
  OpenInEditor = [](const std::filesystem::path& file) { return system::OpenInEditor(file); };
  reaper_.SetInterval(0);
}

Flow::~Flow() {
  // The game screen frees its sound slots before the start screen and the timers go.
  game_.reset();
  retired_.reset();
}

void Flow::Begin(bool askSound) {
  start_ = std::make_unique<StartScreen>(app_, prompter_, folders_.Data, folders_.ZoneFolders);
  start_->OnPlay = [this](const std::filesystem::path& zone) { Play(zone); };
  start_->OnEdit = [this](const std::filesystem::path& zone) { Edit(zone); };
  start_->OnLink = [this](const std::string& link) { Link(link); };
  start_->OnCancel = [this] { app_.Quit(); };
  // Asked once per run, before the start screen is first seen.
  if (askSound) sound_.SetEnabled(start_->AskSound());
  // Players who start the game from the desktop see no terminal: the refusal is said here too.
  if (!folders_.UserZonesRefused.empty()) {
    prompter_.SkinMsgBox(folders_.UserZonesRefused, msgbox::OkOnly, msgbox::IconExclamation, "");
  }
  start_->Show();
}

bool Flow::PlayOnly(const std::string& zone) {
  return OpenGame(zone, [this] { app_.Quit(); });
}

bool Flow::OpenGame(const std::string& zone, std::function<void()> onClosed) {
  game_ = std::make_unique<GameScreen>(app_, program_, sound_, prompter_, folders_.Data);
  game_->OnClosed = std::move(onClosed);
  game_->OnLink = [this](const std::string& link) { Link(link); };
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
  const auto file = system::EditableZone(zone, folders_.Shipped, folders_.UserZones, error);
  if (!file) {
    prompter_.SkinMsgBox(error, msgbox::OkOnly, msgbox::IconCritical, "");
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
