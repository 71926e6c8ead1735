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
#include "PadKeys.h"
#include "base/Keys.h"
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
constexpr int PauseKey = 'P';
constexpr int NextZoneKey = 'N';
constexpr int FastKey = 'F';
constexpr int GhostKey = 'G';
constexpr int PractiseKey = 'H';
// Left and Right move a watch by five seconds of the run.
constexpr int64_t SeekTicks = 5 * TicksPerSecond;
// A split stays over the board for three seconds of the run.
constexpr int64_t SplitShownTicks = 3 * TicksPerSecond;
// The ghost: the figure's picture, lightened and two thirds see-through, its background clear.
constexpr uint8_t GhostAlpha = 110;
// Held, Backspace goes on after a short wait, in steps that add up to a second of game time per
// second held; the game does not tick meanwhile.
constexpr int BackRepeatWaitMs = 400;
constexpr int BackRepeatMs = 62;
constexpr int64_t BackRepeatTicks = 4;
constexpr int WatchSpeedUp = 4;

// Going back plays ticks again with the keys they read, and a watched run plays its script's
// keys: both hold them in the tick's sample, so the game must read its keys from that sample. A
// program that polls its keys directly would replay every tick with the keys down now.
TickKeys& KeysOf(ProgramContext& program) {
  if (!program.EachTick) {
    throw std::invalid_argument("the game screen needs a program that reads its keys per tick");
  }
  return *program.EachTick;
}

// The player's figure as the ghost shows it. The picture's corner colour is its background.
platform::SurfacePtr FaintFigure(const SDL_Surface* figure) {
  platform::SurfacePtr out(
      SDL_CreateRGBSurfaceWithFormat(0, CellPixels, CellPixels, 32, SDL_PIXELFORMAT_ARGB8888));
  if (!out || !figure) return nullptr;
  platform::SurfacePtr scaled(SDL_ConvertSurfaceFormat(const_cast<SDL_Surface*>(figure),
                                                       SDL_PIXELFORMAT_ARGB8888, 0));
  if (!scaled) return nullptr;
  SDL_SetSurfaceBlendMode(scaled.get(), SDL_BLENDMODE_NONE);
  SDL_Rect all{0, 0, CellPixels, CellPixels};
  SDL_BlitScaled(scaled.get(), nullptr, out.get(), &all);
  SDL_LockSurface(out.get());
  auto* px = static_cast<uint32_t*>(out->pixels);
  const int pitch = out->pitch / 4;
  const uint32_t background = px[0] & 0xFFFFFF;
  for (int y = 0; y < CellPixels; ++y) {
    for (int x = 0; x < CellPixels; ++x) {
      uint32_t& p = px[y * pitch + x];
      if ((p & 0xFFFFFF) == background) {
        p = 0;
        continue;
      }
      auto light = [&](int shift) { return (((p >> shift) & 0xFF) + 2 * 255) / 3; };
      p = (uint32_t{GhostAlpha} << 24) | (light(16) << 16) | (light(8) << 8) | light(0);
    }
  }
  SDL_UnlockSurface(out.get());
  SDL_SetSurfaceBlendMode(out.get(), SDL_BLENDMODE_BLEND);
  return out;
}

}  // namespace

std::string DifferenceText(int64_t ticks, int64_t ghostTicks) {
  const int64_t d = ticks - ghostTicks;
  const std::string size = system::SecondsText(d < 0 ? -d : d);
  if (size == "0,0") return "±0,0 s";
  return (d < 0 ? "−" : "+") + size + " s";
}

std::string SplitText(int delivered, int total, int64_t ticks, std::optional<int64_t> ghostTicks) {
  std::string line = "Doručeno " + std::to_string(delivered) + " z " + std::to_string(total) +
                     " · " + system::SecondsText(ticks) + " s";
  if (ghostTicks) line += " · " + DifferenceText(ticks, *ghostTicks);
  return line;
}

std::string WinLineText(const WinOutcome& outcome, NextOffer next, const std::string& escape,
                        const LineKeys& keys) {
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
    if (outcome.Ghost) {
      line += " · " + DifferenceText(*outcome.Ticks, *outcome.Ghost) + " proti " +
              (outcome.GhostName.empty() ? std::string("duchovi") : outcome.GhostName);
    }
  }
  line += " · " + keys.Again + " – hrát znovu";
  switch (next.What) {
    case NextOffer::Next:
      line += " · " + keys.Next + " – další zóna";
      break;
    case NextOffer::SetEnd:
      line += " · konec sady „" + next.Set + "“ · " + keys.Next + " – sada „" + next.NextSet + "“";
      break;
    case NextOffer::Last:
      if (!next.Set.empty()) line += " · konec sady „" + next.Set + "“";
      line += " · poslední zóna";
      break;
    case NextOffer::None:
      break;
  }
  return line + " · " + keys.LeaveWon + " – " + escape;
}

std::string DeathLineText(DeathCause cause, const std::string& escape, const LineKeys& keys) {
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
  return why + keys.Again + " – hrát znovu · " + keys.Back + " – o sekundu zpět · " + keys.Leave +
         " – " + escape;
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
      session_(program, GamePorts{painter_, sounds_, prompter}, KeysOf(program)),
      game_(session_.GetGame()),
      window_(app, GameWindowOptions()),
      timer_(app.Timers(), [this] { Tick(); }),
      backTimer_(app.Timers(), [this] { BackHeld(); }) {
  // Nothing of the board shows until Sync places it: an opening draws the cells in view only,
  // and a large board's surface takes memory only where it is drawn.
  painter_.SetShownArea(SDL_Rect{0, 0, 0, 0});
  // Each opening starts a run: the zone is taken as it stands then, so that a win is recorded
  // under what was played even when the file changes meanwhile.
  game_.OnOpening = [this, startRun = std::move(game_.OnOpening)] {
    if (startRun) startRun();
    splitsFresh_ = true;
    if (TakeOpening) {
      opened_ = TakeOpening(game_.State.FileName);
    } else {
      opened_ = system::OpenedZone{std::filesystem::absolute(game_.State.FileName), std::nullopt,
                                   std::filesystem::path(game_.State.FileName).filename().string()};
    }
  };
  session_.OnWin = [this] { BeforeWinQuestion(); };
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
  window_.PadKeys = GamePadKeys();
  // A pad pulled out in play leaves the player without hands: the play waits for them. The
  // lines name the pad's buttons while one is in.
  window_.OnPadRemoved = [this] {
    if (!paused_ && !Watching()) TogglePause();
    Sync();
  };
  window_.OnPadAdded = [this] { Sync(); };
  window_.OnKeyUp = [this](int virtualKey) {
    if (virtualKey != vk::Backspace || !backHeld_) return;
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
    case vk::Escape:
      Close();
      break;
    case PauseKey:
      TogglePause();
      break;
    case vk::Backspace:
      if (Watching()) break;
      GoBack(TicksPerSecond);
      backHeld_ = true;
      backTimer_.SetInterval(BackRepeatWaitMs);
      Sync();
      break;
    case FastKey:
      if (Watching() && !session_.WatchEnded()) ToggleFast();
      break;
    case vk::Enter:
      // In play the tick reads Enter; a watched run that has ended is watched again.
      if (Watching() && session_.WatchEnded()) RestartWatch();
      break;
    case NextZoneKey:
      if (NextOffered()) OnNextZone();
      break;
    case vk::F1:
      if (OnHelp) OnHelp();
      break;
    case vk::Left:
    case vk::Right:
      if (Watching()) Seek(virtualKey == vk::Left ? -SeekTicks : SeekTicks);
      break;
    case vk::Home:
      if (Watching()) RestartWatch();
      break;
    case vk::Comma:
    case vk::FullStop:
      // One tick at a time, while the watch is paused.
      if (Watching() && paused_) Seek(virtualKey == vk::Comma ? -1 : 1);
      break;
    case PractiseKey:
      if (!Watching()) break;
      session_.Practise();
      window_.SetCaption(GameTitle(zoneTitle_, false));
      Sync();
      break;
    case GhostKey:
      if (Watching()) break;
      SetGhostShown(!ghostShown_);
      if (OnGhostToggled) OnGhostToggled(ghostShown_);
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
  if (closed_ || Watching()) return;
  const BackResult back = session_.GoBack(ticks);
  if (back.RedrawBoard) {
    // The state came back whole: the strips and every pixel of the window are shown anew.
    RepaintStrips();
    window_.InvalidateAll();
  }
  // Going back takes the deliveries back with it: made again, they show their splits again.
  delivered_ = DeliveredPotatoes(game_.State, runPotatoes_);
  if (splitAt_ && *splitAt_ > session_.Recorder().RunTicks()) splitAt_.reset();
  Sync();
}

void GameScreen::Seek(int64_t ticks) {
  const SessionStep step = session_.Seek(ticks);
  if (step.Error) ShowLoadFailure(*step.Error);
  if (step.Redraw || step.Reopened) {
    RepaintStrips();
    window_.InvalidateAll();
  }
  if (step.Reopened) {
    AfterReload();
  } else {
    Sync();
  }
}

void GameScreen::SetGhost(std::shared_ptr<const GhostRun> run, std::string name,
                          std::shared_ptr<const GhostRun> rewoundBest) {
  ghost_ = std::move(run);
  ghostName_ = std::move(name);
  rewoundBest_ = std::move(rewoundBest);
  Sync();
}

void GameScreen::SetGhostShown(bool shown) {
  ghostShown_ = shown;
  Sync();
}

void GameScreen::UpdateSplits(bool won) {
  const GameState& s = game_.State;
  if (splitsFresh_) {
    splitsFresh_ = false;
    runPotatoes_ = s.PotatoesLeft + s.PotatoesCarried;
    delivered_ = DeliveredPotatoes(s, runPotatoes_);
    splitAt_.reset();
  }
  // A run that goes back is compared with the best that went back, when there is one.
  const GhostRun* against =
      session_.Recorder().UsedRewind() && rewoundBest_ ? rewoundBest_.get() : ghost_.get();
  const int64_t ticks = session_.Recorder().RunTicks();
  auto show = [&](std::string line, std::optional<int64_t> ghostTicks) {
    split_ = std::move(line);
    splitAhead_ = ghostTicks && ticks <= *ghostTicks;
    splitAt_ = ticks;
  };
  if (won && !(splitAt_ && split_.rfind("Cíl", 0) == 0)) {
    // The ghost as the win found it: a win that is kept becomes the next run's ghost.
    const std::optional<int64_t> ghostWon = winOutcome_.Ghost;
    const int64_t time = winOutcome_.Ticks.value_or(ticks);
    std::string line = "Cíl · " + system::SecondsText(time) + " s";
    if (ghostWon && winOutcome_.Ticks) line += " · " + DifferenceText(time, *ghostWon);
    show(line, ghostWon);
    splitAhead_ = ghostWon && time <= *ghostWon;
    return;
  }
  const int delivered = DeliveredPotatoes(s, runPotatoes_);
  if (delivered > delivered_) {
    const std::optional<int64_t> ghostAt = against ? against->DeliveredBy(delivered) : std::nullopt;
    show(SplitText(delivered, runPotatoes_, ticks, ghostAt), ghostAt);
  }
  delivered_ = delivered;
}

std::string GameScreen::SplitLine() const {
  if (!splitAt_ || Watching()) return "";
  const int64_t ticks = session_.Recorder().RunTicks();
  const bool atWin = session_.WonHalted() && game_.State.GameOver != 0;
  if (!atWin && (ticks < *splitAt_ || ticks - *splitAt_ >= SplitShownTicks)) return "";
  return split_;
}

void GameScreen::PlaceGhost() {
  const bool shown = ghost_ && ghostShown_ && !Watching() && !closed_;
  if (shown && !ghostPicture_) ghostPicture_ = FaintFigure(painter_.Pictures().Slot(tile::Start));
  ghostFigure_.Visible = shown && ghostPicture_;
  if (!ghostFigure_.Visible) return;
  ghostFigure_.Picture = ghostPicture_.get();
  const GhostSpot at = ghost_->At(session_.Recorder().RunTicks());
  const double steps = ghost_->PlayerSteps();
  ghostFigure_.Bounds =
      SDL_Rect{pole_.Bounds.x + static_cast<int>(Round(CellPixels * at.X / steps)),
               pole_.Bounds.y + static_cast<int>(Round(CellPixels * at.Y / steps)), CellPixels,
               CellPixels};
}

void GameScreen::Watch(KeyScript script) {
  watchScript_ = std::move(script);
  window_.SetCaption(GameTitle(zoneTitle_, true));
  if (auto error = session_.Watch(watchScript_)) {
    ShowLoadFailure(*error);
    Sync();
    return;
  }
  AfterReload();
}

void GameScreen::RestartWatch() {
  if (auto error = session_.RestartWatch()) {
    ShowLoadFailure(*error);
    Sync();
    return;
  }
  AfterReload();
}

void GameScreen::ToggleFast() {
  fast_ = !fast_;
  Sync();
}

bool GameScreen::ShowsWayOn() const {
  return session_.WonHalted() && game_.State.GameOver != 0 && !Watching();
}

bool GameScreen::NextOffered() const {
  return ShowsWayOn() && OnNextZone && !(WhatComesNext && WhatComesNext().What == NextOffer::Last);
}

LineKeys GameScreen::ShownKeys() const {
  return app_.PadInUse() ? PadLineKeys() : KeyboardLineKeys(keys_);
}

void GameScreen::UseKeys(const system::KeyBindings& bindings) {
  keys_ = bindings;
  Sync();
}

std::string GameScreen::WayOnText() const {
  if (Watching()) return "";
  if (paused_) return PauseLineText(ShownKeys(), EscapeLeadsTo);
  if (ShowsWayOn()) {
    NextOffer next = NextOffer::None;
    if (OnNextZone) next = WhatComesNext ? WhatComesNext() : NextOffer::Next;
    return WinLineText(winOutcome_, next, EscapeLeadsTo, ShownKeys());
  }
  if (game_.State.GameOver != 0 && !session_.WonHalted()) {
    return DeathLineText(game_.State.Died, EscapeLeadsTo, ShownKeys());
  }
  return "";
}

void GameScreen::SetWinOutcome(const WinOutcome& outcome) {
  winOutcome_ = outcome;
  Sync();
}

void GameScreen::BeforeWinQuestion() {
  system::FinishedRun run;
  run.Zone = opened_;
  const WonRun won = session_.WinningRun();
  run.Rewound = won.Rewound;
  run.Ticks = won.Ticks;
  run.Keys = won.Keys;
  winOutcome_ = WinOutcome{run.Ticks, run.Rewound, false, std::nullopt, std::nullopt, {}};
  const GhostRun* against = run.Rewound && rewoundBest_ ? rewoundBest_.get() : ghost_.get();
  if (against && against->WonAt()) {
    winOutcome_.Ghost = against->WonAt();
    winOutcome_.GhostName = against == rewoundBest_.get() ? "nejlepšímu se zpětným chodem"
                                                          : ghostName_;
  }
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
      // The ghost rides over the board, never in its retained surface.
      viewport.Children.push_back(&ghostFigure_);
      ghostFigure_.Visible = false;
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
      session_.Recorder().ChangedOutside();
      Sync();
    };
  };
  ControlNamed("Command1").OnClick = debug(&Game::ToggleEnemies);
  ControlNamed("Command2").OnClick = debug(&Game::DeliverWhereStanding);
  ControlNamed("Command3").OnClick = debug(&Game::GiveKeyAndBox);
  ControlNamed("Command4").OnClick = debug(&Game::ResumePlay);
  ControlNamed("Image1").OnDoubleClick = after(&Game::RevealDebugButtons);
  ControlNamed("Label5").OnClick = [this] {
    if (Watching()) {
      RestartWatch();
      return;
    }
    session_.Restart();
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
  if (name == "Duch") return ghostFigure_;
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
  if (auto error = session_.Open(zoneFile)) {
    ShowLoadFailure(*error);
    return false;
  }
  const std::filesystem::path zone = std::filesystem::absolute(zoneFile);
  zoneTitle_ = ReadZoneTitle(zone).value_or(zone.filename().string());
  window_.SetCaption(GameTitle(zoneTitle_, Watching()));
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
  const int times = Watching() && fast_ ? WatchSpeedUp : 1;
  bool ran = false, reopened = false, ended = false;
  for (int i = 0; i < times && !closed_; ++i) {
    // While the win question waits the window's timer goes on: those ticks do nothing, and the
    // screen neither mirrors nor reports them.
    const SessionStep step = session_.Tick();
    Shown(step);
    reopened = reopened || step.Reopened;
    ended = ended || step.EndedNow;
    if (step.Error) {
      ShowLoadFailure(*step.Error);
      ran = true;
    }
    if (!step.Ran) break;
    ran = true;
  }
  if (!ran) {
    if (ended) Sync();
    return;
  }
  if (!Watching()) UpdateSplits(session_.WonHalted() && game_.State.GameOver != 0);
  if (reopened) {
    AfterReload();
  } else {
    Sync();
  }
  if (OnTicked) OnTicked();
}

void GameScreen::Shown(const SessionStep& step) {
  // A "back" line of a watched run put a kept state back whole.
  if (step.Redraw) {
    RepaintStrips();
    window_.InvalidateAll();
  }
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
  const bool over = s.GameOver != 0;
  const bool wayOn = ShowsWayOn();
  // The pad's buttons follow the moment: a chord is fixed at its press, so this is safe.
  window_.PadKeys = GamePadKeys(GameMoment{paused_, over, wayOn, wayOn && NextOffered(),
                                           Watching(), Watching() && session_.WatchEnded()});
  const LineKeys keys = ShownKeys();
  panel_.WayOn->Caption = WayOnText();
  panel_.WayOn->Visible = !panel_.WayOn->Caption.empty();
  // Over the board: the watch keys, or in play that a slowed run will not be timed (it is won,
  // but "bez času"), for as long as the run goes on.
  const bool slowedNow = s.TickInterval != DesignTickInterval;
  const bool tellSlowed = !Watching() && s.GameOver == 0 && (session_.Slowed() || slowedNow);
  PlaceGhost();
  const std::string splitLine = tellSlowed ? std::string() : SplitLine();
  std::string split = splitLine;
  // The first seconds of a run with a ghost name its key.
  if (split.empty() && !tellSlowed && ghost_ && !Watching() && s.GameOver == 0 &&
      session_.Recorder().RunTicks() < SplitShownTicks) {
    split = ghostShown_ ? "Duch – závod proti " + ghostName_ + " · G – skrýt ducha"
                        : std::string("G – ukázat ducha");
  }
  panel_.WatchLine->Visible =
      Watching() || tellSlowed || !split.empty() || session_.Practising();
  panel_.WatchLine->Fore = !split.empty() && !Watching()
                               ? (splitLine.empty() ? platform::Colour{255, 255, 255}
                                  : splitAhead_ ? platform::Colour{110, 235, 110}
                                              : platform::Colour{255, 120, 110})
                               : platform::Colour{255, 255, 255};
  if (Watching()) {
    panel_.WatchLine->Caption = WatchLineText(
        WatchMoment{session_.Recorder().RunTicks(), fast_, paused_, session_.WatchEnded()}, keys);
  } else if (session_.Practising() && !tellSlowed) {
    panel_.WatchLine->Caption = PractiseLineText(keys);
  } else {
    panel_.WatchLine->Caption = !tellSlowed ? split
                                : slowedNow ? "Zpomaleno · průchod bude bez času"
                                            : "Hra byla zpomalena · průchod bude bez času";
  }
  window_.Invalidate();
}

}  // namespace quarn::ui
