// PanelWindow.h — the small framed windows the start screen opens (the records, the controls):
// their options and their labels, in one look.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Window.h"

namespace quarn::ui {

// A window with a title bar, width × height logical pixels.
inline platform::WindowOptions PanelWindowOptions(std::string title, int width, int height) {
  platform::WindowOptions o;
  o.Title = std::move(title);
  o.Width = width;
  o.Height = height;
  o.Borderless = false;
  return o;
}

// A label in the panels' font (Arial 9.75 bold) and ink, put on root and kept in owned.
inline platform::Label* AddPanelLabel(platform::Fonts& fonts, platform::PictureBox& root,
                                      std::vector<std::unique_ptr<platform::Label>>& owned,
                                      const std::string& text, SDL_Rect bounds,
                                      platform::Colour ink) {
  auto l = std::make_unique<platform::Label>(fonts);
  l->Caption = text;
  l->Font = platform::FontSpec{"Arial", 9.75, true};
  l->Fore = ink;
  l->Bounds = bounds;
  root.Children.push_back(l.get());
  owned.push_back(std::move(l));
  return owned.back().get();
}

}  // namespace quarn::ui
