// Harness.h — small zones written on the fly and played through the replay runner, plus a painter
// that records what the rules draw.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "run/Replay.h"

namespace quarn::test {

struct ZoneLayout {
  std::vector<std::string> Rows;
  int PlayerSteps = 1;
  std::array<int, 3> EnemySteps{1, 1, 1};
  std::array<std::string, 3> Patterns{"0", "0", "0"};
};

// The zone file's text for a layout (width from the longest row).
std::string ZoneText(const ZoneLayout& layout);
// Writes text to a fresh file in the test's temporary folder and returns its path.
std::string WriteTemp(const std::string& text, const std::string& extension = ".qrn");

// A small random zone of every tile, enemies of all kinds and laser doors of all groups, written
// to a temporary file; and the keys of one random stretch of play (arrows, space, now and then a
// restart or Enter). A zone for pictures has its start, no enemies, no time bonus and no step count
// that leaves a fraction of a pixel per fine step (3 becomes 4).
enum class ZoneFor { Rules, Pictures };
std::string RandomZone(std::mt19937_64& rng, ZoneFor use = ZoneFor::Rules);
std::vector<int> RandomKeys(std::mt19937_64& rng);

// Records every drawing call in order, and keeps the exclusive-or figures now on the surface: a
// figure drawn an odd number of times since the last resize is visible.
class RecordingPainter : public BoardPainter {
 public:
  std::optional<PictureProblem> LoadGraphics(uint8_t& tileSize) override;
  void ResizeBoard(int widthPx, int heightPx) override;
  void Nakr(const GameState& s, int x, int y) override;
  void NakrF(const GameState& s) override;
  void NakrN(const GameState& s, int c) override;
  void Vycisti(double clx, double cly, double cn, int sm) override;
  void XorLine(double x1, double y1, double x2, double y2, Rgb colour) override;
  void XorCircle(double cx, double cy, double radius, Rgb colour) override;

  std::vector<std::string> Calls;
  // Exclusive-or figures left on the surface.
  size_t VisibleFigures() const;
  void ClearCalls() { Calls.clear(); }
  int Count(const std::string& prefix) const;

 private:
  void Toggle(const std::string& key);
  std::map<std::string, int> xor_;
};

// A zone opened in a replay, ready to be played tick by tick or by key script.
class Play {
 public:
  explicit Play(const ZoneLayout& layout, bool answerYes = false, BoardPainter* painter = nullptr);

  // Runs a key script ("12 right\n1 ctrl+r").
  void Keys(const std::string& script);
  // n ticks with these keys down.
  void Ticks(int n, const std::vector<int>& keys = {});

  GameState& S() { return replay_->GetGame().State; }
  Game& G() { return replay_->GetGame(); }
  Replay& R() { return *replay_; }
  const CountingSound& Sound() const { return replay_->Sound(); }
  int Code(int x, int y) { return S().Board.At(x, y); }
  // The player's cell when standing.
  std::pair<int, int> Cell() {
    return {S().PlayerX / S().PlayerSteps, S().PlayerY / S().PlayerSteps};
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::unique_ptr<Replay> replay_;
};

}  // namespace quarn::test
