// Dialog.h — frmDialog: the game's own message box (SkinMsgBox), its layout and its keys.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "DialogLayout.h"
#include "PictureButton.h"
#include "game/Ports.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "render/Surface.h"

namespace quarn::ui {

inline constexpr const char* AppTitle = "Quarn";

// The dialog's buttons by their index 1..4, as ClickedButton counts them.
inline constexpr int BtnYes = 1, BtnNo = 2, BtnOk = 3, BtnCancel = 4;
inline constexpr std::array<const char*, 4> DialogStripFiles{"bYes.bmp", "bNo.bmp", "bOK.bmp",
                                                             "bCancel.bmp"};

// The Czech captions of a message-box button set, in the order they are shown.
std::vector<std::string> ButtonCaptions(int buttons);
// The game's result code for the button pressed (its index among the captions); none for a box
// closed without one (index -1). Used where App::AnswerInstead answers the dialog.
int ResultOf(int buttons, int pressedIndex);

// What SkinMsgBox prepares before the layout: the buttons wanted, the icon, the caption.
struct MsgBoxSetup {
  ButtonFlags Wanted{};
  int IconKind = msgbox::IconNone;  // 1 none, 2..5 a picture
  std::string Title;
};
MsgBoxSetup PrepareMsgBox(int buttons, int icon, const std::string& title);
// The picture file of icon kind 2..5 ("iQuestion.bmp"), empty for the others.
std::string IconFile(int iconKind);
// ClickedButton turned into the result: 6 Yes, 7 No, 1 OK, 2 Cancel, 0 none.
int ResultOfClick(int clickedButton);
// A key pressed while the dialog is open: the new ClickedButton. Y, N, O and C choose their button
// even when it is hidden; Enter chooses Yes or OK, Esc No or Cancel, where shown.
int ChooseByKey(int virtualKey, const ButtonFlags& shown, int clickedButton);
// Whether the choice closes the dialog: a choice of a hidden button waits for another key.
bool ChoiceCloses(int clickedButton, const ButtonFlags& shown);


class Dialog : public Prompter {
 public:
  // Pictures come from dataFolder's Graphics folder. Nothing is made until the first question.
  Dialog(platform::App& app, const std::filesystem::path& dataFolder);
  ~Dialog() override;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Shows prompt modally and returns the msgbox::Result* code of the button chosen; none (0)
  // when the window frame closed it or the program was asked to quit meanwhile. Every message is
  // also written to stderr. With App::AnswerInstead set, that answers instead and nothing shows.
  int SkinMsgBox(const std::string& prompt, int buttons, int icon,
                 const std::string& title) override;

  // The window, its controls and the last layout; null and empty before the first question.
  platform::Window* Window() { return window_.get(); }
  PictureButtons* Buttons() { return buttons_.get(); }
  const DialogLayout& Layout() const { return layout_; }
  platform::Label* Text() { return label_.get(); }
  platform::Image* Icon() { return icon_.get(); }
  int ClickedButton() const { return clicked_; }

 private:
  void Load();
  void ShowText(const std::string& t, bool icon);
  void OnKey(int virtualKey);
  void Choose(int button);
  // Pictures that could not be read are reported once, in the dialog, before the next question.
  void ReportPictureProblems();
  void NotePictureProblem(const PictureProblem& problem);

  platform::App& app_;
  std::filesystem::path folder_;
  std::unique_ptr<platform::Window> window_;
  std::unique_ptr<PictureButtons> buttons_;
  std::unique_ptr<platform::Image> icon_;
  std::unique_ptr<platform::Label> label_;
  quarn::SurfacePtr iconPicture_;
  DialogLayout layout_;
  ButtonFlags wanted_{};
  int clicked_ = 0;
  std::vector<PictureProblem> pictureProblems_;
  std::set<std::string> reported_;
  bool reporting_ = false;
};

// The Czech message for a picture of the game that could not be read: it names the folder and
// the file, and whether the file is missing or unreadable.
std::string PicturesMessage(const PictureProblem& problem);

}  // namespace quarn::ui
