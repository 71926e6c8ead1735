// Dialog.cpp — frmDialog: SkinMsgBox, ShowText, the keys and the picture buttons; the text
// layout is in DialogLayout.cpp.
#include "Dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <variant>

#include "base/Keys.h"
#include "render/PictureSet.h"
#include "base/Text.h"

namespace quarn::ui {

namespace {

const platform::FontSpec DialogFont{"Arial", 9.75, true};
constexpr platform::Colour DialogBackground{0, 0, 128};
constexpr platform::Colour DialogText{255, 255, 255};

// Fractional layout values are shown at the nearest pixel.
int Px(double v) { return static_cast<int>(std::lround(v)); }

std::vector<int> ResultsOf(int buttons) {
  switch (buttons) {
    case msgbox::OkCancel:
      return {msgbox::ResultOk, msgbox::ResultCancel};
    case msgbox::YesNo:
      return {msgbox::ResultYes, msgbox::ResultNo};
    case msgbox::YesNoCancel:
      return {msgbox::ResultYes, msgbox::ResultNo, msgbox::ResultCancel};
    default:
      return {msgbox::ResultOk};
  }
}

// The message as one line on stderr.
void Print(const std::string& title, const std::string& prompt) {
  std::string line = ShowControls(prompt, "\n");
  std::replace(line.begin(), line.end(), '\n', ' ');
  const std::string caption = ShowControls(title);
  std::fprintf(stderr, "quarn: %s%s\n", caption.empty() ? "" : (caption + ": ").c_str(),
               line.c_str());
}

}  // namespace

std::vector<std::string> ButtonCaptions(int buttons) {
  switch (buttons) {
    case msgbox::OkCancel:
      return {"OK", "Zrušit"};
    case msgbox::YesNo:
      return {"Ano", "Ne"};
    case msgbox::YesNoCancel:
      return {"Ano", "Ne", "Zrušit"};
    default:
      return {"OK"};
  }
}

int ResultOf(int buttons, int pressedIndex) {
  const std::vector<int> results = ResultsOf(buttons);
  if (pressedIndex >= 0 && pressedIndex < static_cast<int>(results.size())) {
    return results[static_cast<size_t>(pressedIndex)];
  }
  return msgbox::ResultNone;
}

MsgBoxSetup PrepareMsgBox(int buttons, int icon, const std::string& title) {
  MsgBoxSetup s;
  int defaultIcon = msgbox::IconNone;
  switch (buttons) {
    case msgbox::OkCancel:
      s.Wanted = {false, false, true, true};
      defaultIcon = msgbox::IconExclamation;
      break;
    case msgbox::YesNo:
      s.Wanted = {true, true, false, false};
      defaultIcon = msgbox::IconQuestion;
      break;
    case msgbox::YesNoCancel:
      s.Wanted = {true, true, false, true};
      defaultIcon = msgbox::IconQuestion;
      break;
    default:  // 0, anything above 3, and (used by no caller) below 0
      s.Wanted = {false, false, true, false};
      break;
  }
  s.IconKind = icon == msgbox::IconDefault ? defaultIcon : icon;
  // Mended: a kind no picture belongs to would name no file; it shows no icon.
  if (s.IconKind < msgbox::IconInformation || s.IconKind > msgbox::IconCritical) {
    s.IconKind = msgbox::IconNone;
  }
  s.Title = title.empty() ? AppTitle : title;
  return s;
}

std::string IconFile(int iconKind) {
  switch (iconKind) {
    case msgbox::IconInformation:
      return "iInformation.bmp";
    case msgbox::IconQuestion:
      return "iQuestion.bmp";
    case msgbox::IconExclamation:
      return "iExclamation.bmp";
    case msgbox::IconCritical:
      return "iCritical.bmp";
    default:
      return "";
  }
}

int ResultOfClick(int clickedButton) {
  switch (clickedButton) {
    case BtnYes:
      return msgbox::ResultYes;
    case BtnNo:
      return msgbox::ResultNo;
    case BtnOk:
      return msgbox::ResultOk;
    case BtnCancel:
      return msgbox::ResultCancel;
    default:
      return msgbox::ResultNone;
  }
}

int ChooseByKey(int virtualKey, const ButtonFlags& shown, int clickedButton) {
  switch (virtualKey) {
    case 'A':  // Ano
    case 'Y':
      return BtnYes;
    case 'N':
      return BtnNo;
    case 'O':
      return BtnOk;
    case 'C':
      return BtnCancel;
    case vk::Enter:
      if (shown[BtnYes - 1]) clickedButton = BtnYes;
      if (shown[BtnOk - 1]) clickedButton = BtnOk;
      return clickedButton;
    case vk::Escape:  // with Yes, No and Cancel shown it means Cancel
      if (shown[BtnNo - 1]) clickedButton = BtnNo;
      if (shown[BtnCancel - 1]) clickedButton = BtnCancel;
      return clickedButton;
    default:
      return clickedButton;
  }
}

bool ChoiceCloses(int clickedButton, const ButtonFlags& shown) {
  return clickedButton >= BtnYes && clickedButton <= BtnCancel &&
         shown[static_cast<size_t>(clickedButton - 1)];
}

std::string PicturesMessage(const PictureProblem& problem) {
  const std::filesystem::path p(problem.File);
  // Mended: chosen by the loader's reason, not by its words, which had changed under the check.
  const bool missing = problem.Why == PictureProblem::Reason::Missing;
  // Three lines: the dialog puts up to three lines of a short message beside its icon.
  std::string text = "Obrázky hry chybí nebo jsou poškozené.\n";
  text += "Složka: " + p.parent_path().string() + "\n";
  text += "Soubor: " + p.filename().string() + (missing ? " (chybí)" : " (nelze jej přečíst)");
  return text;
}

Dialog::Dialog(platform::App& app, const std::filesystem::path& dataFolder)
    : app_(app), folder_(dataFolder) {}

Dialog::~Dialog() {
  // The buttons' timer and controls go before the window they are in.
  buttons_.reset();
}

void Dialog::Load() {
  platform::WindowOptions o;
  o.Title = AppTitle;
  o.Width = 300;
  o.Height = 105;
  o.Borderless = false;
  o.ScaleAsWidth = 800;
  o.ScaleAsHeight = 600;
  window_ = std::make_unique<platform::Window>(app_, o);
  window_->Root().Background = DialogBackground;

  icon_ = std::make_unique<platform::Image>();
  icon_->Bounds = SDL_Rect{Px(-dialog::IconEdge), Px(dialog::Margin), Px(dialog::IconEdge),
                           Px(dialog::IconEdge)};
  label_ = std::make_unique<platform::Label>(app_.FontSet());
  label_->Font = DialogFont;
  label_->Fore = DialogText;
  label_->WordWrap = true;
  window_->Root().Children = {icon_.get(), label_.get()};

  // SkinIt: the strips in index order.
  buttons_ = std::make_unique<PictureButtons>(folder_);
  for (int i = BtnYes; i <= BtnCancel; ++i) {
    const SDL_Rect frame{0, 0, DialogButtonWidths[static_cast<size_t>(i - 1)], ButtonHeight};
    if (auto error = buttons_->Add(DialogStripFiles[static_cast<size_t>(i - 1)], frame,
                                   [this, i] { Choose(i); })) {
      NotePictureProblem(*error);
    }
  }
  buttons_->PutInto(window_->Root());
  buttons_->Attach(*window_, app_.Timers());

  window_->OnKeyDown = [this](int virtualKey) { OnKey(virtualKey); };
  // Closed by its frame: no button was chosen.
  window_->OnCloseRequest = [this] { window_->Hide(); };
}

void Dialog::NotePictureProblem(const PictureProblem& problem) {
  // Mended: a picture missing for the report itself would otherwise be reported before every
  // later question.
  if (reported_.insert(problem.Describe()).second) pictureProblems_.push_back(problem);
}

void Dialog::ReportPictureProblems() {
  if (reporting_ || pictureProblems_.empty()) return;
  reporting_ = true;
  const std::vector<PictureProblem> problems = std::move(pictureProblems_);
  pictureProblems_.clear();
  for (const PictureProblem& problem : problems) {
    SkinMsgBox(PicturesMessage(problem), msgbox::OkOnly, msgbox::IconCritical, "");
  }
  reporting_ = false;
}

int Dialog::SkinMsgBox(const std::string& prompt, int buttons, int icon, const std::string& title) {
  const MsgBoxSetup setup = PrepareMsgBox(buttons, icon, title);
  if (app_.AnswerInstead) {
    Print(title, prompt);
    return ResultOf(buttons, app_.AnswerInstead(setup.Title, prompt, ButtonCaptions(buttons)));
  }
  if (app_.QuitRequested()) return msgbox::ResultNone;
  // Mended: a question asked while the dialog already waits (from a timer of another window)
  // would lay the open dialog out anew under its player; it gets no answer instead.
  if (window_ && window_->Shown()) return msgbox::ResultNone;
  if (!window_) {
    try {
      Load();
    } catch (const std::exception& e) {
      // No window of our own can be made: the system's message box is all there is.
      std::fprintf(stderr, "quarn: %s\n", ShowControls(e.what()).c_str());
      window_.reset();
      buttons_.reset();
      Print(title, prompt);
      return ResultOf(buttons, app_.Ask(setup.Title, prompt, ButtonCaptions(buttons)));
    }
  }
  ReportPictureProblems();
  if (app_.QuitRequested()) return msgbox::ResultNone;
  Print(title, prompt);

  wanted_ = setup.Wanted;
  const bool hasIcon = setup.IconKind != msgbox::IconNone;
  if (hasIcon) {
    // Read again for every question.
    auto loaded = LoadGraphicsFile(folder_, IconFile(setup.IconKind));
    if (auto* picture = std::get_if<quarn::SurfacePtr>(&loaded)) {
      iconPicture_ = std::move(*picture);
    } else {
      iconPicture_.reset();
      NotePictureProblem(std::get<PictureProblem>(loaded));
    }
    icon_->Picture = iconPicture_.get();
  }
  window_->SetCaption(ShowControls(setup.Title));
  clicked_ = 0;
  // Whatever a message quotes (a file name, a zone's title) shows its control characters
  // escaped, as on stderr; only the message's own line feeds break lines.
  ShowText(ShowControls(prompt, "\n"), hasIcon);
  buttons_->HoverTimer()->SetEnabled(true);
  app_.ShowModal(*window_);
  // Mended: a wait ended by the program's quit leaves the dialog on screen; it goes with the rest.
  window_->Hide();
  // A hidden dialog is not the active window: its looks rest until it is shown again.
  buttons_->HoverTimer()->SetEnabled(false);
  const int result = app_.QuitRequested() ? msgbox::ResultNone : ResultOfClick(clicked_);
  ReportPictureProblems();
  return result;
}

void Dialog::ShowText(const std::string& t, bool icon) {
  buttons_->ClearPressed();
  TTF_Font* font = app_.FontSet().Get(DialogFont);
  // Mended: with no font at all there is no line height to ask for; the text is then not drawn
  // either, and the dialog keeps its icon and buttons.
  const int lineHeight = font ? TTF_FontLineSkip(font) : 0;
  const TextMeasure measure{
      [this](std::string_view line) {
        return static_cast<double>(app_.FontSet().Measure(DialogFont, std::string(line)).x);
      },
      static_cast<double>(lineHeight)};
  ShownText shown = FitToScreen(t, icon, wanted_, measure);
  layout_ = shown.Layout;
  const DialogLayout& l = layout_;
  // The icon's picture stays as it was when there is none to show; it is only moved away.
  icon_->Bounds.x = Px(l.IconX);
  icon_->Bounds.y = Px(l.IconY);
  label_->Caption = std::move(shown.Text);
  label_->Bounds = SDL_Rect{Px(l.LabelX), Px(l.LabelY), Px(std::ceil(l.LabelWidth)),
                            Px(std::ceil(l.LabelHeight))};
  for (int i = BtnYes; i <= BtnCancel; ++i) {
    const size_t k = static_cast<size_t>(i - 1);
    buttons_->MoveTo(i, Px(l.ButtonX[k]), Px(l.ButtonY));
    buttons_->SetVisible(i, l.Shown[k]);
  }
  window_->SetClientSize(Px(l.ClientWidth), Px(l.ClientHeight));
  window_->CentreOnScreen();
  window_->Invalidate();
}

void Dialog::OnKey(int virtualKey) {
  clicked_ = ChooseByKey(virtualKey, layout_.Shown, clicked_);
  if (ChoiceCloses(clicked_, layout_.Shown)) window_->Hide();
}

void Dialog::Choose(int button) {
  clicked_ = button;
  window_->Hide();
}

}  // namespace quarn::ui
