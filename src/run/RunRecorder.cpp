// RunRecorder.cpp — the run since the last opening: recording, going back, the run as a key script.
#include "RunRecorder.h"

#include <algorithm>
#include <charconv>

#include "RealText.h"
#include "Replay.h"

namespace quarn {

KeyMask MaskOfKeys(const std::vector<int>& virtualKeys) {
  KeyMask mask = 0;
  for (int key : virtualKeys) {
    for (size_t i = 0; i < ScriptKeys.size(); ++i) {
      if (ScriptKeys[i] == key) mask = static_cast<KeyMask>(mask | (1u << i));
    }
  }
  return mask;
}

std::string KeysText(KeyMask mask) {
  std::string text;
  for (size_t i = 0; i < ScriptKeyNames.size(); ++i) {
    if (!(mask & (1u << i))) continue;
    if (!text.empty()) text += '+';
    text.append(ScriptKeyNames[i].Name);
  }
  return text.empty() ? std::string("-") : text;
}

std::vector<int> KeysOfMask(KeyMask mask) {
  std::vector<int> keys;
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    if (mask & (1u << i)) keys.push_back(ScriptKeys[i]);
  }
  return keys;
}

namespace {
int SlotOf(int virtualKey) {
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    if (ScriptKeys[i] == virtualKey) return static_cast<int>(i);
  }
  return -1;
}
}  // namespace

void TickKeys::SampleLive() {
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    sample_[i] = live_ ? live_->GetAsyncKeyState(ScriptKeys[i]) : int16_t{0};
  }
  asked_.fill(false);
}

void TickKeys::Hold(KeyMask keys) {
  for (size_t i = 0; i < ScriptKeys.size(); ++i) {
    sample_[i] = (keys & (1u << i)) ? static_cast<int16_t>(-32768) : int16_t{0};
  }
  asked_.fill(false);
}

int16_t TickKeys::GetAsyncKeyState(int virtualKey) {
  const int slot = SlotOf(virtualKey);
  if (slot < 0) return 0;
  const size_t i = static_cast<size_t>(slot);
  // The live state's first query of the tick clears the "pressed since" mark; later ones see
  // only whether the key is down.
  const int16_t value = asked_[i] ? static_cast<int16_t>(sample_[i] & int16_t{-32768}) : sample_[i];
  asked_[i] = true;
  return value;
}

int16_t TickKeys::Sampled(int virtualKey) const {
  const int slot = SlotOf(virtualKey);
  return slot < 0 ? int16_t{0} : sample_[static_cast<size_t>(slot)];
}

namespace {

// Ticks between two kept states in the recent past; going back there replays at most this many
// ticks less one from the nearest kept state.
constexpr int64_t SnapshotEvery = 64;
// Further back the kept states thin out with their age, so that what a run keeps grows with the
// logarithm of its length, not with the length: a state older than DenseTicks·2^(k-1) ticks stays
// only at a multiple of 64·2^k ticks. A state the rule drops is never wanted by it again (the
// spacing only grows with age), and the ticks one step back replays stay under a sixteenth of
// how far back it lands (the figures are in the benchmark). An hour of play keeps a few hundred.
constexpr int64_t DenseTicks = SnapshotEvery * 128;  // two minutes and eight seconds

int64_t SpacingAt(int64_t age) {
  int64_t spacing = SnapshotEvery;
  for (int64_t edge = DenseTicks; age >= edge && spacing < (int64_t{1} << 40); edge *= 2) {
    spacing *= 2;
  }
  return spacing;
}

// The ports of ticks replayed while going back: nothing drawn, nothing heard, and the replay
// question (which inside a run can only have been declined: a Yes opens a new run) declined.
struct QuietPorts {
  NullPainter Painter;
  struct : SoundPort {
    void Play(GameSound) override {}
    void Stop(GameSound) override {}
    void SetVolume(GameSound, int32_t) override {}
  } Sound;
  AnsweringPrompter Ask{false};
  GamePorts Ports{Painter, Sound, Ask};
};

std::string NumberText(double v) { return RealText(v); }

// A board cell that differs from the run's first board: its place in storage order, its code.
struct ChangedCell {
  uint16_t Index = 0;
  int16_t Code = 0;
};
static_assert(BoardGrid::CellCount <= 65536, "a cell's place fits 16 bits");

}  // namespace

// A state of the run kept for going back: everything but the board, which is kept as the cells
// that differ from the opening's board (or whole, when most of them differ).
struct Snapshot {
  // Mended: the state is copied from one whose board was given up, so this copy holds none; a
  // state built first and assigned after kept a whole board's storage (40 KB) that nothing used.
  Snapshot(int64_t tick, const GameState& withoutBoard) : Tick(tick), State(withoutBoard) {}

  int64_t Tick = 0;  // ticks of the run done
  GameState State;   // no board; no file name and laser patterns (the live ones hold)
  std::vector<ChangedCell> Changed;
  std::vector<int16_t> Whole;
  std::array<int, 4> Hold{};
  uint32_t Rng = 0;
  GameCounters Counters;

  size_t Bytes() const {
    return sizeof(Snapshot) + State.Board.HeldBytes() + Changed.capacity() * sizeof(ChangedCell) +
           Whole.capacity() * sizeof(int16_t) + State.FileName.capacity();
  }
};

struct RunRecorder::Impl {
  Game& game;
  TickKeys& keys;
  QuietPorts quiet;

  BoardGrid baseBoard;                  // the board when the run's first kept state was taken
  std::vector<Snapshot> snapshots;      // by tick; the first one at tick 0, never thinned
  std::vector<KeyMask> log;             // the keys of each tick of the run
  std::map<int64_t, uint32_t> randoms;  // generator states set before a tick ("random N")
  size_t snapshotBytes = 0;

  // How the run began, for its key script.
  uint32_t openRandom = 327680;
  CarriedState carried;
  int64_t headTicks = 0;  // 1 when the opening came inside a tick (that tick's rest is played)

  // Filled by the game's opening callback.
  bool pendingBetween = false;  // opened between ticks; the new run starts before the next tick
  bool opened = false;
  bool openedInTick = false;
  CarriedState carriedAtOpening;
  uint32_t randomAtOpening = 0;

  Impl(Game& g, TickKeys& k) : game(g), keys(k) {}

  void CaptureOpening() {
    const GameState& s = game.State;
    CarriedState c;
    c.Moving = s.Moving;
    c.MoveMemory = s.MoveMemory;
    c.HoldCounts = game.Program().Keys.HoldCounts();
    c.RadioCounter = s.RadioCounter;
    c.RadioX = s.RadioX;
    c.RadioY = s.RadioY;
    c.DeathPhase = s.DeathPhase;
    c.PlayerX = s.PlayerX;
    c.PlayerY = s.PlayerY;
    c.ExitX = s.ExitX;
    c.ExitY = s.ExitY;
    carriedAtOpening = c;
    randomAtOpening = game.Program().Rng.State();
    opened = true;
    openedInTick = game.InTick();
    if (!openedInTick) pendingBetween = true;
  }

  Snapshot Take(int64_t tick) const {
    // The board, the file name and the laser patterns (which only an opening changes, and which
    // may be long) are moved aside while the rest of the state is copied.
    GameState& live = game.State;
    BoardGrid board = std::move(live.Board);
    std::string fileName = std::move(live.FileName);
    auto patterns = std::move(live.LaserPatterns);
    auto switches = std::move(live.LaserSwitches);
    live.Board.Release();
    live.FileName.clear();
    for (auto& p : live.LaserPatterns) p.clear();
    for (auto& w : live.LaserSwitches) w.clear();
    Snapshot snap(tick, live);
    live.Board = std::move(board);
    live.FileName = std::move(fileName);
    live.LaserPatterns = std::move(patterns);
    live.LaserSwitches = std::move(switches);
    const int16_t* now = live.Board.Cells();
    const int16_t* base = baseBoard.Cells();
    size_t changed = 0;
    for (int32_t i = 0; i < BoardGrid::CellCount; ++i) changed += now[i] != base[i];
    if (changed * sizeof(ChangedCell) > BoardGrid::CellCount * sizeof(int16_t)) {
      snap.Whole.assign(now, now + BoardGrid::CellCount);
    } else {
      snap.Changed.reserve(changed);
      for (int32_t i = 0; i < BoardGrid::CellCount; ++i) {
        if (now[i] != base[i]) snap.Changed.push_back({static_cast<uint16_t>(i), now[i]});
      }
    }
    snap.Hold = game.Program().Keys.HoldCounts();
    snap.Rng = game.Program().Rng.State();
    snap.Counters = game.Counters();
    return snap;
  }

  void Restore(const Snapshot& snap) {
    BoardGrid board = baseBoard;
    int16_t* cells = board.WriteCells();
    if (!snap.Whole.empty()) {
      std::copy(snap.Whole.begin(), snap.Whole.end(), cells);
    } else {
      for (const ChangedCell& c : snap.Changed) cells[c.Index] = c.Code;
    }
    GameState& live = game.State;
    std::string fileName = std::move(live.FileName);
    auto patterns = std::move(live.LaserPatterns);
    auto switches = std::move(live.LaserSwitches);
    live = snap.State;
    live.Board = std::move(board);
    live.FileName = std::move(fileName);
    live.LaserPatterns = std::move(patterns);
    live.LaserSwitches = std::move(switches);
    game.Program().Keys.SetHoldCounts(snap.Hold);
    game.Program().Rng.SetState(snap.Rng);
    game.SetCounters(snap.Counters);
  }

  bool usedRewind = false;
  bool reproducible = true;

  // A new run starts from the state as it stands.
  void Rebase() {
    baseBoard = game.State.Board;
    snapshots.clear();
    snapshotBytes = 0;
    log.clear();
    randoms.clear();
    Keep(Take(0));
  }

  // Keeps the state at this tick and lets the older ones thin out with their age (the opening's
  // stays).
  void Keep(Snapshot snap) {
    const int64_t now = snap.Tick;
    snapshotBytes += snap.Bytes();
    snapshots.push_back(std::move(snap));
    auto dropped = std::remove_if(snapshots.begin() + 1, snapshots.end(), [&](const Snapshot& k) {
      if (k.Tick % SpacingAt(now - k.Tick) == 0) return false;
      snapshotBytes -= k.Bytes();
      return true;
    });
    snapshots.erase(dropped, snapshots.end());
  }

  void RunTick(bool live, KeyMask held) {
    const int RadioBefore = game.State.RadioCounter;
    opened = false;
    if (live) {
      keys.SampleLive();
    } else {
      keys.Hold(held);
    }
    game.Tick();
    if (opened && openedInTick) {
      // The zone was opened inside this tick: the run starts with what is left of the tick.
      carried = carriedAtOpening;
      carried.Halted = true;
      carried.RadioCounter =
          RadioBefore;  // the tick's first step fades the beam before the opening
      openRandom = randomAtOpening;
      headTicks = 1;
      usedRewind = false;
      reproducible = true;
      Rebase();
      return;
    }
    log.push_back(Recorded());
    const int64_t t = static_cast<int64_t>(log.size());
    if (t % SnapshotEvery == 0) Keep(Take(t));
  }

  // The keys that make a script's tick read what this tick read. The arrows and the space bar
  // count when their first query saw them; the restart keys as step 4 combined them: R with Ctrl
  // only when their values had a bit in common (a tap of R while Ctrl is held does not restart),
  // and as step 4 read them (after a reload inside the tick only what is still down).
  KeyMask Recorded() const {
    KeyMask mask = 0;
    for (int key : {vk::Left, vk::Up, vk::Right, vk::Down, vk::Space}) {
      if (keys.Sampled(key) != 0) mask |= MaskOfKeys({key});
    }
    const RestartKeysRead& read = game.LastRestartKeys();
    const int16_t ctrl = read.Read ? read.Ctrl : keys.Sampled(vk::Ctrl);
    const int16_t r = read.Read ? read.R : keys.Sampled(vk::R);
    const int16_t enter = read.Read ? read.Enter : keys.Sampled(vk::Enter);
    if (enter != 0) mask |= MaskOfKeys({vk::Enter});
    if (ctrl != 0) mask |= MaskOfKeys({vk::Ctrl});
    if ((r & ctrl) != 0 || (r != 0 && ctrl == 0)) mask |= MaskOfKeys({vk::R});
    return mask;
  }
};

RunRecorder::RunRecorder(Game& game, TickKeys& keys) : impl_(new Impl(game, keys)) {
  game.OnOpening = [impl = impl_.get()] { impl->CaptureOpening(); };
  Opened();
}

RunRecorder::~RunRecorder() { impl_->game.OnOpening = nullptr; }

void RunRecorder::StartRun() const {
  Impl& m = *impl_;
  m.carried = m.pendingBetween ? m.carriedAtOpening : CarriedState{};
  m.openRandom = m.pendingBetween ? m.randomAtOpening : m.game.Program().Rng.State();
  m.pendingBetween = false;
  m.headTicks = 0;
  m.usedRewind = false;
  m.reproducible = true;
  m.Rebase();
}

void RunRecorder::Opened() { StartRun(); }

void RunRecorder::Settle() const {
  if (impl_->pendingBetween) StartRun();
}

void RunRecorder::ChangedOutside() {
  Settle();
  impl_->reproducible = false;
  // Back stops here: the ticks before cannot be replayed onto the changed state.
  const int64_t done = static_cast<int64_t>(impl_->log.size());
  impl_->Rebase();
  impl_->headTicks += done;
}

bool RunRecorder::Tick() {
  Settle();
  if (!Ticks()) return false;
  impl_->RunTick(true, 0);
  return true;
}

bool RunRecorder::Tick(KeyMask held) {
  Settle();
  if (!Ticks()) return false;
  impl_->RunTick(false, held);
  return true;
}

bool RunRecorder::Ticks() const {
  // Mended: a tick asked for while the game is inside one (the win question waits for its
  // answer and the window's timers go on) does nothing, and is no tick of the run. Recorded, each
  // played as a real tick when going back: the figure walked on into the exit again, and the
  // first Backspace after a declined replay stayed there.
  return impl_->game.State.TickEnabled && !impl_->game.InTick();
}

void RunRecorder::SetRandom(uint32_t state) {
  Settle();
  impl_->game.Program().Rng.SetState(state);
  impl_->randoms[static_cast<int64_t>(impl_->log.size())] = state & 0xFFFFFFu;
}

std::optional<OpenError> RunRecorder::Carry(const CarriedState& c) {
  Game& game = impl_->game;
  GameState& s = game.State;
  s.Moving = c.Moving != 0 ? FlagTrue : FlagFalse;
  s.MoveMemory = c.MoveMemory;
  s.RadioCounter = c.RadioCounter;
  s.RadioX = c.RadioX;
  s.RadioY = c.RadioY;
  s.DeathPhase = c.DeathPhase;
  s.PlayerX = c.PlayerX;
  s.PlayerY = c.PlayerY;
  s.ExitX = c.ExitX;
  s.ExitY = c.ExitY;
  game.Program().Keys.SetHoldCounts(c.HoldCounts);
  if (auto error = game.Otevrit()) return error;
  if (c.Halted) s.GameOver = FlagTrue;
  return std::nullopt;
}

BackResult RunRecorder::Back(int64_t ticks) {
  Settle();
  Impl& m = *impl_;
  const int64_t done = static_cast<int64_t>(m.log.size());
  const int64_t undo = std::min(std::max<int64_t>(ticks, 0), done);
  if (undo == 0) return {};
  const int64_t target = done - undo;
  auto from = std::upper_bound(m.snapshots.begin(), m.snapshots.end(), target,
                               [](int64_t t, const Snapshot& s) { return t < s.Tick; });
  --from;  // the first kept state is at tick 0, so one is at or before the target
  m.Restore(*from);
  const int64_t start = from->Tick;
  for (auto it = from + 1; it != m.snapshots.end(); ++it) m.snapshotBytes -= it->Bytes();
  m.snapshots.erase(from + 1, m.snapshots.end());
  m.game.UsePorts(&m.quiet.Ports);
  for (int64_t t = start; t < target; ++t) {
    if (auto r = m.randoms.find(t); r != m.randoms.end()) m.game.Program().Rng.SetState(r->second);
    m.keys.Hold(m.log[static_cast<size_t>(t)]);
    m.game.Tick();
    // Kept states thinned out before are taken again on the way, so the next step back is quick.
    if ((t + 1) % SnapshotEvery == 0 && t + 1 > m.snapshots.back().Tick) m.Keep(m.Take(t + 1));
  }
  m.game.UsePorts(nullptr);
  m.log.resize(static_cast<size_t>(target));
  m.randoms.erase(m.randoms.lower_bound(target), m.randoms.end());
  m.game.ShowReplacedState();
  m.usedRewind = true;
  return {undo, true, target - start};
}

bool RunRecorder::UsedRewind() const {
  Settle();
  return impl_->usedRewind;
}

bool RunRecorder::Reproducible() const {
  Settle();
  return impl_->reproducible;
}

int64_t RunRecorder::RunTicks() const {
  Settle();
  return impl_->headTicks + static_cast<int64_t>(impl_->log.size());
}

std::string RunRecorder::RunScript(const std::vector<std::string>& comments) const {
  Settle();
  const Impl& m = *impl_;
  std::string out;
  for (const std::string& c : comments) out += "# " + c + "\n";
  out += "random " + std::to_string(m.openRandom) + "\n";
  if (m.carried != CarriedState{}) {
    const CarriedState& c = m.carried;
    out += "carry halted=" + std::to_string(c.Halted ? 1 : 0) +
           " moving=" + std::to_string(c.Moving != 0 ? 1 : 0) +
           " memory=" + std::to_string(c.MoveMemory[0]) + "," + std::to_string(c.MoveMemory[1]) +
           " hold=" + std::to_string(c.HoldCounts[0]) + "," + std::to_string(c.HoldCounts[1]) +
           "," + std::to_string(c.HoldCounts[2]) + "," + std::to_string(c.HoldCounts[3]) +
           " radio=" + std::to_string(c.RadioCounter) + "," + NumberText(c.RadioX) + "," +
           NumberText(c.RadioY) + " death=" + NumberText(c.DeathPhase) +
           " player=" + std::to_string(c.PlayerX) + "," + std::to_string(c.PlayerY) +
           " exit=" + std::to_string(c.ExitX) + "," + std::to_string(c.ExitY) + "\n";
  }
  if (m.carried.Halted) out += "1 enter\n";
  size_t i = 0;
  while (i < m.log.size()) {
    if (auto r = m.randoms.find(static_cast<int64_t>(i)); r != m.randoms.end()) {
      out += "random " + std::to_string(r->second) + "\n";
    }
    size_t j = i + 1;
    while (j < m.log.size() && m.log[j] == m.log[i] && !m.randoms.count(static_cast<int64_t>(j)))
      ++j;
    out += std::to_string(j - i) + " " + KeysText(m.log[i]) + "\n";
    i = j;
  }
  if (auto r = m.randoms.find(static_cast<int64_t>(m.log.size())); r != m.randoms.end()) {
    out += "random " + std::to_string(r->second) + "\n";
  }
  return out;
}

size_t RunRecorder::MemoryBytes() const {
  return sizeof(Impl) + impl_->snapshotBytes + impl_->log.capacity() + impl_->randoms.size() * 48 +
         BoardGrid::CellCount * sizeof(int16_t);
}

int64_t RunRecorder::LongestReplay() const {
  Settle();
  const Impl& m = *impl_;
  int64_t longest = 0;
  for (size_t i = 1; i < m.snapshots.size(); ++i) {
    longest = std::max(longest, m.snapshots[i].Tick - m.snapshots[i - 1].Tick);
  }
  return std::max(longest, static_cast<int64_t>(m.log.size()) - m.snapshots.back().Tick);
}

}  // namespace quarn
