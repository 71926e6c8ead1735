// Main.cpp — quarn-icongen: writes FOLDER/NxN/apps/quarn.png for each size N asked for.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Icon.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: quarn-icongen FOLDER SIZE...\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 8 || size > 1024) {
      std::fprintf(stderr, "quarn-icongen: size %s is not from 8 to 1024\n", argv[i]);
      return 2;
    }
    const std::string n = std::to_string(size);
    const auto dir = folder / (n + "x" + n) / "apps";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string why;
    if (!quarn::icon::SavePng((dir / "quarn.png").string(), quarn::icon::PaintIcon(size), size,
                              why)) {
      std::fprintf(stderr, "quarn-icongen: %s\n", why.c_str());
      return 1;
    }
  }
  return 0;
}
