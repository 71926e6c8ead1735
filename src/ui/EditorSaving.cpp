// EditorSaving.cpp — the editor's "save as" through the file chooser, and putting a zone saved
// elsewhere among the player's zones.
#include <cstdlib>

#include "Dialog.h"
#include "EditorScreen.h"
#include "PageFiles.h"
#include "system/SafeFile.h"

namespace quarn::ui {

namespace fs = std::filesystem;

// The strip under the canvas, beside the findings' heading.
inline constexpr int StripTop = 567, StripLeft = 412, StripHeight = 21, LinkWidth = 100;

void EditorScreen::BuildStrip() {
  int x = StripLeft;
  auto button = [&](const std::string& name, const std::string& caption, int width,
                    const std::string& tip) -> platform::Button& {
    auto b = std::make_unique<platform::Button>(app_.FontSet());
    b->Caption = caption;
    b->ToolTip = tip;
    platform::Button& placed = Add(name, std::move(b), SDL_Rect{x, StripTop, width, StripHeight});
    x += width + 4;
    return placed;
  };
  button("btnSaveAs", "Uložit jako…", 86,
         "Uložit zónu pod jiným názvem nebo jinam (Ctrl+Shift+S)")
      .OnClick = [this] { SaveAs(); };
  button("btnOwnZones", "Do mých zón", 86,
         "Zkopírovat zónu uloženou jinde mezi tvé zóny, aby ji ukázal seznam zón")
      .OnClick = [this] { PutIntoOwnZones(); };
}

void EditorScreen::OfferLink(
    std::function<void(const std::string& zoneText, const std::string& title)> share) {
  share_ = std::move(share);
  // Left of "Uložit jako…", where the findings' heading leaves room.
  platform::Control& heading = ControlNamed("lblFindings");
  heading.Bounds.w = StripLeft - 4 - LinkWidth - 4 - heading.Bounds.x;
  auto b = std::make_unique<platform::Button>(app_.FontSet());
  b->Caption = "Odkaz na zónu";
  b->ToolTip = "Odkaz, který zónu tak, jak je teď, otevře v prohlížeči (Ctrl+O)";
  b->OnClick = [this] { ShareLink(); };
  Add("btnLink", std::move(b), SDL_Rect{StripLeft - 4 - LinkWidth, StripTop, LinkWidth, StripHeight});
  auto& help = dynamic_cast<platform::Label&>(ControlNamed("lblHelp"));
  const std::string before = ", F1 všechny";
  if (const size_t at = help.Caption.find(before); at != std::string::npos) {
    help.Caption.insert(at, ", Ctrl+O odkaz na zónu");
  }
  window_.Invalidate();
}

void EditorScreen::ShareLink() {
  if (!share_) return;
  BlurFields();
  if (model_.InStroke()) model_.EndStroke();
  share_(model_.Text(), model_.Field(edit::HeaderField::Title));
  message_ = "Odkaz na zónu tak, jak je teď, je nahoře na stránce.";
  UpdateStatus();
}

bool EditorScreen::SaveAs(const std::string& heading) {
  BlurFields();
  if (model_.InStroke()) model_.EndStroke();
  for (const edit::Finding& f : model_.Findings()) {
    if (!f.Refused) continue;
    if (prompter_.SkinMsgBox(RefusedZoneQuestion(f.Message), msgbox::YesNo,
                             msgbox::IconExclamation, "") != msgbox::ResultYes) {
      return false;
    }
    break;
  }
  const fs::path before = model_.Path();
  ChooserRequest request;
  request.Heading = heading;
  request.Limits = edit::ChooserLimits{model_.Folders().Refused, model_.Folders().Protected};
  std::vector<fs::path> candidates{model_.Folders().Copies};
  if (!before.empty()) candidates.push_back(before.has_parent_path() ? before.parent_path() : ".");
  if (const char* home = std::getenv("HOME"); home && *home) candidates.emplace_back(home);
  candidates.emplace_back(".");
  request.Folder = edit::StartFolder(candidates, request.Limits);
  request.Name = before.empty() ? std::string(edit::NewZoneName) : before.filename().string();
  std::optional<ChosenFile> chosen;
  if (ChooseFile) {
    chosen = ChooseFile(request);
  } else {
    if (!chooser_) chooser_ = std::make_unique<FileChooser>(app_, prompter_);
    chosen = chooser_->Choose(request);
  }
  if (!chosen) {
    message_ = "Neuloženo: ukládání zrušeno.";
    UpdateStatus();
    return false;
  }
  if (OpenElsewhere(chosen->Path)) {
    message_ = "Neuloženo: zónu " + web::ShownFileName(chosen->Path) + " upravuje jiný editor.";
    UpdateStatus();
    return false;
  }
  const edit::SaveResult result = model_.SaveAs(chosen->Path, chosen->Overwrite);
  if (NothingSaved(result, "Neuloženo: ", "Zónu se nepodařilo uložit.")) return false;
  Resettle(*result.SavedTo);
  message_ = "Uloženo jako: " + web::ShownFileName(*result.SavedTo);
  if (!model_.AmongOwnZones() && !model_.Folders().Copies.empty()) {
    message_ += " (mimo tvé zóny: do seznamu zón ji dá tlačítko Do mých zón)";
  }
  std::fprintf(stderr, "quarn: %s\n", message_.c_str());
  Sync();
  return true;
}

void EditorScreen::Resettle(const fs::path& savedTo) {
  claim_.Drop();
  if (recovery_.empty() || claim_.Covers(recovery_, savedTo)) return;
  // A copy a crash left of the file saved to goes too: the file holds the work now.
  system::RecoveryClaim taken = system::RecoveryClaim::Take(recovery_, savedTo);
  taken.Drop();
  claim_ = std::move(taken);
}

bool EditorScreen::PutIntoOwnZones() {
  BlurFields();
  if (model_.InStroke()) model_.EndStroke();
  const edit::SaveResult result = model_.PutIntoOwnZones();
  if (NothingSaved(result, "Nezkopírováno: ", "Zónu se nepodařilo dát mezi tvé zóny.")) {
    return false;
  }
  if (!result.Written) {
    message_ = "Zóna už je mezi tvými zónami: " + web::ShownFileName(*result.SavedTo);
  } else {
    Resettle(*result.SavedTo);
    message_ = "Zkopírováno mezi tvé zóny: " + web::ShownFileName(*result.SavedTo) +
               "; dál se upravuje tato kopie.";
    std::fprintf(stderr, "quarn: %s\n", message_.c_str());
  }
  Sync();
  return true;
}

bool EditorScreen::NothingSaved(const edit::SaveResult& result, const std::string& status,
                                const std::string& failure) {
  if (result.SavedTo) return false;
  message_ = status + result.Error;
  prompter_.SkinMsgBox(failure + "\n" + result.Error, msgbox::OkOnly, msgbox::IconCritical, "");
  Sync();
  return true;
}

}  // namespace quarn::ui
