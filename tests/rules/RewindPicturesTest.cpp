// RewindPicturesTest.cpp — after going back the board shows, pixel for pixel, the pictures play
// showed when it first reached that tick: cells, the figure, the enemies between cells.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

#include "../render/TestGraphics.h"
#include "Harness.h"

namespace quarn::test {
namespace {

// The board with its pictures only. The exclusive-or figures (a beam, a death's circles) are left
// out: a cell drawn over a half-erased figure keeps a trace of it that only the history holds.
class PicturesOnly : public BoardPainter {
 public:
  explicit PicturesOnly(const TestGraphics& g) : board(g.Base()) {}
  std::optional<PictureProblem> LoadGraphics(uint8_t& tileSize) override {
    return board.LoadGraphics(tileSize);
  }
  void ResizeBoard(int w, int h) override { board.ResizeBoard(w, h); }
  void Nakr(const GameState& s, int x, int y) override { board.Nakr(s, x, y); }
  void NakrF(const GameState& s) override { board.NakrF(s); }
  void NakrN(const GameState& s, int c) override { board.NakrN(s, c); }
  void Vycisti(double x, double y, double n, int d) override { board.Vycisti(x, y, n, d); }
  void XorLine(double, double, double, double, Rgb) override {}
  void XorCircle(double, double, double, Rgb) override {}
  BoardRenderer board;
};

// Where two boards first differ, as "cell (x, y) pixel (px, py): 0x… against 0x…", or "".
std::string FirstDifference(const BoardRenderer& backed, const BoardRenderer& straight,
                            const GameState& s) {
  const SDL_Surface* a = backed.Surface();
  const SDL_Surface* b = straight.Surface();
  if (!a || !b) return a == b ? "" : "one board was never made";
  if (a->w != b->w || a->h != b->h) return "the boards differ in size";
  for (int y = 0; y < a->h; ++y) {
    const auto* ra = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(a->pixels) +
                                                       y * a->pitch);
    const auto* rb = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(b->pixels) +
                                                       y * b->pitch);
    for (int x = 0; x < a->w; ++x) {
      if ((ra[x] & 0xFFFFFFu) == (rb[x] & 0xFFFFFFu)) continue;
      std::ostringstream out;
      out << "cell (" << x / 40 << ", " << y / 40 << ") code " << s.Board.At(x / 40, y / 40)
          << ", pixel (" << x << ", " << y << "): " << std::hex << (ra[x] & 0xFFFFFFu)
          << " after going back, " << (rb[x] & 0xFFFFFFu) << " when played straight"
          << std::dec << "; the player at (" << s.PlayerX << ", " << s.PlayerY << ") of "
          << s.PlayerSteps << ", moving " << s.Moving << " dir " << s.MoveDir << " on top " << s.FigureOnTop << ", game over " << s.GameOver << ", dying " << s.Dying;
      return out.str();
    }
  }
  return "";
}

// Plays the kept keys from a fresh opening and compares its board with the one gone back.
std::string CompareWithStraight(const TestGraphics& g, const std::string& zone, bool yes,
                                const std::vector<std::vector<int>>& kept,
                                const PicturesOnly& backedPaint, const GameState& s) {
  PicturesOnly straightPaint{g};
  Replay straight(straightPaint, yes);
  if (auto error = straight.Open(zone)) return error->Describe();
  for (const auto& keys : kept) straight.Tick(keys);
  return FirstDifference(backedPaint.board, straightPaint.board, s);
}

// Random zones and keys, with restarts, deaths (enemies, lasers, the countdown) and wins
// answered both ways; after each step back the two boards agree. The zones leave out what paints
// traces only the history holds: an enemy passing over a fallen figure erases it strip by strip;
// a time bonus is taken as the step toward it begins, and its picture goes only as the figure
// covers it; with three steps a cell a rounded trail strip can leave a sliver a pixel wide.
TEST(RewindPictures, GoingBackShowsTheBoardPlayShowedAtThatTick) {
  TestGraphics g;
  std::mt19937_64 rng(29);
  for (int round = 0; round < 120; ++round) {
    const std::string zone = RandomZone(rng, ZoneFor::Pictures);
    const bool yes = round % 2 == 0;
    PicturesOnly backedPaint{g};
    Replay backed(backedPaint, yes);
    ASSERT_FALSE(backed.Open(zone));
    std::vector<std::vector<int>> kept;
    for (int stretch = 0; stretch < 14; ++stretch) {
      const std::vector<int> keys = RandomKeys(rng);
      const int ticks =
          keys.size() == 2 && keys[0] == vk::Ctrl ? 1 : static_cast<int>(rng() % 60) + 1;
      for (int t = 0; t < ticks; ++t) {
        if (backed.Tick(keys)) kept.push_back(keys);
      }
      if (rng() % 3 != 0) continue;
      const int64_t undone = backed.Back(static_cast<int64_t>(rng() % 80) + 1);
      kept.resize(kept.size() - static_cast<size_t>(undone));
      ASSERT_EQ(CompareWithStraight(g, zone, yes, kept, backedPaint, backed.State()), "")
          << "round " << round << ", stretch " << stretch << ", " << kept.size() << " ticks";
    }
  }
}

// The countdown runs out while the player stands carrying a potato: the death wipes the figure
// from its cell. Going back to any tick before, during or after the dying shows it as it was.
TEST(RewindPictures, AfterACountdownDeathTheFigureStandsWhereItStood) {
  TestGraphics g;
  const std::string zone = WriteTemp(ZoneText({{"WWWWWWW", "WSR...W", "WT....W", "WWWWWWW"}, 1}));
  for (int64_t wait : {290, 301, 304, 310, 330, 400}) {
    for (int64_t back : {1, 3, 8, 20, 60}) {
      PicturesOnly backedPaint{g};
      Replay backed(backedPaint, false);
      ASSERT_FALSE(backed.Open(zone));
      std::vector<std::vector<int>> kept{{vk::Right}};
      backed.Tick(kept[0]);
      for (int64_t t = 0; t < wait; ++t) {
        if (backed.Tick({})) kept.push_back({});
      }
      ASSERT_EQ(backed.State().GameOver != 0, wait > 300) << "the countdown ends at tick 300";
      kept.resize(kept.size() - static_cast<size_t>(backed.Back(back)));
      ASSERT_EQ(CompareWithStraight(g, zone, false, kept, backedPaint, backed.State()), "")
          << "waited " << wait << " ticks, went back " << back;
    }
  }
}

}  // namespace
}  // namespace quarn::test
