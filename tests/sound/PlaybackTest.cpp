// PlaybackTest.cpp — what the slots actually sound like, rendered through OpenAL's loopback.
#include <gtest/gtest.h>

#include <cmath>

#include "SoundTestSupport.h"

namespace quarn {
namespace {

using test::Peak;
using test::Render;
using test::ZeroCrossings;

// A 441 Hz tone of 2205 frames (a tenth of a second at the mixing rate).
constexpr int ToneFrames = 2205;
// OpenAL fades a stopped source out over a few samples; after this it must be silent.
constexpr size_t Settle = 128;

class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteTone(folder_.Path() / "tone.wav", {.Frames = ToneFrames});
    test::WriteTone(folder_.Path() / "low.wav", {.Rate = 11025, .Channels = 1, .Bits = 8});
    module_ = test::LoopbackModule(folder_.Path());
    ASSERT_TRUE(module_->SoundInit());
  }
  std::vector<float> Render(int frames) { return test::Render(*module_, frames); }

  test::TempFolder folder_;
  std::unique_ptr<SoundModule> module_;
};

TEST_F(Playback, PlayedSoundsSoundAndStoppedOnesAreSilent) {
  SoundSlot once = module_->SoundLoad("tone.wav", {});
  SoundSlot looped = module_->SoundLoad("tone.wav", {.Looping = true});
  EXPECT_EQ(Peak(Render(1000)), 0.0f) << "loading plays nothing";

  module_->SoundPlay(looped);
  auto playing = Render(1000);
  EXPECT_GT(Peak(playing), 0.2f);
  EXPECT_LT(Peak(playing), 0.75f);

  module_->SoundStop(looped);
  EXPECT_EQ(Peak(Render(1000), Settle), 0.0f);
  EXPECT_EQ(Peak(Render(1000)), 0.0f);

  module_->SoundPlay(once);
  EXPECT_GT(Peak(Render(1000)), 0.2f);
  module_->SoundFree(once);
  EXPECT_EQ(Peak(Render(1000), Settle), 0.0f) << "freeing a slot ends its sound";
}

TEST_F(Playback, LoopedSoundsGoOnAndOneShotsEnd) {
  SoundSlot once = module_->SoundLoad("tone.wav", {});
  module_->SoundPlay(once);
  auto first = Render(3 * ToneFrames);
  EXPECT_GT(Peak(first, 0, ToneFrames - 100), 0.2f);
  EXPECT_EQ(Peak(first, ToneFrames + Settle), 0.0f);
  EXPECT_FALSE(module_->Info(once).Sounding);

  SoundSlot looped = module_->SoundLoad("tone.wav", {.Looping = true});
  module_->SoundPlay(looped);
  auto loop = Render(5 * ToneFrames);
  for (int pass = 0; pass < 5; ++pass) {
    size_t from = static_cast<size_t>(pass * ToneFrames);
    EXPECT_GT(Peak(loop, from, from + ToneFrames), 0.2f) << "pass " << pass;
  }
  EXPECT_TRUE(module_->Info(looped).Sounding);
}

TEST_F(Playback, PlayingAgainStartsOverAndStopRewinds) {
  SoundSlot once = module_->SoundLoad("tone.wav", {});
  module_->SoundPlay(once);
  Render(1500);
  module_->SoundPlay(once);  // while it plays
  auto restarted = Render(1500);
  // Carrying on, the tone would have ended 705 frames into this block.
  EXPECT_GT(Peak(restarted, 1000, 1500), 0.2f);

  Render(1000);
  module_->SoundStop(once);
  Render(500);
  module_->SoundPlay(once);
  auto rewound = Render(2000);
  EXPECT_GT(Peak(rewound, 1500, 2000), 0.2f) << "a stopped sound plays again from its start";
  // A 441 Hz sine from its start rises through zero: the first quarter period is positive.
  EXPECT_GT(rewound[10], 0.0f);
  EXPECT_GT(rewound[12], rewound[10]);
}

TEST_F(Playback, FrequencyMovesThePitchOnlyWithFrequencyControl) {
  SoundSlot tuned = module_->SoundLoad("tone.wav", {.Looping = true, .CtrlFrequency = true});
  SoundSlot fixed = module_->SoundLoad("tone.wav", {.Looping = true});
  module_->SoundPlay(tuned);
  // One second of a 441 Hz tone crosses zero 882 times.
  EXPECT_NEAR(ZeroCrossings(Render(test::MixRate)), 882, 4);
  module_->SoundSetFrequency(tuned, 11025);
  EXPECT_NEAR(ZeroCrossings(Render(test::MixRate)), 441, 4);
  EXPECT_FLOAT_EQ(module_->Info(tuned).Pitch, 0.5f);
  module_->SoundSetFrequency(tuned, 0);
  EXPECT_FLOAT_EQ(module_->Info(tuned).Pitch, 1.0f) << "zero asks for the wave's own rate";
  module_->SoundStop(tuned);

  module_->SoundPlay(fixed);
  module_->SoundSetFrequency(fixed, 11025);
  EXPECT_FLOAT_EQ(module_->Info(fixed).Pitch, 1.0f);
  EXPECT_NEAR(ZeroCrossings(Render(test::MixRate)), 882, 4);
}

TEST_F(Playback, FrequencyIsRelativeToTheWavesOwnRate) {
  SoundSlot low = module_->SoundLoad("low.wav", {.Looping = true, .CtrlFrequency = true});
  EXPECT_EQ(module_->Info(low).FileRate, 11025);
  module_->SoundSetFrequency(low, 11025);
  EXPECT_FLOAT_EQ(module_->Info(low).Pitch, 1.0f);
  module_->SoundPlay(low);
  EXPECT_NEAR(ZeroCrossings(Render(test::MixRate)), 882, 4);
  module_->SoundSetFrequency(low, 22050);
  EXPECT_NEAR(ZeroCrossings(Render(test::MixRate)), 1764, 8);
}

TEST_F(Playback, VolumeIsClampedAndActsOnlyWithVolumeControl) {
  SoundSlot loud = module_->SoundLoad("tone.wav", {.Looping = true, .CtrlVolume = true});
  SoundSlot fixed = module_->SoundLoad("tone.wav", {.Looping = true});
  module_->SoundPlay(loud);
  Render(500);
  float full = Peak(Render(2000));

  module_->SoundSetVolume(loud, -600);  // -6 dB: half the amplitude
  Render(500);
  EXPECT_NEAR(Peak(Render(2000)) / full, std::pow(10.0, -0.3), 0.02);

  module_->SoundSetVolume(loud, -20000);
  EXPECT_FLOAT_EQ(module_->Info(loud).Gain, 1e-5f) << "below -10000 counts as -10000";
  Render(500);
  EXPECT_LT(Peak(Render(2000)), 1e-4f);
  module_->SoundSetVolume(loud, 300);
  EXPECT_FLOAT_EQ(module_->Info(loud).Gain, 1.0f) << "above 0 counts as 0";
  module_->SoundStop(loud);

  module_->SoundPlay(fixed);
  module_->SoundSetVolume(fixed, -600);
  EXPECT_FLOAT_EQ(module_->Info(fixed).Gain, 1.0f);
  Render(500);
  EXPECT_NEAR(Peak(Render(2000)), full, 0.01);
}

TEST(SoundOff, PlaysNothingAtAll) {
  test::TempFolder folder;
  test::WriteTone(folder.Path() / "tone.wav", {});
  // On long enough to load a slot, then off: the slot exists but nothing may reach it.
  auto module = test::LoopbackModule(folder.Path());
  ASSERT_TRUE(module->SoundInit());
  SoundSlot slot = module->SoundLoad("tone.wav", {.Looping = true});
  module->SetEnabled(false);
  module->SoundPlay(slot);
  EXPECT_EQ(module->Info(slot).Status, "Stopped");
  EXPECT_EQ(Peak(test::Render(*module, 2000)), 0.0f);
  EXPECT_EQ(module->SoundLoad("tone.wav", {}), 0);
  module->SoundFreeAll();
  EXPECT_FALSE(module->Info(slot).Free) << "with sound off even freeing does nothing";
}

}  // namespace
}  // namespace quarn
