// GameLayout.h — where every control of the game screen sits, its colours, font and caption.
#pragma once

#include <string_view>
#include <vector>

#include "platform/Controls.h"

namespace quarn::ui {

enum class ControlKind { Picture, Label, Image, Button, Frame, Line };

// One control of the game screen. Positions are client pixels of the 800 x 600 screen, except
// for controls with a Parent, which are relative to it. Every font is bold.
struct LayoutEntry {
  std::string_view Name;
  ControlKind Kind;
  int Left, Top, Width, Height;
  platform::Colour Ink{255, 255, 255};  // text, frame, line or background colour
  std::string_view Font = "";
  double Points = 0;
  bool Centred = false;
  bool Transparent = false;  // a label without its own background
  std::string_view Caption = "";
  std::string_view Parent = "";
  std::string_view ToolTip = "";
  bool RightAligned = false;
};

inline constexpr int GameScreenWidth = 800;
inline constexpr int GameScreenHeight = 600;

// In drawing order: later entries lie on top of earlier ones.
const std::vector<LayoutEntry>& GameLayout();
// The entry of a control by name; throws std::out_of_range for an unknown name.
const LayoutEntry& GameControl(std::string_view name);

}  // namespace quarn::ui
