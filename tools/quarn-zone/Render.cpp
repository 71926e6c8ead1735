// Render.cpp — quarn-zone render: a zone's board surface, as drawn after opening, as a bitmap.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Commands.h"
#include "game/Game.h"
#include "render/BoardRenderer.h"

namespace quarn::zonetool {

namespace {

struct Silence : SoundPort {
  void Play(GameSound) override {}
  void Stop(GameSound) override {}
  void SetVolume(GameSound, int32_t) override {}
};

struct AnswerNo : Prompter {
  int SkinMsgBox(const std::string&, int, int, const std::string&) override {
    return msgbox::ResultNo;
  }
};

struct NoKeys : KeySource {
  int16_t GetAsyncKeyState(int) override { return 0; }
};

}  // namespace

int RunRender(const Args& args) {
  std::string zone, out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--keys" || a == "--ticks") {
      std::fprintf(stderr, "quarn-zone render: %s is not available yet\n", a.c_str());
      return 2;
    }
    if (zone.empty())
      zone = a;
    else if (out.empty())
      out = a;
    else {
      std::fprintf(stderr, "quarn-zone render: unexpected argument '%s'\n", a.c_str());
      return 2;
    }
  }
  if (zone.empty() || out.empty()) {
    std::fputs("usage: quarn-zone render ZONE OUT.bmp [--keys FILE] [--ticks N]\n", stderr);
    return 2;
  }
  BoardRenderer painter;
  Silence sound;
  AnswerNo ask;
  NoKeys keys;
  ProgramContext program(keys);
  Game game(program, GamePorts{painter, sound, ask});
  game.State.FileName = zone;
  if (auto error = game.Otevrit()) {
    std::fprintf(stderr, "quarn-zone render: %s\n", error->Describe().c_str());
    return 1;
  }
  if (auto error = painter.SaveBmp(out)) {
    std::fprintf(stderr, "quarn-zone render: %s\n", error->c_str());
    return 1;
  }
  return 0;
}

}  // namespace quarn::zonetool
