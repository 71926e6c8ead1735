// ZoneHostileTest.cpp — zone files made to hurt: huge tails, devices, pipes, giant fields.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "ZoneTestSupport.h"

namespace quarn::test {
namespace {

const std::string Small = ZoneText(3, 1, {"SRC"});

ZoneError FileFails(const std::string& path) {
  const auto result = ParseZoneFile(path);
  if (!!result.Ok()) {
    ADD_FAILURE() << path << " was accepted";
    return {};
  }
  return result.Error();
}

TEST(ZoneHostile, WhatFollowsTheLastRowIsNeverRead) {
  // 64 GB of zero bytes after the rows (a sparse file): only the zone's own lines are read.
  const std::string path = WriteFile(TempPath("tail.qrn"), Small);
  std::filesystem::resize_file(path, std::uintmax_t{1} << 36);
  const auto start = std::chrono::steady_clock::now();
  const auto result = ParseZoneFile(path);
  ASSERT_TRUE(result.Ok()) << result.Error().Describe();
  EXPECT_EQ(result.Value().Potatoes, 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(ZoneHostile, OnlyRegularFilesAreOpened) {
  // A device never ends and a pipe with no writer blocks the reader for good.
  EXPECT_EQ(FileFails("/dev/zero").Line, 0);
  const std::string fifo = TempPath("pipe.qrn").string();
  std::filesystem::remove(fifo);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const ZoneError e = FileFails(fifo);
  EXPECT_NE(e.Message.find("obyčejný soubor"), std::string::npos) << e.Message;
}

TEST(ZoneHostile, HeaderAndRowsHaveASizeLimit) {
  // 9 MB in a laser pattern, and an unclosed quote that would swallow an endless file.
  for (const std::string& text :
       {ZoneText(1, 1, {"S"}, "5\n4\n6\n8\n" + std::string(9 << 20, '0') + "\n0\n1\n"),
        "\"" + std::string(9 << 20, 'x')}) {
    const ZoneError e = MustFail(text);
    EXPECT_NE(e.Message.find("8 MB"), std::string::npos) << e.Message;
  }
  // Generous: a pattern of a megabyte is still a zone.
  EXPECT_EQ(MustParse(ZoneText(1, 1, {"S"}, "5\n4\n6\n8\n" + std::string(1 << 20, '1') + "\n0\n1\n"))
                .LaserPatterns[0]
                .size(),
            1u << 20);
}

TEST(ZoneHostile, MessagesQuoteAtMostFortyCharacters) {
  const std::string longNumber(100000, '7');
  const std::string longWord = std::string(30, 'x') + std::string(100000, 'z');
  const std::string czech = std::string(39, 'a') + "žžžž";  // a cut inside a two-byte letter
  for (const auto& [width, shown] : std::vector<std::pair<std::string, std::string>>{
           {longNumber, "ne " + std::string(40, '7') + "…"},
           {longWord, "„" + std::string(30, 'x') + std::string(10, 'z') + "…“"},
           {czech, "„" + std::string(39, 'a') + "ž…“"},
           {"abc", "„abc“"}}) {
    const std::string message = MustFail(ZoneText(1, 1, {"S"}, DefaultTail, "\"Hra\"")
                                             .replace(6, 1, width))
                                    .Message;
    EXPECT_LT(message.size(), 160u);
    EXPECT_NE(message.find(shown), std::string::npos) << message;
  }
}

TEST(ZoneHostile, SmallSlips) {
  // A sign followed by another sign is no whole number, not a number out of range.
  const ZoneError e = MustFail(ZoneText(1, 1, {"S"}, "+-5\n4\n6\n8\n0\n0\n1\n"));
  EXPECT_NE(e.Message.find("celé číslo"), std::string::npos) << e.Message;
  // Two byte-order marks (an editor that added its own) both stay out of the title.
  EXPECT_EQ(MustParse("\xEF\xBB\xBF\xEF\xBB\xBF" + Small).Title, "Zkouška");
}

}  // namespace
}  // namespace quarn::test
