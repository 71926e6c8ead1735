// Ports.h — everything the rules ask of the outside world: drawing, sound, questions, keys.
// The game screen implements these over SDL and OpenAL; the headless runner and the tests
// implement them without a screen. Nothing in src/game includes SDL or OpenAL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Keys.h"

namespace quarn {

struct GameState;

// A picture of the game that could not be had: which file, and why, as a code the messages
// choose their words by.
struct PictureProblem {
  enum class Reason { Missing, Unreadable };
  std::string File;  // the path the picture was looked for at
  Reason Why = Reason::Unreadable;
  std::string Detail;  // for an unreadable picture, the loader's words for what is wrong
  // "FILE: soubor chybí" or "FILE: <detail>".
  std::string Describe() const {
    return File + ": " + (Why == Reason::Missing ? "soubor chybí" : Detail);
  }
};

struct Rgb {
  uint8_t R = 0, G = 0, B = 0;
};

// The retained board surface (Pole) and the picture set drawn onto it. Cell arguments are cells,
// sprite positions are fine units, figure coordinates are board pixels (40 per cell).
// Calls arrive in the order the rules make them; the exclusive-or figures erase by being drawn again.
class BoardPainter {
 public:
  virtual ~BoardPainter() = default;
  // Reloads every picture of the set. Returns an error naming the file that is missing or
  // unreadable; on success stores the frame edge (40) in tileSize.
  virtual std::optional<PictureProblem> LoadGraphics(uint8_t& tileSize) = 0;
  // Gives the surface a new size in pixels, all black.
  virtual void ResizeBoard(int widthPx, int heightPx) = 0;
  // Draws cell (x, y) from its tile code: caps beside laser doors, blink frames.
  virtual void Nakr(const GameState& s, int x, int y) = 0;
  // Repaints the player's trail strip and draws the figure at PlayerX, PlayerY.
  virtual void NakrF(const GameState& s) = 0;
  // Repaints enemy c's trail strip and draws it at its fine position with its animation frame.
  virtual void NakrN(const GameState& s, int c) = 0;
  // Repaints the strip uncovered by a sprite at fine position (clx, cly), cn fine units per cell,
  // that has just stepped one unit in direction sm.
  virtual void Vycisti(double clx, double cly, double cn, int sm) = 0;
  // Exclusive-or figures in board pixels: drawing the same one twice restores the surface.
  virtual void XorLine(double x1, double y1, double x2, double y2, Rgb colour) = 0;
  virtual void XorCircle(double cx, double cy, double radius, Rgb colour) = 0;
};

// The game's ten sounds, by their index in Sounds(0..9).
enum class GameSound : int {
  Walk = 0,
  LaserDoors = 1,
  Die = 2,
  Back = 3,
  AirDoor = 4,
  Tick = 5,
  Target = 6,
  HotPotato = 7,
  DoorKey = 8,
  Door = 9,
};
inline constexpr int GameSoundCount = 10;

class SoundPort {
 public:
  virtual ~SoundPort() = default;
  // Starts the sound from its beginning, also when it is already playing.
  virtual void Play(GameSound sound) = 0;
  // Stops the sound and rewinds it.
  virtual void Stop(GameSound sound) = 0;
  // Volume in hundredths of a decibel, 0 = full; the sound module clamps to -10000..0.
  virtual void SetVolume(GameSound sound, int32_t hundredthsDb) = 0;
};

// Message-box button sets, icons and results, in the game's own numbering.
namespace msgbox {
inline constexpr int OkOnly = 0, OkCancel = 1, YesNo = 2, YesNoCancel = 3;
inline constexpr int IconDefault = 0, IconNone = 1, IconInformation = 2, IconQuestion = 3,
                     IconExclamation = 4, IconCritical = 5;
inline constexpr int ResultNone = 0, ResultOk = 1, ResultCancel = 2, ResultYes = 6, ResultNo = 7;
}  // namespace msgbox

// Questions to the player. Modal: the caller waits for the answer while the timers go on ticking
// (a game tick arriving meanwhile does nothing).
class Prompter {
 public:
  virtual ~Prompter() = default;
  // An empty title means the application title, "Quarn". Returns a msgbox::Result* code.
  virtual int SkinMsgBox(const std::string& prompt, int buttons, int icon,
                         const std::string& title) = 0;
};

// The platform's key-state query, per virtual-key code: non-zero while the key is down or when it
// was pressed since the previous query of that key (that query clears the mark).
class KeySource {
 public:
  virtual ~KeySource() = default;
  virtual int16_t GetAsyncKeyState(int virtualKey) = 0;
};

}  // namespace quarn
