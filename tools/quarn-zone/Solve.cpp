// Solve.cpp — quarn-zone solve: turns a zone author's plan (cells to reach, boxes to push, waits)
// into a key script, searching the real rules tick by tick so that no enemy or laser door kills
// the player on the way. The plan's lines are listed in SolveUsage.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <queue>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "Commands.h"
#include "game/Game.h"
#include "run/Replay.h"

namespace quarn::zonetool {
namespace {

constexpr const char* SolveUsage =
    "usage: quarn-zone solve ZONE PLAN > SOLUTION.keys\n"
    "Writes a key script that carries out PLAN in ZONE, trying the real rules tick by tick so\n"
    "that no enemy, laser door or countdown kills the player on the way. Plan lines:\n"
    "  go X Y       walk to cell (X, Y), counted from 0 at the top-left cell, stepping on no\n"
    "               potato, key, time bonus, locked or slam door that is not (X, Y) itself\n"
    "  exit         walk into the revealed exit\n"
    "  hold KEY N   hold one key (left, up, right, down, space) for N ticks\n"
    "  wait N       stand still for N ticks\n"
    "  # comment    copied into the key script\n"
    "Each goal reached is reported on stderr. Status 0 when the script wins the zone, 1 when\n"
    "it does not, 2 when ZONE or PLAN cannot be read.\n";

constexpr int MaxHold = 990;  // a key held alone for 1000 polls is no longer chosen

// One game screen played by the solver: its state is swapped in and out for every search node.
struct Worker {
  ScriptedKeys keys;
  ProgramContext program{keys};
  NullPainter painter;
  CountingSound sound;
  AnsweringPrompter prompter{false};
  Game game{program, GamePorts{painter, sound, prompter}};
};

struct Snapshot {
  GameState state;
  Random rng;
};

struct Outcome {
  bool died = false;
  bool won = false;
};

class Player {
 public:
  explicit Player(const std::string& zone) {
    w_.game.State.FileName = zone;
    if (auto e = w_.game.Otevrit()) {
      std::fprintf(stderr, "quarn-zone solve: %s\n", e->Describe().c_str());
      std::exit(2);
    }
  }
  Snapshot Take() const { return Snapshot{w_.game.State, w_.program.Rng}; }
  void Put(const Snapshot& s) {
    w_.game.State = s.state;
    w_.program.Rng = s.rng;
    // Forget the hold counts of the previous node: the key of this node is pressed anew.
    w_.keys.Hold({});
    w_.program.Keys.ChooseArrowKey();
  }
  // Runs ticks with these keys; stops at a death or a win.
  Outcome Run(const std::vector<int>& keys, int ticks, int* ran = nullptr) {
    w_.keys.Hold(keys);
    Outcome out;
    int t = 0;
    for (; t < ticks; ++t) {
      const int asked = w_.prompter.Asked();
      w_.game.Tick();
      if (w_.prompter.Asked() != asked) {
        out.won = true;
        ++t;
        break;
      }
      if (w_.game.State.GameOver != 0) {
        out.died = true;
        ++t;
        break;
      }
    }
    if (ran) *ran = t;
    return out;
  }
  const GameState& State() const { return w_.game.State; }

 private:
  Worker w_;
};

struct Step {
  int key = 0;  // virtual key, 0 none
  int ticks = 0;
};

int KeyOfDir(int d) { return 36 + d; }

bool Standable(int code, bool isGoal) {
  switch (code) {
    case tile::Wall:
    case tile::SlamLock:
    case tile::Target:
    case tile::Boxes:
    case tile::Box:
      return false;
    case tile::HotPotato:
    case tile::DoorKey:
    case tile::Time:
    case tile::LockedDoor:
    case tile::SlamDoor:
    case tile::Exit:
      return isGoal;
    default:
      return true;
  }
}

class Solver {
 public:
  explicit Solver(const std::string& zone) : player_(std::make_shared<Player>(zone)) {
    now_ = player_->Take();
  }

  // Searches moves and waits from the current state to the goal cell (or into the exit).
  // Arrivals at or before notBefore ticks from now are passed over, so that a retry of the goal
  // arrives later than the attempt that led into a trap.
  bool Go(int gx, int gy, bool intoExit, int notBefore = -1) {
    const GameState& s0 = now_.state;
    const int steps = s0.PlayerSteps;
    const int W = s0.BoardWidth, H = s0.BoardHeight;
    if (intoExit) {
      gx = s0.ExitX;
      gy = s0.ExitY;
    }
    // Distances to the goal over what may be walked, ignoring enemies and laser doors.
    std::vector<int> dist(static_cast<size_t>(W * H), -1);
    std::deque<std::pair<int, int>> q;
    dist[static_cast<size_t>(gy * W + gx)] = 0;
    q.emplace_back(gx, gy);
    while (!q.empty()) {
      auto [x, y] = q.front();
      q.pop_front();
      for (int d = 1; d <= 4; ++d) {
        const int nx = x + DirDX(d), ny = y + DirDY(d);
        if (nx < 0 || ny < 0 || nx >= W || ny >= H || dist[static_cast<size_t>(ny * W + nx)] >= 0)
          continue;
        const bool me = nx == s0.PlayerX / steps && ny == s0.PlayerY / steps;
        if (!me && !Standable(s0.Board.At(nx, ny), false)) continue;
        dist[static_cast<size_t>(ny * W + nx)] = dist[static_cast<size_t>(y * W + x)] + 1;
        q.emplace_back(nx, ny);
      }
    }
    const int px = s0.PlayerX / steps, py = s0.PlayerY / steps;
    if (dist[static_cast<size_t>(py * W + px)] < 0) {
      std::fprintf(stderr, "quarn-zone solve: no way from (%d, %d) to (%d, %d)\n", px, py, gx, gy);
      return false;
    }

    struct Node {
      std::unique_ptr<Snapshot> snap;  // dropped once the node is expanded
      int parent;
      Step step;
      int tick;
      int run;  // ticks the current key has been held without a break
      int lastKey;
    };
    std::vector<std::unique_ptr<Node>> nodes;
    using Entry = std::tuple<int, int, int>;  // f, -tick, index
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    std::set<std::tuple<int, int, int, int, int, int>> seen;
    nodes.push_back(
        std::make_unique<Node>(Node{std::make_unique<Snapshot>(now_), -1, {}, 0, run_, lastKey_}));
    open.emplace(dist[static_cast<size_t>(py * W + px)] * steps, 0, 0);
    const int wait = std::max(2, steps / 2);
    int expanded = 0;
    int nearest = 1 << 30;
    while (!open.empty()) {
      const auto [f, negTick, index] = open.top();
      open.pop();
      Node& n = *nodes[static_cast<size_t>(index)];
      const GameState& s = n.snap->state;
      const int cx = s.PlayerX / steps, cy = s.PlayerY / steps;
      if (!intoExit && cx == gx && cy == gy && s.Moving == 0 && n.tick > notBefore &&
          SafeToStand(*n.snap)) {
        Finish(nodes, index);
        arrival_ = n.tick;
        return true;
      }
      if (++expanded > 60000 || open.size() > 30000) break;
      for (int d = 0; d <= 4; ++d) {
        Step step;
        int nx = cx, ny = cy;
        if (d == 0) {
          step = {0, wait};
        } else {
          nx += DirDX(d);
          ny += DirDY(d);
          if (nx < 0 || ny < 0 || nx >= W || ny >= H) continue;
          const int dn = dist[static_cast<size_t>(ny * W + nx)];
          const bool goal = nx == gx && ny == gy;
          if (dn < 0 && !goal) continue;
          if (!goal && !Standable(s.Board.At(nx, ny), false)) continue;
          step = {KeyOfDir(d), steps};
        }
        const int run = step.key != 0 && step.key == n.lastKey ? n.run + step.ticks : step.ticks;
        if (step.key != 0 && run > MaxHold) continue;
        player_->Put(*n.snap);
        int ran = 0;
        const Outcome out = player_->Run(step.key ? std::vector<int>{step.key} : std::vector<int>{},
                                         step.ticks, &ran);
        static const bool debug = std::getenv("QUARN_SOLVE_DEBUG") != nullptr;
        if (debug) {
          const GameState& t = player_->State();
          std::fprintf(stderr, "  from (%d, %d) t%d key %d: died %d won %d at (%d, %d) moving %d\n",
                       cx, cy, n.tick, step.key, out.died, out.won, t.PlayerX / steps,
                       t.PlayerY / steps, t.Moving != 0);
        }
        if (out.died) continue;
        if (out.won) {
          if (!intoExit) continue;
          step.ticks = ran;
          nodes.push_back(std::make_unique<Node>(
              Node{std::make_unique<Snapshot>(player_->Take()), index, step, n.tick + ran, 0, 0}));
          Finish(nodes, static_cast<int>(nodes.size() - 1));
          won_ = true;
          return true;
        }
        const GameState& t = player_->State();
        const int tx = t.PlayerX / steps, ty = t.PlayerY / steps;
        if (t.Moving != 0 || tx != nx || ty != ny) continue;
        const auto key = std::make_tuple(tx, ty, n.tick + step.ticks, t.PotatoesLeft, int{t.HasKey},
                                         t.PotatoesCarried);
        if (!seen.insert(key).second) continue;
        const int h = dist[static_cast<size_t>(ty * W + tx)];
        nearest = std::min(nearest, h < 0 ? nearest : h);
        nodes.push_back(
            std::make_unique<Node>(Node{std::make_unique<Snapshot>(player_->Take()), index, step,
                                        n.tick + step.ticks, step.key ? run : 0, step.key}));
        open.emplace(n.tick + step.ticks + std::max(h, 0) * steps, -(n.tick + step.ticks),
                     static_cast<int>(nodes.size() - 1));
      }
      // A closed node's state is no longer needed.
      n.snap.reset();
    }
    std::fprintf(
        stderr,
        "quarn-zone solve: found no safe way from (%d, %d) to (%d, %d) (%d nodes searched, "
        "nearest %d cells off)\n",
        px, py, gx, gy, expanded, nearest);
    return false;
  }

  int Arrival() const { return arrival_; }

  // Whether the player, standing still at the goal, lives for a few cells' time: an arrival in a
  // dead end just ahead of an enemy is no arrival.
  bool SafeToStand(const Snapshot& at) {
    player_->Put(at);
    return !player_->Run({}, std::max(40, 4 * at.state.PlayerSteps)).died;
  }

  bool Hold(int key, int ticks) {
    player_->Put(now_);
    const int run = key != 0 && key == lastKey_ ? run_ + ticks : ticks;
    const Outcome out = player_->Run(key ? std::vector<int>{key} : std::vector<int>{}, ticks);
    if (out.died) {
      std::fprintf(stderr, "quarn-zone solve: the player dies while holding the key\n");
      return false;
    }
    now_ = player_->Take();
    steps_.push_back({key, ticks});
    lastKey_ = key;
    run_ = key ? run : 0;
    return true;
  }

  void Comment(const std::string& text) { comments_[steps_.size()].push_back(text); }

  std::string Script() const {
    std::ostringstream out;
    size_t i = 0;
    auto name = [](int key) -> std::string {
      const std::string_view text = ScriptNameOf(key);
      return text.empty() ? std::string("-") : std::string(text);
    };
    while (i <= steps_.size()) {
      if (auto c = comments_.find(i); c != comments_.end()) {
        for (const std::string& text : c->second) out << text << "\n";
      }
      if (i == steps_.size()) break;
      // Merge a run of one key, but no further than the next comment.
      int ticks = steps_[i].ticks;
      size_t j = i + 1;
      while (j < steps_.size() && steps_[j].key == steps_[i].key && !comments_.count(j)) {
        ticks += steps_[j].ticks;
        ++j;
      }
      out << ticks << " " << name(steps_[i].key) << "\n";
      i = j;
    }
    if (won_) out << "10 -\n";
    return out.str();
  }

  const GameState& State() const { return now_.state; }
  bool Won() const { return won_; }

 private:
  template <typename Nodes>
  void Finish(const Nodes& nodes, int index) {
    std::vector<Step> path;
    int run = 0, lastKey = 0;
    for (int i = index; i > 0; i = nodes[static_cast<size_t>(i)]->parent) {
      path.push_back(nodes[static_cast<size_t>(i)]->step);
    }
    std::reverse(path.begin(), path.end());
    run = nodes[static_cast<size_t>(index)]->run;
    lastKey = nodes[static_cast<size_t>(index)]->lastKey;
    steps_.insert(steps_.end(), path.begin(), path.end());
    now_ = *nodes[static_cast<size_t>(index)]->snap;
    if (!path.empty()) {
      run_ = run;
      lastKey_ = lastKey;
    }
  }

  std::shared_ptr<Player> player_;  // shared by copies: every use puts its own state in first
  Snapshot now_;
  std::vector<Step> steps_;
  std::map<size_t, std::vector<std::string>> comments_;
  int run_ = 0, lastKey_ = 0;
  bool won_ = false;
  int arrival_ = -1;
};

// The solver holds an arrow or space, one key at a time.
int KeyByName(const std::string& name) {
  const int key = ScriptKeyOf(name);
  for (int held : {vk::Left, vk::Up, vk::Right, vk::Down, vk::Space}) {
    if (key == held) return key;
  }
  return -1;
}

}  // namespace

int RunSolve(const Args& args) {
  if (WantsHelp(args)) return Help(SolveUsage);
  for (const std::string& a : args) {
    if (a.size() > 1 && a[0] == '-')
      return UsageError("solve", SolveUsage, "unknown option '" + a + "'");
  }
  if (args.size() != 2) return UsageError("solve", SolveUsage, "a zone and a plan, please");
  const std::string& zone = args[0];
  const char* planName = args[1].c_str();
  std::ifstream planFile(planName);
  if (!planFile) {
    std::fprintf(stderr, "quarn-zone solve: cannot open %s\n", planName);
    return 2;
  }
  std::vector<std::string> lines;
  for (std::string l; std::getline(planFile, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  Solver solver(zone);
  // When a goal cannot be reached, the previous "go" is tried again with a later arrival.
  struct Saved {
    size_t line;
    Solver state;
    int arrival;
  };
  std::optional<Saved> lastGo;
  int retries = 0;
  int notBefore = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int lineNo = static_cast<int>(i + 1);
    if (line.empty()) continue;
    if (line[0] == '#') {
      solver.Comment(line);
      continue;
    }
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    bool ok = false;
    if (verb == "go") {
      int x = 0, y = 0;
      if (!(words >> x >> y)) {
        ok = false;
      } else {
        Solver before = solver;
        ok = solver.Go(x, y, false, notBefore);
        notBefore = -1;
        if (ok) lastGo = Saved{i, std::move(before), solver.Arrival()};
      }
    } else if (verb == "exit") {
      ok = solver.Go(0, 0, true);
    } else if (verb == "hold") {
      std::string key;
      int n = 0;
      ok = static_cast<bool>(words >> key >> n) && KeyByName(key) > 0 &&
           solver.Hold(KeyByName(key), n);
    } else if (verb == "wait") {
      int n = 0;
      ok = static_cast<bool>(words >> n) && solver.Hold(0, n);
    }
    if (!ok && lastGo && retries < 40) {
      ++retries;
      std::fprintf(stderr, "%s:%d: retrying line %zu with a later arrival\n", planName, lineNo,
                   lastGo->line + 1);
      solver = lastGo->state;
      notBefore = lastGo->arrival;
      i = lastGo->line - 1;
      lastGo.reset();
      continue;
    }
    if (!ok) {
      std::fprintf(stderr, "%s:%d: cannot do '%s'\n", planName, lineNo, line.c_str());
      std::fputs(solver.Script().c_str(), stdout);
      return 1;
    }
    const auto& s = solver.State();
    std::fprintf(
        stderr,
        "%s:%d: ok, at (%d, %d), left %d, carried %d, time %.1f, key %d, box %d, stacks %d\n",
        planName, lineNo, s.PlayerX / s.PlayerSteps, s.PlayerY / s.PlayerSteps, s.PotatoesLeft,
        s.PotatoesCarried, s.TimeLeft, s.HasKey != 0, s.HasBox != 0, s.Panel.BoxesLeft);
  }
  std::fputs(solver.Script().c_str(), stdout);
  return solver.Won() ? 0 : 1;
}

}  // namespace quarn::zonetool
