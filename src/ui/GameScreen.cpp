// GameScreen.cpp — building frmGame from its layout, its events, and mirroring the game state.
// Longer than 600 lines on purpose: the window's controls, its key and tick handlers and the
// mirror of the game state all read and write the same members of one screen, and each part
// alone would be a file of the class's private parts with no concern of its own.
#include "GameScreen.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "GameLayout.h"
#include "Links.h"
#include "game/Numbers.h"
#include "base/Text.h"

namespace quarn::ui {

namespace {

platform::WindowOptions GameWindowOptions() {
  platform::WindowOptions o;
  o.Title = AppTitle;
  o.Width = GameScreenWidth;
  o.Height = GameScreenHeight;
  o.Borderless = true;
  o.CanFullscreen = true;
  return o;
}

// Icons past the screen's right edge can never be revealed, so the strips stop there.
constexpr int StripCanvasWidth = GameScreenWidth + 50;
constexpr int IconEdge = 25;
constexpr int EscapeKey = 27;
constexpr int EnterKey = 13;
constexpr int PauseKey = 'P';
constexpr int BackspaceKey = 8;
constexpr int NextZoneKey = 'N';
constexpr int FastKey = 'F';
constexpr int HelpKey = 112;  // F1
// Held, Backspace goes on after a short wait, in steps that add up to a second of game time per
// second held; the game does not tick meanwhile.
constexpr int BackRepeatWaitMs = 400;
constexpr int BackRepeatMs = 62;
constexpr int64_t BackRepeatTicks = 4;
constexpr int WatchSpeedUp = 4;

// The key-script name of the arrows and the space bar held in a tick.
std::string KeysText(const TickKeys& keys) {
  std::string text;
  const std::pair<int, const char*> names[] = {{vk::Left, "left"},
                                               {vk::Up, "up"},
                                               {vk::Right, "right"},
                                               {vk::Down, "down"},
                                               {vk::Space, "space"}};
  for (const auto& [key, name] : names) {
    if (keys.Sampled(key) != 0) text += (text.empty() ? "" : "+") + std::string(name);
  }
  return text.empty() ? "-" : text;
}

}  // namespace

std::string WinLineText(const WinOutcome& outcome, NextOffer next, const std::string& escape) {
  std::string line;
  if (!outcome.Ticks) {
    line = "bez času";
  } else {
    line = "Čas " + system::SecondsText(*outcome.Ticks) + " s";
    if (outcome.Rewound) line += " se zpětným chodem";
    if (outcome.NewRecord) {
      line += " · nový rekord";
    } else if (outcome.Best) {
      line += " · nejlepší " + system::SecondsText(*outcome.Best) + " s";
    }
  }
  line += " · Enter – hrát znovu";
  switch (next.What) {
    case NextOffer::Next:
      line += " · N – další zóna";
      break;
    case NextOffer::SetEnd:
      line += " · konec sady „" + next.Set + "“ · N – sada „" + next.NextSet + "“";
      break;
    case NextOffer::Last:
      if (!next.Set.empty()) line += " · konec sady „" + next.Set + "“";
      line += " · poslední zóna";
      break;
    case NextOffer::None:
      break;
  }
  return line + " · Esc – " + escape;
}

std::string DeathLineText(DeathCause cause, const std::string& escape) {
  std::string why;
  switch (cause) {
    case DeathCause::TimeOut:
      why = "Čas vypršel · ";
      break;
    case DeathCause::Enemy:
      why = "Chytil tě nepřítel · ";
      break;
    case DeathCause::Laser:
      why = "Zasáhl tě laser · ";
      break;
    case DeathCause::None:
      break;
  }
  return why + "Enter – hrát znovu · Backspace – o sekundu zpět · Esc – " + escape;
}

std::string GameTitle(const std::string& zoneTitle, bool watching) {
  std::string title = std::string(AppTitle);
  if (!zoneTitle.empty()) title += " – " + zoneTitle;
  if (watching) title += " – záznam";
  return title;
}

GameScreen::GameScreen(platform::App& app, ProgramContext& program, SoundModule& sound,
                       Prompter& prompter, const std::filesystem::path& folder)
    : app_(app),
      painter_(folder),
      sounds_(sound),
      prompter_(prompter),
      game_(program, GamePorts{painter_, sounds_, winWatch_}),
      window_(app, GameWindowOptions()),
      timer_(app.Timers(), [this] { Tick(); }),
      backTimer_(app.Timers(), [this] { BackHeld(); }) {
  // Going back plays ticks again with the keys they read, and a watched run plays its script's
  // keys: both hold them in the tick's sample, so the game must read its keys from that sample.
  // A program that polls its keys directly would replay every tick with the keys down now.
  if (!program.EachTick) {
    throw std::invalid_argument("the game screen needs a program that reads its keys per tick");
  }
  tickKeys_ = program.EachTick;
  rewind_ = std::make_unique<RunRecorder>(game_, *tickKeys_);
  // Nothing of the board shows until Sync places it: an opening draws the cells in view only,
  // and a large board's surface takes memory only where it is drawn.
  painter_.SetShownArea(SDL_Rect{0, 0, 0, 0});
  // Each opening starts a run: the zone is taken as it stands then, so that a win is recorded
  // under what was played even when the file changes meanwhile.
  game_.OnOpening = [this, startRun = std::move(game_.OnOpening)] {
    if (startRun) startRun();
    if (TakeOpening) {
      opened_ = TakeOpening(game_.State.FileName);
    } else {
      opened_ = system::OpenedZone{std::filesystem::absolute(game_.State.FileName), std::nullopt,
                                   std::filesystem::path(game_.State.FileName).filename().string()};
    }
  };
  game_.OnWin = [this] {
    winAsked_ = true;
    if (!watching_) BeforeWinQuestion();
  };
  timer_.SetInterval(game_.State.TickInterval);
  kapsaCanvas_ = platform::NewSurface(StripCanvasWidth, IconEdge);
  needCanvas_ = platform::NewSurface(StripCanvasWidth, IconEdge);
  // The logo belongs to the window; without its picture the screen still plays.
  auto logo = LoadGraphicsFile(folder, "Logo.bmp");
  if (auto* picture = std::get_if<quarn::SurfacePtr>(&logo)) {
    logo_ = std::move(*picture);
  } else {
    std::fprintf(stderr, "quarn: %s\n",
                 ShowControls(std::get<PictureProblem>(logo).Describe()).c_str());
  }
  Build();
  Bind();
  ImageNamed("Image1").Picture = logo_.get();
  window_.OnCloseRequest = [this] { Close(); };
  window_.OnKeyDown = [this](int virtualKey) { OnKey(virtualKey); };
  window_.OnKeyUp = [this](int virtualKey) {
    if (virtualKey != BackspaceKey || !backHeld_) return;
    backHeld_ = false;
    Sync();
  };
}

GameScreen::~GameScreen() {
  timer_.SetEnabled(false);
  backTimer_.SetEnabled(false);
}

void GameScreen::OnKey(int virtualKey) {
  if (closed_) return;
  switch (virtualKey) {
    case EscapeKey:
      Close();
      break;
    case PauseKey:
      TogglePause();
      break;
    case BackspaceKey:
      if (watching_) break;
      GoBack(TicksPerSecond);
      backHeld_ = true;
      backTimer_.SetInterval(BackRepeatWaitMs);
      Sync();
      break;
    case FastKey:
      if (watching_ && !watchEnded_) ToggleFast();
      break;
    case EnterKey:
      // In play the tick reads Enter; a watched run that has ended is watched again.
      if (watching_ && watchEnded_) RestartWatch();
      break;
    case NextZoneKey:
      if (ShowsWayOn() && OnNextZone &&
          !(WhatComesNext && WhatComesNext().What == NextOffer::Last))
        OnNextZone();
      break;
    case HelpKey:
      if (OnHelp) OnHelp();
      break;
    default:
      break;
  }
}

void GameScreen::BackHeld() {
  if (!backHeld_ || closed_) {
    backTimer_.SetEnabled(false);
    return;
  }
  if (backTimer_.Interval() != BackRepeatMs) backTimer_.SetInterval(BackRepeatMs);
  GoBack(BackRepeatTicks);
}

void GameScreen::GoBack(int64_t ticks) {
  if (closed_ || watching_) return;
  // After a death or a declined replay the world goes on while the figure waits for Enter:
  // a step back counts from the moment the game stopped, not from the waiting, so that one
  // press shows the second before the death or the win.
  if (game_.State.GameOver != 0 && haltedAt_ && *haltedAt_ <= rewind_->RunTicks()) {
    ticks += rewind_->RunTicks() - *haltedAt_;
  }
  const BackResult back = rewind_->Back(ticks);
  if (game_.State.GameOver == 0) haltedAt_.reset();
  if (back.RedrawBoard) {
    // The state came back whole: the strips and every pixel of the window are shown anew.
    RepaintStrips();
    window_.InvalidateAll();
  }
  if (game_.State.GameOver == 0) wonHalted_ = false;
  Sync();
}

void GameScreen::Watch(KeyScript script) {
  watchScript_ = std::move(script);
  watching_ = true;
  window_.SetCaption(GameTitle(zoneTitle_, true));
  RestartWatch();
}

void GameScreen::RestartWatch() {
  // Every watch of the run begins alike, and as the run's script expects it: the zone opened
  // afresh with nothing kept from before (as a new screen in a new program would have it; the
  // script's own "random" and "carry" lines then set what the run's opening had).
  if (auto error = rewind_->Carry(CarriedState{})) {
    ShowLoadFailure(*error);
    Sync();
    return;
  }
  watchStep_ = 0;
  watchTickInStep_ = 0;
  watchEnded_ = false;
  wonHalted_ = false;
  haltedAt_.reset();
  AfterReload();
}

void GameScreen::ToggleFast() {
  fast_ = !fast_;
  Sync();
}

bool GameScreen::ShowsWayOn() const {
  return wonHalted_ && game_.State.GameOver != 0 && !watching_;
}

std::string GameScreen::WayOnText() const {
  if (ShowsWayOn()) {
    NextOffer next = NextOffer::None;
    if (OnNextZone) next = WhatComesNext ? WhatComesNext() : NextOffer::Next;
    return WinLineText(winOutcome_, next, EscapeLeadsTo);
  }
  if (game_.State.GameOver != 0 && !watching_ && !wonHalted_) {
    return DeathLineText(game_.State.Died, EscapeLeadsTo);
  }
  return "";
}

int GameScreen::WinWatch::SkinMsgBox(const std::string& prompt, int buttons, int icon,
                                     const std::string& title) {
  // A watched run is not asked about: it stops at its win, which the screen shows.
  if (std::exchange(screen_.winAsked_, false) && screen_.watching_) return msgbox::ResultNo;
  return screen_.prompter_.SkinMsgBox(prompt, buttons, icon, title);
}

void GameScreen::SetWinOutcome(const WinOutcome& outcome) {
  winOutcome_ = outcome;
  Sync();
}

void GameScreen::BeforeWinQuestion() {
  system::FinishedRun run;
  run.Zone = opened_;
  run.Rewound = rewind_->UsedRewind();
  // A run slowed down by Zpomalit is won, but it is no time: it is neither timed nor kept, as a
  // run changed by a debugging button.
  if (rewind_->Reproducible() && !slowed_) {
    // The win comes in the middle of the winning tick, which the run has not taken in yet: it
    // is this one more tick, with the arrows and space it read.
    run.Ticks = rewind_->RunTicks() + 1;
    run.Keys = rewind_->RunScript({}) + "1 " + KeysText(*tickKeys_) + "\n";
  }
  winOutcome_ = WinOutcome{run.Ticks, run.Rewound, false, std::nullopt};
  if (OnWin) OnWin(run);
}

void GameScreen::Build() {
  pole_.CatchesMouse = false;
  for (const LayoutEntry& e : GameLayout()) {
    std::unique_ptr<platform::Control> c;
    switch (e.Kind) {
      case ControlKind::Picture: {
        auto box = std::make_unique<platform::PictureBox>();
        box->Background = e.Ink;
        c = std::move(box);
        break;
      }
      case ControlKind::Label: {
        auto label = std::make_unique<platform::Label>(app_.FontSet());
        label->Caption = std::string(e.Caption);
        label->Font = platform::FontSpec{std::string(e.Font), e.Points, true};
        label->Fore = e.Ink;
        if (!e.Transparent) label->Background = platform::Colour{0, 0, 0};
        label->Alignment = e.Centred        ? platform::Label::Align::Centre
                           : e.RightAligned ? platform::Label::Align::Right
                                            : platform::Label::Align::Left;
        label->WordWrap = true;
        c = std::move(label);
        break;
      }
      case ControlKind::Image:
        c = std::make_unique<platform::Image>();
        break;
      case ControlKind::Button: {
        auto button = std::make_unique<platform::Button>(app_.FontSet());
        button->Caption = std::string(e.Caption);
        button->Font = platform::FontSpec{std::string(e.Font), e.Points, true};
        c = std::move(button);
        break;
      }
      case ControlKind::Frame:
      case ControlKind::Line: {
        auto shape = std::make_unique<platform::Shape>();
        shape->Ink = e.Ink;
        shape->Filled = e.Kind == ControlKind::Line;
        c = std::move(shape);
        break;
      }
    }
    c->Bounds = SDL_Rect{e.Left, e.Top, e.Width, e.Height};
    c->ToolTip = std::string(e.ToolTip);
    platform::PictureBox* parent = &window_.Root();
    if (!e.Parent.empty())
      parent = &dynamic_cast<platform::PictureBox&>(ControlNamed(std::string(e.Parent)));
    parent->Children.push_back(c.get());
    controls_[std::string(e.Name)] = std::move(c);
    // The board surface lives in the viewport, before anything that rides on it.
    if (e.Name == "Picture1") {
      auto& viewport = dynamic_cast<platform::PictureBox&>(*controls_["Picture1"]);
      viewport.Children.push_back(&pole_);
      viewport_ = &viewport;
      // The board is the game, not a handle: the window is not dragged by it.
      viewport.CatchesMouse = true;
    }
  }
  // "Pauza" stands over the panel above the board while the game is paused: on the board it
  // would hide the figure wherever the view has it (near an edge of a small zone too).
  auto pause = std::make_unique<platform::Label>(app_.FontSet());
  pause->Caption = "Pauza";
  pause->Font = platform::FontSpec{"Arial", 48, true};
  pause->Alignment = platform::Label::Align::Centre;
  pause->Background = platform::Colour{0, 0, 128};
  pause->Bounds = SDL_Rect{(GameScreenWidth - 240) / 2, 2, 240, 80};
  window_.Root().Children.push_back(pause.get());
  controls_["lblPause"] = std::move(pause);
  // Under the board: what leads on after a win or a death; over it, the watch keys.
  auto line = [&](const std::string& name, int top) {
    auto l = std::make_unique<platform::Label>(app_.FontSet());
    l->Font = platform::FontSpec{"Arial", 12, true};
    l->Alignment = platform::Label::Align::Centre;
    l->Background = platform::Colour{0, 0, 128};
    l->Fore = platform::Colour{255, 255, 255};
    l->Bounds = SDL_Rect{20, top, GameScreenWidth - 40, 26};
    dynamic_cast<platform::PictureBox&>(ControlNamed("Picture1")).Children.push_back(l.get());
    l->Visible = false;
    controls_[name] = std::move(l);
  };
  line("lblWayOn", 480 - 34);
  line("lblWatch", 8);
  for (const char* name : {"Command1", "Command2", "Command3", "Command4", "ImC(11)", "ImC(22)",
                           "picBox", "lblPause"}) {
    ControlNamed(name).Visible = false;
  }
  dynamic_cast<platform::PictureBox&>(ControlNamed("picKapsa")).Canvas = kapsaCanvas_.get();
  dynamic_cast<platform::PictureBox&>(ControlNamed("picNeed")).Canvas = needCanvas_.get();
  panel_.BoxOverlay = &ControlNamed("picBox");
  panel_.BoxesLeft = &LabelNamed("NoBx");
  panel_.Time = &LabelNamed("lblRT");
  panel_.Kapsa = &ControlNamed("picKapsa");
  panel_.Need = &ControlNamed("picNeed");
  panel_.DoorKey = &ImageNamed("ImC(11)");
  panel_.Carried = &ImageNamed("ImC(22)");
  panel_.Debug = {&ControlNamed("Command1"), &ControlNamed("Command2"), &ControlNamed("Command3"),
                  &ControlNamed("Command4")};
  panel_.Pause = &ControlNamed("lblPause");
  panel_.WayOn = &LabelNamed("lblWayOn");
  panel_.WatchLine = &LabelNamed("lblWatch");
}

void GameScreen::Bind() {
  auto after = [this](void (Game::*action)()) {
    return [this, action] {
      (game_.*action)();
      Sync();
    };
  };
  ControlNamed("Command5").OnClick = after(&Game::Zpomalit);
  ControlNamed("Command6").OnClick = after(&Game::Zrychlit);
  // A debugging button changes the game outside the run: it can no longer be timed or replayed.
  auto debug = [this](void (Game::*action)()) {
    return [this, action] {
      (game_.*action)();
      rewind_->ChangedOutside();
      Sync();
    };
  };
  ControlNamed("Command1").OnClick = debug(&Game::ToggleEnemies);
  ControlNamed("Command2").OnClick = debug(&Game::DeliverWhereStanding);
  ControlNamed("Command3").OnClick = debug(&Game::GiveKeyAndBox);
  ControlNamed("Command4").OnClick = debug(&Game::ResumePlay);
  ControlNamed("Image1").OnDoubleClick = after(&Game::RevealDebugButtons);
  ControlNamed("Label5").OnClick = [this] {
    // The recorded keys would walk on from a reloaded zone that their run never saw.
    if (watching_) {
      RestartWatch();
      return;
    }
    game_.Restart();
    slowed_ = game_.State.TickInterval != DesignTickInterval;
    AfterReload();
  };
  ControlNamed("Label6").OnClick = [this] { Close(); };
  ControlNamed("Label2").OnClick = [this] {
    if (OnLink) OnLink(MailLink);
  };
  ControlNamed("Label3").OnClick = [this] {
    if (OnLink) OnLink(WebLink);
  };
}

platform::Control& GameScreen::ControlNamed(const std::string& name) {
  if (name == "Pole") return pole_;
  auto it = controls_.find(name);
  if (it == controls_.end()) throw std::out_of_range("no control " + name + " on the game screen");
  return *it->second;
}

platform::Label& GameScreen::LabelNamed(const std::string& name) {
  return dynamic_cast<platform::Label&>(ControlNamed(name));
}

platform::Image& GameScreen::ImageNamed(const std::string& name) {
  return dynamic_cast<platform::Image&>(ControlNamed(name));
}

void GameScreen::Click(const std::string& name) {
  platform::Control& c = ControlNamed(name);
  if (c.OnClick) {
    const auto handler = c.OnClick;
    handler();
  }
}

bool GameScreen::Load(const std::string& zoneFile) {
  game_.State.FileName = zoneFile;
  if (!sounds_.InicializaceZvuku()) {
    prompter_.SkinMsgBox(SoundInitFailureText, msgbox::OkOnly, msgbox::IconExclamation, "");
  }
  if (auto error = game_.Otevrit()) {
    ShowLoadFailure(*error);
    return false;
  }
  const std::filesystem::path zone = std::filesystem::absolute(zoneFile);
  zoneTitle_ = ReadZoneTitle(zone).value_or(zone.filename().string());
  window_.SetCaption(GameTitle(zoneTitle_, watching_));
  slowed_ = game_.State.TickInterval != DesignTickInterval;
  RepaintStrips();
  Sync();
  window_.Show();
  return true;
}

void GameScreen::Close() {
  if (closed_) return;
  closed_ = true;
  timer_.SetEnabled(false);
  game_.State.TickEnabled = false;
  sounds_.FreeAll();
  window_.Hide();
  if (OnClosed) OnClosed();
}

void GameScreen::TogglePause() {
  if (closed_) return;
  paused_ = !paused_;
  Sync();
}

void GameScreen::Tick() {
  const int64_t restarts = game_.Restarts();
  const int64_t wins = game_.Wins();
  const int times = watching_ && fast_ ? WatchSpeedUp : 1;
  bool ran = false;
  for (int i = 0; i < times && !closed_; ++i) {
    if (game_.State.TickInterval != DesignTickInterval) slowed_ = true;
    // While the win question waits the window's timer goes on: those ticks do nothing, and the
    // screen neither mirrors nor reports them.
    if (!(watching_ ? WatchTick() : rewind_->Tick())) break;
    ran = true;
    if (game_.State.GameOver == 0) {
      haltedAt_.reset();
    } else if (!haltedAt_ || *haltedAt_ > rewind_->RunTicks()) {
      haltedAt_ = rewind_->RunTicks();
    }
  }
  if (!ran) return;
  if (game_.Restarts() != restarts) {
    wonHalted_ = false;
    // A new run begins with the reload: it is slowed only if it is played slowed.
    slowed_ = game_.State.TickInterval != DesignTickInterval;
    AfterReload();
  } else {
    if (game_.Wins() != wins && game_.State.GameOver != 0) wonHalted_ = true;
    Sync();
  }
  if (OnTicked) OnTicked();
}

bool GameScreen::WatchTick() {
  const std::vector<KeyScriptStep>& steps = watchScript_.Steps;
  while (watchStep_ < steps.size() && watchTickInStep_ >= steps[watchStep_].Ticks) {
    const KeyScriptStep& step = steps[watchStep_];
    // The lines between ticks act once, when the run reaches them: the generator's state a
    // saved run begins with, what the zone's opening carried over, a step back.
    if (step.Action != KeyScriptAction::Keys && watchTickInStep_ == 0) {
      watchTickInStep_ = 1;
      if (step.Action == KeyScriptAction::Back) {
        if (rewind_->Back(step.Value).RedrawBoard) {
          RepaintStrips();
          window_.InvalidateAll();
        }
      } else if (auto error = PlayBetweenTicks(*rewind_, game_.State, watchScript_, step)) {
        watchEnded_ = true;
        watchStep_ = steps.size();
        ShowLoadFailure(*error);
        return true;
      } else if (step.Action == KeyScriptAction::Carry) {
        AfterReload();
      }
      continue;
    }
    ++watchStep_;
    watchTickInStep_ = 0;
  }
  if (watchStep_ >= steps.size()) {
    const bool endsNow = !watchEnded_;
    watchEnded_ = true;
    // A run that won ends as a win ends play for the player: the board stops where it won, and
    // no enemy wanders on into the figure. A run cut short leaves the zone living without keys.
    if (wonHalted_) {
      if (endsNow) Sync();
      return false;
    }
    return rewind_->Tick(0);
  }
  if (!rewind_->Tick(steps[watchStep_].Keys)) return false;
  ++watchTickInStep_;
  return true;
}

void GameScreen::AfterReload() {
  if (const auto& failure = game_.LoadFailure()) {
    Sync();
    if (!failureShown_) {
      failureShown_ = true;
      ShowLoadFailure(*failure);
    }
    return;
  }
  failureShown_ = false;
  RepaintStrips();
  Sync();
}

void GameScreen::ShowLoadFailure(const OpenError& error) {
  // A watched run's own line at fault is the run's, said without the zone's path.
  if (error.InRun) {
    prompter_.SkinMsgBox((WatchedName.empty() ? std::string("Průchod nelze přehrát.\n")
                                              : "Průchod „" + ShowControls(WatchedName) +
                                                    "“ nelze přehrát.\n") +
                             error.Message,
                         msgbox::OkOnly, msgbox::IconCritical, "");
    return;
  }
  std::string text =
      error.Picture ? PicturesMessage(*error.Picture) : "Zónu nelze otevřít.\n" + error.Describe();
  const std::string& played = game_.State.FileName;
  if (!ShownPath.empty() && !played.empty()) {
    for (size_t at = text.find(played); at != std::string::npos;
         at = text.find(played, at + ShownPath.size())) {
      text.replace(at, played.size(), ShownPath);
    }
  }
  prompter_.SkinMsgBox(text, msgbox::OkOnly, msgbox::IconCritical, "");
}

void GameScreen::RepaintStrips() {
  const SDL_Colour black{0, 0, 0, 255};
  SDL_FillRect(kapsaCanvas_.get(), nullptr,
               SDL_MapRGB(kapsaCanvas_->format, black.r, black.g, black.b));
  SDL_FillRect(needCanvas_.get(), nullptr,
               SDL_MapRGB(needCanvas_->format, black.r, black.g, black.b));
  window_.InvalidateAll();
  const SDL_Surface* icon = painter_.Pictures().PotatoIcon();
  if (!icon) return;
  const SDL_Rect all{0, 0, StripCanvasWidth, IconEdge};
  const int count = std::min(game_.State.Panel.PaintedPotatoes, StripCanvasWidth / IconEdge);
  for (int b = 0; b < count; ++b) {
    platform::BlitScaled(icon, nullptr, needCanvas_.get(),
                         SDL_Rect{IconEdge * b, 0, IconEdge, IconEdge}, all);
    platform::BlitScaled(icon, nullptr, kapsaCanvas_.get(),
                         SDL_Rect{IconEdge * (b + 2), 0, IconEdge, IconEdge}, all);
  }
}

void GameScreen::Sync() {
  const GameState& s = game_.State;
  const PanelState& p = s.Panel;

  // A fractional board position shows at the nearest pixel.
  pole_.Bounds = SDL_Rect{static_cast<int>(Round(s.PoleLeft)), static_cast<int>(Round(s.PoleTop)),
                          s.PoleWidth, s.PoleHeight};
  pole_.Canvas = painter_.ShownSurface();
  // The board draws the cells in view; then what it drew this tick is drawn again where it shows
  // through the viewport. A board that moved is drawn again whole by the window, which sees its
  // new place.
  {
    // The viewport lies on the window's client area, the board in the viewport.
    const SDL_Rect shown = viewport_->Bounds;
    const SDL_Point at{shown.x + pole_.Bounds.x, shown.y + pole_.Bounds.y};
    const SDL_Rect onBoard =
        platform::Intersect(SDL_Rect{at.x, at.y, pole_.Bounds.w, pole_.Bounds.h}, shown);
    painter_.SetShownArea(SDL_Rect{onBoard.x - at.x, onBoard.y - at.y, onBoard.w, onBoard.h});
    for (const SDL_Rect& r : painter_.TakeDamage()) {
      window_.InvalidateRect(platform::Intersect(SDL_Rect{at.x + r.x, at.y + r.y, r.w, r.h}, shown));
    }
  }

  platform::Control& box = *panel_.BoxOverlay;
  box.Visible = p.BoxOverlayVisible;
  box.Bounds.x = p.BoxOverlayLeft;
  box.Bounds.y = p.BoxOverlayTop;
  panel_.BoxesLeft->Caption = std::to_string(p.BoxesLeft);
  panel_.Time->Caption = std::to_string(p.TimeShown);

  panel_.Kapsa->Bounds.w = p.KapsaWidth;
  panel_.Need->Bounds.x = p.NeedLeft;
  panel_.Need->Bounds.w = p.NeedWidth;

  // The pictures are read again by every load, so the indicators look them up each time.
  panel_.DoorKey->Picture = painter_.Pictures().Slot(11);
  panel_.DoorKey->Visible = p.KeyIndicator;
  panel_.Carried->Picture = painter_.Pictures().Slot(22);
  panel_.Carried->Visible = p.BoxIndicator;

  for (platform::Control* button : panel_.Debug) button->Visible = p.DebugButtonsVisible;

  if (timer_.Interval() != s.TickInterval) timer_.SetInterval(s.TickInterval);
  timer_.SetEnabled(s.TickEnabled && !closed_ && !paused_ && !backHeld_);
  backTimer_.SetEnabled(backHeld_ && !closed_);
  panel_.Pause->Visible = paused_;
  panel_.WayOn->Caption = WayOnText();
  panel_.WayOn->Visible = !panel_.WayOn->Caption.empty();
  // Over the board: the watch keys, or in play that a slowed run will not be timed (it is won,
  // but "bez času"), for as long as the run goes on.
  const bool slowedNow = s.TickInterval != DesignTickInterval;
  const bool tellSlowed = !watching_ && s.GameOver == 0 && (slowed_ || slowedNow);
  panel_.WatchLine->Visible = watching_ || tellSlowed;
  if (watching_) {
    panel_.WatchLine->Caption =
        watchEnded_ ? "Záznam skončil · Enter – přehrát znovu · Esc – konec"
        : fast_     ? "Přehrávání záznamu · 4× rychleji · P – pauza · F – normální rychlost · Esc "
                      "– konec"
                    : "Přehrávání záznamu · P – pauza · F – rychleji · Esc – konec";
  } else {
    panel_.WatchLine->Caption = !tellSlowed ? ""
                                : slowedNow ? "Zpomaleno · průchod bude bez času"
                                            : "Hra byla zpomalena · průchod bude bez času";
  }
  window_.Invalidate();
}

}  // namespace quarn::ui
