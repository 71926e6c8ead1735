// ZoneTestSupport.h — building zone texts and temporary zone files for the loader's tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "zone/Zone.h"

namespace quarn::test {

// A file's bytes, whole ("" when it cannot be read).
inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// How a run of quarn-zone ended: its exit status and what it wrote.
struct ToolRun {
  int status = -1;
  std::string out, err;
};

// The header after the title: player steps, enemy steps 1..3, laser patterns a..c, one per line.
inline constexpr const char* DefaultTail = "5\n4\n6\n8\n01\n0\n1\n";

// A zone text with the given size and rows, LF line ends.
inline std::string ZoneText(int width, int height, const std::vector<std::string>& rows,
                            const std::string& tail = DefaultTail,
                            const std::string& title = "\"Zkouška\"") {
  std::string text =
      title + "\n" + std::to_string(width) + "\n" + std::to_string(height) + "\n" + tail;
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

inline ParsedZone MustParse(const std::string& text) {
  auto result = ParseZoneText(text, "test.qrn");
  if (!result.Ok()) {
    ADD_FAILURE() << "unexpected error: " << result.Error().Describe();
    return {};
  }
  return result.Value();
}

inline ZoneError MustFail(const std::string& text) {
  auto result = ParseZoneText(text, "test.qrn");
  if (result.Ok()) {
    ADD_FAILURE() << "zone '" << result.Value().Title << "' was accepted";
    return {};
  }
  return result.Error();
}

// A file in a folder of the running test's own, made afresh by mkdtemp so that two trees (or two
// runs) testing at once never share it. The folder goes when the next test asks for one, and the
// last one when the program ends.
inline std::filesystem::path TempPath(const std::string& name) {
  struct Folder {
    std::string test;
    std::filesystem::path path;
    void Remove() {
      std::error_code ec;
      if (!path.empty()) std::filesystem::remove_all(path, ec);
      path.clear();
    }
    ~Folder() { Remove(); }
  };
  static Folder folder;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string test = std::string(info->test_suite_name()) + "." + info->name();
  if (folder.path.empty() || folder.test != test) {
    folder.Remove();
    std::string pattern = (std::filesystem::temp_directory_path() /
                           ("quarn-" + std::string(info->test_suite_name()) + "-XXXXXX"))
                              .string();
    if (!mkdtemp(pattern.data())) {
      ADD_FAILURE() << "no temporary folder: " << pattern;
      return std::filesystem::temp_directory_path() / name;
    }
    folder.test = test;
    folder.path = pattern;
  }
  return folder.path / name;
}

inline std::string WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

}  // namespace quarn::test
