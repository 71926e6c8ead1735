// DialogTest.cpp — the game's dialog: its layout as numbers, its keys, and the modal wait.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/App.h"
#include "render/PictureSet.h"
#include "ui/Dialog.h"
#include "ui/KeyFeed.h"

namespace quarn::ui {
namespace {

// Every byte 7 pixels wide, lines 15 pixels high.
const TextMeasure Fixed{
    [](std::string_view line) { return 7.0 * static_cast<double>(line.size()); }, 15};
const ButtonFlags YesNo{true, true, false, false};
const ButtonFlags YesNoCancel{true, true, false, true};
const ButtonFlags OkOnly{false, false, true, false};
const ButtonFlags OkCancel{false, false, true, true};

TEST(DialogLayout, AOneLinePromptStandsBesideTheIcon) {
  const DialogLayout l = LayOut("Podporuje tvá zvuková karta DirectSound?", true, YesNo, Fixed);
  EXPECT_EQ(l.IconX, 12);
  EXPECT_EQ(l.IconY, 12);
  EXPECT_EQ(l.LabelX, 56);
  EXPECT_EQ(l.LabelY, (32 - 15) / 2.0 + 12);
  EXPECT_EQ(l.ButtonY, 56);
  EXPECT_EQ(l.ClientHeight, 105);
  const double textWidth =
      7.0 * static_cast<double>(std::string("Podporuje tvá zvuková karta DirectSound?").size());
  EXPECT_EQ(l.LabelWidth, textWidth);
  EXPECT_EQ(l.ClientWidth, 56 + textWidth + 12);
  EXPECT_EQ(l.Lines, 0);
  // Yes and No, 100 wide with 12 between, centred.
  EXPECT_EQ(l.ButtonX[1] - l.ButtonX[0], 112);
  EXPECT_DOUBLE_EQ(l.ButtonX[0], l.ClientWidth - (l.ButtonX[1] + 100));
  EXPECT_EQ(l.Shown, YesNo);

  // Without an icon the text starts at 12 and the window is 44 narrower.
  const DialogLayout bare = LayOut("Podporuje tvá zvuková karta DirectSound?", false, YesNo, Fixed);
  EXPECT_EQ(bare.IconX, -32);
  EXPECT_EQ(bare.LabelX, 12);
  EXPECT_EQ(l.ClientWidth - bare.ClientWidth, 44);
}

TEST(DialogLayout, ButtonRowsAreCentred) {
  const DialogLayout three = LayOut(std::string(60, 'x'), true, YesNoCancel, Fixed);
  EXPECT_EQ(three.ButtonX[3] + 37 - three.ButtonX[0], 261);
  EXPECT_DOUBLE_EQ(three.ButtonX[0], three.ClientWidth - (three.ButtonX[3] + 37));
  EXPECT_EQ(three.ButtonX[1] - three.ButtonX[0], 112);
  EXPECT_FALSE(three.Shown[2]);

  const DialogLayout ok = LayOut(std::string(60, 'x'), true, OkOnly, Fixed);
  EXPECT_DOUBLE_EQ(ok.ButtonX[2], (ok.ClientWidth - 62) / 2);
}

TEST(DialogLayout, TheWinMessageStandsOnTwoLines) {
  const std::string t = "Vyhrál jsi!\nHrát znovu?";
  EXPECT_EQ(Fixed.Width(t), 7.0 * static_cast<double>(std::string("Vyhrál jsi!").size()));
  EXPECT_EQ(Fixed.Height(t), 30);
  const DialogLayout l = LayOut(t, true, YesNo, Fixed);
  EXPECT_EQ(l.Lines, 0);
  EXPECT_EQ(l.LabelHeight, 30);
  EXPECT_EQ(l.LabelY, 13);
  EXPECT_EQ(l.ClientHeight, 105);
  // The text is narrower than Yes and No: the window is as wide as the row and its margins.
  EXPECT_EQ(l.ClientWidth, 12 + 212 + 12);
  EXPECT_EQ(l.ButtonX[0], 12);
}

TEST(DialogLayout, ManyShortLinesPushTheButtonsDown) {
  // Three lines still stand centred on the icon; a fourth would run into the buttons.
  const DialogLayout three = LayOut("a\nb\nc", true, OkOnly, Fixed);
  EXPECT_EQ(three.LabelY, (32 - 45) / 2.0 + 12);
  EXPECT_EQ(three.ButtonY, 56);
  const DialogLayout four = LayOut("a\nb\nc\nd", true, OkOnly, Fixed);
  EXPECT_EQ(four.LabelY, 12);
  EXPECT_EQ(four.ButtonY, 60 + 24);
  EXPECT_EQ(four.ClientHeight, 60 + 24 + 37 + 12);
}

TEST(DialogLayout, APromptWiderThan720IsWrappedBelow640) {
  // 40 words of 5 letters: 42 pixels for a word and its space. A line ends at the last space that
  // fits under 640 (15 words make 630 with their spaces, 16 would make 672): 15, 15 and 10 words.
  std::string t;
  for (int i = 0; i < 40; ++i) t += (i ? " " : "") + std::string("slovo");
  ASSERT_GT(Fixed.Width(t), 720);
  const DialogLayout l = LayOut(t, true, OkOnly, Fixed);
  EXPECT_EQ(l.Lines, 3);
  EXPECT_EQ(l.LabelWidth, 15 * 35 + 14 * 7);  // the widest line, without its last space
  EXPECT_EQ(l.LabelY, 12);
  EXPECT_EQ(l.LabelHeight, 45);
  EXPECT_DOUBLE_EQ(l.IconY, (45 - 32) / 3.0 + 12);  // a third of the spare height
  EXPECT_EQ(l.ButtonY, 45 + 24);
  EXPECT_EQ(l.ClientHeight, 45 + 24 + 37 + 12);
  EXPECT_EQ(l.ClientWidth, 56 + 623 + 12);

  // A line feed changes no count, but the label is the prompt's own height per counted line.
  std::string fed = t;
  fed.replace(fed.find(' '), 1, " \n");
  const DialogLayout f = LayOut(fed, true, OkOnly, Fixed);
  EXPECT_EQ(f.Lines, 3);
  EXPECT_EQ(f.LabelWidth, l.LabelWidth);
  EXPECT_EQ(f.LabelHeight, 2 * 15 * 3);

  // A prompt not wider than 720 stays on its line, however near.
  EXPECT_EQ(LayOut(std::string(720 / 7, 'x'), true, OkOnly, Fixed).Lines, 0);
}

// The text without the spaces that a wrap may have put in or taken out.
std::string WithoutSpaces(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\n') out += c;
  }
  return out;
}

TEST(DialogText, LongWordsWrapAndNothingIsDropped) {
  // A path of 110 bytes is 770 pixels, wider than any line: it used to end the wrapping, and the
  // box showed the first line alone.
  const std::string path = "/home/hráč/" + std::string(96, 'x') + "/z.qrn";
  const std::string prompt = "Zónu nelze otevřít.\n" + path + ":3: chybí řádek";
  const ShownText shown = FitToScreen(prompt, true, OkOnly, Fixed);
  EXPECT_FALSE(shown.Cut);
  EXPECT_EQ(WithoutSpaces(shown.Text), WithoutSpaces(prompt));
  EXPECT_GE(shown.Layout.Lines, 3) << shown.Text;
  EXPECT_LT(shown.Layout.LabelWidth, 640);
  for (const std::string_view piece : {std::string_view(shown.Text)}) {
    size_t at = 0;
    while (at < piece.size()) {
      const size_t end = std::min(piece.find_first_of(" \n", at), piece.size());
      EXPECT_LT(Fixed.LineWidth(piece.substr(at, end - at)), 640) << piece.substr(at, end - at);
      at = end + 1;
    }
  }
  // Broken between whole characters, however wide each one is.
  const std::string czech = [] {
    std::string s;
    for (int i = 0; i < 200; ++i) s += "ř";
    return s;
  }();
  const std::string broken = BreakLongWords(czech, Fixed);
  EXPECT_EQ(WithoutSpaces(broken), czech);
  for (size_t at = broken.find(' '); at != std::string::npos; at = broken.find(' ', at + 1)) {
    EXPECT_NE(static_cast<unsigned char>(broken[at + 1]) & 0xC0, 0x80) << "cut inside a letter";
  }
  // Words that fit are left as they are, and so are lines that need no wrapping.
  EXPECT_EQ(BreakLongWords("Vyhrál jsi!\nHrát znovu?", Fixed), "Vyhrál jsi!\nHrát znovu?");
  const std::string folders = "Zóny jsou ve složkách:\n/" + std::string(80, 'a') + "\n/b";
  EXPECT_EQ(FitToScreen(folders, true, OkOnly, Fixed).Text, folders);
}

TEST(DialogText, TheBoxStaysOnTheScreenAndTheWorkGrowsWithTheText) {
  // 120 lines, as from a file name full of line feeds: the box would be 1 900 pixels tall.
  std::string many = "Zónu nelze otevřít.";
  for (int i = 0; i < 120; ++i) many += "\nřádek " + std::to_string(i);
  const ShownText capped = FitToScreen(many, true, OkOnly, Fixed);
  EXPECT_TRUE(capped.Cut);
  EXPECT_LE(capped.Layout.ClientHeight, MaxDialogClientHeight);
  EXPECT_EQ(capped.Text.rfind("Zónu nelze otevřít.\nřádek 0\n", 0), 0u);
  EXPECT_NE(capped.Text.find("chybovém výstupu"), std::string::npos);
  EXPECT_GE(capped.Layout.ButtonY + 30, capped.Layout.LabelY + capped.Layout.LabelHeight);

  // A text of 3 791 characters in words: each byte is measured a bounded number of times, not
  // once per line for every line (which took 13 seconds with the real font).
  std::string longText;
  while (longText.size() < 3791) longText += "slovo" + std::to_string(longText.size() % 97) + " ";
  longText.resize(3791);
  size_t calls = 0, bytes = 0;
  const TextMeasure counting{[&](std::string_view line) {
                               ++calls;
                               bytes += line.size();
                               return 7.0 * static_cast<double>(line.size());
                             },
                             15};
  const ShownText shown = FitToScreen(longText, true, OkOnly, counting);
  EXPECT_LE(shown.Layout.ClientHeight, MaxDialogClientHeight);
  EXPECT_LT(calls, 3 * longText.size()) << calls;
  EXPECT_LT(bytes, 300 * longText.size()) << bytes;
}

TEST(DialogChoice, SetsIconsTitlesAndResults) {
  const MsgBoxSetup question = PrepareMsgBox(msgbox::YesNo, msgbox::IconDefault, "");
  EXPECT_EQ(question.Wanted, YesNo);
  EXPECT_EQ(question.IconKind, msgbox::IconQuestion);
  EXPECT_EQ(question.Title, "Quarn");
  EXPECT_EQ(IconFile(question.IconKind), "iQuestion.bmp");
  EXPECT_EQ(PrepareMsgBox(msgbox::OkCancel, 0, "").IconKind, msgbox::IconExclamation);
  EXPECT_EQ(PrepareMsgBox(msgbox::YesNoCancel, 0, "").Wanted, YesNoCancel);
  EXPECT_EQ(PrepareMsgBox(msgbox::OkOnly, 0, "T").IconKind, msgbox::IconNone);
  EXPECT_EQ(PrepareMsgBox(msgbox::OkOnly, 0, "T").Title, "T");
  EXPECT_EQ(PrepareMsgBox(7, msgbox::IconCritical, "").Wanted, OkOnly);  // above 3: OK
  EXPECT_EQ(PrepareMsgBox(msgbox::YesNo, msgbox::IconNone, "").IconKind, msgbox::IconNone);

  EXPECT_EQ(ResultOfClick(BtnYes), msgbox::ResultYes);
  EXPECT_EQ(ResultOfClick(BtnNo), msgbox::ResultNo);
  EXPECT_EQ(ResultOfClick(BtnOk), msgbox::ResultOk);
  EXPECT_EQ(ResultOfClick(BtnCancel), msgbox::ResultCancel);
  EXPECT_EQ(ResultOfClick(0), msgbox::ResultNone);

  // Answered instead of the player: by the index of a caption, none when closed.
  EXPECT_EQ(ButtonCaptions(msgbox::YesNoCancel), (std::vector<std::string>{"Ano", "Ne", "Zrušit"}));
  EXPECT_EQ(ResultOf(msgbox::YesNoCancel, 1), msgbox::ResultNo);
  EXPECT_EQ(ResultOf(msgbox::OkCancel, 1), msgbox::ResultCancel);
  EXPECT_EQ(ResultOf(msgbox::YesNo, -1), msgbox::ResultNone);
}

TEST(DialogChoice, Keys) {
  constexpr int Enter = 13, Esc = 27;
  // Yes/No: Enter is Yes, Esc is No; O chooses the hidden OK, which closes nothing, and a later
  // choice replaces it.
  EXPECT_EQ(ChooseByKey(Enter, YesNo, 0), BtnYes);
  EXPECT_EQ(ChooseByKey(Esc, YesNo, 0), BtnNo);
  const int hidden = ChooseByKey('O', YesNo, 0);
  EXPECT_EQ(hidden, BtnOk);
  EXPECT_FALSE(ChoiceCloses(hidden, YesNo));
  EXPECT_EQ(ChooseByKey('N', YesNo, hidden), BtnNo);
  EXPECT_TRUE(ChoiceCloses(BtnNo, YesNo));
  // A for Ano, as the help says; Y too.
  EXPECT_EQ(ChooseByKey('A', YesNo, 0), BtnYes);
  EXPECT_EQ(ChooseByKey('Y', YesNo, 0), BtnYes);
  // With Cancel shown Esc is Cancel; Enter on OK and Cancel is OK.
  EXPECT_EQ(ChooseByKey(Esc, YesNoCancel, 0), BtnCancel);
  EXPECT_EQ(ChooseByKey(Enter, OkCancel, 0), BtnOk);
  EXPECT_EQ(ChooseByKey(Esc, OkCancel, 0), BtnCancel);
  // OK alone: Esc does nothing, nor does a key that chooses nothing.
  EXPECT_EQ(ChooseByKey(Esc, OkOnly, 0), 0);
  EXPECT_EQ(ChooseByKey('X', OkOnly, 0), 0);
  EXPECT_EQ(ChooseByKey(' ', YesNo, BtnOk), BtnOk);
  EXPECT_FALSE(ChoiceCloses(0, OkOnly));
  EXPECT_EQ(ChooseByKey('Y', OkOnly, 0), BtnYes);
  EXPECT_EQ(ChooseByKey(Enter, OkOnly, BtnYes), BtnOk);
}

TEST(DialogPictures, AMissingPictureIsToldAsMissingAndABrokenOneAsUnreadable) {
  // The words come from the loader's reason: the loader's own text once differed from what the
  // message looked for, and every picture was called unreadable.
  const std::filesystem::path base =
      std::filesystem::temp_directory_path() / "quarn-dialog-pictures";
  std::filesystem::remove_all(base);
  std::filesystem::create_directories(base / "Graphics");
  std::ofstream(base / "Graphics" / "iCritical.bmp") << "not a picture";
  auto missing = LoadGraphicsFile(base, "iQuestion.bmp");
  auto broken = LoadGraphicsFile(base, "iCritical.bmp");
  ASSERT_TRUE(std::holds_alternative<PictureProblem>(missing));
  ASSERT_TRUE(std::holds_alternative<PictureProblem>(broken));
  EXPECT_EQ(PicturesMessage(std::get<PictureProblem>(missing)),
            "Obrázky hry chybí nebo jsou poškozené.\nSložka: " + (base / "Graphics").string() +
                "\nSoubor: iQuestion.bmp (chybí)");
  const std::string unreadable = PicturesMessage(std::get<PictureProblem>(broken));
  EXPECT_NE(unreadable.find("Soubor: iCritical.bmp (nelze jej přečíst)"), std::string::npos)
      << unreadable;
  std::filesystem::remove_all(base);
}

// The dialog itself on SDL's dummy display, answered by keys and clicks that arrive while it
// waits, as the player's would.
class DialogWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    app = std::make_unique<platform::App>(keyFeed, clock);
    dialog = std::make_unique<Dialog>(*app, QUARN_BIN_DIR);
    script = std::make_unique<platform::Timer>(app->Timers(), [this] { Step(); });
    script->SetInterval(0);
  }
  void TearDown() override {
    script.reset();
    dialog.reset();
    app.reset();
  }
  // Each tick of the script timer runs one step while the dialog waits.
  void Step() {
    if (steps.empty()) return;
    auto step = std::move(steps.front());
    steps.pop_front();
    step();
  }
  int Ask(const std::string& prompt, int buttons, int icon = 0) {
    script->SetEnabled(true);
    const int result = dialog->SkinMsgBox(prompt, buttons, icon, "");
    script->SetEnabled(false);
    return result;
  }
  void Key(SDL_Keycode key, SDL_Scancode code) {
    steps.push_back([this, key, code] {
      SDL_Event e{};
      e.type = SDL_KEYDOWN;
      e.key.keysym.sym = key;
      e.key.keysym.scancode = code;
      e.key.windowID = dialog->Window()->Id();
      SDL_PushEvent(&e);
    });
  }
  void Mouse(Uint32 type, uint32_t windowId, int x, int y) {
    steps.push_back([type, windowId, x, y] {
      SDL_Event e{};
      e.type = type;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.clicks = 1;
      e.button.x = x;
      e.button.y = y;
      e.button.windowID = windowId;
      SDL_PushEvent(&e);
    });
  }
  KeyState keys;
  KeyFeed keyFeed{keys};
  platform::SteadyClock clock;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<Dialog> dialog;
  std::unique_ptr<platform::Timer> script;
  std::deque<std::function<void()>> steps;
};

TEST_F(DialogWindow, KeysAndClicksAnswerTheModalDialog) {
  EXPECT_EQ(dialog->Window(), nullptr);  // made on the first question
  Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
  EXPECT_EQ(Ask("Vyhrál jsi!\nHrát znovu?", msgbox::YesNo, msgbox::IconQuestion),
            msgbox::ResultYes);
  platform::Window* w = dialog->Window();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->Shown());
  EXPECT_EQ(dialog->Text()->Lines(), (std::vector<std::string>{"Vyhrál jsi!", "Hrát znovu?"}));
  EXPECT_EQ(w->ClientHeight(), 105);
  EXPECT_EQ(w->ClientWidth(), static_cast<int>(std::lround(dialog->Layout().ClientWidth)));
  EXPECT_NE(dialog->Icon()->Picture, nullptr);
  EXPECT_EQ(dialog->Icon()->Bounds.x, 12);
  EXPECT_STREQ(SDL_GetWindowTitle(w->Native()), "Quarn");
  // The key answered the dialog; the game never saw it.
  EXPECT_EQ(keys.GetAsyncKeyState(13), 0);

  // O on Yes/No shows nothing; N then answers No. The window is the same one.
  Key(SDLK_o, SDL_SCANCODE_O);
  Key(SDLK_x, SDL_SCANCODE_X);
  steps.push_back([this] { EXPECT_TRUE(dialog->Window()->Shown()); });
  Key(SDLK_n, SDL_SCANCODE_N);
  EXPECT_EQ(Ask("Otázka", msgbox::YesNo), msgbox::ResultNo);
  EXPECT_EQ(dialog->Window(), w);

  // OK alone: Esc leaves it open; a click on OK answers. Meanwhile a click on another window
  // does nothing, and the timers go on (the script is one).
  platform::Window other(*app, platform::WindowOptions{});
  platform::Shape spot;
  spot.Bounds = SDL_Rect{0, 0, 100, 100};
  int otherClicks = 0;
  spot.OnClick = [&] { ++otherClicks; };
  other.Root().Children = {&spot};
  other.Show();
  Key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
  Mouse(SDL_MOUSEBUTTONDOWN, other.Id(), 10, 10);
  Mouse(SDL_MOUSEBUTTONUP, other.Id(), 10, 10);
  steps.push_back([this] {
    ASSERT_TRUE(dialog->Window()->Shown());
    const SDL_Rect ok = dialog->Buttons()->Frame(BtnOk).Bounds;
    EXPECT_TRUE(dialog->Buttons()->Visible(BtnOk));
    EXPECT_FALSE(dialog->Buttons()->Visible(BtnYes));
    EXPECT_EQ(ok.y, 56);
    // The look of the dialog: dark blue, the OK strip's normal look in its frame.
    SDL_Surface* f = dialog->Window()->Compose();
    const auto pixel = [f](int x, int y) {
      return static_cast<uint32_t*>(f->pixels)[y * f->pitch / 4 + x] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(2, 2), 0x000080u);
    EXPECT_NE(pixel(ok.x + 31, ok.y + 15), 0x000080u);
    const uint32_t windowId = dialog->Window()->Id();
    Mouse(SDL_MOUSEBUTTONDOWN, windowId, ok.x + 5, ok.y + 5);
    Mouse(SDL_MOUSEBUTTONUP, windowId, ok.x + 6, ok.y + 6);
  });
  EXPECT_EQ(Ask("Zpráva", msgbox::OkOnly), msgbox::ResultOk);
  EXPECT_EQ(otherClicks, 0);
  EXPECT_EQ(dialog->Icon()->Bounds.x, -32);

  // Closed by its frame: no answer.
  steps.push_back([this] {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = dialog->Window()->Id();
    SDL_PushEvent(&e);
  });
  EXPECT_EQ(Ask("Otázka", msgbox::YesNoCancel), msgbox::ResultNone);
}

TEST_F(DialogWindow, QuotedInputIsShownEscapedAndALongMessageKeepsItsButtonOnTheScreen) {
  // A file name with an escape sequence, a C1 control and a path too long for a line, then many
  // lines: the terminal and the box both get the escaped form, the box no taller than the screen.
  std::string prompt = "Zónu nelze otevřít.\n/tmp/e\x1b[2Jvil\xc2\x9b" + std::string(120, 'x') +
                       ".qrn: soubor chybí";
  for (int i = 0; i < 120; ++i) prompt += "\nřádek " + std::to_string(i);
  steps.push_back([this] {
    const std::string shown = dialog->Text()->Caption;
    EXPECT_EQ(shown.find('\x1b'), std::string::npos);
    EXPECT_NE(shown.find("e\\x1B[2Jvil\\u009B"), std::string::npos) << shown;
    EXPECT_NE(shown.find("chybovém výstupu"), std::string::npos);
    platform::Window* w = dialog->Window();
    EXPECT_LE(w->ClientHeight(), MaxDialogClientHeight);
    const SDL_Rect ok = dialog->Buttons()->Frame(BtnOk).Bounds;
    EXPECT_LE(ok.y + ok.h, w->ClientHeight());
    // The label is tall enough for every line it shows.
    EXPECT_LE(static_cast<int>(dialog->Text()->Lines().size()) * 15, dialog->Text()->Bounds.h + 15);
  });
  Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Ask(prompt, msgbox::OkOnly, msgbox::IconCritical), msgbox::ResultOk);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.find('\x1b'), std::string::npos);
  EXPECT_EQ(err.find("\xc2\x9b"), std::string::npos);
  EXPECT_NE(err.find("e\\x1B[2Jvil\\u009B"), std::string::npos) << err;
  EXPECT_NE(err.find("řádek 119\n"), std::string::npos) << "stderr has the whole message";
}

TEST_F(DialogWindow, AQuitEndsTheWaitWithoutAnAnswer) {
  steps.push_back([this] { app->Quit(); });
  EXPECT_EQ(Ask("Otázka", msgbox::YesNo), msgbox::ResultNone);
  EXPECT_FALSE(dialog->Window()->Shown());
  // Asked for once, the quit holds: later questions are not shown at all.
  EXPECT_EQ(Ask("Otázka", msgbox::YesNo), msgbox::ResultNone);
  app->Run();  // returns at once
}

}  // namespace
}  // namespace quarn::ui
