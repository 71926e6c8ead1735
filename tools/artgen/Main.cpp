// Main.cpp — quarn-artgen: paints every picture the game reads into a Graphics folder.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Pictures.h"

int main(int argc, char** argv) {
  using namespace quarn::art;
  if (argc != 2) {
    std::fputs("usage: quarn-artgen OUTPUT_FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (auto err = OpenFonts()) {
    std::fprintf(stderr, "quarn-artgen: %s\n", err->c_str());
    return 1;
  }
  const std::vector<std::pair<const char*, std::function<Image()>>> pictures = {
      {"Space", SpaceTile},
      {"Quarn", QuarnFigure},
      {"Wall", WallTile},
      {"AirDoor", AirDoorTile},
      {"SlamDoor", SlamDoorTile},
      {"SlamLock", SlamLockTile},
      {"Exit", ExitTile},
      {"HotPotato", HotPotato},
      {"Target", TargetTile},
      {"LockedDoor", LockedDoorTile},
      {"Key", KeyTile},
      {"Boxes", BoxesTile},
      {"Enemy1", [] { return Enemy(1); }},
      {"Enemy2", [] { return Enemy(2); }},
      {"Enemy3", [] { return Enemy(3); }},
      {"LDoors1", [] { return LaserDoors(0); }},
      {"LDoors2", [] { return LaserDoors(1); }},
      {"LDoors3", [] { return LaserDoors(2); }},
      {"Box", BoxTile},
      {"Time", TimeTile},
      {"bPlay", [] { return ButtonStrip(100, "Hrát"); }},
      {"bEditor", [] { return ButtonStrip(100, "Editor"); }},
      {"bControls", [] { return ButtonStrip(100, "Ovládání"); }},
      {"bCancel", [] { return ButtonStrip(37, "×"); }},
      {"bYes", [] { return ButtonStrip(100, "Ano"); }},
      {"bNo", [] { return ButtonStrip(100, "Ne"); }},
      {"bOK", [] { return ButtonStrip(62, "OK"); }},
      {"iInformation", [] { return Icon(0); }},
      {"iQuestion", [] { return Icon(1); }},
      {"iExclamation", [] { return Icon(2); }},
      {"iCritical", [] { return Icon(3); }},
      {"Title", TitlePicture},
      {"Logo", Logo},
  };
  int failures = 0;
  for (const auto& [name, paint] : pictures) {
    const auto path = out / (std::string(name) + ".bmp");
    if (!paint().SaveBmp(path.string())) {
      std::fprintf(stderr, "quarn-artgen: cannot write %s\n", path.string().c_str());
      ++failures;
    }
  }
  CloseFonts();
  return failures == 0 ? 0 : 1;
}
