// HelpWindow.cpp — the help window's texts and its layout in the look of the game's dialog.
#include "HelpWindow.h"

#include <cstdio>

#include "game/GameState.h"

namespace quarn::ui {

namespace {

constexpr int Width = 780;
constexpr int Height = 590;
constexpr int LineHeight = 17;
constexpr int TileRow = 26;
constexpr int Picture = 24;
constexpr platform::Colour Navy{0, 0, 128};
constexpr platform::Colour White{255, 255, 255};
constexpr platform::Colour Yellow{255, 255, 0};
constexpr int EscapeKey = 27;
constexpr int HelpKey = 112;

}  // namespace

const std::vector<HelpTile>& HelpTiles() {
  static const std::vector<HelpTile> tiles = {
      {{tile::Start}, "Ty: chodíš šipkami po podlaze."},
      {{tile::Space}, "Podlaha: po ní se chodí."},
      {{tile::Wall}, "Zeď: neprojdeš. Ve zdi se objeví východ."},
      {{tile::Exit}, "Východ: vejdi do něj a zóna je vyhraná."},
      {{tile::HotPotato}, "Horký brambor: seber všechny."},
      {{tile::Target}, "Cíl: stoupni si vedle něj a odevzdáš brambory."},
      {{tile::Time}, "Časový bonus: přidá 30 k odpočtu."},
      {{tile::Key}, "Klíč: otevře jedny zamčené dveře."},
      {{tile::LockedDoor}, "Zamčené dveře: projdeš s klíčem, ten se spotřebuje."},
      {{tile::AirDoor}, "Vzduchové dveře: zmizí, když se vedle nich zastavíš."},
      {{tile::SlamDoor}, "Zabouchávací dveře: projdeš jimi jen jednou."},
      {{tile::SlamLock}, "Zabouchnuté dveře: zpátky už ne."},
      {{tile::Boxes}, "Stoh beden: zatlač do něj a vezmeš si bednu."},
      {{tile::Box}, "Bedna: Mezera ji položí za tebe nebo vrátí na stoh."},
      {{tile::Enemy1, tile::Enemy2, tile::Enemy3}, "Nepřátelé: bloudí náhodně, dotyk zabíjí."},
      {{tile::LaserA, tile::LaserB, tile::LaserC}, "Laserové dveře zapnuté: zabíjejí."},
      {{tile::LaserOpenA, tile::LaserOpenB, tile::LaserOpenC},
       "Laserové dveře vypnuté: teď se dají projít."},
  };
  return tiles;
}

const std::vector<std::string>& HelpKeys() {
  static const std::vector<std::string> keys = {
      "Ve hře",
      "šipky – chůze",
      "Mezera – položit nebo vzít bednu",
      "Backspace – o sekundu zpět (držet: dál zpět)",
      "P – pauza",
      "Ctrl+R – zónu znovu od začátku",
      "Enter – znovu po smrti nebo po výhře",
      "N – po výhře další zóna",
      "Esc – zpět na výběr zóny",
      "F11 – celá obrazovka",
      "F1 – tato nápověda",
      "Na úvodní obrazovce",
      "Enter – hrát vybranou zónu",
      "W – přehrát nejlepší průchod zónou",
      "E – upravit zónu v editoru",
      "Ctrl+N – nová zóna v editoru",
      "Při přehrávání průchodu",
      "P – pauza",
      "F – čtyřikrát rychleji",
      "Esc – konec přehrávání",
      "V editoru zón",
      "Ctrl+S – uložit, F5 – vyzkoušet",
      "Ctrl+Z – zpět, Ctrl+Y – znovu",
      "Esc – zavřít editor",
  };
  return keys;
}

std::string HelpGoal() {
  return "Cíl zóny: seber všechny horké brambory a odnes je k cíli dřív, než odpočet dojde "
         "k nule (běží, jen když neseš brambory). Odevzdání po sebrání posledního bramboru "
         "otevře východ; vejdi do něj. Záznam o vyhraných zónách a nejlepší průchody si hra "
         "pamatuje.";
}

HelpWindow::HelpWindow(platform::App& app, const std::filesystem::path& dataFolder)
    : app_(app),
      window_(app,
              [] {
                platform::WindowOptions o;
                o.Title = "Quarn – nápověda";
                o.Width = Width;
                o.Height = Height;
                o.Borderless = false;
                return o;
              }()),
      pictures_(dataFolder) {
  if (auto error = pictures_.Load()) std::fprintf(stderr, "quarn: %s\n", error->Describe().c_str());
  platform::PictureBox& root = window_.Root();
  root.Background = Navy;
  auto label = [&](const std::string& text, SDL_Rect bounds, platform::Colour ink, double points) {
    auto l = std::make_unique<platform::Label>(app_.FontSet());
    l->Caption = text;
    l->Font = platform::FontSpec{"Arial", points, true};
    l->Fore = ink;
    l->WordWrap = true;
    l->Bounds = bounds;
    root.Children.push_back(l.get());
    controls_.push_back(std::move(l));
  };
  label("Nápověda", SDL_Rect{12, 8, 300, 22}, Yellow, 12);
  label(HelpGoal(), SDL_Rect{12, 34, Width - 24, 3 * LineHeight}, White, 9.75);
  // Keys on the left, tiles on the right.
  int y = 34 + 3 * LineHeight + 10;
  const int top = y;
  for (const std::string& line : HelpKeys()) {
    const bool heading = line.find(" – ") == std::string::npos;
    if (heading && y != top) y += 6;
    label(line, SDL_Rect{12, y, 330, LineHeight}, heading ? Yellow : White, 9.75);
    y += LineHeight + (heading ? 2 : 0);
  }
  y = top;
  for (const HelpTile& t : HelpTiles()) {
    int x = 352;
    for (int slot : t.Slots) {
      auto img = std::make_unique<platform::Image>();
      img->Picture = pictures_.Slot(slot);
      // The top left frame of a strip of frames.
      img->Source = SDL_Rect{0, 0, pictures_.TileSize(), pictures_.TileSize()};
      img->Bounds = SDL_Rect{x, y, Picture, Picture};
      root.Children.push_back(img.get());
      controls_.push_back(std::move(img));
      x += Picture + 2;
    }
    label(t.Text, SDL_Rect{352 + 3 * (Picture + 2) + 6, y + 4, Width - 352 - 84 - 12, LineHeight},
          White, 9.75);
    y += TileRow;
  }
  label("Esc zavře nápovědu", SDL_Rect{12, Height - 24, 300, LineHeight}, Yellow, 9.75);
  window_.OnKeyDown = [this](int virtualKey) {
    if (virtualKey == EscapeKey || virtualKey == HelpKey) Hide();
  };
  window_.OnCloseRequest = [this] { Hide(); };
}

void HelpWindow::Show() {
  shown_ = true;
  window_.Show();
  window_.Invalidate();
}

void HelpWindow::Hide() {
  if (!shown_) return;
  shown_ = false;
  window_.Hide();
  if (OnClosed) OnClosed();
}

}  // namespace quarn::ui
