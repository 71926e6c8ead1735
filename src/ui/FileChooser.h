// FileChooser.h — the editor's small "save as" window in the look of the game's dialog: the
// folder's zone files and folders in a list, a one-line name field (a name, or a path to go to
// or save at), "Nová složka", Enter and Esc.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "edit/FileChoice.h"
#include "game/Ports.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/TextField.h"
#include "platform/Window.h"

namespace quarn::ui {

struct ChooserRequest {
  std::string Title = "Uložit zónu jako";
  std::string Heading;  // a line above the folder (why the chooser asks), or none
  std::filesystem::path Folder;  // where it opens
  std::string Name;              // the name offered in the field
  edit::ChooserLimits Limits;
};

struct ChosenFile {
  std::filesystem::path Path;
  bool Overwrite = false;  // the file exists and the author said to write over it
};

// Asked before writing over a file that is there.
std::string OverwriteQuestion(const std::filesystem::path& file);

class FileChooser {
 public:
  FileChooser(platform::App& app, Prompter& prompter);
  FileChooser(const FileChooser&) = delete;
  FileChooser& operator=(const FileChooser&) = delete;

  // Shows the window modally until a file is chosen (Enter, Uložit) or the choice is given up
  // (Esc, Zrušit, the window's close box); nothing then.
  std::optional<ChosenFile> Choose(const ChooserRequest& request);

  // The steps Choose waits through, for tests: lays the window out for the request without
  // showing it; keys and typed text as the window hands them over; Enter as the key does.
  void Open(const ChooserRequest& request);
  void KeyDown(int virtualKey, platform::Modifiers held = platform::HeldModifiers());
  void Type(const std::string& text);
  void Enter();
  void Cancel();
  // Goes into folder and lists it.
  void Go(const std::filesystem::path& folder);
  // "Nová složka": the name field asks for the new folder's name; Enter (or the button again)
  // makes it in the shown folder and goes into it, Esc goes back to the file's name. A name that
  // cannot be a folder's is refused with the reason under the field.
  void NewFolder();
  bool NamingFolder() const { return namingFolder_; }

  platform::Window& Window() { return window_; }
  platform::ListBox& List() { return *list_; }
  platform::TextField& NameField() { return *field_; }
  const std::filesystem::path& Folder() const { return folder_; }
  const std::string& Message() const { return message_->Caption; }
  const std::optional<ChosenFile>& Result() const { return result_; }
  bool Done() const { return done_; }

 private:
  void ListMoved();
  void Finish(std::optional<ChosenFile> result);
  void StopNamingFolder();

  platform::App& app_;
  Prompter& prompter_;
  platform::Window window_;
  std::vector<std::unique_ptr<platform::Control>> controls_;
  platform::Label* heading_ = nullptr;
  platform::Label* where_ = nullptr;
  platform::ListBox* list_ = nullptr;
  platform::TextField* field_ = nullptr;
  platform::Label* message_ = nullptr;
  platform::Label* fieldName_ = nullptr;
  ChooserRequest request_;
  std::filesystem::path folder_;
  std::vector<edit::ChooserEntry> entries_;
  bool listChosen_ = false;  // the list's selection was moved since the last typing
  bool done_ = false;
  bool namingFolder_ = false;
  std::string fileName_;  // the file's name while the field asks for a folder's
  std::optional<ChosenFile> result_;
};

}  // namespace quarn::ui
