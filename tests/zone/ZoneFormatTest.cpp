// ZoneFormatTest.cpp — the canonical zone writer and quarn-zone format: a formatted zone plays
// exactly as the one it came from, formatting is stable, notes survive, saving is safe.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "ZoneSets.h"
#include "ZoneTestSupport.h"
#include "run/Replay.h"
#include "zone/ZoneWriter.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

ZoneSource MustRead(const std::string& text) {
  auto read = ReadZoneSourceText(text, "test.qrn");
  if (!read.Ok()) {
    ADD_FAILURE() << read.Error().Describe();
    return {};
  }
  return read.Value();
}

std::string Format(const std::string& text) { return WriteZoneText(MustRead(text)); }

// As many bytes of text as expected has.
std::string Prefix(const std::string& text, const std::string& expected) {
  return text.substr(0, expected.size());
}

// What the loader makes of a zone, everything a player could tell apart.
void ExpectSameZone(const ParsedZone& a, const ParsedZone& b) {
  EXPECT_EQ(a.Title, b.Title);
  EXPECT_EQ(a.Width, b.Width);
  EXPECT_EQ(a.Height, b.Height);
  EXPECT_EQ(a.PlayerSteps, b.PlayerSteps);
  EXPECT_EQ(a.EnemySteps, b.EnemySteps);
  EXPECT_EQ(a.LaserPatterns, b.LaserPatterns);
  EXPECT_EQ(a.Codes, b.Codes);
  EXPECT_EQ(a.Start, b.Start);
  EXPECT_EQ(a.Exit, b.Exit);
  EXPECT_EQ(a.Potatoes, b.Potatoes);
  EXPECT_EQ(a.Rows, b.Rows);
  ASSERT_EQ(a.Enemies.size(), b.Enemies.size());
  for (size_t i = 0; i < a.Enemies.size(); ++i) {
    EXPECT_EQ(a.Enemies[i].X, b.Enemies[i].X);
    EXPECT_EQ(a.Enemies[i].Y, b.Enemies[i].Y);
    EXPECT_EQ(a.Enemies[i].Kind, b.Enemies[i].Kind);
  }
}

// The replay report with the board after the keys, from a zone file.
std::string Played(const fs::path& zone, const KeyScript& keys) {
  Replay replay(false);
  if (auto error = replay.Open(zone.string())) return "refused: " + error->Describe();
  if (auto error = replay.Run(keys)) return "stopped: " + error->Describe();
  return replay.Report(true);
}

void ExpectPlaysAlike(const std::string& text, const KeyScript& keys, const std::string& what) {
  const std::string formatted = Format(text);
  ExpectSameZone(MustParse(text), MustParse(formatted));
  EXPECT_EQ(Format(formatted), formatted) << what << ": formatting twice changed it";
  const fs::path original = TempPath("original.qrn"), canonical = TempPath("canonical.qrn");
  WriteFile(original, text);
  WriteFile(canonical, formatted);
  EXPECT_EQ(Played(original, keys), Played(canonical, keys)) << what;
}

KeyScript RandomKeys(std::mt19937& rng, int steps) {
  static const std::vector<std::vector<int>> choices = {
      {vk::Left}, {vk::Right}, {vk::Up}, {vk::Down}, {vk::Space}, {vk::Left, vk::Up}, {}};
  std::uniform_int_distribution<size_t> pick(0, choices.size() - 1);
  std::uniform_int_distribution<int> hold(1, 60);
  KeyScript script;
  for (int i = 0; i < steps; ++i) {
    KeyScriptStep step;
    step.Ticks = hold(rng);
    step.Keys = MaskOfKeys(choices[pick(rng)]);
    step.Line = i + 1;
    script.Steps.push_back(step);
  }
  return script;
}

// A zone written the way a hand or an old editor might: any tile, stray letters and blanks,
// short and long rows, CRLF or LF, a byte-order mark, quoted fields, a trailing comma, notes.
std::string GeneratedZone(std::mt19937& rng) {
  std::uniform_int_distribution<int> size(3, 40), pct(0, 99);
  const int w = size(rng), h = size(rng);
  const std::string tiles = ".WWWWSEO?QRRCDKB+-*abcTxA #";
  std::uniform_int_distribution<size_t> tile(0, tiles.size() - 1);
  const std::string eol = pct(rng) < 30 ? "\r\n" : "\n";
  std::string text = pct(rng) < 20 ? "\xEF\xBB\xBF" : "";
  const std::string titles[] = {"\"Zkouška, druhá\"", "Prostý název", "\"  odsazený\"",
                                "Okno \"A\""};
  text += titles[pct(rng) % 4] + eol;
  text += std::to_string(w) + eol + " " + std::to_string(h) + eol + "+" +
          std::to_string(1 + pct(rng) % 12) + eol;
  for (int k = 0; k < 3; ++k) text += std::to_string(2 + pct(rng) % 20) + eol;
  const std::string patterns[] = {"01", "0", "", "\"0,1\"", "0011 ", "1"};
  for (int g = 0; g < 3; ++g) text += patterns[pct(rng) % 6] + eol;
  int enemies = 0;
  for (int y = 0; y < h; ++y) {
    std::string row = pct(rng) < 10 ? "  " : "";
    const int length = pct(rng) < 15 ? w / 2 : pct(rng) < 15 ? w + 5 : w;
    for (int x = 0; x < length; ++x) {
      char c = tiles[tile(rng)];
      if (c == '+' || c == '-' || c == '*') {
        if (++enemies > 60) c = '.';
      }
      if (pct(rng) < 2) {
        row += "\xC5\xBE";  // a non-ASCII character is one floor cell
        continue;
      }
      row += c;
    }
    text += row + (pct(rng) < 5 ? "," : "") + eol;
  }
  const std::string notes[] = {"", "Poznámka autora, se čárkou\r\na \"uvozovkami\"\n",
                               "WWWW\nS.R\n", "\x01\xFF bez konce"};
  return text + notes[pct(rng) % 4];
}

// Every zone of every set, with its run; a zone is shipped in the form the editor saves.
TEST(ZoneFormat, ShippedZonesPlayTheirSolutionsAlikeAndFormatStably) {
  int zones = 0;
  for (const ShippedZone& zone : EveryShippedZone()) {
    ++zones;
    const std::string text = Slurp(zone.Zone);
    // Základy keeps its bytes, quoted titles included: records and runs go by a zone's content.
    if (zone.Set != "Základy") {
      EXPECT_TRUE(Format(text) == text) << zone.Shown() << " is not in the canonical form; "
                                      << "quarn-zone format " << zone.Zone << " " << zone.Zone
                                      << " gives it";
    }
    auto keys = ReadKeyScript(zone.Run.string());
    if (!std::holds_alternative<KeyScript>(keys)) {
      ADD_FAILURE() << zone.Shown() << ": " << std::get<KeyScriptError>(keys).Describe();
      continue;
    }
    ExpectPlaysAlike(text, std::get<KeyScript>(keys), zone.Shown());
  }
  EXPECT_GE(zones, 20);
}

TEST(ZoneFormat, GeneratedZonesPlayAlikeUnderRandomKeys) {
  std::mt19937 rng(19);
  for (int i = 0; i < 60; ++i) {
    const std::string text = GeneratedZone(rng);
    if (!ParseZoneText(text, "g.qrn").Ok()) continue;
    ExpectPlaysAlike(text, RandomKeys(rng, 40),
                     "generated zone " + std::to_string(i) + ":\n" + text);
  }
}

TEST(ZoneFormat, CanonicalFormKeepsCharactersQuotesOnlyWhenNeededAndNotesByteForByte) {
  const std::string notes = "\r\nnotes, \"quoted\"\n\x80\xFE tail without end";
  const std::string text =
      "\xEF\xBB\xBF\"Sklad, velký\"\r\n4\r\n3\r\n 10\r\n+16\r\n12\r\n6\r\n\"0,1\"\r\n\r\n01\r\n"
      "O?E\r\n  WSRCx\r\nab,c\r\n" +
      notes;
  const std::string formatted = Format(text);
  EXPECT_EQ(formatted,
            "\"Sklad, velký\"\n4\n3\n10\n16\n12\n6\n\"0,1\"\n\n01\n"
            "O?E.\nWSRC\nab..\n"
            // What follows a row's comma on its line is no longer the zone: it opens the notes.
            "c\r\n" +
                notes);
  // A title without a comma stands bare; one with leading blanks keeps them in quotes.
  EXPECT_EQ(Prefix(Format(ZoneText(1, 1, {"S"}, DefaultTail, "Bez čárky")), "Bez čárky\n"),
            "Bez čárky\n");
  EXPECT_EQ(Prefix(Format(ZoneText(1, 1, {"S"}, DefaultTail, "\"  dva\"")), "\"  dva\"\n"),
            "\"  dva\"\n");
  // A leading tab is a blank too: bare, the loader would skip it, and a second format lose it.
  const std::string tabbed = ZoneText(1, 1, {"S"}, DefaultTail, "\"\ttři\"");
  EXPECT_EQ(Prefix(Format(tabbed), "\"\ttři\"\n"), "\"\ttři\"\n");
  EXPECT_EQ(Format(Format(tabbed)), Format(tabbed));
  // A title that begins with a byte-order mark of its own keeps it, and plays alike.
  const std::string marked = ZoneText(1, 1, {"S"}, DefaultTail, "\"\xEF\xBB\xBFPomalý\"");
  EXPECT_EQ(Prefix(Format(marked), "\"\xEF\xBB\xBFPomalý\"\n"), "\"\xEF\xBB\xBFPomalý\"\n");
  EXPECT_EQ(Format(Format(marked)), Format(marked));
  // A Windows-1250 title is written as UTF-8.
  EXPECT_EQ(Prefix(Format(ZoneText(1, 1, {"S"}, DefaultTail,
                                   "\x8A\x9D"
                                   "astn\xE1")),
                   "Šťastná\n"),
            "Šťastná\n");
  EXPECT_FALSE(FieldWritable("a \"b\", c").Ok());
  EXPECT_TRUE(FieldWritable("a \"b\" c").Ok());
  EXPECT_TRUE(FieldWritable("a, b").Ok());
}

ToolRun FormatTool(const std::string& args) {
  const auto out = TempPath("stdout.txt"), err = TempPath("stderr.txt");
  const std::string command = std::string("'") + QUARN_ZONE_TOOL + "' format " + args + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
}

TEST(ZoneFormat, ToolWritesTheSameBytesToStdoutOrAFileAndRefusesBrokenZones) {
  const std::string text =
      "\"A, B\"\r\n3\r\n2\r\n10\r\n16\r\n12\r\n6\r\n01\r\n0\r\n1\r\nSR\r\nCE\r\nnote\r\n";
  const fs::path zone = TempPath("z.qrn"), out = TempPath("out.qrn");
  WriteFile(zone, text);
  const ToolRun toStdout = FormatTool("'" + zone.string() + "'");
  EXPECT_EQ(toStdout.status, 0) << toStdout.err;
  EXPECT_EQ(toStdout.out, Format(text));
  const ToolRun toFile = FormatTool("'" + zone.string() + "' '" + out.string() + "'");
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(Slurp(out), toStdout.out);
  // In place, the zone itself becomes canonical.
  EXPECT_EQ(FormatTool("'" + zone.string() + "' '" + zone.string() + "'").status, 0);
  EXPECT_EQ(Slurp(zone), toStdout.out);

  WriteFile(zone, "\"Rozbitá\"\nširoká\n");
  WriteFile(out, "kept");
  const ToolRun broken = FormatTool("'" + zone.string() + "' '" + out.string() + "'");
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.err.find("šířka"), std::string::npos) << broken.err;
  EXPECT_EQ(Slurp(out), "kept");
  EXPECT_EQ(FormatTool("--help").status, 0);
  EXPECT_EQ(FormatTool("").status, 2);

  // A name of 255 bytes, the longest a file system takes, is formatted in place: the temporary
  // file beside it has a short name of its own.
  const fs::path longest = TempPath(std::string(251, 'z') + ".qrn");
  WriteFile(longest, text);
  const ToolRun inPlace = FormatTool("'" + longest.string() + "' '" + longest.string() + "'");
  EXPECT_EQ(inPlace.status, 0) << inPlace.err;
  EXPECT_EQ(Slurp(longest), toStdout.out);
  fs::remove(longest);
}

}  // namespace
}  // namespace quarn::test
