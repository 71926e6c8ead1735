// ReplayReport.cpp — the replay's report: one JSON object whose field names and order are a
// contract.
#include <charconv>
#include <string>

#include "RealText.h"
#include "Replay.h"

namespace quarn {
namespace {

// Builds the object field by field; numbers are written in the shortest form that reads back the
// same value, so a double or a float keeps its full precision.
class JsonWriter {
 public:
  JsonWriter() { out_ += '{'; }
  std::string Finish() { return out_ + '}'; }

  JsonWriter& Key(const char* name) {
    if (out_.size() > 1) out_ += ", ";
    out_ += '"';
    out_ += name;
    out_ += "\": ";
    return *this;
  }
  JsonWriter& Int(int64_t v) { return Raw(std::to_string(v)); }
  JsonWriter& Bool(bool v) { return Raw(v ? "true" : "false"); }
  JsonWriter& Null() { return Raw("null"); }
  template <typename Real>
  JsonWriter& Number(Real v) {
    out_ += RealText(v);
    return *this;
  }
  JsonWriter& Raw(const std::string& text) {
    out_ += text;
    return *this;
  }

 private:
  std::string out_;
};

std::string IntPair(int64_t a, int64_t b) {
  return '[' + std::to_string(a) + ", " + std::to_string(b) + ']';
}

std::string NumberText(double v) { return RealText(v); }

}  // namespace

std::string Replay::Report(bool withBoard) const {
  const GameState& s = GetGame().State;
  JsonWriter j;
  j.Key("tick").Int(TicksRun());
  j.Key("wins").Int(GetGame().Wins());
  j.Key("deaths").Int(GetGame().Deaths());
  j.Key("restarts").Int(GetGame().Restarts());
  j.Key("game_over").Bool(s.GameOver != 0);
  j.Key("dying").Bool(s.Dying != 0);
  j.Key("moving").Bool(s.Moving != 0);
  j.Key("player").Raw(IntPair(s.PlayerX, s.PlayerY));
  j.Key("potatoes_left").Int(s.PotatoesLeft);
  j.Key("potatoes_carried").Int(s.PotatoesCarried);
  j.Key("time_left").Number(s.TimeLeft);
  j.Key("time_shown").Int(quarn::Int(s.TimeLeft + 0.99));
  j.Key("has_key").Bool(s.HasKey != 0);
  j.Key("has_box").Bool(s.HasBox != 0);
  j.Key("boxes_left").Int(s.Panel.BoxesLeft);
  if (s.Panel.BoxOverlayVisible) {
    j.Key("box_overlay").Raw(IntPair(s.Panel.BoxOverlayLeft, s.Panel.BoxOverlayTop));
  } else {
    j.Key("box_overlay").Null();
  }
  j.Key("exit").Raw(IntPair(s.ExitX, s.ExitY));
  j.Key("laser_tick").Int(s.LaserTick);
  j.Key("radio_counter").Int(s.RadioCounter);
  j.Key("death_phase").Number(s.DeathPhase);
  j.Key("pole").Raw('[' + NumberText(s.PoleLeft) + ", " + NumberText(s.PoleTop) + ']');

  std::string enemies = "[";
  for (int i = 0; i < s.EnemyCount; ++i) {
    const EnemyRec& e = s.Enemies[static_cast<size_t>(i)];
    if (i > 0) enemies += ", ";
    enemies += '[' + std::to_string(e.X) + ", " + std::to_string(e.Y) + ", " +
               std::to_string(e.Kind) + ", " + std::to_string(e.Dir) + ", " +
               (e.Stepping != 0 ? "-1" : "0") + ']';
  }
  j.Key("enemies").Raw(enemies + ']');

  const std::pair<const char*, GameSound> sounds[] = {{"walk", GameSound::Walk},
                                                      {"laser", GameSound::LaserDoors},
                                                      {"die", GameSound::Die},
                                                      {"airdoor", GameSound::AirDoor},
                                                      {"tick", GameSound::Tick},
                                                      {"target", GameSound::Target},
                                                      {"hotpotato", GameSound::HotPotato}};
  std::string counts = "{";
  for (const auto& [name, sound] : sounds) {
    if (counts.size() > 1) counts += ", ";
    counts += std::string("\"") + name + "\": " + std::to_string(sound_.Starts(sound));
  }
  j.Key("sounds").Raw(counts + '}');
  if (auto volume = sound_.LaserVolume()) {
    j.Key("laser_volume").Int(*volume);
  } else {
    j.Key("laser_volume").Null();
  }

  if (withBoard) {
    std::string board = "[";
    for (int y = 0; y < s.BoardHeight; ++y) {
      board += y == 0 ? "[" : ", [";
      for (int x = 0; x < s.BoardWidth; ++x) {
        if (x > 0) board += ", ";
        board += std::to_string(s.Board.At(x, y));
      }
      board += ']';
    }
    j.Key("board").Raw(board + ']');
  }
  return j.Finish();
}

}  // namespace quarn
