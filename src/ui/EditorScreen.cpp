// EditorScreen.cpp — building the editor's window and turning mouse and keys into zone changes.
// Longer than 600 lines on purpose: the window, its form and palette, opening, saving, closing
// and the status line share the screen's controls and its model; the keys (EditorInput.cpp), the
// tools (EditorTools.cpp) and the drawing (EditorCanvas.cpp, EditorView.cpp) are already apart.
#include "EditorScreen.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "Dialog.h"
#include "PageFiles.h"
#include "base/Text.h"
#include "system/Recovery.h"
#include "system/SafeFile.h"
#include "zone/ZoneWriter.h"

namespace quarn::ui {

namespace {

constexpr platform::Colour Navy{0, 0, 96};
constexpr platform::Colour Cyan{0, 255, 255};
constexpr platform::Colour Yellow{255, 255, 0};
constexpr platform::Colour ErrorInk{255, 120, 120};

constexpr int PaletteLeft = 4, PaletteTop = 34, PaletteRowHeight = 28, PaletteWidth = 176;
constexpr int FormLeft = 792, FormTop = 56, FormWidth = 228, FormRow = 24, FieldLeft = 906;
constexpr SDL_Rect FindingsArea{4, 590, 780, 84};
constexpr SDL_Rect StatusArea{4, 678, 1016, 20};

const std::array<const char*, edit::HeaderFieldCount> FieldNames{
    "Název",   "Šířka",   "Výška",   "Kroky hráče", "Kroky +",
    "Kroky -", "Kroky *", "Laser a", "Laser b",     "Laser c"};

platform::WindowOptions EditorWindowOptions() {
  platform::WindowOptions o;
  o.Title = "Quarn – editor zón";
  o.Width = EditorWidth;
  o.Height = EditorHeight;
  o.Borderless = false;
  o.CanFullscreen = true;
  return o;
}

}  // namespace

// The tile picture of a palette entry: a cell's frame as the board draws it (a laser door's
// beam, the lower blink frame of a potato or a target).
SDL_Rect PaletteSource(int16_t picture) {
  if (tile::IsActiveLaser(picture)) return SDL_Rect{0, 10, 40, 40};
  if (picture == tile::HotPotato || picture == tile::Target) return SDL_Rect{0, 40, 40, 40};
  return SDL_Rect{0, 0, 40, 40};
}

std::string RestoreQuestion(const std::string& when, const std::filesystem::path& zone) {
  const std::string which =
      zone.empty() ? "nové zóny" : "zóny " + ShowControls(zone.filename().string());
  return "Obnovit neuložené změny z " + when + "?\nEditor je uchoval, když se minule zavřel bez " +
         "uložení " + which + ". Ano je vrátí do editoru (zatím neuložené), Ne je zahodí.";
}

std::string OpenElsewhereMessage(const std::filesystem::path& zone) {
  return "Zónu " + ShowControls(zone.filename().string()) +
         " už upravuje jiný editor Quarnu.\nDva editory jedné zóny by si přepisovaly práci: " +
         "uprav ji v tom prvním, nebo ho nejdřív zavři.";
}

std::string ChangedOnDiskQuestion(const std::filesystem::path& file) {
  return "Soubor " + ShowControls(file.string()) +
         " mezitím změnil jiný program.\nAno: přepsat ho touto zónou.\nNe: načíst ho znovu "
         "(změny v editoru se zahodí).\nZrušit: nechat vše, jak je.";
}

std::string RefusedZoneQuestion(const std::string& why) {
  return "Hra tuto zónu neotevře: " + why + "\nPřesto ji uložit (a opravit později)?";
}

EditorScreen::EditorScreen(platform::App& app, Prompter& prompter,
                           const std::filesystem::path& dataFolder, edit::ZoneFolders folders,
                           std::filesystem::path recoveryFolder)
    : app_(app),
      prompter_(prompter),
      recovery_(std::move(recoveryFolder)),
      model_(std::move(folders)),
      canvas_(dataFolder, EditorCanvasArea.w, EditorCanvasArea.h),
      window_(app, EditorWindowOptions()),
      check_(app.Timers(), [this] { ShowFindings(); }),
      keep_(app.Timers(), [this] { KeepRecovery(); }) {
  // A little longer than a frame, so that the frame with the change is shown before the check.
  check_.SetInterval(20);
  keep_.SetInterval(RecoveryDelayMs);
  Build();
  Bind();
}

platform::Control& EditorScreen::ControlNamed(const std::string& name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) throw std::out_of_range("no control " + name + " in the editor");
  return *it->second;
}

void EditorScreen::Build() {
  window_.Root().Background = Navy;
  auto label = [&](const std::string& name, const std::string& caption, SDL_Rect bounds,
                   double points = 9.75) -> platform::Label& {
    auto l = std::make_unique<platform::Label>(app_.FontSet());
    l->Caption = caption;
    l->Font = platform::FontSpec{"Arial", points, true};
    return Add(name, std::move(l), bounds);
  };
  auto button = [&](const std::string& name, const std::string& caption, SDL_Rect bounds,
                    const std::string& tip) -> platform::Button& {
    auto b = std::make_unique<platform::Button>(app_.FontSet());
    b->Caption = caption;
    b->ToolTip = tip;
    return Add(name, std::move(b), bounds);
  };

  label("lblTitle", "Editor zón", SDL_Rect{PaletteLeft, 8, 170, 20}, 12).Fore = Cyan;
  int x = EditorCanvasArea.x;
  auto bar = [&](const std::string& name, const std::string& caption, int width,
                 const std::string& tip) {
    button(name, caption, SDL_Rect{x, 5, width, 24}, tip);
    x += width + 4;
  };
  bar("btnSave", "Uložit", 58, "Uložit zónu (Ctrl+S)");
  bar("btnUndo", "Zpět", 48, "Vrátit poslední změnu (Ctrl+Z)");
  bar("btnRedo", "Znovu", 52, "Znovu provést změnu (Ctrl+Y, Ctrl+Shift+Z)");
  bar("btnPlay", "Hrát", 48, "Zahrát si zónu tak, jak je teď (F5; Esc se vrátí sem)");
  x += 8;
  bar("btnZoomOut", "−", 26, "Zmenšit (Ctrl+minus, Ctrl+kolečko)");
  bar("btnZoomIn", "+", 26, "Zvětšit (Ctrl+plus, Ctrl+kolečko)");
  bar("btnFit", "Celá", 44, "Celá zóna v okně (Home)");
  x += 8;
  bar("btnBrush", "Štětec", 58, "Kreslit tažením levým tlačítkem");
  bar("btnRect", "Obdélník", 70, "Vyplnit obdélník (také Shift+tažení)");
  bar("btnPick", "Kapátko", 64, "Vzít dlaždici z plochy (také pravé tlačítko)");
  button("btnClose", "Zavřít", SDL_Rect{FormLeft + FormWidth - 60, 5, 60, 24},
         "Zavřít editor (Esc)");

  auto box = std::make_unique<platform::PictureBox>();
  box->Canvas = canvas_.Surface();
  box->CatchesMouse = true;
  canvasBox_ = &Add("canvas", std::move(box), EditorCanvasArea);
  auto frame = [&](const std::string& name, platform::Colour ink, int thickness) {
    auto s = std::make_unique<platform::Shape>();
    s->Ink = ink;
    s->Thickness = thickness;
    s->Visible = false;
    return &Add(name, std::move(s), SDL_Rect{0, 0, 0, 0}, canvasBox_);
  };
  hover_ = frame("hover", Yellow, 1);
  rectangle_ = frame("rectangle", Cyan, 2);

  BuildPalette();
  BuildForm();
  BuildNotes();
  BuildTools();
  BuildStrip();
  BuildOverlays();

  label("lblFindings", "Co kontrola našla (kliknutím ukážeš místo):",
        SDL_Rect{FindingsArea.x, FindingsArea.y - 20, 400, 18});
  auto list = std::make_unique<platform::ListBox>(app_.FontSet());
  list->Font = platform::FontSpec{"Arial", 8.25, true};
  findings_ = &Add("findings", std::move(list), FindingsArea);
  label("lblHelp",
        "Levé tlačítko kreslí, Shift+tažení vyplní obdélník, pravé vezme dlaždici, tažení "
        "pravým posouvá, tažení za okrajem zóny ho posune. Znak dlaždice ji vezme do štětce. V "
        "výběr, F výplň, Ctrl+C/X/V, Delete, H/J/L zrcadlit, převrátit, otočit. Ctrl+Z/Y "
        "zpět/znovu, Ctrl+S uložit, Ctrl+Shift+S jako, F5 hrát, Shift+F5 od myši, Ctrl+plus/minus "
        "a Ctrl+kolečko velikost, Home celá zóna, M mapa, F1 všechny klávesy, Esc zavřít.",
        SDL_Rect{FormLeft, 544, FormWidth, 130}, 8.25)
      .WordWrap = true;
  // The status line begins with the picture of the tile in the brush.
  auto brush = std::make_unique<platform::Image>();
  statusTile_ = &dynamic_cast<platform::Image&>(
      Add("statusTile", std::move(brush), SDL_Rect{StatusArea.x, StatusArea.y + 1, 18, 18}));
  auto& status = label(
      "status", "", SDL_Rect{StatusArea.x + 22, StatusArea.y, StatusArea.w - 22, StatusArea.h}, 9);
  status.Fore = Yellow;
  status_ = &status;
}

void EditorScreen::BuildPalette() {
  const auto& palette = edit::Palette();
  for (size_t i = 0; i < palette.size(); ++i) {
    const edit::PaletteEntry& e = palette[i];
    const SDL_Rect row{PaletteLeft, PaletteTop + static_cast<int>(i) * PaletteRowHeight,
                       PaletteWidth, PaletteRowHeight};
    paletteRows_.push_back(row);
    auto image = std::make_unique<platform::Image>();
    image->Source = PaletteSource(e.Picture);
    Add("tile(" + std::to_string(i) + ")", std::move(image),
        SDL_Rect{row.x + 2, row.y + 2, 24, 24});
    auto name = std::make_unique<platform::Label>(app_.FontSet());
    name->Caption = std::string(1, e.Character) + "  " + e.Name;
    name->Font = platform::FontSpec{"Arial", 8.25, true};
    name->OnMouseDown = [this, c = e.Character](int, SDL_Point) {
      BlurFields();
      Select(c);
    };
    Add("name(" + std::to_string(i) + ")", std::move(name),
        SDL_Rect{row.x + 30, row.y + 6, row.w - 30, row.h - 6});
  }
  auto mark = std::make_unique<platform::Shape>();
  mark->Ink = Cyan;
  mark->Thickness = 2;
  paletteMark_ = &Add("paletteMark", std::move(mark), SDL_Rect{0, 0, 0, 0});
}

void EditorScreen::BuildForm() {
  auto heading = std::make_unique<platform::Label>(app_.FontSet());
  heading->Caption = "Hlavička zóny";
  heading->Font = platform::FontSpec{"Arial", 12, true};
  heading->Fore = Cyan;
  Add("lblHeader", std::move(heading), SDL_Rect{FormLeft, 34, FormWidth, 20});
  for (int i = 0; i < edit::HeaderFieldCount; ++i) {
    const std::string n = std::to_string(i);
    auto name = std::make_unique<platform::Label>(app_.FontSet());
    name->Caption = FieldNames[static_cast<size_t>(i)];
    name->Font = platform::FontSpec{"Arial", 8.25, true};
    fieldNames_[static_cast<size_t>(i)] = &Add("fieldName(" + n + ")", std::move(name), SDL_Rect{});
    auto field = std::make_unique<platform::TextField>(app_.FontSet());
    field->Font = platform::FontSpec{"Arial", 8.25, true};
    field->MaxBytes = i == 0 ? 200 : 60;
    field->OnMouseDown = [this, i](int button, SDL_Point p) {
      if (button != SDL_BUTTON_LEFT) return;
      FocusField(i);
      fields_[static_cast<size_t>(i)]->Press(p);
    };
    field->OnCommit = [this, i] { CommitField(i); };
    fields_[static_cast<size_t>(i)] = &Add("field(" + n + ")", std::move(field), SDL_Rect{});
    auto error = std::make_unique<platform::Label>(app_.FontSet());
    error->Font = platform::FontSpec{"Arial", 7.5, true};
    error->Fore = ErrorInk;
    error->WordWrap = true;
    fieldErrors_[static_cast<size_t>(i)] =
        &Add("fieldError(" + n + ")", std::move(error), SDL_Rect{});
  }
  LayOutForm();
}

void EditorScreen::LayOutForm() {
  // A field's message stands under it and pushes the fields below down.
  int y = FormTop;
  for (size_t i = 0; i < fields_.size(); ++i) {
    const int nameWidth = FieldLeft - FormLeft - 4;
    fieldNames_[i]->Bounds = SDL_Rect{FormLeft, y + 2, nameWidth, 18};
    // The title gets the whole width under its name.
    if (i == 0) {
      fields_[i]->Bounds = SDL_Rect{FormLeft + 40, y, FormWidth - 40, 20};
    } else {
      fields_[i]->Bounds = SDL_Rect{FieldLeft, y, FormLeft + FormWidth - FieldLeft, 20};
    }
    y += FormRow;
    platform::Label& error = *fieldErrors_[i];
    error.Caption = errors_[i];
    error.Visible = !errors_[i].empty();
    error.Bounds = SDL_Rect{FormLeft, y - 2, FormWidth, 0};
    if (error.Visible) {
      error.Bounds.h = static_cast<int>(error.Lines().size()) * 12 + 2;
      y += error.Bounds.h;
    }
  }
  window_.Invalidate();
}

void EditorScreen::Bind() {
  ControlNamed("btnSave").OnClick = [this] { Save(); };
  ControlNamed("btnUndo").OnClick = [this] {
    BlurFields();
    if (model_.Undo()) Sync();
  };
  ControlNamed("btnRedo").OnClick = [this] {
    BlurFields();
    if (model_.Redo()) Sync();
  };
  ControlNamed("btnPlay").OnClick = [this] { TestPlay(); };
  const SDL_Point middle{EditorCanvasArea.w / 2, EditorCanvasArea.h / 2};
  ControlNamed("btnZoomOut").OnClick = [this, middle] { Zoom(false, middle); };
  ControlNamed("btnZoomIn").OnClick = [this, middle] { Zoom(true, middle); };
  ControlNamed("btnFit").OnClick = [this, middle] {
    canvas_.View().SetZoom(canvas_.View().FitZoom(), middle);
    canvas_.ComposeAll();
    ShowCanvasDamage();
    UpdateStatus();
  };
  ControlNamed("btnBrush").OnClick = [this] { SetTool(EditorTool::Brush); };
  ControlNamed("btnRect").OnClick = [this] { SetTool(EditorTool::Rectangle); };
  ControlNamed("btnPick").OnClick = [this] { SetTool(EditorTool::Picker); };
  ControlNamed("btnClose").OnClick = [this] { Close(); };

  canvasBox_->OnMouseDown = [this](int button, SDL_Point p) { CanvasDown(button, p); };
  canvasBox_->OnMouseMove = [this](SDL_Point p) { CanvasMove(p); };
  canvasBox_->OnMouseUp = [this](int button, SDL_Point p) { CanvasUp(button, p); };
  canvasBox_->OnWheel = [this](int notches) {
    const platform::Modifiers held = platform::HeldModifiers();
    const SDL_Point pointer = window_.Pointer();
    const SDL_Point at{pointer.x - EditorCanvasArea.x, pointer.y - EditorCanvasArea.y};
    if (held.Ctrl) {
      Zoom(notches > 0, at);
      return;
    }
    const int step = 3 * std::max(canvas_.View().Zoom, 10) * notches;
    if (held.Shift) {
      ScrollBy(-step, 0);
    } else {
      ScrollBy(0, -step);
    }
  };
  findings_->OnMouseDown = [this](int button, SDL_Point p) {
    if (button != SDL_BUTTON_LEFT) return;
    BlurFields();
    findings_->Press(p);
    RevealFinding(findings_->ListIndex());
  };
  findings_->OnWheel = [this](int notches) {
    findings_->SetTopIndex(findings_->TopIndex() - notches);
    window_.Invalidate();
  };

  window_.OnCloseRequest = [this] { Close(); };
  window_.OnKeyDown = [this](int virtualKey) { KeyDown(virtualKey, platform::HeldModifiers()); };
  window_.OnKeyRepeat = [this](int virtualKey) { KeyRepeat(virtualKey); };
  window_.OnKeyUp = [this](int virtualKey) { KeyReleased(virtualKey); };
  window_.OnDeactivate = [this] { ctrlChord_ = false; };
  window_.OnTextInput = [this](const std::string& text) { TypeText(text); };
  BindTools();
}

bool EditorScreen::Open(const std::filesystem::path& zone) {
  if (auto error = canvas_.LoadPictures()) {
    prompter_.SkinMsgBox(PicturesMessage(*error), msgbox::OkOnly, msgbox::IconCritical, "");
    return false;
  }
  const auto& palette = edit::Palette();
  for (size_t i = 0; i < palette.size(); ++i) {
    dynamic_cast<platform::Image&>(ControlNamed("tile(" + std::to_string(i) + ")")).Picture =
        canvas_.Pictures().Slot(palette[i].Picture);
  }
  // One editor to a zone: two would write over each other's work and share its recovery copy.
  // (A zone opened again here, after an outside change, keeps this editor's copy.)
  const bool sameCopy = recovery_.empty() || claim_.Covers(recovery_, zone);
  system::RecoveryClaim claim;
  if (!sameCopy) {
    claim = system::RecoveryClaim::Take(recovery_, zone);
    if (claim.Busy() && !zone.empty()) {
      prompter_.SkinMsgBox(OpenElsewhereMessage(zone), msgbox::OkOnly, msgbox::IconExclamation, "");
      return false;
    }
  }
  std::error_code ec;
  if (!zone.empty() && std::filesystem::exists(zone, ec)) {
    if (auto error = model_.Load(zone)) {
      prompter_.SkinMsgBox("Zónu nelze otevřít.\n" + error->Describe(), msgbox::OkOnly,
                           msgbox::IconCritical, "");
      return false;
    }
    message_ = "Otevřeno: " + web::ShownFileName(zone);
  } else if (std::string refused = model_.RefusedFolder(zone); !zone.empty() && !refused.empty()) {
    prompter_.SkinMsgBox("Zónu nelze otevřít.\n" + refused, msgbox::OkOnly, msgbox::IconCritical,
                         "");
    return false;
  } else {
    model_.New(zone);
    message_ = zone.empty() ? "Nová zóna; Ctrl+S ji uloží mezi tvé zóny."
                            : "Nová zóna; Ctrl+S ji uloží do " + web::ShownFileName(zone);
  }
  if (!sameCopy) claim_ = std::move(claim);
  if (const auto kept = claim_.Find()) {
    // Mended: a signal, a crash or a power cut threw away every unsaved change; a copy kept a
    // few seconds after the last one is offered back.
    const int answer = prompter_.SkinMsgBox(RestoreQuestion(kept->When, zone), msgbox::YesNo,
                                            msgbox::IconQuestion, "");
    if (answer == msgbox::ResultYes) {
      if (auto error = model_.Restore(kept->Text)) {
        message_ = "Uchované změny nelze obnovit: " + *error;
      } else {
        message_ = "Obnoveny neuložené změny z " + kept->When;
      }
    } else if (answer == msgbox::ResultNo) {
      DropRecovery(zone);
    }
  }
  seenRevision_ = model_.Revision();
  keep_.SetEnabled(false);
  errors_ = {};
  canvas_.SetZone(model_.Width(), model_.Height(), model_.Source().Rows);
  canvas_.View().SetZoom(canvas_.View().FitZoom(),
                         SDL_Point{EditorCanvasArea.w / 2, EditorCanvasArea.h / 2});
  if (auto start = model_.Start(); start && canvas_.View().Zoom >= 20) {
    canvas_.View().Reveal(start->X, start->Y);
  }
  canvas_.ComposeAll();
  Select(selected_);
  SetTool(tool_);
  Sync();
  return true;
}

void EditorScreen::Show() {
  window_.Show();
  window_.InvalidateAll();
}

void EditorScreen::Hide() {
  BlurFields();
  window_.Hide();
}

bool EditorScreen::Close() {
  BlurFields();
  // A value the header refused is a change the author made: it is not dropped unasked.
  for (size_t i = 0; i < errors_.size(); ++i) {
    if (errors_[i].empty()) continue;
    const std::string question = std::string(RefusedValueQuestion) + "\n" + errors_[i] +
                                 "\nZavřít editor a hodnotu zahodit?";
    if (prompter_.SkinMsgBox(question, msgbox::YesNo, msgbox::IconQuestion, "") !=
        msgbox::ResultYes) {
      FocusField(static_cast<int>(i));
      return false;
    }
    break;
  }
  if (model_.Dirty()) {
    const int answer =
        prompter_.SkinMsgBox(UnsavedQuestion, msgbox::YesNoCancel, msgbox::IconQuestion, "");
    if (answer == msgbox::ResultYes) {
      if (!Save()) return false;
    } else if (answer == msgbox::ResultNo) {
      DropRecovery(model_.Path());
    } else {
      return false;
    }
  }
  keep_.SetEnabled(false);
  claim_ = {};
  Hide();
  if (OnClosed) OnClosed();
  return true;
}

bool EditorScreen::Save() {
  BlurFields();
  if (model_.InStroke()) model_.EndStroke();
  // Mended: a new zone without the player's zone folder could not be saved at all; it asks where.
  if (!model_.HasPlace()) {
    return SaveAs("Hra nemá tvou složku zón. Kam novou zónu uložit?");
  }
  // Mended: a change another program made to the file was written over without a word.
  if (model_.Dirty() && model_.ChangedOnDisk()) {
    const int answer = prompter_.SkinMsgBox(ChangedOnDiskQuestion(model_.Path()),
                                            msgbox::YesNoCancel, msgbox::IconExclamation, "");
    if (answer == msgbox::ResultNo) {
      const std::filesystem::path file = model_.Path();
      DropRecovery(file);
      const bool opened = Open(file);
      if (opened) message_ = "Načteno znovu: " + web::ShownFileName(file);
      UpdateStatus();
      return false;
    }
    if (answer != msgbox::ResultYes) return false;
  }
  // Mended: the editor saved a zone the game refuses and then could not open it again; it opens
  // it now, and says before saving that the game will not.
  if (model_.Dirty() || model_.Path().empty()) {
    for (const edit::Finding& f : model_.Findings()) {
      if (!f.Refused) continue;
      const int answer = prompter_.SkinMsgBox(RefusedZoneQuestion(f.Message), msgbox::YesNo,
                                              msgbox::IconExclamation, "");
      if (answer != msgbox::ResultYes) return false;
      break;
    }
  }
  const std::filesystem::path before = model_.Path();
  const edit::SaveResult result = model_.Save();
  if (NothingSaved(result, "Neuloženo: ", "Zónu se nepodařilo uložit.")) return false;
  Resettle(*result.SavedTo);
  if (!result.Written) {
    message_ = "Beze změn; nic se neukládá: " + web::ShownFileName(*result.SavedTo);
    Sync();
    return true;
  }
  // A copy is made of a zone shipped with the game, and of a file of the author's own that
  // cannot be written where it is; the message says which.
  bool shipped = false;
  for (const std::filesystem::path& folder : model_.Folders().Protected) {
    std::error_code ec;
    shipped = shipped ||
              (!before.empty() && std::filesystem::equivalent(before.parent_path(), folder, ec));
  }
  message_ = !result.Copy ? "Uloženo: " + web::ShownFileName(*result.SavedTo)
             : shipped
                 ? "Zónu hry nelze přepsat; uložena kopie: " + web::ShownFileName(*result.SavedTo)
                 : "Soubor " + web::ShownFileName(before) +
                       " nelze přepsat (jen pro čtení); uložena kopie: " + web::ShownFileName(*result.SavedTo);
  std::fprintf(stderr, "quarn: %s\n", message_.c_str());
  Sync();
  return true;
}

void EditorScreen::KeepRecovery() {
  keep_.SetEnabled(false);
  if (recovery_.empty()) return;
  // Undone back to what the file holds: nothing is unsaved, and no copy is offered later.
  if (!model_.Dirty()) {
    DropRecovery(model_.Path());
    return;
  }
  if (auto kept = claim_.Keep(model_.Text()); !kept) {
    std::fprintf(stderr, "quarn: neuložené změny nelze uchovat: %s\n",
                 kept.Error().Message.c_str());
    // Told where the author looks, once a failure: the status line and the window's title.
    if (unprotected_.empty()) {
      message_ = "Neuložené změny nelze uchovat pro případ pádu: " + kept.Error().Message +
                 " Ulož zónu (Ctrl+S).";
    }
    unprotected_ = kept.Error().Message;
  } else {
    unprotected_.clear();
  }
  Sync();
}

void EditorScreen::DropRecovery(const std::filesystem::path& zone) {
  if (!recovery_.empty() && claim_.Covers(recovery_, zone)) claim_.Drop();
}

bool EditorScreen::OpenElsewhere(const std::filesystem::path& zone) {
  if (recovery_.empty() || claim_.Covers(recovery_, zone)) return false;
  if (!system::RecoveryClaim::Take(recovery_, zone).Busy()) return false;
  prompter_.SkinMsgBox(OpenElsewhereMessage(zone), msgbox::OkOnly, msgbox::IconExclamation, "");
  return true;
}

std::optional<std::filesystem::path> EditorScreen::KeepUnsaved() {
  keep_.SetEnabled(false);
  if (!model_.Dirty() || recovery_.empty()) return std::nullopt;
  if (auto kept = claim_.Keep(model_.Text()); !kept) {
    std::fprintf(stderr, "quarn: neuložené změny nelze uchovat: %s\n",
                 kept.Error().Message.c_str());
    return std::nullopt;
  }
  return claim_.File();
}

void EditorScreen::TestPlay() {
  BlurFields();
  if (model_.InStroke()) model_.EndStroke();
  drag_ = Drag::None;
  if (RefusedForPlay()) return;
  if (OnTestPlay) OnTestPlay(model_.Text());
}

bool EditorScreen::RefusedForPlay() {
  // Mended: the game named the author's file as the zone it refused, though the file may well
  // play; what it cannot play is the zone as edited, and the editor says so before it is tried.
  for (const edit::Finding& f : model_.Findings()) {
    if (!f.Refused) continue;
    message_ = EditedZoneRefused + edit::FindingLine(f);
    UpdateStatus();
    prompter_.SkinMsgBox(message_, msgbox::OkOnly, msgbox::IconExclamation, "");
    return true;
  }
  return false;
}

bool EditorScreen::OfferSolution(const std::string& script) {
  if (script.empty()) return false;
  std::error_code ec;
  const bool unsaved =
      model_.Dirty() || model_.Path().empty() || !std::filesystem::exists(model_.Path(), ec);
  const int answer = prompter_.SkinMsgBox(unsaved ? SolutionAndSaveQuestion : SolutionQuestion,
                                          msgbox::YesNo, msgbox::IconQuestion, "");
  if (answer != msgbox::ResultYes) return false;
  if (unsaved && !Save()) return false;
  std::filesystem::path keys = model_.Path();
  keys.replace_extension(".keys");
  if (const auto written = system::WriteWhole(keys, script); !written) {
    const std::string& error = written.Error().Message;
    message_ = "Řešení neuloženo: " + error;
    prompter_.SkinMsgBox("Řešení se nepodařilo uložit.\n" + error, msgbox::OkOnly,
                         msgbox::IconCritical, "");
    UpdateStatus();
    return false;
  }
  message_ = "Řešení uloženo: " + keys.string();
  std::fprintf(stderr, "quarn: %s\n", message_.c_str());
  UpdateStatus();
  return true;
}

void EditorScreen::Select(char c) {
  selected_ = c;
  const auto& palette = edit::Palette();
  for (size_t i = 0; i < palette.size(); ++i) {
    if (palette[i].Character != c) continue;
    const SDL_Rect row = paletteRows_[i];
    paletteMark_->Bounds = SDL_Rect{row.x - 2, row.y, row.w + 2, row.h};
  }
  UpdateStatus();
}

void EditorScreen::SetTool(EditorTool tool) {
  tool_ = tool;
  auto mark = [&](const char* name, const char* caption, EditorTool t) {
    auto& b = dynamic_cast<platform::Button&>(ControlNamed(name));
    b.Caption = tool_ == t ? std::string("[") + caption + "]" : caption;
  };
  mark("btnBrush", "Štětec", EditorTool::Brush);
  mark("btnRect", "Obdélník", EditorTool::Rectangle);
  mark("btnPick", "Kapátko", EditorTool::Picker);
  mark("btnSelect", "Výběr", EditorTool::Select);
  mark("btnHollow", "Rámeček", EditorTool::Hollow);
  mark("btnFlood", "Výplň", EditorTool::Flood);
  UpdateStatus();
}

void EditorScreen::Sync() {
  SyncCells();
  // The recovery copy's countdown starts again with every change.
  if (model_.Revision() != seenRevision_) {
    seenRevision_ = model_.Revision();
    keep_.SetEnabled(false);
    if (model_.Dirty()) {
      keep_.SetEnabled(true);
    } else {
      DropRecovery(model_.Path());  // undone back to what the file holds: nothing to offer later
    }
  }
  if (!model_.InStroke()) {
    SyncForm();
    // The check runs on a whole change, not on every cell of a stroke. On a large zone it takes
    // longer than a frame: the changed cells show first, the findings a frame later, and changes
    // in quick succession (a held Ctrl+Z) are checked once.
    if (model_.Width() * model_.Height() <= QuickCheckCells) {
      ShowFindings();
    } else {
      check_.SetEnabled(true);
    }
  }
  ShowCanvasDamage();
  SyncTools();
  SyncNotes();
  UpdateStatus();
  std::string title = model_.Field(edit::HeaderField::Title);
  // Changes that could not be kept are not safe from a crash: the title says so while they last.
  const bool unprotected = !unprotected_.empty() && model_.Dirty();
  window_.SetCaption((model_.Dirty() ? "* " : "") + title +
                     (unprotected ? " (změny nejsou chráněné)" : "") + " – Quarn, editor zón");
  window_.Invalidate();
}

void EditorScreen::ShowFindings() {
  check_.SetEnabled(false);
  findingCells_.clear();
  std::vector<SDL_Point> marks;
  findings_->Clear();
  for (const edit::Finding& f : model_.Findings()) {
    // The place leads the line; the message does not name it again.
    if (f.Where) marks.push_back(SDL_Point{f.Where->X, f.Where->Y});
    findings_->AddItem((f.Refused ? "Hra zónu neotevře: " : "") + edit::FindingLine(f));
    findingCells_.push_back(f.Where);
  }
  if (findingCells_.empty()) findings_->AddItem("Nic: zóna je v pořádku.");
  canvas_.SetMarks(std::move(marks));
  ShowOverlays();
  ShowCanvasDamage();
  window_.Invalidate();
}

void EditorScreen::SyncCells() {
  const auto& rows = model_.Source().Rows;
  if (model_.Width() != canvas_.View().Columns || model_.Height() != canvas_.View().Rows) {
    canvas_.SetZone(model_.Width(), model_.Height(), rows);
    return;
  }
  // Comparing every cell costs far less than drawing one.
  for (int y = 0; y < model_.Height(); ++y) {
    const std::string& row = rows[static_cast<size_t>(y)];
    for (int x = 0; x < model_.Width(); ++x) {
      if (canvas_.CellAt(x, y) != row[static_cast<size_t>(x)]) {
        canvas_.SetCell(x, y, row[static_cast<size_t>(x)]);
      }
    }
  }
}

void EditorScreen::SyncForm() {
  for (int i = 0; i < edit::HeaderFieldCount; ++i) {
    platform::TextField& f = *fields_[static_cast<size_t>(i)];
    // A refused text stays in its field beside its message until the author mends it.
    if (!f.Focused() && errors_[static_cast<size_t>(i)].empty()) {
      f.Text = model_.Field(static_cast<edit::HeaderField>(i));
    }
  }
  LayOutForm();
}

void EditorScreen::ShowCanvasDamage() {
  for (const SDL_Rect& r : canvas_.TakeDamage()) {
    window_.InvalidateRect(SDL_Rect{EditorCanvasArea.x + r.x, EditorCanvasArea.y + r.y, r.w, r.h});
  }
}

}  // namespace quarn::ui
