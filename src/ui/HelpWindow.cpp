// HelpWindow.cpp — the help window's texts and its layout in the look of the game's dialog.
#include "HelpWindow.h"

#include <algorithm>
#include <cstdio>

#include "base/Keys.h"
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
// Narrower screens get the keys in fewer columns and the tiles under them; lower ones a page
// that scrolls.
constexpr int MinWidth = 360;
constexpr int MinHeight = 240;

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
      "G – duch nejlepšího průchodu: ukázat nebo skrýt",
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
      "K – ovládání: vlastní klávesy ve hře",
      "E – upravit zónu v editoru",
      "*Ctrl+N – nová zóna v editoru",
      "@N – nová zóna v editoru",
      "@O – odkaz na zónu (do schránky), Shift+O – i s nejlepším během",
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
      "šipky vlevo a vpravo – o 5 sekund zpět a vpřed, Home – na začátek",
      "čárka, tečka – v pauze o tik zpět a vpřed",
      "H – hrát odsud: cvičení, které se neměří ani neukládá",
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
      "Home – celá zóna, M – skrýt nebo ukázat mapu",
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

const std::vector<std::string>& PadHelpKeys() {
  static const std::vector<std::string> lines = {
      "S ovladačem",
      "D-pad, levá páčka – chůze, v seznamu výběr (držet: dál)",
      "A – položit bednu; po smrti nebo výhře hrát znovu; na úvodní obrazovce hrát; v okně se "
      "zprávou Ano nebo OK",
      "B – ve hře zpět (držet: dál zpět); v pauze a po výhře výběr zóny; jinde jako Esc",
      "X – po výhře další zóna",
      "Start – pauza",
      "Back – zónu znovu od začátku",
      "Y – tato nápověda",
      "Start, X, B – při přehrávání pauza, rychleji, konec; A – po konci znovu",
  };
  return lines;
}

std::vector<std::string> PlayerHelpKeys(const system::KeyBindings& keys, bool pad) {
  std::vector<std::string> lines = HelpKeys();
  const system::KeyBindings own;
  auto name = [&](system::KeyAction a) { return system::KeyShownName(keys.Of(a)); };
  using system::KeyAction;
  const bool walkMoved = !std::equal(keys.Keys.begin(), keys.Keys.begin() + 4, own.Keys.begin());
  // Only the lines of play ("Ve hře", the first group) name the keys an action moved from.
  for (size_t i = 1; i < lines.size() && lines[i].find(" – ") != std::string::npos; ++i) {
    std::string& line = lines[i];
    const size_t dash = line.find(" – ");
    const std::string what = line.substr(dash);
    if (line.rfind("šipky – ", 0) == 0 && walkMoved) {
      line = name(KeyAction::WalkLeft) + ", " + name(KeyAction::WalkUp) + ", " +
             name(KeyAction::WalkRight) + ", " + name(KeyAction::WalkDown) + what;
    } else if (line.rfind("Mezera – ", 0) == 0 && keys.Of(KeyAction::Box) != own.Of(KeyAction::Box)) {
      line = name(KeyAction::Box) + what;
    } else if (line.rfind("Backspace – ", 0) == 0 &&
               keys.Of(KeyAction::Back) != own.Of(KeyAction::Back)) {
      line = name(KeyAction::Back) + what;
    } else if (line.rfind("P – ", 0) == 0 && keys.Of(KeyAction::Pause) != own.Of(KeyAction::Pause)) {
      line = name(KeyAction::Pause) + what;
    }
  }
  if (pad) lines.insert(lines.end(), PadHelpKeys().begin(), PadHelpKeys().end());
  return lines;
}

std::vector<HelpTile> PlayerHelpTiles(const system::KeyBindings& keys) {
  std::vector<HelpTile> tiles = HelpTiles();
  const system::KeyBindings own;
  if (std::equal(keys.Keys.begin(), keys.Keys.begin() + 4, own.Keys.begin())) return tiles;
  using system::KeyAction;
  std::string walk;
  for (KeyAction a : {KeyAction::WalkLeft, KeyAction::WalkUp, KeyAction::WalkRight,
                      KeyAction::WalkDown})
    walk += (walk.empty() ? "" : ", ") + system::KeyShownName(keys.Of(a));
  for (HelpTile& t : tiles) {
    if (t.Slots.size() == 1 && t.Slots[0] == tile::Start)
      t.Text = "Ty: chodíš klávesami " + walk + " po podlaze.";
  }
  return tiles;
}

std::string HelpGoal() {
  return "Cíl zóny: seber všechny horké brambory a odnes je k cíli dřív, než odpočet dojde "
         "k nule (běží, jen když neseš brambory). Odevzdání po sebrání posledního bramboru "
         "otevře východ; vejdi do něj. Záznam o vyhraných zónách a nejlepší průchody si hra "
         "pamatuje.";
}

namespace {

// The room a window has on the screen it opens on, in its logical pixels: the usable part of the
// display, less a frame's title bar and edges.
SDL_Point RoomOnScreen(int scale) {
  // A page's canvas grows for a taller window and is fitted to the browser's window as a whole,
  // smoothly below full size: the help keeps its full layout there.
  if (InBrowser()) return SDL_Point{Width, 4 * Height};
  SDL_Rect usable{0, 0, Width, Height + 300};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0 && SDL_GetDisplayBounds(0, &usable) != 0) {
    usable = SDL_Rect{0, 0, Width, Height + 300};
  }
  constexpr int FrameWidth = 16, FrameHeight = 48;
  const int s = std::max(scale, 1);
  return SDL_Point{(usable.w - FrameWidth) / s, (usable.h - FrameHeight) / s};
}

}  // namespace

HelpWindow::HelpWindow(platform::App& app, const std::filesystem::path& dataFolder,
                       std::optional<SDL_Point> room, std::vector<std::string> keyLines,
                       std::vector<HelpTile> tiles)
    : app_(app),
      keyLines_(std::move(keyLines)),
      tiles_(std::move(tiles)),
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
  const SDL_Point fit = room.value_or(RoomOnScreen(window_.Scale()));
  // As wide as the screen allows up to the full layout; never narrower than one key column.
  const int width = std::clamp(fit.x, MinWidth, Width);
  platform::PictureBox& root = window_.Root();
  root.Background = Navy;
  page_.Background = Navy;
  root.Children.push_back(&page_);
  // Places a label on the page, or in the window's foot; its height follows the lines its text
  // wraps into.
  auto label = [&](const std::string& text, SDL_Rect bounds, platform::Colour ink, double points,
                   platform::PictureBox& box) -> int {
    auto l = std::make_unique<platform::Label>(app_.FontSet());
    l->Caption = text;
    l->Font = platform::FontSpec{"Arial", points, true};
    l->Fore = ink;
    l->WordWrap = true;
    l->Bounds = bounds;
    l->Bounds.h = std::max(bounds.h, static_cast<int>(l->Lines().size()) * LineHeight);
    const int h = l->Bounds.h;
    box.Children.push_back(l.get());
    controls_.push_back(std::move(l));
    return h;
  };
  auto text = [&](const std::string& t, SDL_Rect bounds, platform::Colour ink, double points) {
    return label(t, bounds, ink, points, page_);
  };
  text("Nápověda", SDL_Rect{12, 8, 300, 22}, Yellow, 12);
  const int goal = text(HelpGoal(), SDL_Rect{12, 34, width - 24, LineHeight}, White, 9.75);
  // Keys in columns, a group never split; the tiles on the right where the full width fits,
  // else under the keys.
  const bool tilesBeside = width >= Width;
  const int keyColumns = tilesBeside ? 2 : std::max(1, (width - 24 + 10) / (KeyColumn + 10));
  const int keyWidth = keyColumns == 1 ? width - 24 : KeyColumn;
  const int top = 34 + goal + 10;
  int bottom = top;
  {
    const std::vector<std::string>& keys = keyLines_;
    // Without the tiles beside them, the columns share the lines evenly.
    int lineCount = 0;
    for (const std::string& line : keys) {
      lineCount += line.find(" – ") == std::string::npos ? 2 : 1;
    }
    const int foot = tilesBeside ? KeysFoot : top + (lineCount * LineHeight) / keyColumns;
    int column = 0;
    int y = top;
    for (size_t i = 0; i < keys.size(); ++i) {
      const std::string& line = keys[i];
      const bool heading = line.find(" – ") == std::string::npos;
      if (heading) {
        size_t lines = 1;
        while (i + lines < keys.size() && keys[i + lines].find(" – ") != std::string::npos) ++lines;
        // A group that would pass a column's foot starts the next column.
        if (column + 1 < keyColumns && y != top &&
            y + static_cast<int>(lines) * LineHeight > foot) {
          ++column;
          y = top;
        }
        if (y != top) y += 6;
      }
      const int x = 12 + column * (KeyColumn + 10);
      y += text(line, SDL_Rect{x, y, keyWidth, LineHeight}, heading ? Yellow : White, 9.75) +
           (heading ? 2 : 0);
      bottom = std::max(bottom, y);
    }
  }
  const int tilesLeft = tilesBeside ? TilesLeft : 12;
  int y = tilesBeside ? top : bottom + 14;
  for (const HelpTile& t : tiles_) {
    int x = tilesLeft;
    for (int slot : t.Slots) {
      auto img = std::make_unique<platform::Image>();
      img->Picture = pictures_.Slot(slot);
      // The top left frame of a strip of frames.
      img->Source = SDL_Rect{0, 0, pictures_.TileSize(), pictures_.TileSize()};
      img->Bounds = SDL_Rect{x, y, Picture, Picture};
      page_.Children.push_back(img.get());
      controls_.push_back(std::move(img));
      x += Picture + 2;
    }
    const int textLeft = tilesLeft + 3 * (Picture + 2) + 6;
    const int h =
        text(t.Text, SDL_Rect{textLeft, y + 4, width - textLeft - 12, LineHeight}, White, 9.75);
    y += std::max(TileRow, h + 8);
    bottom = std::max(bottom, y);
  }
  contentHeight_ = bottom;
  // The foot stays put under the page; the page scrolls when the screen is too low for it.
  const int footHeight = 8 + LineHeight + 8;
  const int height = std::min(contentHeight_ + footHeight, std::max(fit.y, MinHeight));
  page_.Bounds = SDL_Rect{0, 0, width, height - footHeight};
  for (const platform::Control* c : page_.Children) placed_.push_back(c->Bounds.y);
  const bool scrolls = contentHeight_ > page_.Bounds.h;
  label(scrolls ? "šipky, Page Up, Page Down, kolečko – posun · Esc zavře nápovědu"
                : "Esc zavře nápovědu",
        SDL_Rect{12, height - footHeight + 8, width - 24, LineHeight}, Yellow, 9.75, root);
  window_.SetClientSize(width, height);
  window_.OnKeyDown = [this](int virtualKey) {
    const int page = std::max(page_.Bounds.h - 3 * LineHeight, LineHeight);
    switch (virtualKey) {
      case vk::Escape:
      case vk::F1:
        Hide();
        break;
      case vk::Up: ScrollTo(scroll_ - 3 * LineHeight); break;
      case vk::Down: ScrollTo(scroll_ + 3 * LineHeight); break;
      case vk::PageUp: ScrollTo(scroll_ - page); break;
      case vk::PageDown: ScrollTo(scroll_ + page); break;
      case vk::Home: ScrollTo(0); break;
      case vk::End: ScrollTo(contentHeight_); break;
      default: break;
    }
  };
  window_.OnKeyRepeat = window_.OnKeyDown;
  page_.OnWheel = [this](int notches) { ScrollTo(scroll_ - notches * 3 * LineHeight); };
  window_.OnCloseRequest = [this] { Hide(); };
}

void HelpWindow::ScrollTo(int y) {
  const int to = std::clamp(y, 0, std::max(contentHeight_ - page_.Bounds.h, 0));
  if (to == scroll_) return;
  scroll_ = to;
  for (size_t i = 0; i < page_.Children.size() && i < placed_.size(); ++i) {
    page_.Children[i]->Bounds.y = placed_[i] - scroll_;
  }
  window_.Invalidate();
}

void HelpWindow::Show() {
  shown_ = true;
  ScrollTo(0);
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
