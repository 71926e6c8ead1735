// Harness.cpp — zone files for tests, the recording painter and the Play helper.
#include "Harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

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
