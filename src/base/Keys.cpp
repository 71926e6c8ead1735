// Keys.cpp — the names of keys in the player's keys file.
#include "Keys.h"

namespace quarn {
namespace {

struct Named {
  int Key;
  std::string_view Name;
};
constexpr Named Names[] = {
    {vk::Backspace, "Backspace"}, {vk::Tab, "Tab"},           {vk::Enter, "Enter"},
    {vk::Shift, "Shift"},         {vk::Ctrl, "Ctrl"},         {vk::Alt, "Alt"},
    {vk::Escape, "Esc"},          {vk::Space, "Space"},       {vk::PageUp, "PageUp"},
    {vk::PageDown, "PageDown"},   {vk::End, "End"},           {vk::Home, "Home"},
    {vk::Left, "Left"},           {vk::Up, "Up"},             {vk::Right, "Right"},
    {vk::Down, "Down"},           {vk::Insert, "Insert"},     {vk::Delete, "Delete"},
    {vk::NumpadPlus, "NumpadPlus"}, {vk::NumpadMinus, "NumpadMinus"}, {vk::Equals, "Equals"},
    {vk::Comma, "Comma"},         {vk::Minus, "Minus"},       {vk::FullStop, "FullStop"},
};

}  // namespace

std::string KeyFileName(int virtualKey) {
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
    return std::string(1, static_cast<char>(virtualKey));
  if (virtualKey >= vk::Numpad0 && virtualKey <= vk::Numpad0 + 9)
    return "Numpad" + std::to_string(virtualKey - vk::Numpad0);
  if (virtualKey >= vk::F1 && virtualKey < vk::F1 + 12)
    return "F" + std::to_string(virtualKey - vk::F1 + 1);
  for (const Named& n : Names) {
    if (n.Key == virtualKey) return std::string(n.Name);
  }
  return {};
}

int KeyOfFileName(std::string_view name) {
  // Every name is one some key has: the names are tried against the keys, not parsed.
  for (int key = 1; key < 256; ++key) {
    if (!name.empty() && KeyFileName(key) == name) return key;
  }
  return 0;
}

}  // namespace quarn
