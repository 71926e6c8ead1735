// GeneratedSoundsTest.cpp — our generated waves: what the game loads, unclipped, and seamless.
#include <gtest/gtest.h>

#include <algorithm>

#include "SoundTestSupport.h"
#include "Sounds.h"
#include "sound/GameSounds.h"
#include "sound/WaveFile.h"

namespace quarn {
namespace {

using soundgen::GeneratedSound;

class Generated : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sounds_ = new std::vector<GeneratedSound>(soundgen::MakeAllSounds());
  }
  static void TearDownTestSuite() {
    delete sounds_;
    sounds_ = nullptr;
  }
  static std::vector<GeneratedSound>* sounds_;
};
std::vector<GeneratedSound>* Generated::sounds_ = nullptr;

// The largest step between neighbouring samples that most of the sound takes: a jump across a
// loop's seam well beyond it is a click.
float TypicalStep(const std::vector<float>& s) {
  std::vector<float> steps;
  for (size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
  std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
  return steps[steps.size() * 99 / 100];
}

// The effects are stereo; the music, the largest by far, is mono (the page downloads it).
TEST_F(Generated, TheGameLoadsAllTenAsSixteenBitWavesTheMusicMono) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder.Path() / "sound");
  for (const auto& sound : *sounds_) {
    const int channels = sound.FileName == "Back.wav" ? 1 : 2;
    EXPECT_EQ(sound.Channels, channels) << sound.FileName;
    soundgen::WriteWave(folder.Path() / "sound" / sound.FileName, sound.Take, soundgen::FileRate,
                        sound.Channels);
    auto read = ReadWave(folder.Path() / "sound" / sound.FileName);
    ASSERT_TRUE(std::holds_alternative<Wave>(read)) << sound.FileName;
    EXPECT_EQ(std::get<Wave>(read).Channels, channels) << sound.FileName;
    EXPECT_EQ(std::get<Wave>(read).Rate, 22050) << sound.FileName;
    EXPECT_EQ(std::get<Wave>(read).Samples.size(),
              static_cast<size_t>(channels) * sound.Take.Frames())
        << sound.FileName;
  }
  auto module = test::LoopbackModule(folder.Path());
  GameSounds game(*module);
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(game.InicializaceZvuku());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "every name the game asks for exists";
  for (SoundSlot s = 0; s < GameSoundCount; ++s) EXPECT_TRUE(module->Info(s).HasWave) << s;
  EXPECT_GT(test::Peak(test::Render(*module, 4000)), 0.05f) << "the music plays";
}

TEST_F(Generated, NothingClipsAndNothingIsSilent) {
  for (const auto& sound : *sounds_) {
    double peak = soundgen::Peak(sound.Take);
    EXPECT_LT(peak, 0.9) << sound.FileName;
    EXPECT_GT(peak, 0.2) << sound.FileName;
    EXPECT_GT(soundgen::Rms(sound.Take), 0.02) << sound.FileName;
  }
}

TEST_F(Generated, OneShotsStartAndEndOnSilenceAndLoopsHaveNoSeam) {
  for (const auto& sound : *sounds_) {
    for (const auto* channel : {&sound.Take.L, &sound.Take.R}) {
      float first = channel->front(), last = channel->back();
      if (sound.Looped) {
        EXPECT_LE(std::abs(first - last), TypicalStep(*channel)) << sound.FileName;
      } else {
        EXPECT_LT(std::abs(first), 1e-3f) << sound.FileName;
        EXPECT_LT(std::abs(last), 1e-3f) << sound.FileName;
      }
    }
  }
}

TEST_F(Generated, TheMusicIsMadeForItsSlowerPlaybackAndLastsHalfAMinute) {
  const auto& back = sounds_->at(static_cast<size_t>(GameSound::Back));
  ASSERT_EQ(back.FileName, "Back.wav");
  EXPECT_TRUE(back.Looped);
  EXPECT_EQ(back.Take.Rate, BackgroundRate);
  EXPECT_GE(back.Take.Seconds(), 30.0);
  // Music, not noise: a tune's samples change smoothly, noise's jump about.
  EXPECT_LT(TypicalStep(back.Take.L), 0.1f);
}

}  // namespace
}  // namespace quarn
