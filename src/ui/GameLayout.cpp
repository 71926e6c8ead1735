// GameLayout.cpp — the game screen's layout table.
#include "GameLayout.h"

#include <stdexcept>
#include <string>

#include "Links.h"
#include "Version.h"

namespace quarn::ui {

namespace {

constexpr platform::Colour White{255, 255, 255};
constexpr platform::Colour Cyan{0, 255, 255};
constexpr platform::Colour Blue{0, 0, 255};
constexpr platform::Colour Black{0, 0, 0};
constexpr platform::Colour BoxGreen{0, 128, 0};

// The advertising line: 52 spaces push its second half onto the label's second line.
const std::string AdvertText =
    "Tato hra může propagovat právě vaši firmu," + std::string(52, ' ') + "hledám sponzora!";

std::vector<LayoutEntry> MakeLayout() {
  using K = ControlKind;
  return {
      {"Image1", K::Image, 3, 6, 233, 72},
      {"Label1", K::Label, 73, 6, 90, 16, White, "Arial", 9.75, false, false,
       "Verze " QUARN_VERSION_TEXT},
      {"Label3", K::Label, 237, 38, 159, 19, Cyan, "Arial", 12, false, false, WebLabel},
      {"Label2", K::Label, 237, 57, 115, 19, Cyan, "Arial", 12, false, false, CreditLine, "",
       MailTip},
      // The web link's label reaches under the advertising line's second half: the advert lies
      // on top and lets the link show through, so neither hides the other.
      {"Label4", K::Label, 266, 17, 246, 28, White, "Arial", 8.25, false, true, AdvertText},
      {"Command5", K::Button, 404, 54, 60, 18, Black, "Arial", 8.25, true, false, "Zpomalit"},
      {"Command6", K::Button, 465, 54, 60, 18, Black, "Arial", 8.25, true, false, "Zrychlit"},
      // Quirk: the fourth debugging button is captioned "Command3" too.
      {"Command1", K::Button, 417, 50, 16, 16, Black, "Arial", 8.25, true, false, "Command1"},
      {"Command2", K::Button, 438, 50, 16, 16, Black, "Arial", 8.25, true, false, "Command2"},
      {"Command3", K::Button, 459, 50, 16, 16, Black, "Arial", 8.25, true, false, "Command3"},
      {"Command4", K::Button, 480, 50, 16, 16, Black, "Arial", 8.25, true, false, "Command3"},
      {"Shape1(0)", K::Frame, 585, 45, 93, 29, Blue},
      {"Label5", K::Label, 585, 45, 93, 29, White, "Arial", 18, true, true, "Restart", "",
       "Control+R"},
      {"Shape1(1)", K::Frame, 648, 10, 30, 29, Blue},
      {"Label6", K::Label, 649, 10, 28, 29, White, "Arial", 18, true, true, "×"},
      // Mended: three time bonuses raise the countdown to 140, which does not fit 72 pixels at
      // this size; the label keeps its right edge (790) and grows to the left, its digits
      // right-aligned, so every value the countdown can reach shows whole.
      {"lblRT", K::Label, 682, 7, 108, 75, White, "Arial", 48, false, false, "50", "", "", true},
      {"Line1(0)", K::Line, 0, 83, 800, 1, Blue},
      {"Picture1", K::Picture, 0, 85, 800, 480, Black},
      {"Line1(1)", K::Line, 0, 566, 800, 1, Blue},
      // The pocket: 50 pixels for the key and box indicators, then the carried potatoes.
      {"picKapsa", K::Picture, 5, 569, 50, 25, Black},
      {"ImC(11)", K::Image, 0, 0, 25, 25, White, "", 0, false, false, "", "picKapsa"},
      {"ImC(22)", K::Image, 25, 0, 25, 25, White, "", 0, false, false, "", "picKapsa"},
      // Potatoes still on the board, right-aligned 5 pixels from the edge; the game sets both.
      {"picNeed", K::Picture, 795, 569, 0, 25, Black},
      // The box-stack overlay rides on the board surface, placed by the game.
      {"picBox", K::Picture, 0, 0, 36, 36, BoxGreen, "", 0, false, false, "", "Pole"},
      {"NoBx", K::Label, 0, 0, 36, 36, White, "Comic Sans MS", 20.25, true, true, "10", "picBox"},
  };
}

}  // namespace

const std::vector<LayoutEntry>& GameLayout() {
  static const std::vector<LayoutEntry> layout = MakeLayout();
  return layout;
}

const LayoutEntry& GameControl(std::string_view name) {
  for (const LayoutEntry& e : GameLayout()) {
    if (e.Name == name) return e;
  }
  throw std::out_of_range("no control " + std::string(name) + " on the game screen");
}

}  // namespace quarn::ui
