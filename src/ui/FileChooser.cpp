// FileChooser.cpp — the "save as" window: its controls, keys and choices.
#include "FileChooser.h"

#include "base/Keys.h"
#include "base/Text.h"

namespace quarn::ui {

namespace fs = std::filesystem;

namespace {

constexpr platform::Colour Background{0, 0, 128};
constexpr platform::Colour Ink{255, 255, 255};
constexpr platform::Colour Cyan{0, 255, 255};
constexpr platform::Colour ErrorInk{255, 150, 150};
const platform::FontSpec Font{"Arial", 9.75, true};
const platform::FontSpec Small{"Arial", 8.25, true};

constexpr int Width = 480, Height = 380;
constexpr const char* FileNameCaption = "Název souboru:";

platform::WindowOptions ChooserOptions() {
  platform::WindowOptions o;
  o.Title = "Uložit zónu jako";
  o.Width = Width;
  o.Height = Height;
  o.Borderless = false;
  // Scaled as the dialog is, like the screens it stands over.
  o.ScaleAsWidth = 800;
  o.ScaleAsHeight = 600;
  return o;
}

std::string Shown(const edit::ChooserEntry& e) {
  if (e.Parent) return ".. (o složku výš)";
  return ShowControls(e.Name) + (e.Folder ? "/" : "");
}

}  // namespace

std::string OverwriteQuestion(const fs::path& file) {
  return "Soubor " + ShowControls(file.filename().string()) + " ve složce " +
         ShowControls(file.parent_path().string()) + " už existuje.\nPřepsat ho touto zónou?";
}

FileChooser::FileChooser(platform::App& app, Prompter& prompter)
    : app_(app), prompter_(prompter), window_(app, ChooserOptions()) {
  window_.Root().Background = Background;
  auto label = [&](SDL_Rect bounds, const platform::FontSpec& font, platform::Colour fore) {
    auto l = std::make_unique<platform::Label>(app_.FontSet());
    l->Font = font;
    l->Fore = fore;
    l->WordWrap = true;
    l->Bounds = bounds;
    platform::Label* placed = l.get();
    window_.Root().Children.push_back(placed);
    controls_.push_back(std::move(l));
    return placed;
  };
  heading_ = label(SDL_Rect{12, 8, Width - 24, 18}, Font, Cyan);
  where_ = label(SDL_Rect{12, 28, Width - 24 - 100, 32}, Small, Ink);

  auto list = std::make_unique<platform::ListBox>(app_.FontSet());
  list->Font = Font;
  list->Bounds = SDL_Rect{12, 62, Width - 24, 196};
  list->OnMouseDown = [this](int button, SDL_Point p) {
    if (button != SDL_BUTTON_LEFT) return;
    list_->Press(p);
    ListMoved();
    window_.Invalidate();
  };
  list->OnDoubleClick = [this] {
    const int i = list_->ListIndex();
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    listChosen_ = true;
    Enter();
  };
  list_ = list.get();
  window_.Root().Children.push_back(list_);
  controls_.push_back(std::move(list));

  fieldName_ = label(SDL_Rect{12, 270, 110, 20}, Font, Ink);
  fieldName_->Caption = FileNameCaption;
  auto field = std::make_unique<platform::TextField>(app_.FontSet());
  field->Font = Font;
  field->MaxBytes = 255;
  field->Bounds = SDL_Rect{124, 267, Width - 136, 24};
  field->OnMouseDown = [this](int button, SDL_Point p) {
    if (button == SDL_BUTTON_LEFT) field_->Press(p);
    window_.Invalidate();
  };
  field_ = field.get();
  window_.Root().Children.push_back(field_);
  controls_.push_back(std::move(field));
  message_ = label(SDL_Rect{12, 296, Width - 24, 36}, Small, ErrorInk);
  label(SDL_Rect{12, 340, 250, 40}, Small, Ink)->Caption =
      "Enter uloží, nebo otevře vybranou složku či napsanou cestu (~/zony, /tmp). Esc zruší.";

  auto button = [&](const std::string& caption, SDL_Rect bounds, std::function<void()> click) {
    auto b = std::make_unique<platform::Button>(app_.FontSet());
    b->Caption = caption;
    b->Font = Font;
    b->Bounds = bounds;
    b->OnClick = std::move(click);
    window_.Root().Children.push_back(b.get());
    controls_.push_back(std::move(b));
  };
  button("Uložit", SDL_Rect{Width - 12 - 94 - 8 - 94, 342, 94, 28}, [this] {
    listChosen_ = false;
    Enter();
  });
  button("Zrušit", SDL_Rect{Width - 12 - 94, 342, 94, 28}, [this] { Cancel(); });
  button("Nová složka", SDL_Rect{Width - 12 - 94, 30, 94, 26}, [this] { NewFolder(); });

  window_.OnKeyDown = [this](int virtualKey) { KeyDown(virtualKey); };
  window_.OnKeyRepeat = [this](int virtualKey) {
    if (virtualKey == vk::Backspace || virtualKey == vk::Delete || virtualKey == vk::Left ||
        virtualKey == vk::Right || virtualKey == vk::Up || virtualKey == vk::Down ||
        virtualKey == vk::PageUp || virtualKey == vk::PageDown) {
      KeyDown(virtualKey);
    }
  };
  window_.OnTextInput = [this](const std::string& text) { Type(text); };
  window_.OnCloseRequest = [this] { Cancel(); };
}

void FileChooser::Open(const ChooserRequest& request) {
  request_ = request;
  done_ = false;
  result_.reset();
  window_.SetCaption(request.Title);
  heading_->Caption = request.Heading;
  heading_->Visible = !request.Heading.empty();
  StopNamingFolder();
  field_->SetText(request.Name);
  field_->Focus();
  Go(request.Folder);
}

std::optional<ChosenFile> FileChooser::Choose(const ChooserRequest& request) {
  Open(request);
  window_.CentreOnScreen();
  app_.ShowModal(window_);
  window_.Hide();
  field_->Blur();
  if (app_.QuitRequested() || !done_) return std::nullopt;
  return result_;
}

void FileChooser::Go(const fs::path& folder) {
  const edit::FolderListing listing = edit::ListFolder(edit::CleanFolder(folder), request_.Limits);
  folder_ = listing.Folder;
  entries_ = listing.Entries;
  where_->Caption = "Složka: " + ShowControls(folder_.string());
  message_->Caption = listing.Problem;
  list_->Clear();
  for (const edit::ChooserEntry& e : entries_) list_->AddItem(Shown(e));
  // The file the field names is selected when it is there; else nothing is.
  std::string why;
  const std::string name = edit::ZoneFileName(field_->Text, why);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].Folder && entries_[i].Name == name) list_->SetListIndex(static_cast<int>(i));
  }
  listChosen_ = false;
  window_.Invalidate();
}

void FileChooser::ListMoved() {
  const int i = list_->ListIndex();
  if (i < 0 || i >= static_cast<int>(entries_.size())) return;
  listChosen_ = true;
  const edit::ChooserEntry& e = entries_[static_cast<size_t>(i)];
  // A zone chosen in the list is the name to save under; a folder is gone into with Enter.
  if (!e.Folder && !namingFolder_) field_->SetText(e.Name);
  message_->Caption.clear();
}

void FileChooser::KeyDown(int virtualKey, platform::Modifiers held) {
  switch (virtualKey) {
    case vk::Enter:
      Enter();
      break;
    case vk::Escape:
      if (namingFolder_) {
        StopNamingFolder();
      } else {
        Cancel();
      }
      break;
    case vk::Up:
    case vk::Down:
    case vk::PageUp:
    case vk::PageDown:
      if (list_->KeyDown(virtualKey)) ListMoved();
      break;
    // The name field's cursor and selection.
    case vk::Home:
    case vk::End:
    case vk::Left:
    case vk::Right:
    case vk::Backspace:
    case vk::Delete:
    case 'A':
      if (virtualKey == 'A' && !held.Ctrl) return;
      field_->Focus();
      field_->KeyDown(virtualKey, held);
      listChosen_ = false;
      break;
    default:
      return;
  }
  window_.Invalidate();
}

void FileChooser::Type(const std::string& text) {
  field_->Focus();
  field_->Type(text);
  listChosen_ = false;
  window_.Invalidate();
}

void FileChooser::NewFolder() {
  if (namingFolder_) {
    Enter();
    return;
  }
  namingFolder_ = true;
  fileName_ = field_->Text;
  fieldName_->Caption = "Název složky:";
  field_->SetText("");
  field_->Focus();
  listChosen_ = false;
  message_->Caption =
      "Napiš název nové složky ve složce, kterou vidíš; Enter ji založí, Esc se "
      "vrátí k názvu souboru.";
  window_.Invalidate();
}

void FileChooser::StopNamingFolder() {
  if (!namingFolder_) return;
  namingFolder_ = false;
  fieldName_->Caption = FileNameCaption;
  field_->SetText(fileName_);
  message_->Caption.clear();
  window_.Invalidate();
}

void FileChooser::Enter() {
  const int i = list_->ListIndex();
  if (listChosen_ && i >= 0 && i < static_cast<int>(entries_.size()) &&
      entries_[static_cast<size_t>(i)].Folder) {
    const edit::ChooserEntry& e = entries_[static_cast<size_t>(i)];
    Go(e.Parent ? folder_.parent_path() : folder_ / e.Name);
    return;
  }
  if (namingFolder_) {
    const edit::MadeFolder made = edit::MakeFolder(folder_, field_->Text, request_.Limits);
    if (made.Path.empty()) {
      message_->Caption = made.Problem;
      window_.Invalidate();
      return;
    }
    StopNamingFolder();
    Go(made.Path);
    message_->Caption = "Složka " + ShowControls(made.Path.filename().string()) +
                        " je založená; zóna se uloží do ní.";
    return;
  }
  const edit::ChooserDecision d = edit::Decide(folder_, field_->Text, request_.Limits);
  switch (d.What) {
    case edit::ChooserDecision::Kind::OpenFolder:
      field_->SetText(request_.Name);
      Go(d.Path);
      return;
    case edit::ChooserDecision::Kind::Write:
      Finish(ChosenFile{d.Path, false});
      return;
    case edit::ChooserDecision::Kind::AskOverwrite:
      if (prompter_.SkinMsgBox(OverwriteQuestion(d.Path), msgbox::YesNo, msgbox::IconExclamation,
                               "") == msgbox::ResultYes) {
        Finish(ChosenFile{d.Path, true});
      } else {
        message_->Caption = "Soubor zůstal, jak byl; napiš jiný název.";
        field_->Focus();
        window_.Invalidate();
      }
      return;
    case edit::ChooserDecision::Kind::Refuse:
      message_->Caption = d.Message;
      window_.Invalidate();
      return;
  }
}

void FileChooser::Cancel() { Finish(std::nullopt); }

void FileChooser::Finish(std::optional<ChosenFile> result) {
  result_ = std::move(result);
  done_ = true;
  window_.Hide();
}

}  // namespace quarn::ui
