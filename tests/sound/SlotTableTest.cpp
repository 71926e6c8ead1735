// SlotTableTest.cpp — how the slot table hands out, frees and reports its slots.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "SoundTestSupport.h"
#include "sound/AudioDevice.h"
#include "sound/WaveFile.h"

namespace quarn {
namespace {

using test::CountingOpener;
using test::LoopbackModule;
using test::TempFolder;

class SlotTable : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteTone(folder_.Path() / "sound" / "tone.wav", {}); }
  TempFolder folder_;
  CountingOpener opener_;
};

TEST_F(SlotTable, LoadsTakeTheLowestFreeSlotAndGrowTheTableByOne) {
  auto module = LoopbackModule(folder_.Path(), opener_);
  ASSERT_TRUE(module->SoundInit());
  EXPECT_EQ(module->SlotCount(), 1);
  EXPECT_TRUE(module->Info(0).Free);
  EXPECT_EQ(module->Info(0).Status, "empty");

  for (int expected = 0; expected < 4; ++expected) {
    EXPECT_EQ(module->SoundLoad("sound\\tone.wav", {}), expected);
    EXPECT_EQ(module->SlotCount(), expected + 1);
  }
  module->SoundFree(1);
  EXPECT_TRUE(module->Info(1).Free);
  EXPECT_EQ(module->Info(1).Status, "empty");
  EXPECT_EQ(module->Info(1).FileName, "");
  EXPECT_EQ(module->SoundLoad("sound\\tone.wav", {}), 1) << "a freed slot is handed out again";
  EXPECT_EQ(module->SoundLoad("sound\\tone.wav", {}), 4);

  module->SoundFreeAll();
  EXPECT_EQ(module->SlotCount(), 5) << "freeing every slot keeps the table's size";
  for (SoundSlot s = 0; s < 5; ++s) EXPECT_TRUE(module->Info(s).Free);
  EXPECT_EQ(module->SoundLoad("sound\\tone.wav", {}), 0);

  // A new initialisation opens the device anew and starts from a one-slot table.
  ASSERT_TRUE(module->SoundInit());
  EXPECT_EQ(*opener_.Opened, 2);
  EXPECT_EQ(module->SlotCount(), 1);
  EXPECT_TRUE(module->Info(0).Free);
  EXPECT_EQ(module->SoundLoad("sound\\tone.wav", {}), 0);
}

TEST_F(SlotTable, StatusFollowsLoadPlayAndStop) {
  auto module = LoopbackModule(folder_.Path(), opener_);
  ASSERT_TRUE(module->SoundInit());
  SoundSlot slot = module->SoundLoad("sound\\tone.wav", {.Looping = true, .CtrlVolume = true});
  SoundSlotInfo info = module->Info(slot);
  EXPECT_FALSE(info.Free);
  EXPECT_EQ(info.Status, "Stopped");
  EXPECT_EQ(info.FileName, "sound\\tone.wav");
  EXPECT_TRUE(info.Flags.Looping);
  EXPECT_TRUE(info.Flags.CtrlVolume);
  EXPECT_FALSE(info.Flags.CtrlFrequency);
  EXPECT_TRUE(info.HasWave);
  EXPECT_EQ(info.FileRate, test::MixRate);
  EXPECT_FALSE(info.Sounding);

  module->SoundPlay(slot);
  EXPECT_EQ(module->Info(slot).Status, "playing");
  EXPECT_TRUE(module->Info(slot).Sounding);
  module->SoundStop(slot);
  EXPECT_EQ(module->Info(slot).Status, "stopped");
  EXPECT_FALSE(module->Info(slot).Sounding);
  module->SoundPlay(slot);
  module->SoundFree(slot);
  EXPECT_EQ(module->Info(slot).Status, "empty");
}

TEST_F(SlotTable, FreeSlotsAndNumbersOutsideTheTableAreIgnored) {
  auto module = LoopbackModule(folder_.Path(), opener_);
  ASSERT_TRUE(module->SoundInit());
  for (SoundSlot slot : {SoundSlot{0}, SoundSlot{-1}, SoundSlot{7}, SoundSlot{32767}}) {
    module->SoundPlay(slot);
    module->SoundStop(slot);
    module->SoundSetVolume(slot, -500);
    module->SoundSetFrequency(slot, 8000);
    module->SoundFree(slot);
  }
  EXPECT_EQ(module->SlotCount(), 1);
  EXPECT_EQ(module->Info(0).Status, "empty") << "playing a free slot must not mark it";
}

TEST_F(SlotTable, SoundOffOpensNothingAndEveryLoadIsSlotZero) {
  auto module = std::make_unique<SoundModule>(folder_.Path(), opener_);
  EXPECT_FALSE(module->Enabled()) << "sound is off until the player turns it on";
  EXPECT_TRUE(module->SoundInit());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(module->SoundLoad("sound\\tone.wav", {}), 0);
  module->SoundPlay(0);
  module->SoundSetVolume(0, -20000);
  EXPECT_EQ(*opener_.Opened, 0);
  EXPECT_EQ(module->Device(), nullptr);
  EXPECT_EQ(module->SlotCount(), 1);
  EXPECT_TRUE(module->Info(0).Free);
  EXPECT_EQ(module->Info(0).Status, "empty");
}

TEST_F(SlotTable, DeviceThatCannotBeOpenedTurnsSoundOff) {
  SoundModule module(folder_.Path(), [] { return OpenedDevice{}; });
  module.SetEnabled(true);
  EXPECT_FALSE(module.SoundInit());
  EXPECT_FALSE(module.Enabled());
  EXPECT_EQ(module.SoundLoad("sound\\tone.wav", {}), 0);
  EXPECT_EQ(module.SoundLoad("sound\\tone.wav", {}), 0);
  EXPECT_TRUE(module.Info(0).Free);
}

TEST_F(SlotTable, UnreadableWaveKeepsItsSlotSilentAndWarns) {
  std::ofstream(folder_.Path() / "sound" / "broken.wav") << "RIFF but no wave at all";
  auto module = LoopbackModule(folder_.Path(), opener_);
  ASSERT_TRUE(module->SoundInit());

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(module->SoundLoad("sound\\missing.wav", {.Looping = true}), 0);
  EXPECT_EQ(module->SoundLoad("sound\\broken.wav", {}), 1);
  std::string warnings = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(warnings.find("missing.wav"), std::string::npos) << warnings;
  EXPECT_NE(warnings.find("broken.wav"), std::string::npos) << warnings;

  EXPECT_EQ(module->SoundLoad("sound\\tone.wav", {}), 2) << "failed loads keep their slots";
  for (SoundSlot slot : {SoundSlot{0}, SoundSlot{1}}) {
    EXPECT_FALSE(module->Info(slot).Free);
    EXPECT_FALSE(module->Info(slot).HasWave);
    module->SoundPlay(slot);
    EXPECT_EQ(module->Info(slot).Status, "playing");
  }
  EXPECT_EQ(test::Peak(test::Render(*module, 2000)), 0.0f);
}

TEST(WaveNames, MatchEitherSeparatorAndAnyLetterCase) {
  TempFolder folder;
  test::WriteTone(folder.Path() / "sound" / "walk.wav", {});
  auto expected = folder.Path() / "sound" / "walk.wav";
  EXPECT_EQ(FindIgnoringCase(folder.Path(), "sound\\walk.wav"), expected);
  EXPECT_EQ(FindIgnoringCase(folder.Path(), "SOUND\\Walk.WAV"), expected);
  EXPECT_EQ(FindIgnoringCase(folder.Path(), "\\Sound/walk.wav"), expected);
  EXPECT_EQ(FindIgnoringCase(folder.Path(), "sound\\walk.wa"), std::nullopt);
  EXPECT_EQ(FindIgnoringCase(folder.Path(), "sound"), std::nullopt) << "a folder is no wave";
  EXPECT_EQ(FindIgnoringCase(folder.Path(), ""), std::nullopt);
}

TEST(WaveFormats, EightBitMonoAndSixteenBitStereoReadAlike) {
  TempFolder folder;
  test::WriteTone(folder.Path() / "mono8.wav", {.Rate = 11025, .Channels = 1, .Bits = 8});
  test::WriteTone(folder.Path() / "stereo16.wav", {});
  auto mono = ReadWave(folder.Path() / "mono8.wav");
  auto stereo = ReadWave(folder.Path() / "stereo16.wav");
  ASSERT_TRUE(std::holds_alternative<Wave>(mono));
  ASSERT_TRUE(std::holds_alternative<Wave>(stereo));
  const Wave& m = std::get<Wave>(mono);
  const Wave& s = std::get<Wave>(stereo);
  EXPECT_EQ(m.Channels, 1);
  EXPECT_EQ(m.Rate, 11025);
  EXPECT_EQ(m.Samples.size(), 2205u);
  EXPECT_EQ(s.Channels, 2);
  EXPECT_EQ(s.Samples.size(), 2u * 2205u);
  // Both peak at half of full scale; the 8-bit one only to its coarser steps.
  auto peak = [](const Wave& w) {
    int p = 0;
    for (int16_t v : w.Samples) p = std::max(p, std::abs(static_cast<int>(v)));
    return p;
  };
  EXPECT_NEAR(peak(m), 16351, 300);
  EXPECT_NEAR(peak(s), 16351, 2);
}

TEST(WaveFormats, AWaveWithoutSamplesIsRefused) {
  TempFolder folder;
  // A 44-byte header whose data chunk is empty, and one whose data chunk is missing.
  std::string header("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0\x88\x58\x01\0"
                     "\x02\0\x10\0data\0\0\0\0",
                     44);
  std::ofstream(folder.Path() / "empty.wav", std::ios::binary) << header;
  std::ofstream(folder.Path() / "cut.wav", std::ios::binary) << header.substr(0, 36);
  for (const char* name : {"empty.wav", "cut.wav"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ReadWave(folder.Path() / name))) << name;
  }
}

TEST(DriverChoice, PrefersPulseAndAlsaOverJackUnlessThePlayerChose) {
  std::map<std::string, std::string> env{{"HOME", "/home/p"}};
  std::map<std::filesystem::path, std::string> files;
  auto getEnv = [&](const char* name) -> const char* {
    auto found = env.find(name);
    return found == env.end() ? nullptr : found->second.c_str();
  };
  auto read = [&](const std::filesystem::path& file) -> std::optional<std::string> {
    auto found = files.find(file);
    if (found == files.end()) return std::nullopt;
    return found->second;
  };

  // Debian's own file, every setting commented out, is no choice.
  files["/etc/openal/alsoft.conf"] =
      "# drivers\n[general]\n#drivers =\n[decoder]\nhq-mode = false\n";
  auto chosen = PreferredDrivers(getEnv, read);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->find("jack"), std::string::npos);
  EXPECT_EQ(chosen->rfind("pulse", 0), 0u) << *chosen;
  EXPECT_NE(chosen->back(), ',') << "a trailing comma would let OpenAL try JACK after all";

  for (const char* config : {"/home/p/.alsoftrc", "/home/p/.config/alsoft.conf",
                             "/etc/openal/alsoft.conf", "/etc/xdg/alsoft.conf"}) {
    auto saved = files;
    files[config] = "[general]\n  drivers = jack,pulse # mine\n";
    EXPECT_EQ(PreferredDrivers(getEnv, read), std::nullopt) << config;
    files = saved;
  }
  files["/home/p/.alsoftrc"] = "drivers=alsa\n";  // before any section: general
  EXPECT_EQ(PreferredDrivers(getEnv, read), std::nullopt);
  files["/home/p/.alsoftrc"] = "[pulse]\ndrivers = alsa\n";  // not a general setting
  EXPECT_NE(PreferredDrivers(getEnv, read), std::nullopt);

  env["XDG_CONFIG_HOME"] = "/cfg";
  files["/cfg/alsoft.conf"] = "drivers = oss\n";
  EXPECT_EQ(PreferredDrivers(getEnv, read), std::nullopt);
  files.erase("/cfg/alsoft.conf");
  env["ALSOFT_DRIVERS"] = "jack";
  EXPECT_EQ(PreferredDrivers(getEnv, read), std::nullopt);
}

// What opening the system's output writes to stderr, device closed again.
std::string StderrOfOpeningTheSystemDevice(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / "stderr.txt";
  const int saved = dup(STDERR_FILENO);
  const int sink = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(sink, STDERR_FILENO);
  close(sink);
  const OpenedDevice opened = OpenSystemDevice();
  if (opened.Device) alcCloseDevice(opened.Device);
  fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each case runs in a process of its own: OpenAL Soft reads its log level once per process.
TEST(SystemDevice, OpensWithoutTheLibrariesWritingToTheTerminal) {
  unsetenv(SoundLogVariable);
  unsetenv("ALSOFT_LOGLEVEL");
  TempFolder folder;
  // With a sound card or without one (the game itself says it plays silently).
  EXPECT_EQ(StderrOfOpeningTheSystemDevice(folder.Path()), "");
}

TEST(SystemDevice, LeavesTheLibrariesTheirSayWhenAskedFor) {
  setenv(SoundLogVariable, "1", 1);
  unsetenv("ALSOFT_LOGLEVEL");
  TempFolder folder;
  StderrOfOpeningTheSystemDevice(folder.Path());
  EXPECT_EQ(std::getenv("ALSOFT_LOGLEVEL"), nullptr);
  // The player's own OpenAL Soft log level stands either way.
  setenv(SoundLogVariable, "0", 1);
  setenv("ALSOFT_LOGLEVEL", "3", 1);
  StderrOfOpeningTheSystemDevice(folder.Path());
  EXPECT_STREQ(std::getenv("ALSOFT_LOGLEVEL"), "3");
}

}  // namespace
}  // namespace quarn
