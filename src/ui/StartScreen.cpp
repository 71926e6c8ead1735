// StartScreen.cpp — building frmStart, listing the zones every second, and its buttons and links.
#include "StartScreen.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "Dialog.h"
#include "GameLayout.h"
#include "Links.h"
#include "base/Keys.h"
#include "render/PictureSet.h"
#include "ui/Version.h"
#include "base/Text.h"

namespace quarn::ui {

namespace {

constexpr platform::Colour Navy{0, 0, 128};
constexpr platform::Colour FrameBlue{0, 0, 192};
constexpr platform::Colour Cyan{0, 255, 255};
constexpr platform::Colour Yellow{255, 255, 0};
constexpr platform::Colour White{255, 255, 255};
constexpr int RefreshMs = 1000;

platform::WindowOptions StartWindowOptions() {
  platform::WindowOptions o;
  o.Title = AppTitle;
  o.Width = StartScreenWidth;
  o.Height = StartScreenHeight;
  o.Borderless = true;
  o.CanFullscreen = true;  // F11 and Alt+Enter, scaled to fit as the game screen is
  // As large as the game screen is drawn, not larger because the window is smaller.
  o.ScaleAsWidth = GameScreenWidth;
  o.ScaleAsHeight = GameScreenHeight;
  return o;
}

}  // namespace

std::string EditorQuestion() {
  return std::string("Editor zatím není, jelikož ještě není ustálený formát zón.") + '\n' +
         " Pro účely testování můžeš klidně měnit zóny v notepadu." + '\n' +
         "  Chceš otevřít vybranou zónu v notepadu?";
}

std::string DownloadQuestion() {
  return "Zóny se upravují v editoru zón (klávesa E).\nChceš vybranou zónu stáhnout jako soubor "
         "pro textový editor?";
}

std::string NoZoneText(const std::vector<system::CatalogueRoot>& zoneFolders) {
  std::string text = "Není tu žádná zóna. Zóny jsou soubory .qrn ve ";
  text += zoneFolders.size() == 1 ? "složce:" : "složkách:";
  for (const auto& root : zoneFolders) {
    text += '\n';
    text += ShowControls(root.Folder.string());
  }
  return text;
}

std::string SetWonText(const std::string& set, int won, size_t zones) {
  return set + " · vyhráno " + std::to_string(won) + " z " + std::to_string(zones);
}

StartScreen::StartScreen(platform::App& app, Prompter& prompter,
                         const std::filesystem::path& dataFolder,
                         system::Catalogue& catalogue)
    : app_(app),
      prompter_(prompter),
      dataFolder_(dataFolder),
      catalogue_(catalogue),
      window_(app, StartWindowOptions()),
      timer_(app.Timers(), [this] { Refresh(); }),
      list_(app.FontSet()),
      buttons_(dataFolder) {
  Build();
  window_.OnCloseRequest = [this] {
    if (OnCancel) OnCancel();
  };
  window_.OnKeyDown = [this](int virtualKey) {
    // The zone editor's keys; the Editor button keeps its question about the text editor.
    const bool ctrl = platform::HeldModifiers().Ctrl;
    if (virtualKey == vk::Enter) {
      ClickedPlay();
    } else if (virtualKey == 'W' && !ctrl) {
      // Copies: a dialog's own loop may refresh the list, and the catalogue's entry with it.
      if (const system::ZoneEntry* zone = Selected(); zone && OnWatch)
        OnWatch(std::filesystem::path(zone->File));
    } else if (virtualKey == 'R' && !ctrl) {
      if (OnRecords) OnRecords();
    } else if (virtualKey == 'K' && !ctrl) {
      if (OnControls) OnControls();
    } else if (virtualKey == 'E' && !ctrl) {
      if (const system::ZoneEntry* zone = Selected(); zone && OnOpenEditor)
        OnOpenEditor(std::filesystem::path(zone->File));
    } else if (virtualKey == 'N' && ctrl == !share_) {
      if (OnOpenEditor) OnOpenEditor({});
    } else if (virtualKey == vk::F1) {
      if (OnHelp) OnHelp();
    } else if (virtualKey == 'O' && !ctrl && share_) {
      // In a browser: a link that plays the selected zone, for sending to someone; with Shift
      // the zone's best kept run goes with it, as the ghost to beat.
      if (const system::ZoneEntry* zone = Selected())
        share_(std::filesystem::path(zone->File), std::string(zone->Title),
               platform::HeldModifiers().Shift);
    } else if (virtualKey == 'S' && !ctrl && download_) {
      // In a browser: the selected zone's file downloaded as it is, or with Shift its kept runs.
      if (const system::ZoneEntry* zone = Selected())
        download_(std::filesystem::path(zone->File), ShowControls(zone->Title),
                  platform::HeldModifiers().Shift);
    } else if (list_.KeyDown(virtualKey)) {
      UpdateRecordLine();
      window_.Invalidate();
    }
  };
  // A held arrow or page key goes on moving through the list.
  window_.OnKeyRepeat = [this](int virtualKey) {
    const bool moves = virtualKey == vk::Up || virtualKey == vk::Down ||
                       virtualKey == vk::PageUp || virtualKey == vk::PageDown;
    if (moves && list_.KeyDown(virtualKey)) {
      UpdateRecordLine();
      window_.Invalidate();
    }
  };
  list_.OnClick = [this] { UpdateRecordLine(); };
  FindZones();
  // The refresh runs for the whole program, also while a zone is played.
  timer_.SetInterval(RefreshMs);
  timer_.SetEnabled(true);
}

void StartScreen::Build() {
  platform::PictureBox& root = window_.Root();
  root.Background = Navy;
  auto add = [&](const std::string& name, std::unique_ptr<platform::Control> c, SDL_Rect bounds,
                 platform::PictureBox& parent) -> platform::Control& {
    c->Bounds = bounds;
    parent.Children.push_back(c.get());
    platform::Control& placed = *c;
    controls_[name] = std::move(c);
    return placed;
  };
  auto frame = [&](const std::string& name, SDL_Rect bounds, int thickness) {
    auto shape = std::make_unique<platform::Shape>();
    shape->Ink = FrameBlue;
    shape->Thickness = thickness;
    add(name, std::move(shape), bounds, root);
  };
  auto picture = [&](const std::string& file) -> const SDL_Surface* {
    auto loaded = LoadGraphicsFile(dataFolder_, file);
    if (auto* p = std::get_if<quarn::SurfacePtr>(&loaded)) {
      pictures_.push_back(std::move(*p));
      return pictures_.back().get();
    }
    std::fprintf(stderr, "quarn: %s\n",
                 ShowControls(std::get<PictureProblem>(loaded).Describe()).c_str());
    return nullptr;
  };
  auto image = [&](const std::string& name, const std::string& file, SDL_Rect bounds) {
    auto img = std::make_unique<platform::Image>();
    img->Picture = picture(file);
    add(name, std::move(img), bounds, root);
  };
  auto label = [&](const std::string& name, const std::string& caption, SDL_Rect bounds,
                   platform::Colour ink, double points) -> platform::Control& {
    auto l = std::make_unique<platform::Label>(app_.FontSet());
    l->Caption = caption;
    l->Font = platform::FontSpec{"Arial", points, true};
    l->Fore = ink;
    return add(name, std::move(l), bounds, root);
  };

  frame("Shape1(1)", SDL_Rect{2, 2, 507, 310}, 3);
  image("Image1", "Title.bmp", SDL_Rect{8, 8, 495, 152});
  platform::Control& mail = label("Label4", CreditLine, SDL_Rect{159, 16, 115, 19}, Cyan, 12);
  mail.ToolTip = MailTip;
  mail.OnClick = [this] {
    if (OnLink) OnLink(MailLink);
  };
  label("Label3", WebLabel, SDL_Rect{290, 16, 159, 19}, Cyan, 12).OnClick = [this] {
    if (OnLink) OnLink(WebLink);
  };
  label("Label1", "verze " QUARN_VERSION_TEXT, SDL_Rect{25, 136, 88, 16}, Yellow, 9.75);
  label("Label5", "Rebuild 03.03.2002", SDL_Rect{405, 158, 86, 11}, White, 6.75);
  label("Label2", "Zóna :", SDL_Rect{58, 169, 48, 19}, White, 12);
  // The free space right of the buttons: the record, and the keys the mouse does not show.
  // The record takes two lines when both best times are told.
  recordLine_ = &dynamic_cast<platform::Label&>(
      label("lblRecord", "", SDL_Rect{290, 189, 212, 34}, White, 9.75));
  recordLine_->WordWrap = true;
  wonLine_ = &dynamic_cast<platform::Label&>(
      label("lblWon", "", SDL_Rect{290, 225, 212, 18}, White, 9.75));
  label("lblKeys",
        "Enter – hrát · W – nejlepší průchod\nR – rekordy · E – editor · K – ovládání\n"
        "Ctrl+N – nová zóna · F1 – nápověda",
        SDL_Rect{290, 252, 212, 50}, Cyan, 8.25);
  dynamic_cast<platform::Label&>(ControlNamed("lblKeys")).WordWrap = true;
  frame("Shape1(0)", SDL_Rect{11, 188, 142, 114}, 1);
  // The holder cuts off the list's own border: the list is a pixel larger on every side.
  auto holder = std::make_unique<platform::PictureBox>();
  holder->Background = Navy;
  auto& picture1 = static_cast<platform::PictureBox&>(
      add("Picture1", std::move(holder), {12, 189, 140, 112}, root));
  list_.Bounds = SDL_Rect{-1, -1, 142, 114};
  list_.Font = platform::FontSpec{"Arial", 9.75, true};
  picture1.Children.push_back(&list_);
  // The picture buttons, numbered as the hover poll counts them, lie on top of everything.
  auto button = [&](std::string_view strip, SDL_Rect bounds, std::function<void()> click) {
    if (auto error = buttons_.Add(strip, bounds, std::move(click)))
      std::fprintf(stderr, "quarn: %s\n", ShowControls(error->Describe()).c_str());
  };
  button("bPlay.bmp", SDL_Rect{177, 189, 100, 30}, [this] { ClickedPlay(); });
  button("bCancel.bmp", SDL_Rect{466, 8, 37, 30}, [this] {
    if (OnCancel) OnCancel();
  });
  button("bEditor.bmp", SDL_Rect{177, 224, 100, 30}, [this] { ClickedEdit(); });
  button("bControls.bmp", SDL_Rect{177, 259, 100, 30}, [this] {
    if (OnControls) OnControls();
  });
  buttons_.PutInto(root);
  buttons_.Attach(window_, app_.Timers());
}

platform::Control& StartScreen::ControlNamed(const std::string& name) {
  if (name == "lstZones") return list_;
  for (int i = 1; i <= buttons_.Count(); ++i) {
    if (name == "btn(" + std::to_string(i) + ")") return buttons_.Frame(i);
  }
  auto it = controls_.find(name);
  if (it == controls_.end()) throw std::out_of_range("no control " + name + " on the start screen");
  return *it->second;
}

void StartScreen::Click(const std::string& name) {
  for (int i = 1; i <= buttons_.Count(); ++i) {
    if (name == "btn(" + std::to_string(i) + ")") {
      buttons_.Press(i);
      buttons_.Release(SDL_Point{1, 1});
      return;
    }
  }
  if (const auto handler = ControlNamed(name).OnClick) handler();
}

void StartScreen::UseBrowserKeys(
    std::function<void(const std::filesystem::path& zone, const std::string& title, bool withRun)>
        share,
    std::function<void(const std::filesystem::path& zone, const std::string& title, bool runs)>
        download) {
  share_ = std::move(share);
  download_ = std::move(download);
  dynamic_cast<platform::Label&>(ControlNamed("lblKeys")).Caption =
      "Enter – hrát · W – nejlepší průchod\nR – rekordy · E – editor · K – ovládání\n"
      "N – nová zóna · O – odkaz na zónu";
  window_.Invalidate();
}

bool AskSound(Prompter& prompter) {
  return prompter.SkinMsgBox(SoundQuestion, msgbox::YesNo, msgbox::IconQuestion, "") ==
         msgbox::ResultYes;
}

void StartScreen::Fill() {
  list_.Clear();
  rows_.clear();
  const auto& sets = catalogue_.Sets();
  const bool headed = catalogue_.SetsWithZones() > 1;
  for (size_t s = 0; s < sets.size(); ++s) {
    if (sets[s].Zones.empty()) continue;
    // One set needs no heading: the line under the record names it.
    if (headed) {
      rows_.push_back({s, -1});
      list_.AddHeader(HeadingOf(sets[s], 0));
    }
    for (size_t z = 0; z < sets[s].Zones.size(); ++z) {
      rows_.push_back({s, static_cast<int>(z)});
      list_.AddItem(sets[s].Zones[z].Title);
    }
  }
  window_.Invalidate();
}

std::string StartScreen::HeadingOf(const system::ZoneSet& set, int won) const {
  return ShowControls(set.Title) + " · " + std::to_string(won) + "/" +
         std::to_string(set.Zones.size());
}

int StartScreen::RowOf(const std::filesystem::path& zone) const {
  const auto place = catalogue_.Find(zone);
  if (!place) return -1;
  for (size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r].Set == place->Set && rows_[r].Zone == static_cast<int>(place->Zone))
      return static_cast<int>(r);
  }
  return -1;
}

void StartScreen::FindZones() {
  catalogue_.Refresh();
  Fill();
  list_.SetListIndex(0);
  UpdateRecordLines();
}

std::string RecordText(const system::ZoneRecord* record) {
  if (!record || !record->Won) return "Zatím nevyhráno";
  // The plain best is the record; a run that went back is a time of another kind, named so and
  // shown only when it is the shorter one.
  std::string text = "Vyhráno";
  if (record->BestPlain) text += " · nejlepší čas " + system::SecondsText(*record->BestPlain) + " s";
  if (record->BestRewind && (!record->BestPlain || *record->BestRewind < *record->BestPlain)) {
    text += " · se zpětným chodem " + system::SecondsText(*record->BestRewind) + " s";
  }
  return text;
}

void StartScreen::UpdateRecordLine() {
  if (!RecordOf) return;
  const system::ZoneEntry* zone = Selected();
  std::string text = zone ? RecordText(RecordOf(zone->File)) : "";
  // Two times take two lines: the one that went back starts the second. A record of that time
  // alone stays on one line, so that no line ends in a dangling "·".
  const std::string rewound = " · se zpětným chodem";
  if (const size_t at = text.find(rewound);
      at != std::string::npos && text.find(" · nejlepší čas ") != std::string::npos) {
    text.replace(at, std::string(" · ").size(), " ·\n");
  }
  // The author's time, so that a player knows what is possible.
  if (zone && AuthorTimeOf) {
    if (const auto author = AuthorTimeOf(zone->File)) {
      text += (text.empty() ? "" : " · ") + std::string("čas autora ") +
              system::SecondsText(*author) + " s";
    }
  }
  recordLine_->Caption = text;
  UpdateWonLine();
}

void StartScreen::UpdateRecordLines() {
  if (!RecordOf) return;
  UpdateRecordLine();
  // Every listed file is looked at (its content key is kept while the file stays the same): done
  // when the list or the records may have changed, not when the selection moves.
  const auto& sets = catalogue_.Sets();
  setsWon_.assign(sets.size(), 0);
  for (size_t s = 0; s < sets.size(); ++s) {
    for (const system::ZoneEntry& z : sets[s].Zones) {
      const system::ZoneRecord* r = RecordOf(z.File);
      setsWon_[s] += r && r->Won ? 1 : 0;
    }
  }
  for (size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r].Zone < 0)
      list_.SetItemText(static_cast<int>(r), HeadingOf(sets[rows_[r].Set], setsWon_[rows_[r].Set]));
  }
  UpdateWonLine();
}

void StartScreen::UpdateWonLine() {
  // The set of the selected zone: its title and how many of its zones are won.
  const int row = list_.ListIndex();
  const auto& sets = catalogue_.Sets();
  if (row < 0 || row >= static_cast<int>(rows_.size()) || setsWon_.size() != sets.size()) {
    wonLine_->Caption = "";
  } else {
    const size_t s = rows_[static_cast<size_t>(row)].Set;
    wonLine_->Caption = SetWonText(ShowControls(sets[s].Title), setsWon_[s], sets[s].Zones.size());
  }
  window_.Invalidate();
}

void StartScreen::Select(const std::filesystem::path& zone) {
  if (const int row = RowOf(zone); row >= 0) list_.SetListIndex(row);
  UpdateRecordLine();
}

void StartScreen::ListAndSelect(const std::filesystem::path& zone) {
  Refresh();
  Select(zone);
}

void StartScreen::Refresh() {
  if (!window_.Shown()) return;
  if (!catalogue_.Refresh()) return;
  const int remembered = list_.ListIndex();
  Fill();
  list_.SetListIndex(std::max(remembered, 0));
  UpdateRecordLines();
}

const system::ZoneEntry* StartScreen::Selected() const {
  const int i = list_.ListIndex();
  if (i < 0 || i >= static_cast<int>(rows_.size())) return nullptr;
  const Row& row = rows_[static_cast<size_t>(i)];
  const auto& sets = catalogue_.Sets();
  if (row.Zone < 0 || row.Set >= sets.size() ||
      static_cast<size_t>(row.Zone) >= sets[row.Set].Zones.size())
    return nullptr;
  return &sets[row.Set].Zones[static_cast<size_t>(row.Zone)];
}

void StartScreen::Show() {
  UpdateRecordLines();
  window_.Show();
  Refresh();
  window_.Invalidate();
}

void StartScreen::Hide() { window_.Hide(); }

void StartScreen::ClickedPlay() {
  const system::ZoneEntry* zone = Selected();
  if (!zone) {
    // Mended: with no zone listed there is nothing to play; the player is told where zones go
    // instead of the program failing on an empty selection.
    prompter_.SkinMsgBox(NoZoneText(catalogue_.Roots()), msgbox::OkOnly, msgbox::IconExclamation, "");
    return;
  }
  const std::filesystem::path file = zone->File;
  if (OnPlay) OnPlay(file);
}

void StartScreen::ClickedEdit() {
  const system::ZoneEntry* zone = Selected();
  if (!zone) {
    // Mended: as for Play, an empty list has no zone to open in the editor.
    prompter_.SkinMsgBox(NoZoneText(catalogue_.Roots()), msgbox::OkOnly, msgbox::IconExclamation, "");
    return;
  }
  const std::filesystem::path file = zone->File;
  // A page starts no text editor: there the zone is downloaded, and the question says so.
  if (prompter_.SkinMsgBox(share_ ? DownloadQuestion() : EditorQuestion(), msgbox::YesNo,
                           msgbox::IconExclamation, "") != msgbox::ResultYes)
    return;
  if (OnEdit) OnEdit(file);
}

}  // namespace quarn::ui
