// GameSoundsTest.cpp — the game's ten sounds: their slots, flags, and the background music.
#include <gtest/gtest.h>

#include "SoundTestSupport.h"
#include "sound/GameSounds.h"

namespace quarn {
namespace {

constexpr const char* Files[GameSoundCount] = {
    "walk.wav", "LaserDoors.wav", "Die.wav",       "Back.wav", "AirDoor.wav",
    "Tick.wav", "Target.wav",     "HotPotato.wav", "Key.wav",  "Door.wav"};

class GameSet : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int k = 0; k < GameSoundCount; ++k) {
      // Distinct tones, so a sound mixed up with another would be heard at the wrong pitch.
      test::WriteTone(folder_.Path() / "sound" / Files[k],
                      {.Hertz = 220.0 + 110.0 * k, .Frames = 4410});
    }
  }
  test::TempFolder folder_;
  test::CountingOpener opener_;
};

TEST_F(GameSet, LoadsTheTenSoundsInOrderAndStartsTheMusic) {
  auto module = test::LoopbackModule(folder_.Path(), opener_);
  GameSounds sounds(*module);
  ASSERT_TRUE(sounds.InicializaceZvuku());
  EXPECT_EQ(module->SlotCount(), GameSoundCount);
  for (int k = 0; k < GameSoundCount; ++k) {
    auto sound = static_cast<GameSound>(k);
    EXPECT_EQ(sounds.Slot(sound), k);
    SoundSlotInfo info = module->Info(sounds.Slot(sound));
    EXPECT_TRUE(info.HasWave) << Files[k];
    EXPECT_EQ(info.Flags.Looping, sound == GameSound::Walk || sound == GameSound::Back) << k;
    EXPECT_EQ(info.Flags.CtrlFrequency, sound == GameSound::Back) << k;
    EXPECT_EQ(info.Flags.CtrlVolume, sound == GameSound::LaserDoors) << k;
    EXPECT_EQ(info.Sounding, sound == GameSound::Back) << k;
  }
  SoundSlotInfo back = module->Info(sounds.Slot(GameSound::Back));
  EXPECT_EQ(back.Status, "playing");
  EXPECT_FLOAT_EQ(back.Pitch, 12000.0f / 22050.0f);
  // Back's 550 Hz tone at 12000 of 22050 samples per second: about 299 Hz.
  auto music = test::Render(*module, test::MixRate);
  EXPECT_NEAR(test::ZeroCrossings(music), 2 * 550 * 12000 / 22050, 6);
}

TEST_F(GameSet, RuleCallsReachTheirSlots) {
  auto module = test::LoopbackModule(folder_.Path(), opener_);
  GameSounds sounds(*module);
  ASSERT_TRUE(sounds.InicializaceZvuku());
  module->SoundStop(sounds.Slot(GameSound::Back));

  sounds.Play(GameSound::Walk);
  EXPECT_TRUE(module->Info(sounds.Slot(GameSound::Walk)).Sounding);
  // walk.wav is the 220 Hz tone: 440 crossings a second.
  EXPECT_NEAR(test::ZeroCrossings(test::Render(*module, test::MixRate)), 440, 4);
  sounds.Stop(GameSound::Walk);
  EXPECT_EQ(module->Info(sounds.Slot(GameSound::Walk)).Status, "stopped");

  sounds.SetVolume(GameSound::LaserDoors, -20000);
  EXPECT_FLOAT_EQ(module->Info(sounds.Slot(GameSound::LaserDoors)).Gain, 1e-5f);
  sounds.SetVolume(GameSound::Die, -2000);
  EXPECT_FLOAT_EQ(module->Info(sounds.Slot(GameSound::Die)).Gain, 1.0f);
  sounds.Play(GameSound::HotPotato);
  EXPECT_EQ(module->Info(sounds.Slot(GameSound::HotPotato)).Status, "playing");
}

TEST_F(GameSet, ClosingTheScreenFreesEverySlot) {
  auto module = test::LoopbackModule(folder_.Path(), opener_);
  {
    GameSounds sounds(*module);
    ASSERT_TRUE(sounds.InicializaceZvuku());
    sounds.Play(GameSound::Walk);
  }
  EXPECT_EQ(module->SlotCount(), GameSoundCount);
  for (SoundSlot s = 0; s < GameSoundCount; ++s) EXPECT_TRUE(module->Info(s).Free) << s;
  EXPECT_EQ(test::Peak(test::Render(*module, 2000), 128), 0.0f);

  // A new game screen starts again from a fresh table.
  GameSounds again(*module);
  ASSERT_TRUE(again.InicializaceZvuku());
  EXPECT_EQ(*opener_.Opened, 2);
  EXPECT_EQ(again.Slot(GameSound::Door), 9);
}

TEST_F(GameSet, SoundOffLeavesEverySoundAtSlotZeroAndSilent) {
  SoundModule module(folder_.Path(), opener_);
  GameSounds sounds(module);
  EXPECT_TRUE(sounds.InicializaceZvuku());
  EXPECT_EQ(*opener_.Opened, 0);
  for (int k = 0; k < GameSoundCount; ++k) EXPECT_EQ(sounds.Slot(static_cast<GameSound>(k)), 0);
  sounds.Play(GameSound::Walk);
  EXPECT_TRUE(module.Info(0).Free);
}

TEST_F(GameSet, NoDeviceMeansAMessageAndNoSound) {
  SoundModule module(folder_.Path(), [] { return OpenedDevice{}; });
  module.SetEnabled(true);
  GameSounds sounds(module);
  EXPECT_FALSE(sounds.InicializaceZvuku());
  EXPECT_NE(std::string(SoundInitFailureText).find("bez zvuku"), std::string::npos);
  EXPECT_FALSE(module.Enabled());
  for (int k = 0; k < GameSoundCount; ++k) EXPECT_EQ(sounds.Slot(static_cast<GameSound>(k)), 0);
}

TEST(GameSetMissing, MissingWavesLeaveSilentSlotsAndTheGameGoesOn) {
  test::TempFolder empty;
  auto module = test::LoopbackModule(empty.Path());
  GameSounds sounds(*module);
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(sounds.InicializaceZvuku());
  std::string warnings = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(warnings.find("Back.wav"), std::string::npos);
  EXPECT_EQ(sounds.Slot(GameSound::Door), 9);
  sounds.Play(GameSound::Walk);
  EXPECT_EQ(test::Peak(test::Render(*module, 1000)), 0.0f);
}

}  // namespace
}  // namespace quarn
