// Harness.cpp — zone files for tests, the recording painter and the Play helper.
#include "Harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <string_view>

namespace quarn::test {

std::string ZoneText(const ZoneLayout& layout) {
  size_t width = 0;
  for (const std::string& row : layout.Rows) width = std::max(width, row.size());
  std::ostringstream out;
  out << "Test zone\n" << width << '\n' << layout.Rows.size() << '\n' << layout.PlayerSteps << '\n';
  for (int s : layout.EnemySteps) out << s << '\n';
  for (const std::string& p : layout.Patterns) out << p << '\n';
  for (const std::string& row : layout.Rows) out << row << '\n';
  return out.str();
}

std::string WriteTemp(const std::string& text, const std::string& extension) {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "zone";
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const std::string path =
      ::testing::TempDir() + "quarn-" + name + "-" + std::to_string(counter++) + extension;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// A small zone of every tile, enemies of all kinds and laser doors of all groups; walled or open
// at its border, with steps from 1 to 5 so that steps and countdowns end at odd ticks.
std::string RandomZone(std::mt19937_64& rng, ZoneFor use) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const int w = pick(4, 14), h = pick(3, 9);
  const bool walled = pick(0, 1) == 0;
  const std::string tiles = "WWWOQ?RRRCCDKBTTabc++-*";
  std::vector<std::string> rows(static_cast<size_t>(h), std::string(static_cast<size_t>(w), '.'));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      char& c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      if (walled && (x == 0 || y == 0 || x == w - 1 || y == h - 1)) {
        c = 'W';
      } else if (pick(0, 99) < 35) {
        c = tiles[static_cast<size_t>(pick(0, static_cast<int>(tiles.size()) - 1))];
        if (use == ZoneFor::Pictures && std::string_view("+-*T").find(c) != std::string_view::npos) c = '.';
      }
    }
  }
  const size_t sy = static_cast<size_t>(pick(0, h - 1)), sx = static_cast<size_t>(pick(0, w - 1));
  rows[sy][sx] = 'S';
  rows[static_cast<size_t>(pick(0, h - 1))][static_cast<size_t>(pick(0, w - 1))] = 'E';
  // A zone for pictures always has its start: without one the figure stands wherever the last
  // run left it, a wall's cell too, and its first step's trail paints the wall over.
  if (use == ZoneFor::Pictures) rows[sy][sx] = 'S';
  auto pattern = [&] {
    std::string p;
    for (int i = pick(1, 6); i > 0; --i) p += static_cast<char>('0' + pick(0, 1));
    return p;
  };
  auto steps = [&] {
    const int n = pick(1, 5);
    return use == ZoneFor::Pictures && n == 3 ? 4 : n;
  };
  ZoneLayout layout{rows, steps(), {steps(), steps(), steps()}, {pattern(), pattern(), pattern()}};
  return WriteTemp(ZoneText(layout));
}

// Keys of one stretch of ticks: mostly arrows (sometimes two), the space bar, now and then a
// restart (Ctrl+R) or Enter, which restarts a halted zone.
std::vector<int> RandomKeys(std::mt19937_64& rng) {
  const int roll = std::uniform_int_distribution<int>(0, 99)(rng);
  if (roll < 4) return {vk::Ctrl, vk::R};
  if (roll < 10) return {vk::Enter};
  if (roll < 18) return {};
  std::vector<int> keys{vk::Left + static_cast<int>(rng() % 4)};
  if (roll < 30) keys.push_back(vk::Left + static_cast<int>(rng() % 4));
  if (roll > 90) keys.push_back(vk::Space);
  return keys;
}

std::optional<PictureProblem> RecordingPainter::LoadGraphics(uint8_t& tileSize) {
  tileSize = 40;
  Calls.push_back("LoadGraphics");
  return std::nullopt;
}

void RecordingPainter::ResizeBoard(int widthPx, int heightPx) {
  Calls.push_back("ResizeBoard " + std::to_string(widthPx) + " " + std::to_string(heightPx));
  xor_.clear();
}

void RecordingPainter::Nakr(const GameState& s, int x, int y) {
  Calls.push_back("Nakr " + std::to_string(x) + " " + std::to_string(y) + " " +
                  std::to_string(s.Board.At(x, y)));
}

void RecordingPainter::NakrF(const GameState& s) {
  Calls.push_back("NakrF " + std::to_string(s.PlayerX) + " " + std::to_string(s.PlayerY));
}

void RecordingPainter::NakrN(const GameState& s, int c) {
  const EnemyRec& e = s.Enemies[static_cast<size_t>(c)];
  Calls.push_back("NakrN " + std::to_string(c) + " " + std::to_string(e.X) + " " +
                  std::to_string(e.Y));
}

void RecordingPainter::Vycisti(double clx, double cly, double cn, int sm) {
  std::ostringstream out;
  out << "Vycisti " << clx << " " << cly << " " << cn << " " << sm;
  Calls.push_back(out.str());
}

void RecordingPainter::XorLine(double x1, double y1, double x2, double y2, Rgb c) {
  std::ostringstream out;
  out.precision(17);
  out << "Line " << x1 << " " << y1 << " " << x2 << " " << y2 << " " << int(c.R) << " " << int(c.G)
      << " " << int(c.B);
  Calls.push_back(out.str());
  Toggle(out.str());
}

void RecordingPainter::XorCircle(double cx, double cy, double radius, Rgb c) {
  std::ostringstream out;
  out.precision(17);
  out << "Circle " << cx << " " << cy << " " << radius << " " << int(c.R) << " " << int(c.G) << " "
      << int(c.B);
  Calls.push_back(out.str());
  Toggle(out.str());
}

void RecordingPainter::Toggle(const std::string& key) {
  if (++xor_[key] % 2 == 0) xor_.erase(key);
}

size_t RecordingPainter::VisibleFigures() const { return xor_.size(); }

int RecordingPainter::Count(const std::string& prefix) const {
  int n = 0;
  for (const std::string& call : Calls) n += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

Play::Play(const ZoneLayout& layout, bool answerYes, BoardPainter* painter)
    : path_(WriteTemp(ZoneText(layout))),
      replay_(painter ? std::make_unique<Replay>(*painter, answerYes)
                      : std::make_unique<Replay>(answerYes)) {
  if (auto error = replay_->Open(path_)) ADD_FAILURE() << error->Describe();
}

void Play::Keys(const std::string& script) {
  auto parsed = ParseKeyScript(script);
  if (auto* error = std::get_if<KeyScriptError>(&parsed)) {
    ADD_FAILURE() << error->Describe();
    return;
  }
  replay_->Run(std::get<KeyScript>(parsed));
}

void Play::Ticks(int n, const std::vector<int>& keys) {
  for (int i = 0; i < n; ++i) replay_->Tick(keys);
}

}  // namespace quarn::test
