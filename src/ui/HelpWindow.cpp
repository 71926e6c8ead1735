// HelpWindow.cpp — the help window's texts and its layout in the look of the game's dialog.
#include "HelpWindow.h"

#include <algorithm>
#include <cstdio>

#include "game/GameState.h"

namespace quarn::ui {

namespace {

// Two columns of keys and one of tiles; the height follows what they hold.
constexpr int Width = 1000;
constexpr int Height = 600;
constexpr int KeyColumn = 310;
constexpr int TilesLeft = 12 + 2 * (KeyColumn + 10);
constexpr int KeysFoot = 560;
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
      {{tile::Target}, "Cíl: dojdi vedle něj a odevzdáš brambory."},
      {{tile::Time}, "Časový bonus: přidá 30 k odpočtu."},
      {{tile::DoorKey}, "Klíč: otevře jedny zamčené dveře."},
      {{tile::LockedDoor}, "Zamčené dveře: projdeš s klíčem, ten se spotřebuje."},
      {{tile::AirDoor},
       "Vzduchové dveře: zmizí, jakmile dokončíš krok vedle nich, i když jen jdeš kolem."},
      {{tile::SlamDoor}, "Zabouchávací dveře: projdeš jimi jen jednou."},
      {{tile::SlamLock}, "Zabouchnuté dveře: zpátky už ne."},
      {{tile::Boxes}, "Stoh beden: vejdi do něj a vezmeš si z něj bednu."},
      {{tile::Box}, "Bedna ze stohu beden: Mezera ji položí za tebe nebo vrátí na stoh."},
      {{tile::Enemy1, tile::Enemy2, tile::Enemy3}, "Nepřátelé: bloudí náhodně, dotyk zabíjí."},
      {{tile::LaserA, tile::LaserB, tile::LaserC}, "Laserové dveře zapnuté: zabíjejí."},
      {{tile::LaserOpenA, tile::LaserOpenB, tile::LaserOpenC},
       "Laserové dveře vypnuté: dají se projít. Vypadají jako podlaha, prozradí je jen hlavice "
       "laseru na zdi nad nimi a pod nimi; ve vodorovné zdi je vypnuté nevidíš."},
  };
  return tiles;
}

const std::vector<std::string>& HelpKeys(bool browser) {
  // The browser's keys differ in a few lines; "*" marks a desktop line, "@" a browser line.
  static const std::vector<std::string> both = {
      "Ve hře",
      "šipky – chůze",
      "Mezera – položit nesenou bednu za sebe, nebo ji vrátit na stoh",
      "Backspace – o sekundu zpět (držet: dál zpět); průchod se pak počítá jako průchod se "
      "zpětným chodem",
      "P – pauza",
      "Ctrl+R – zónu znovu od začátku",
      "Enter – znovu po smrti nebo po výhře",
      "N – po výhře další zóna",
      "Esc – zpět na výběr zóny",
      "F11, Alt+Enter – celá obrazovka",
      "F1 – tato nápověda",
      "Tlačítka a čísla ve hře",
      "Restart – zónu znovu od začátku, jako Ctrl+R",
      "× – zpět na výběr zóny, jako Esc",
      "Zpomalit, Zrychlit – pomalejší a rychlejší hra; zpomalený průchod se neměří",
      "velké číslo vpravo nahoře – odpočet, běží jen s bramborami v kapse",
      "brambory vpravo dole – kolik jich ještě zbývá sebrat",
      "vlevo dole – nesený klíč, nesená bedna a brambory v kapse",
      "zelené číslo na stohu beden – kolik beden v něm zbývá",
      "Na úvodní obrazovce",
      "Enter – hrát vybranou zónu",
      "W – přehrát nejlepší průchod zónou",
      "R – přehled rekordů všech zón",
      "E – upravit zónu v editoru",
      "*Ctrl+N – nová zóna v editoru",
      "@N – nová zóna v editoru",
      "@O – odkaz na zónu (do schránky)",
      "@S – stáhnout zónu, Shift+S – stáhnout její uložené průchody",
      "F11, Alt+Enter – celá obrazovka",
      "F1 – tato nápověda",
      "Seznam zón",
      "šipky nahoru a dolů, Home, End – výběr zóny",
      "Page Up, Page Down – o stránku dál",
      "kolečko myši, klepnutí – posun a výběr",
      "Při přehrávání průchodu",
      "P – pauza",
      "F – čtyřikrát rychleji",
      "Enter – po konci přehrát znovu",
      "Restart – přehrát znovu od začátku",
      "Esc – konec přehrávání",
      "V okně se zprávou",
      "A, N – Ano, Ne",
      "O – OK",
      "Enter – Ano nebo OK",
      "Esc, × – Ne nebo Zrušit, kde jsou",
      "V editoru zón",
      "Ctrl+S – uložit, Ctrl+Shift+S – uložit jako",
      "@Ctrl+O – odkaz na zónu tak, jak je teď",
      "F5 – vyzkoušet, Shift+F5 – od pole pod myší",
      "Ctrl+Z – zpět",
      "Ctrl+Y, Ctrl+Shift+Z – znovu",
      "V – výběr, F – výplň plochy",
      "Ctrl+C, Ctrl+X, Ctrl+V – kopírovat, vyjmout, vložit",
      "Delete – smazat výběr",
      "H, J, L – zrcadlit, převrátit, otočit",
      "Ctrl++, Ctrl+− – větší a menší pohled",
      "šipky, Page Up, Page Down – posun, Shift+šipky – o půl okna",
      "Home – celá zóna",
      "F1 – tato nápověda",
      "Esc – zrušit výběr nebo vkládání, jinak zavřít editor",
  };
  auto pick = [](char other) {
    std::vector<std::string> keys;
    for (const std::string& line : both) {
      if (line[0] == other) continue;
      keys.push_back(line[0] == '*' || line[0] == '@' ? line.substr(1) : line);
    }
    return keys;
  };
  static const std::vector<std::string> desktop = pick('@'), inBrowser = pick('*');
  return browser ? inBrowser : desktop;
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
  // Places a label; its height follows the lines its text wraps into.
  auto label = [&](const std::string& text, SDL_Rect bounds, platform::Colour ink,
                   double points) -> int {
    auto l = std::make_unique<platform::Label>(app_.FontSet());
    l->Caption = text;
    l->Font = platform::FontSpec{"Arial", points, true};
    l->Fore = ink;
    l->WordWrap = true;
    l->Bounds = bounds;
    l->Bounds.h = std::max(bounds.h, static_cast<int>(l->Lines().size()) * LineHeight);
    const int h = l->Bounds.h;
    root.Children.push_back(l.get());
    controls_.push_back(std::move(l));
    return h;
  };
  label("Nápověda", SDL_Rect{12, 8, 300, 22}, Yellow, 12);
  const int goal = label(HelpGoal(), SDL_Rect{12, 34, Width - 24, LineHeight}, White, 9.75);
  // Keys in two columns, a group never split; the tiles on the right.
  const int top = 34 + goal + 10;
  int bottom = top;
  {
    int column = 0;
    int y = top;
    const std::vector<std::string>& keys = HelpKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
      const std::string& line = keys[i];
      const bool heading = line.find(" – ") == std::string::npos;
      if (heading) {
        size_t lines = 1;
        while (i + lines < keys.size() && keys[i + lines].find(" – ") != std::string::npos) ++lines;
        // A group that would pass the first column's foot starts the second column.
        if (column == 0 && y != top && y + static_cast<int>(lines) * LineHeight > KeysFoot) {
          column = 1;
          y = top;
        }
        if (y != top) y += 6;
      }
      const int x = 12 + column * (KeyColumn + 10);
      y += label(line, SDL_Rect{x, y, KeyColumn, LineHeight}, heading ? Yellow : White, 9.75) +
           (heading ? 2 : 0);
      bottom = std::max(bottom, y);
    }
  }
  int y = top;
  for (const HelpTile& t : HelpTiles()) {
    int x = TilesLeft;
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
    const int textLeft = TilesLeft + 3 * (Picture + 2) + 6;
    const int h = label(t.Text, SDL_Rect{textLeft, y + 4, Width - textLeft - 12, LineHeight},
                        White, 9.75);
    y += std::max(TileRow, h + 8);
    bottom = std::max(bottom, y);
  }
  label("Esc zavře nápovědu", SDL_Rect{12, bottom + 8, 300, LineHeight}, Yellow, 9.75);
  window_.SetClientSize(Width, bottom + 8 + LineHeight + 8);
  window_.OnKeyDown = [this](int virtualKey) {
    if (virtualKey == EscapeKey || virtualKey == HelpKey) Hide();
  };
  window_.OnCloseRequest = [this] { Hide(); };
}

void HelpWindow::Show() {
  shown_ = true;
  // Mended: the window was placed in the middle for the height it was made with, before its
  // lines made it taller; over a full-screen game it stood low, its last lines near the edge.
  window_.CentreOnScreen();
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
