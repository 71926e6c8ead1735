// Dialog.cpp — frmDialog: SkinMsgBox, ShowText's layout, the keys and the picture buttons.
#include "Dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <variant>

#include "render/PictureSet.h"
#include "zone/Text.h"

namespace quarn::ui {

namespace {

const platform::FontSpec DialogFont{"Arial", 9.75, true};
constexpr platform::Colour DialogBackground{0, 0, 128};
constexpr platform::Colour DialogText{255, 255, 255};
constexpr double IconEdge = 32;
constexpr double Margin = 12;
constexpr double ButtonGap = 24;  // between the content and the buttons
constexpr double ButtonRow = 37;  // the buttons' 30 pixels and the space under them
constexpr double WrapAbove = 720;
constexpr double LineBelow = 640;

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
    case 'Y':
      return BtnYes;
    case 'N':
      return BtnNo;
    case 'O':
      return BtnOk;
    case 'C':
      return BtnCancel;
    case 13:  // Enter
      if (shown[BtnYes - 1]) clickedButton = BtnYes;
      if (shown[BtnOk - 1]) clickedButton = BtnOk;
      return clickedButton;
    case 27:  // Esc: with Yes, No and Cancel shown it means Cancel
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

double TextMeasure::Width(std::string_view text) const {
  double widest = 0;
  size_t start = 0;
  while (true) {
    const size_t end = text.find_first_of("\n\r", start);
    widest = std::max(widest, LineWidth(text.substr(start, end == text.npos ? end : end - start)));
    if (end == text.npos) return widest;
    start = end + 1;
  }
}

double TextMeasure::Height(std::string_view text) const {
  const auto breaks =
      std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
  return LineHeight * static_cast<double>(breaks + 1);
}

DialogLayout LayOut(std::string_view t, bool icon, const ButtonFlags& wanted,
                    const TextMeasure& measure) {
  DialogLayout l;
  l.IconX = icon ? Margin : -IconEdge;
  l.LabelX = l.IconX + IconEdge + Margin;
  const double width = measure.Width(t);
  if (t.find('\r') == t.npos && width <= WrapAbove) {
    l.LabelWidth = width;
    l.LabelHeight = measure.Height(t);
    l.LabelY = (IconEdge - l.LabelHeight) / 2 + Margin;
    l.IconY = Margin;
    l.ContentHeight = IconEdge;
    // Mended: lines taller than the icon and both margins, centred on the icon, would start
    // above the window and run into the buttons; they start at the top margin and push the
    // buttons down instead.
    if (l.LabelHeight > IconEdge + 2 * Margin) {
      l.LabelY = Margin;
      l.ContentHeight = l.LabelHeight;
    }
  } else {
    // The working copy: a space at the end and before every carriage return, no line feeds.
    std::string w;
    for (char c : t) {
      if (c == '\r') w += ' ';
      if (c != '\n') w += c;
    }
    w += ' ';
    double widest = 0;
    int lines = 0;
    size_t from = 0;  // where the rest of w begins
    while (true) {
      size_t brk = 0;  // 1-based position (from `from`) of the last space that fits, 0 for none
      const std::string_view rest = std::string_view(w).substr(from);
      for (size_t i = 0; i < rest.size() && rest[i] != '\r'; ++i) {
        if (rest[i] != ' ') continue;
        // Mended: a longer start of the line is never narrower, so the scan ends at the first
        // space that does not fit; scanning all the text for every line took seconds.
        if (measure.Width(rest.substr(0, i + 1)) >= LineBelow) break;
        brk = i + 1;
      }
      if (brk == 0) break;
      widest = std::max(widest, measure.Width(rest.substr(0, brk - 1)));
      from += brk;
      ++lines;
    }
    // Quirk: a long prompt with line feeds shows empty room below its text, because the label
    // is as tall as all the prompt's own lines once for every wrapped line. Kept on purpose: the
    // room is never too little, whichever way the label breaks the lines it shows.
    l.Lines = lines;
    l.LabelHeight = measure.Height(t) * lines;
    l.LabelWidth = widest;
    l.LabelY = Margin;
    // One third of the spare height above the icon, not one half.
    l.IconY = (l.LabelHeight - IconEdge) / 3 + Margin;
    l.ContentHeight = l.LabelHeight;
  }
  l.ButtonY = l.ContentHeight + ButtonGap;
  double x = 0;
  for (size_t i = 0; i < 4; ++i) {
    l.Shown[i] = wanted[i];
    if (!wanted[i]) continue;
    l.ButtonX[i] = x;
    x += DialogButtonWidths[i] + Margin;
  }
  // Mended: a short prompt ("Vyhrál jsi!") would make the window narrower than its row of
  // buttons, which would then stand cut off at both edges; the row keeps a margin on each side.
  l.ClientWidth = std::max(l.LabelX + l.LabelWidth + Margin, x + Margin);
  // The row is x - 12 wide; this centres it.
  const double shift = (l.ClientWidth - x + Margin) / 2;
  for (double& bx : l.ButtonX) bx += shift;
  l.ClientHeight = l.ContentHeight + ButtonGap + ButtonRow + Margin;
  return l;
}

namespace {

// How many bytes a UTF-8 character starting with byte b takes (1 for a stray byte).
size_t CharLength(unsigned char b) {
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

// The width of a stretch of text as the wrapping counts it: with its line feeds taken out (the
// wrapping joins the lines of a long prompt) and the space after it.
double CountedWidth(std::string_view piece, const TextMeasure& measure) {
  std::string joined;
  joined.reserve(piece.size() + 1);
  for (char c : piece) {
    if (c != '\n') joined += c;
  }
  joined += ' ';
  return measure.LineWidth(joined);
}

// Cuts word into pieces that each fit a wrapped line with the space after them, and appends them
// joined by spaces, so that every piece of it gets a line.
void AppendInPieces(std::string& out, std::string_view word, const TextMeasure& measure) {
  // No line holds more bytes than this; searching beyond it would only make long words slow.
  constexpr size_t Window = 512;
  auto fits = [&](std::string_view piece) { return CountedWidth(piece, measure) < LineBelow; };
  while (!word.empty()) {
    if (word.size() <= Window && fits(word)) {
      out += word;
      return;
    }
    // The longest start (in whole characters, at least one) that fits.
    size_t good = std::min(CharLength(static_cast<unsigned char>(word[0])), word.size());
    // The whole word is known not to fit; beyond the window nothing is tried.
    size_t bad = word.size() <= Window ? word.size() : Window + 1;
    while (bad - good > 1) {
      size_t mid = (good + bad) / 2;
      while (mid > good && (static_cast<unsigned char>(word[mid]) & 0xC0) == 0x80) --mid;
      if (mid == good) break;
      if (fits(word.substr(0, mid))) {
        good = mid;
      } else {
        bad = mid;
      }
    }
    out += word.substr(0, good);
    word.remove_prefix(good);
    if (!word.empty()) out += ' ';
  }
}

}  // namespace

std::string BreakLongWords(std::string_view text, const TextMeasure& measure) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  // Words as the wrapping sees them: between spaces, their line feeds taken out.
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view word = text.substr(start, end - start);
    if (!word.empty() && CountedWidth(word, measure) >= LineBelow) {
      AppendInPieces(out, word, measure);
    } else {
      out += word;
    }
    if (end == text.size()) break;
    out += ' ';
    start = end + 1;
  }
  return out;
}

std::string CapLines(std::string_view text, const TextMeasure& measure, int maxLines) {
  std::vector<std::string> lines;
  const std::string note = "… Zbytek zprávy se nevešel; celá je na standardním chybovém výstupu.";
  // Greedy, as the label breaks its lines: a word goes on the line while the line stays narrower
  // than a wrapped line may be.
  size_t start = 0;
  bool more = false;
  while (start <= text.size()) {
    if (static_cast<int>(lines.size()) >= maxLines) {
      more = true;
      break;
    }
    const size_t end = std::min(text.find_first_of("\n\r", start), text.size());
    const std::string_view paragraph = text.substr(start, end - start);
    std::string line;
    size_t at = 0;
    while (at < paragraph.size()) {
      const size_t wordEnd = std::min(paragraph.find(' ', at), paragraph.size());
      const std::string_view word = paragraph.substr(at, wordEnd - at);
      at = wordEnd + 1;
      if (word.empty()) continue;
      std::string candidate = line.empty() ? std::string(word) : line + ' ' + std::string(word);
      if (line.empty() || measure.LineWidth(candidate) < LineBelow) {
        line = std::move(candidate);
      } else {
        lines.push_back(std::move(line));
        line = std::string(word);
      }
    }
    lines.push_back(std::move(line));
    if (end == text.size()) break;
    start = end + 1;
  }
  if (static_cast<int>(lines.size()) > maxLines) more = true;
  if (more) lines.resize(static_cast<size_t>(std::max(maxLines - 1, 0)));
  std::string out;
  for (const std::string& line : lines) out += line + '\n';
  if (more) return out + note;
  if (!out.empty()) out.pop_back();
  return out;
}

ShownText FitToScreen(std::string_view prompt, bool icon, const ButtonFlags& wanted,
                      const TextMeasure& measure) {
  ShownText shown;
  // Mended: a word too wide for a line (a long path) stopped the wrapping, and the text after it
  // was not shown at all.
  // Only a wrapped prompt needs it: one that stands on its own lines loses nothing.
  const bool wraps = prompt.find('\r') != prompt.npos || measure.Width(prompt) > WrapAbove;
  shown.Text = wraps ? BreakLongWords(prompt, measure) : std::string(prompt);
  shown.Layout = LayOut(shown.Text, icon, wanted, measure);
  if (shown.Layout.ClientHeight <= MaxDialogClientHeight || measure.LineHeight <= 0) {
    return shown;
  }
  // Mended: a long text made the box taller than the screen, its buttons out of reach. The lines
  // that fit are shown with a note; the whole message is on stderr.
  const double room = MaxDialogClientHeight - 2 * Margin - ButtonGap - ButtonRow;
  const int maxLines = std::max(1, static_cast<int>(room / measure.LineHeight));
  shown.Text = CapLines(shown.Text, measure, maxLines);
  shown.Layout = LayOut(shown.Text, icon, wanted, measure);
  shown.Cut = true;
  return shown;
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
  icon_->Bounds = SDL_Rect{Px(-IconEdge), Px(Margin), Px(IconEdge), Px(IconEdge)};
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
