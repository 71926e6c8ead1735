// Main.cpp — quarn-soundgen: writes the game's ten waves into the folder it is given.
#include <exception>
#include <filesystem>
#include <iostream>

#include "Sounds.h"

int main(int argc, char** argv) {
  using namespace quarn::soundgen;
  if (argc != 2) {
    std::cerr << "usage: quarn-soundgen FOLDER\n";
    return 2;
  }
  try {
    std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const GeneratedSound& sound : MakeAllSounds()) {
      // Every file claims 22050 samples per second; the game plays the music slower, at 12000.
      WriteWave(folder / sound.FileName, sound.Take, FileRate, sound.Channels);
    }
  } catch (const std::exception& error) {
    std::cerr << "quarn-soundgen: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
