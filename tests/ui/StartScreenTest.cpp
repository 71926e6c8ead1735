// StartScreenTest.cpp — the start screen and the way between the screens, on SDL's dummy display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "FakeClock.h"
#include "platform/App.h"
#include "sound/SoundModule.h"
#include "ui/Flow.h"
#include "ui/RunProof.h"
#include "HelpKeys.h"
#include "ScriptedPrompter.h"
#include "ui/KeyFeed.h"
#include "ui/Links.h"
#include "ui/StartScreen.h"
#include "zone/TitleWidth.h"

namespace quarn::ui {
namespace {

namespace fs = std::filesystem;

uint32_t PixelAt(SDL_Surface* s, int x, int y) {
  return static_cast<uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF;
}

void WriteZone(const fs::path& file, const std::string& title) {
  std::ifstream walk(std::string(QUARN_TEST_ZONES) + "/walk.qrn");
  std::string text((std::istreambuf_iterator<char>(walk)), std::istreambuf_iterator<char>());
  text = "\"" + title + "\"" + text.substr(text.find('\n'));
  std::ofstream(file) << text;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class StartScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    root = fs::temp_directory_path() / ("quarn-start-" + std::to_string(::getpid()));
    shipped = root / "zones";
    own = root / "own";
    fs::remove_all(root);
    fs::create_directories(shipped);
    fs::create_directories(own);
    app = std::make_unique<platform::App>(keyFeed, clock);
  }
  void TearDown() override {
    flow.reset();
    screen.reset();
    catalogue.reset();
    sound.reset();
    program.reset();
    app.reset();
    fs::remove_all(root);
  }
  StartScreen& Screen() {
    if (!screen) {
      catalogue = std::make_unique<system::Catalogue>(
          std::vector<system::CatalogueRoot>{{shipped, "Základy", true}, {own, "Moje zóny"}});
      screen = std::make_unique<StartScreen>(*app, prompter, QUARN_BIN_DIR, *catalogue);
      screen->Show();
    }
    return *screen;
  }
  Flow& TheFlow(std::optional<FlowFolders> folders = std::nullopt) {
    program = std::make_unique<ProgramContext>(tickKeys, &tickKeys);
    sound = std::make_unique<SoundModule>(QUARN_BIN_DIR);
    if (!folders) folders = FlowFolders{QUARN_BIN_DIR, {shipped, own}, own, shipped};
    flow = std::make_unique<Flow>(*app, *program, *sound, prompter, *folders);
    flow->OpenInEditor = [this](const fs::path& file) {
      edited.push_back(file);
      return editorStarts;
    };
    return *flow;
  }
  void RunFor(int64_t ms) {
    for (int64_t i = 0; i < ms; ++i) {
      clock.now += 1'000'000;
      app->Timers().RunDue();
    }
  }
  std::vector<std::string> Titles() { return Screen().List().Items(); }

  fs::path root;
  fs::path shipped, own;
  KeyState keys;
  // The game reads its keys once per tick, as in the game: going back replays with them.
  TickKeys tickKeys{keys};
  KeyFeed keyFeed{keys};
  FakeClock clock;
  ScriptedPrompter prompter;
  std::unique_ptr<platform::App> app;
  std::unique_ptr<system::Catalogue> catalogue;
  std::unique_ptr<StartScreen> screen;
  std::unique_ptr<ProgramContext> program;
  std::unique_ptr<SoundModule> sound;
  std::unique_ptr<Flow> flow;
  std::vector<fs::path> edited;
  bool editorStarts = true;
};

TEST_F(StartScreenTest, TheScreenThePlayerSees) {
  WriteZone(shipped / "a.qrn", "Úvod");
  SDL_Surface* f = Screen().Window().Compose();
  ASSERT_EQ(f->w, 511);
  ASSERT_EQ(f->h, 314);
  EXPECT_EQ(PixelAt(f, 100, 305), 0x000080u);  // background
  EXPECT_EQ(PixelAt(f, 2, 100), 0x0000C0u);    // the 3-pixel frame along the edge
  EXPECT_EQ(PixelAt(f, 4, 100), 0x0000C0u);
  EXPECT_EQ(PixelAt(f, 5, 100), 0x000080u);
  EXPECT_EQ(PixelAt(f, 11, 250), 0x0000C0u);   // the frame around the list
  EXPECT_EQ(PixelAt(f, 140, 192), 0x00FFFFu);  // the first zone is selected
  EXPECT_EQ(Screen().ControlNamed("Label4").ToolTip, MailTip);
  // The keys the mouse does not show fit their three lines, on a desktop and in a browser.
  auto& keyLine = dynamic_cast<platform::Label&>(Screen().ControlNamed("lblKeys"));
  EXPECT_EQ(keyLine.Lines().size(), 3u) << keyLine.Caption;
  Screen().UseBrowserKeys([](const fs::path&, const std::string&, bool) {},
                          [](const fs::path&, const std::string&, bool) {});
  EXPECT_EQ(keyLine.Lines().size(), 3u) << ::testing::PrintToString(keyLine.Lines());
}

TEST_F(StartScreenTest, TheListFollowsTheFoldersEverySecondKeepingThePosition) {
  WriteZone(shipped / "b.qrn", "Druhá");
  WriteZone(shipped / "a.qrn", "První");
  WriteZone(shipped / "c.qrn", "Třetí");
  WriteZone(shipped / "d.qrn", "Čtvrtá");
  WriteZone(own / "a.qrn", "Moje");
  // Two sets with zones: each begins with its heading, which is never selected.
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Základy · 0/4", "První", "Druhá", "Třetí",
                                                "Čtvrtá", "Moje zóny · 0/1", "Moje"}));
  EXPECT_EQ(Screen().Zones()[4].File, own / "a.qrn");
  EXPECT_EQ(Screen().List().ListIndex(), 1);

  // The refresh keeps the position, not the zone: a file added before it shifts the zones.
  Screen().List().SetListIndex(2);
  WriteZone(shipped / "0.qrn", "Nová");
  RunFor(999);
  EXPECT_EQ(Titles().size(), 7u);
  RunFor(1);
  EXPECT_EQ(Titles()[1], "Nová");
  EXPECT_EQ(Screen().List().ListIndex(), 2);
  EXPECT_EQ(Screen().Zones()[1].File, shipped / "a.qrn");
  // A list grown shorter than the position selects its last zone.
  Screen().List().SetListIndex(7);
  fs::remove(own / "a.qrn");
  fs::remove(shipped / "d.qrn");
  RunFor(1000);
  EXPECT_EQ(Screen().List().ListIndex(), 3);
  // A list that did not change stays where the player scrolled it.
  for (int i = 0; i < 10; ++i) WriteZone(own / ("z" + std::to_string(i) + ".qrn"), "Z");
  RunFor(1000);
  Screen().List().OnWheel(-1);
  const int top = Screen().List().TopIndex();
  ASSERT_GT(top, 0);
  RunFor(3000);
  EXPECT_EQ(Screen().List().TopIndex(), top);
  // Hidden behind a game the list is left alone, and is up to date before it shows again.
  Screen().Hide();
  fs::remove_all(shipped);
  fs::remove_all(own);
  RunFor(3000);
  EXPECT_FALSE(Titles().empty());
  EXPECT_TRUE(Screen().Timer1().Enabled());
  Screen().Show();
  EXPECT_TRUE(Titles().empty());
  EXPECT_EQ(Screen().List().ListIndex(), -1);
}

TEST_F(StartScreenTest, QuestionsPlayEditCancelAndLinks) {
  std::vector<fs::path> played, forEditor;
  std::vector<std::string> links;
  int cancels = 0;
  StartScreen& s = Screen();
  s.OnPlay = [&](const fs::path& z) { played.push_back(z); };
  s.OnEdit = [&](const fs::path& z) { forEditor.push_back(z); };
  s.OnLink = [&](const std::string& l) { links.push_back(l); };
  s.OnCancel = [&] { ++cancels; };

  // With no zone, Play and Editor say so instead of starting anything.
  s.Click("btn(1)");
  s.Click("btn(3)");
  ASSERT_EQ(prompter.asked.size(), 2u);
  EXPECT_NE(prompter.asked[0].Prompt.find("žádná zóna"), std::string::npos);
  EXPECT_EQ(prompter.asked[0].Prompt, "Není tu žádná zóna. Zóny jsou soubory .qrn ve složkách:\n" +
                                          shipped.string() + "\n" + own.string());
  EXPECT_EQ(NoZoneText({system::CatalogueRoot("/z")}), "Není tu žádná zóna. Zóny jsou soubory .qrn ve složce:\n/z");
  EXPECT_TRUE(played.empty());
  EXPECT_TRUE(forEditor.empty());

  prompter.asked.clear();
  prompter.answers = {msgbox::ResultYes, msgbox::ResultNo};
  EXPECT_TRUE(AskSound(prompter));
  EXPECT_FALSE(AskSound(prompter));
  EXPECT_EQ(prompter.asked[0].Prompt, "Podporuje tvá zvuková karta DirectSound?");
  EXPECT_EQ(prompter.asked[0].Buttons, msgbox::YesNo);
  EXPECT_EQ(prompter.asked[0].Icon, msgbox::IconQuestion);

  WriteZone(shipped / "a.qrn", "A");
  WriteZone(shipped / "b.qrn", "B");
  RunFor(1000);
  s.Window().OnKeyDown(40);  // Down
  s.Click("btn(1)");
  EXPECT_EQ(played, std::vector<fs::path>{shipped / "b.qrn"});

  prompter.asked.clear();
  prompter.answers = {msgbox::ResultNo, msgbox::ResultYes};
  s.Click("btn(3)");
  EXPECT_TRUE(forEditor.empty());
  s.Click("btn(3)");
  EXPECT_EQ(forEditor, std::vector<fs::path>{shipped / "b.qrn"});
  EXPECT_EQ(prompter.asked[0].Prompt,
            "Editor zatím není, jelikož ještě není ustálený formát zón.\n Pro účely testování "
            "můžeš klidně měnit zóny v notepadu.\n  Chceš otevřít vybranou zónu v notepadu?");
  EXPECT_EQ(prompter.asked[0].Buttons, msgbox::YesNo);
  EXPECT_EQ(prompter.asked[0].Icon, msgbox::IconExclamation);

  s.Click("Label3");
  s.Click("Label4");
  EXPECT_EQ(links, (std::vector<std::string>{WebLink, MailLink}));
  EXPECT_EQ(s.List().ListIndex(), 1);  // a link touches nothing else
  EXPECT_EQ(cancels, 0);
  s.Click("btn(2)");
  s.Window().OnCloseRequest();
  EXPECT_EQ(cancels, 2);
}

TEST_F(StartScreenTest, PlayHidesTheStartScreenAndCloseBringsItBackWithItsSelection) {
  WriteZone(shipped / "a.qrn", "A");
  WriteZone(shipped / "b.qrn", "B");
  prompter.answers = {msgbox::ResultNo};
  Flow& f = TheFlow();
  std::vector<std::string> links;
  f.OpenLink = [&](const std::string& link) {
    links.push_back(link);
    return true;
  };
  f.Begin(true);
  ASSERT_EQ(prompter.asked.size(), 1u);  // the sound question, before the screen shows
  EXPECT_FALSE(sound->Enabled());
  EXPECT_TRUE(f.Start().Window().Shown());

  f.Start().List().SetListIndex(1);
  f.Start().ClickedPlay();
  ASSERT_NE(f.Game(), nullptr);
  EXPECT_TRUE(f.Game()->Window().Shown());
  EXPECT_FALSE(f.Start().Window().Shown());
  EXPECT_EQ(f.Game()->TheGame().State.FileName, (shipped / "b.qrn").string());

  // Esc does what × does.
  f.Game()->Window().OnKeyDown(27);
  EXPECT_EQ(f.Game(), nullptr);
  EXPECT_TRUE(f.Start().Window().Shown());
  EXPECT_EQ(f.Start().List().ListIndex(), 1);
  RunFor(50);  // the closed screen is dropped once its event is over

  // A second game gets a fresh screen; the sound question is not asked again.
  f.Start().ClickedPlay();
  ASSERT_NE(f.Game(), nullptr);
  // The game screen's links go where the start screen's go.
  f.Game()->Click("Label3");
  EXPECT_EQ(links, std::vector<std::string>{WebLink});
  f.Game()->Click("Label6");
  EXPECT_TRUE(f.Start().Window().Shown());
  EXPECT_EQ(prompter.asked.size(), 1u);
}

TEST_F(StartScreenTest, AnUnreadableZoneIsToldAndTheStartScreenStays) {
  std::ofstream(shipped / "a.qrn") << "\"Rozbitá\"\nxx\n";
  Flow& f = TheFlow();
  f.Begin(false);
  f.Start().ClickedPlay();
  EXPECT_EQ(f.Game(), nullptr);
  EXPECT_TRUE(f.Start().Window().Shown());
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_NE(prompter.asked[0].Prompt.find("a.qrn"), std::string::npos) << prompter.asked[0].Prompt;
}

TEST_F(StartScreenTest, TheEditorGetsTheSelectedZoneOrItsCopyOrThePlayerIsTold) {
  WriteZone(shipped / "a.qrn", "A");
  Flow& f = TheFlow();
  f.Begin(false);
  prompter.answers = {msgbox::ResultYes};
  f.Start().ClickedEdit();
  // A shipped zone is edited as the player's copy, never where it ships.
  EXPECT_EQ(edited, std::vector<fs::path>{own / "a.qrn"});

  // When no editor can be started the player is told, and the start screen goes on.
  editorStarts = false;
  prompter.asked.clear();
  prompter.answers = {msgbox::ResultYes};
  f.Start().ClickedEdit();
  ASSERT_EQ(prompter.asked.size(), 2u);
  EXPECT_EQ(prompter.asked[1].Buttons, msgbox::OkOnly);
  EXPECT_TRUE(f.Start().Window().Shown());

  // So is a link that no program can open.
  f.OpenLink = [](const std::string&) { return false; };
  prompter.asked.clear();
  f.Start().Click("Label3");
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_NE(prompter.asked[0].Prompt.find("xdg-open"), std::string::npos);
  EXPECT_NE(prompter.asked[0].Prompt.find(WebLink), std::string::npos);
}

TEST_F(StartScreenTest, WithoutAFolderOfTheirOwnThePlayerIsToldAndShippedZonesStayUntouched) {
  WriteZone(shipped / "a.qrn", "A");
  const std::string refused = "Složka /tmp/.local nepatří tobě, ale jinému uživateli.";
  Flow& f = TheFlow(FlowFolders{QUARN_BIN_DIR, {shipped}, "", shipped, refused});
  f.Begin(false);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].Prompt, refused);
  prompter.answers = {msgbox::ResultYes};
  f.Start().ClickedEdit();
  EXPECT_TRUE(edited.empty());
  ASSERT_EQ(prompter.asked.size(), 3u);
  EXPECT_NE(prompter.asked[2].Prompt.find("nemá žádnou tvou složku"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(shipped), fs::directory_iterator()), 1);
}

// The zone check measures titles without a font: its table must agree with the list's font, or
// a title it passes would be cut in the list.
TEST_F(StartScreenTest, TheCheckMeasuresTitlesAsTheListDrawsThem) {
  StartScreen& s = Screen();
  const platform::FontSpec font = s.List().Font;
  for (const std::string title :
       {"Sklad, klíč a dveře", "ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY", "žluťoučký kůň úpěl ďábelské ódy",
        "0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", "Äö ü – „…“", "WMQ@%"}) {
    const int drawn = app->FontSet().Measure(font, title).x;
    EXPECT_GE(ListTitleWidth(title), drawn) << title;
    EXPECT_LE(ListTitleWidth(title), drawn + 2) << title;
  }
  // The room the check allows is what the list shows beside its scroll bar.
  EXPECT_EQ(ListTitleRoom, s.List().Bounds.w - 2 * platform::ListBox::BorderWidth -
                               platform::ListBox::ScrollBarWidth - 2);
}

TEST_F(StartScreenTest, SetsAreGroupedCountedAndNWalksWithinASetThenOnToTheNext) {
  auto quick = [](const fs::path& file, const std::string& title) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "\"" << title << "\"\n6\n3\n4\n8\n8\n8\n01\n01\n01\n"
                        << "WWWWWW\nWSR..E\nWWWCWW\n";
  };
  quick(shipped / "01-a.qrn", "A");
  quick(shipped / "02-b.qrn", "B");
  quick(shipped / "dalsi" / "01-c.qrn", "C");
  std::ofstream(shipped / "dalsi" / "sada.txt") << "Další sada\nPopis\n";
  const FlowFolders folders{QUARN_BIN_DIR,
                            {{shipped, "Základy", true}, {own, "Moje zóny"}},
                            own,
                            shipped,
                            "",
                            root / "state",
                            root / "runs"};
  Flow* f = &TheFlow(folders);
  f->Begin(false);
  auto caption = [&](const std::string& name) {
    return dynamic_cast<platform::Label&>(f->Start().ControlNamed(name)).Caption;
  };
  platform::ListBox& list = f->Start().List();
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"Základy · 0/2", "A", "B", "Další sada · 0/1",
                                                    "C"}));
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(caption("lblWon"), "Základy · vyhráno 0 z 2");
  // The keys and a click step over the headings.
  f->Start().Window().OnKeyDown(40);
  f->Start().Window().OnKeyDown(40);
  EXPECT_EQ(list.ListIndex(), 4);
  EXPECT_EQ(caption("lblWon"), "Další sada · vyhráno 0 z 1");
  f->Start().Window().OnKeyDown(38);
  EXPECT_EQ(list.ListIndex(), 2);
  list.Press(SDL_Point{10, 1 + 3 * list.RowHeight() + 2});
  EXPECT_EQ(list.ListIndex(), 2);
  f->Start().Window().OnKeyDown(36);
  EXPECT_EQ(list.ListIndex(), 1);

  auto win = [&] {
    const size_t asked = prompter.asked.size();
    keys.KeyDown(vk::Right);
    for (int i = 0; i < 100 && prompter.asked.size() == asked; ++i) RunFor(20);
    keys.KeyUp(vk::Right);
    RunFor(20);
    ASSERT_NE(f->Game(), nullptr);
    ASSERT_TRUE(f->Game()->ShowsWayOn());
  };
  // N walks within the set; after its last zone the line names the next set, and N opens it.
  f->Start().Window().OnKeyDown(13);
  win();
  EXPECT_NE(f->Game()->WayOnText().find(" · N – další zóna · "), std::string::npos);
  f->Game()->Window().OnKeyDown('N');
  RunFor(20);
  EXPECT_EQ(f->Game()->TheGame().State.FileName, (shipped / "02-b.qrn").string());
  win();
  EXPECT_NE(f->Game()->WayOnText().find(" · konec sady „Základy“ · N – sada „Další sada“ · Esc"),
            std::string::npos)
      << f->Game()->WayOnText();
  f->Game()->Window().OnKeyDown('N');
  RunFor(20);
  EXPECT_EQ(f->Game()->TheGame().State.FileName, (shipped / "dalsi" / "01-c.qrn").string());
  EXPECT_EQ(f->Game()->WhatComesNext().What, NextOffer::Last);
  EXPECT_EQ(WinLineText(WinOutcome{}, f->Game()->WhatComesNext(), "výběr zóny"),
            "bez času · Enter – hrát znovu · konec sady „Další sada“ · poslední zóna · Esc – "
            "výběr zóny");
  f->Game()->Window().OnKeyDown(27);
  RunFor(20);
  EXPECT_EQ(list.Items()[0], "Základy · 2/2");
  EXPECT_EQ(list.ListIndex(), 4);

  // R names each zone's set.
  f->Start().Window().OnKeyDown('R');
  ASSERT_NE(f->RecordsOverview(), nullptr);
  const auto& rows = f->RecordsOverview()->Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].Set, "Základy");
  EXPECT_EQ(rows[2].Set, "Další sada");
  f->RecordsOverview()->Window().OnKeyDown(27);

  // The next start opens on the zone played last while it is not won...
  flow.reset();
  f = &TheFlow(folders);
  f->Begin(false);
  EXPECT_EQ(f->Start().List().ListIndex(), 4);
  // ...and on the first zone not won of its set once it is.
  std::ofstream(root / "state" / system::LastZoneFile) << (shipped / "02-b.qrn").string() << "\n";
  flow.reset();
  f = &TheFlow(folders);
  f->Begin(false);
  EXPECT_EQ(f->Start().List().ListIndex(), 4);

  // E opens the selected zone even when the folders changed since the list was read.
  quick(own / "nova.qrn", "Nová");
  f->Start().Window().OnKeyDown('E');
  ASSERT_NE(f->Editor(), nullptr);
  EXPECT_EQ(f->Editor()->Model().Path(), shipped / "dalsi" / "01-c.qrn");
}

TEST_F(StartScreenTest, AWinIsRecordedShownOnTheStartScreenAndLeadsOnToTheNextZone) {
  std::ofstream(shipped / "a.qrn") << "\"Rychlá\"\n6\n3\n4\n8\n8\n8\n01\n01\n01\n"
                                      "WWWWWW\nWSR..E\nWWWCWW\n";
  WriteZone(shipped / "b.qrn", "B");
  program = std::make_unique<ProgramContext>(tickKeys, &tickKeys);
  sound = std::make_unique<SoundModule>(QUARN_BIN_DIR);
  flow = std::make_unique<Flow>(
      *app, *program, *sound, prompter,
      FlowFolders{QUARN_BIN_DIR, {shipped}, own, shipped, "", root / "state", root / "runs"});
  Flow& f = *flow;
  f.Begin(false);
  auto caption = [&](const std::string& name) {
    return dynamic_cast<platform::Label&>(f.Start().ControlNamed(name)).Caption;
  };
  EXPECT_EQ(caption("lblRecord"), "Zatím nevyhráno");
  EXPECT_EQ(caption("lblWon"), "zones · vyhráno 0 z 2");

  // Nothing saved yet to watch: the player is told.
  f.Start().Window().OnKeyDown('W');
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(f.Game(), nullptr);

  // Enter plays the selected zone, as Hrát does; Right walks to the exit.
  f.Start().Window().OnKeyDown(13);
  ASSERT_NE(f.Game(), nullptr);
  keys.KeyDown(vk::Right);
  for (int i = 0; i < 100 && prompter.asked.size() < 2; ++i) RunFor(20);
  keys.KeyUp(vk::Right);
  ASSERT_EQ(prompter.asked.size(), 2u);
  EXPECT_EQ(prompter.asked[1].Prompt, "Vyhrál jsi!\nHrát znovu?");
  RunFor(20);
  EXPECT_TRUE(f.Game()->ShowsWayOn());
  EXPECT_EQ(f.Game()->Window().Caption(), "Quarn – Rychlá");
  // The first win is a record; the zone has a next one in the list.
  const std::string wayOn = f.Game()->WayOnText();
  EXPECT_EQ(wayOn.rfind("Čas ", 0), 0u) << wayOn;
  EXPECT_NE(wayOn.find(" s · nový rekord · Enter – hrát znovu · N – další zóna · Esc – výběr zóny"),
            std::string::npos)
      << wayOn;
  // The same run again is no record: the line tells the best it did not beat.
  keys.KeyDown(vk::Enter);
  RunFor(20);
  keys.KeyUp(vk::Enter);
  keys.KeyDown(vk::Right);
  for (int i = 0; i < 100 && prompter.asked.size() < 3; ++i) RunFor(20);
  keys.KeyUp(vk::Right);
  ASSERT_EQ(prompter.asked.size(), 3u);
  RunFor(20);
  const std::string again = f.Game()->WayOnText();
  EXPECT_NE(again.find(" s · nejlepší "), std::string::npos) << again;
  EXPECT_EQ(again.find("nový rekord"), std::string::npos) << again;
  EXPECT_TRUE(f.Records().Find(*system::ZoneContentKey(shipped / "a.qrn")));
  EXPECT_TRUE(system::FindRun(root / "runs", *system::ZoneContentKey(shipped / "a.qrn"), false));

  // N opens the next zone of the list.
  f.Game()->Window().OnKeyDown('N');
  RunFor(20);
  ASSERT_NE(f.Game(), nullptr);
  EXPECT_EQ(f.Game()->TheGame().State.FileName, (shipped / "b.qrn").string());
  EXPECT_EQ(f.Start().List().ListIndex(), 1);
  // The list's last zone offers no next one.
  ASSERT_TRUE(f.Game()->WhatComesNext);
  EXPECT_EQ(f.Game()->WhatComesNext().What, NextOffer::Last);
  f.Game()->Window().OnKeyDown(27);
  RunFor(20);
  EXPECT_EQ(caption("lblRecord"), "Zatím nevyhráno");
  EXPECT_EQ(caption("lblWon"), "zones · vyhráno 1 z 2");
  f.Start().List().SetListIndex(0);
  f.Start().UpdateRecordLines();
  EXPECT_EQ(caption("lblRecord").rfind("Vyhráno · nejlepší čas ", 0), 0u) << caption("lblRecord");

  // R: every listed zone in list order, the won one with its time; Esc closes it.
  f.Start().Window().OnKeyDown('R');
  ASSERT_NE(f.RecordsOverview(), nullptr);
  ASSERT_TRUE(f.RecordsOverview()->Shown());
  const auto& rows = f.RecordsOverview()->Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Title, "Rychlá");
  EXPECT_EQ(rows[0].Won, "vyhráno");
  EXPECT_NE(rows[0].Plain, "–");
  EXPECT_EQ(rows[1].Title, "B");
  EXPECT_EQ(rows[1].Won, "–");
  f.RecordsOverview()->Window().OnKeyDown(27);
  EXPECT_FALSE(f.RecordsOverview()->Shown());
  EXPECT_TRUE(f.Start().Window().Shown());

  // W watches the saved run: the player's keys play no part, and nothing is recorded.
  const std::string recordsBefore = [&] {
    std::ifstream in(root / "state" / "records.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  f.Start().Window().OnKeyDown('W');
  ASSERT_NE(f.Game(), nullptr);
  EXPECT_TRUE(f.Game()->Watching());
  keys.KeyDown(vk::Left);
  RunFor(500);
  keys.KeyUp(vk::Left);
  const std::string recordsAfter = [&] {
    std::ifstream in(root / "state" / "records.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  EXPECT_EQ(recordsAfter, recordsBefore);
}

TEST_F(StartScreenTest, ARunThatNamesAnotherZoneIsWatchedOnlyWhenThePlayerWants) {
  WriteZone(shipped / "a.qrn", "Rychlá");
  WriteZone(shipped / "b.qrn", "B");
  std::ofstream(root / "a.keys") << "# Quarn: vyhraný průchod zónou\n# zóna: Rychlá\n5 right\n";
  Flow& f = TheFlow();
  prompter.answers = {msgbox::ResultNo};
  EXPECT_FALSE(f.PlayOnly((shipped / "b.qrn").string(), (root / "a.keys").string()));
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].Prompt,
            "Tento záznam je ze zóny „Rychlá“, ne ze zóny „B“.\nPřehrát ho přesto?");
  EXPECT_EQ(prompter.asked[0].Buttons, msgbox::YesNo);
  EXPECT_EQ(f.Game(), nullptr);
  prompter.answers = {msgbox::ResultYes};
  ASSERT_TRUE(f.PlayOnly((shipped / "b.qrn").string(), (root / "a.keys").string()));
  ASSERT_NE(f.Game(), nullptr);
  EXPECT_TRUE(f.Game()->Watching());
  // Its own zone: no question.
  prompter.asked.clear();
  ASSERT_TRUE(f.PlayOnly((shipped / "a.qrn").string(), (root / "a.keys").string()));
  EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartScreenTest, ARunToRaceIsAskedAboutAsAWatchedOneAndBecomesTheGhost) {
  WriteZone(shipped / "a.qrn", "Rychlá");
  WriteZone(shipped / "b.qrn", "B");
  std::ofstream(root / "a.keys") << "# Quarn: vyhraný průchod zónou\n# zóna: Rychlá\n5 right\n";
  Flow& f = TheFlow();
  prompter.answers = {msgbox::ResultNo};
  EXPECT_FALSE(f.PlayOnly((shipped / "b.qrn").string(), std::nullopt, (root / "a.keys").string()));
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].Prompt,
            "Tento záznam je ze zóny „Rychlá“, ne ze zóny „B“.\nPřehrát ho přesto?");
  EXPECT_EQ(f.Game(), nullptr);
  // Its own zone: played, not watched, with the run as the ghost.
  prompter.asked.clear();
  ASSERT_TRUE(f.PlayOnly((shipped / "a.qrn").string(), std::nullopt, (root / "a.keys").string()));
  EXPECT_TRUE(prompter.asked.empty());
  ASSERT_NE(f.Game(), nullptr);
  EXPECT_FALSE(f.Game()->Watching());
  ASSERT_NE(f.Game()->Ghost(), nullptr);
  EXPECT_EQ(f.Game()->Ghost()->Ticks(), 5);
  // A run that cannot be read is said, and no zone is played.
  std::ofstream(root / "bad.keys") << "5 sideways\n";
  EXPECT_FALSE(f.PlayOnly((shipped / "a.qrn").string(), std::nullopt, (root / "bad.keys").string()));
}

// The help and the start screen cannot drift apart: every key the screen answers is named in
// the help's groups for it, and every key named there is answered. Ctrl counts where it makes a
// key do something else.
TEST_F(StartScreenTest, TheHelpNamesEveryKeyTheStartScreenAnswersAndNoOther) {
  for (int i = 10; i < 40; ++i) WriteZone(shipped / ("z" + std::to_string(i) + ".qrn"), "Z" + std::to_string(i));
  for (const bool browser : {false, true}) {
  SCOPED_TRACE(browser ? "browser" : "desktop");
  screen.reset();
  StartScreen& s = Screen();
  std::string events;
  if (browser) {
    s.UseBrowserKeys([&](const fs::path&, const std::string&, bool withRun) {
                       events += withRun ? "share-run " : "share ";
                     },
                     [&](const fs::path&, const std::string&, bool runs) {
                       events += runs ? "runs " : "download ";
                     });
  }
  s.OnPlay = [&](const fs::path&) { events += "play "; };
  s.OnEdit = [&](const fs::path&) { events += "edit "; };
  s.OnWatch = [&](const fs::path&) { events += "watch "; };
  s.OnHelp = [&] { events += "help "; };
  s.OnRecords = [&] { events += "records "; };
  s.OnControls = [&] { events += "controls "; };
  s.OnLink = [&](const std::string&) { events += "link "; };
  s.OnCancel = [&] { events += "cancel "; };
  s.OnOpenEditor = [&](const fs::path& z) { events += z.empty() ? "new " : "editor "; };
  auto effect = [&](int key, bool ctrl, bool shift = false) {
    s.List().SetListIndex(15);
    events.clear();
    prompter.asked.clear();
    SDL_SetModState(SDL_Keymod((ctrl ? KMOD_LCTRL : KMOD_NONE) | (shift ? KMOD_LSHIFT : KMOD_NONE)));
    s.Window().OnKeyDown(key);
    SDL_SetModState(KMOD_NONE);
    return events + std::to_string(s.List().ListIndex()) + " " +
           std::to_string(prompter.asked.size());
  };
  const std::string nothing = effect(0, false);
  std::set<KeyPress> answered;
  for (int key = 1; key < 256; ++key) {
    const std::string plain = effect(key, false);
    if (plain != nothing) answered.insert({key});
    const std::string ctrl = effect(key, true);
    if (ctrl != plain && ctrl != nothing) answered.insert({key, true});
    const std::string shift = effect(key, false, true);
    if (shift != plain && shift != nothing) answered.insert({key, false, false, true});
  }
  auto groups = HelpKeysByGroup(browser);
  std::set<KeyPress> named = groups["Na úvodní obrazovce"];
  named.insert(groups["Seznam zón"].begin(), groups["Seznam zón"].end());
  // F11 and Alt+Enter belong to the program, for every window that can fill the screen.
  EXPECT_TRUE(named.erase({122}));
  EXPECT_TRUE(named.erase({13, false, true}));
  EXPECT_EQ(answered, named);
  }
}

// Chromium never hands a page these keys (they open and close its tabs and windows): the
// browser build's help names none of them, and what it names stands on the start screen's key
// line there too.
TEST_F(StartScreenTest, TheBrowserBuildUsesNoKeyTheBrowserKeeps) {
  const std::set<KeyPress> kept{{'N', true}, {'W', true}, {'T', true}, {'N', true, false, true},
                                {'W', true, false, true}, {'T', true, false, true}, {9, true},
                                {9, true, false, true}, {'Q', true, false, true}};
  for (const auto& [group, named] : HelpKeysByGroup(true)) {
    for (const KeyPress& k : named) EXPECT_FALSE(kept.count(k)) << group << ": " << k.Key;
  }
  // The desktop's help still names Ctrl+N: the browser's differs only where it must.
  EXPECT_TRUE(HelpKeysByGroup(false)["Na úvodní obrazovce"].count({'N', true}));
  WriteZone(shipped / "a.qrn", "A");
  StartScreen& s = Screen();
  const std::string desktop = dynamic_cast<platform::Label&>(s.ControlNamed("lblKeys")).Caption;
  EXPECT_NE(desktop.find("Ctrl+N – nová zóna"), std::string::npos);
  EXPECT_EQ(desktop.find("O – "), std::string::npos);
  s.UseBrowserKeys([](const fs::path&, const std::string&, bool) {},
                   [](const fs::path&, const std::string&, bool) {});
  const std::string browser = dynamic_cast<platform::Label&>(s.ControlNamed("lblKeys")).Caption;
  EXPECT_EQ(browser.find("Ctrl+"), std::string::npos);
  EXPECT_NE(browser.find("N – nová zóna"), std::string::npos);
  EXPECT_NE(browser.find("O – odkaz na zónu"), std::string::npos);
  // The Editor button's question says that Ano downloads the zone there.
  prompter.asked.clear();
  s.ClickedEdit();
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].Prompt, DownloadQuestion());
}

TEST(RecordTextTest, ThePlainBestAndTheShorterRewoundBestApart) {
  EXPECT_EQ(RecordText(nullptr), "Zatím nevyhráno");
  system::ZoneRecord r;
  EXPECT_EQ(RecordText(&r), "Zatím nevyhráno");
  r.Won = true;
  EXPECT_EQ(RecordText(&r), "Vyhráno");
  r.BestPlain = 2720;
  EXPECT_EQ(RecordText(&r), "Vyhráno · nejlepší čas 42,5 s");
  r.BestRewind = 64;
  EXPECT_EQ(RecordText(&r), "Vyhráno · nejlepší čas 42,5 s · se zpětným chodem 1,0 s");
  r.BestRewind = 2720;  // no shorter: nothing to tell
  EXPECT_EQ(RecordText(&r), "Vyhráno · nejlepší čas 42,5 s");
  r.BestPlain.reset();
  EXPECT_EQ(RecordText(&r), "Vyhráno · se zpětným chodem 42,5 s");
}

TEST_F(StartScreenTest, TheRecordLineBreaksBetweenTwoTimesOnly) {
  WriteZone(shipped / "a.qrn", "A");
  system::ZoneRecord r{true, 2720, 64, "A", ""};
  Screen().RecordOf = [&](const fs::path&) { return &r; };
  auto shown = [&] {
    Screen().UpdateRecordLine();
    return dynamic_cast<platform::Label&>(Screen().ControlNamed("lblRecord")).Caption;
  };
  EXPECT_EQ(shown(), "Vyhráno · nejlepší čas 42,5 s ·\nse zpětným chodem 1,0 s");
  // The time with going back alone: one line, no "·" left at its end.
  r.BestPlain.reset();
  EXPECT_EQ(shown(), "Vyhráno · se zpětným chodem 1,0 s");
}

TEST_F(StartScreenTest, TheAuthorsRunGivesItsTimeAndIsTheGhostUntilThePlayerHasOne) {
  // A zone of the second set with its author's run beside it, and one without.
  const fs::path source = fs::path(QUARN_SOURCE_DIR) / "zones" / "pro-zkusene";
  fs::copy_file(source / "01-zelena-vlna.qrn", shipped / "01-zelena-vlna.qrn");
  fs::copy_file(source / "01-zelena-vlna.keys", shipped / "01-zelena-vlna.keys");
  WriteZone(shipped / "02-b.qrn", "B");
  const std::optional<int64_t> author = AuthorTicks(shipped / "01-zelena-vlna.qrn");
  ASSERT_TRUE(author);
  EXPECT_FALSE(AuthorTicks(shipped / "02-b.qrn"));
  Flow& f = TheFlow();
  f.Begin(false);
  f.Start().Select(shipped / "01-zelena-vlna.qrn");
  const std::string line =
      dynamic_cast<platform::Label&>(f.Start().ControlNamed("lblRecord")).Caption;
  EXPECT_NE(line.find("čas autora " + system::SecondsText(*author) + " s"), std::string::npos)
      << line;
  f.Start().Window().OnKeyDown('R');
  ASSERT_NE(f.RecordsOverview(), nullptr);
  ASSERT_EQ(f.RecordsOverview()->Rows().size(), 2u);
  EXPECT_EQ(f.RecordsOverview()->Rows()[0].Author, system::SecondsText(*author) + " s");
  EXPECT_EQ(f.RecordsOverview()->Rows()[1].Author, "–");
  f.RecordsOverview()->Hide();
  f.Start().Window().OnKeyDown(13);
  ASSERT_NE(f.Game(), nullptr);
  ASSERT_NE(f.Game()->Ghost(), nullptr);
  EXPECT_EQ(f.Game()->Ghost()->WonAt(), author);
}

TEST_F(StartScreenTest, TheEditorAloneNeverWritesOverAZoneOfAShippedSet) {
  fs::create_directories(shipped / "dalsi");
  WriteZone(shipped / "dalsi" / "01-a.qrn", "A");
  Flow& f = TheFlow(FlowFolders{QUARN_BIN_DIR, {{shipped, "Základy", true}, {own}}, own, shipped});
  ASSERT_TRUE(f.EditOnly((shipped / "dalsi" / "01-a.qrn").string()));
  const auto& protectedFolders = f.Editor()->Model().Folders().Protected;
  EXPECT_NE(std::find(protectedFolders.begin(), protectedFolders.end(), shipped / "dalsi"),
            protectedFolders.end());
}

TEST_F(StartScreenTest, TheFullScreenChosenOnOneScreenIsKeptOnTheNext) {
  WriteZone(shipped / "a.qrn", "A");
  Flow& f = TheFlow();
  f.Begin(false);
  f.Start().Window().ToggleFullscreen();
  ASSERT_TRUE(f.Start().Window().Fullscreen());
  f.Start().Window().OnKeyDown(13);
  ASSERT_NE(f.Game(), nullptr);
  EXPECT_TRUE(f.Game()->Window().Fullscreen());
  // Back to a window in the zone: the start screen comes back as a window too.
  f.Game()->Window().ToggleFullscreen();
  EXPECT_FALSE(f.Game()->Window().Fullscreen());
  f.Game()->Window().OnKeyDown(27);
  RunFor(20);
  EXPECT_FALSE(f.Start().Window().Fullscreen());
}

TEST_F(StartScreenTest, TheEditorAloneEndsTheProgramWhenItCloses) {
  Flow& f = TheFlow();
  ASSERT_TRUE(f.EditOnly((own / "nova.qrn").string()));
  EXPECT_TRUE(f.Editor()->Window().Shown());
  EXPECT_FALSE(app->QuitRequested());
  f.Editor()->Window().OnKeyDown(27);
  EXPECT_TRUE(app->QuitRequested());
  EXPECT_TRUE(prompter.asked.empty());  // nothing to save: no question
}

TEST_F(StartScreenTest, ETheZoneEditorCtrlNANewZoneF5PlaysItAndEscGoesBackEachTime) {
  WriteZone(shipped / "a.qrn", "A");
  Flow& f = TheFlow();
  f.Begin(false);
  f.Start().Window().OnKeyDown('E');
  ASSERT_NE(f.Editor(), nullptr);
  EXPECT_EQ(f.Editor()->Model().Path(), shipped / "a.qrn");
  EXPECT_TRUE(f.Editor()->Window().Shown());
  EXPECT_FALSE(f.Start().Window().Shown());
  EXPECT_TRUE(edited.empty());  // the text editor is the Editor button's, after its question

  // F5 plays the zone as it is in the editor; Esc in the game comes back to the editor.
  f.Editor()->Select('K');
  f.Editor()->ControlNamed("canvas").OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{300, 265});
  f.Editor()->ControlNamed("canvas").OnMouseUp(SDL_BUTTON_LEFT, SDL_Point{300, 265});
  ASSERT_TRUE(f.Editor()->Model().Dirty());
  f.Editor()->Window().OnKeyDown(116);
  ASSERT_NE(f.Game(), nullptr);
  EXPECT_FALSE(f.Editor()->Window().Shown());
  EXPECT_EQ(fs::path(f.Game()->TheGame().State.FileName).filename(), "zkouska.qrn");
  EXPECT_EQ(ReadText(f.Game()->TheGame().State.FileName), f.Editor()->Model().Text());
  f.Game()->Window().OnKeyDown(27);
  EXPECT_TRUE(f.Editor()->Window().Shown());
  EXPECT_TRUE(f.Editor()->Model().Dirty());  // nothing was lost on the way
  RunFor(50);

  // Closing the editor with the change thrown away shows the start screen again.
  prompter.answers = {msgbox::ResultNo};
  f.Editor()->Window().OnKeyDown(27);
  EXPECT_TRUE(f.Start().Window().Shown());
  RunFor(50);
  EXPECT_EQ(f.Editor(), nullptr);

  SDL_SetModState(KMOD_LCTRL);
  f.Start().Window().OnKeyDown('N');
  SDL_SetModState(KMOD_NONE);
  ASSERT_NE(f.Editor(), nullptr);
  EXPECT_TRUE(f.Editor()->Model().Path().empty());
  EXPECT_EQ(f.Editor()->Model().Field(edit::HeaderField::Title), "Nová zóna");
}

TEST_F(StartScreenTest, EOnAnEditedShippedZoneOpensTheCopyAndASignalKeepsUnsavedWork) {
  WriteZone(shipped / "a.qrn", "A");
  WriteZone(own / "a.qrn", "A podle mě");
  FlowFolders folders{QUARN_BIN_DIR, {shipped, own}, own, shipped};
  folders.State = root / "state";
  {
    Flow& f = TheFlow(folders);
    f.Begin(false);
    f.OpenEditor(shipped / "a.qrn");
    ASSERT_NE(f.Editor(), nullptr);
    EXPECT_EQ(f.Editor()->Model().Path(), own / "a.qrn") << "the player's copy, as Editor opens";
    f.Editor()->Select('K');
    f.Editor()->ControlNamed("canvas").OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{300, 265});
    f.Editor()->ControlNamed("canvas").OnMouseUp(SDL_BUTTON_LEFT, SDL_Point{300, 265});
    ASSERT_TRUE(f.Editor()->Model().Dirty());
    f.Editor()->Save();
    EXPECT_EQ(std::distance(fs::directory_iterator(own), fs::directory_iterator()), 1)
        << "no second copy";
    // Ended by a signal with a change unsaved: it is kept before the program goes.
    f.Editor()->ControlNamed("canvas").OnMouseDown(SDL_BUTTON_LEFT, SDL_Point{340, 265});
    f.Editor()->ControlNamed("canvas").OnMouseUp(SDL_BUTTON_LEFT, SDL_Point{340, 265});
    f.KeepUnsavedWork();
  }
  flow.reset();
  Flow& again = TheFlow(folders);
  again.Begin(false);
  prompter.asked.clear();
  prompter.answers = {msgbox::ResultYes};
  again.OpenEditor(shipped / "a.qrn");
  ASSERT_NE(again.Editor(), nullptr);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].Prompt.rfind("Obnovit neuložené změny z ", 0), 0u);
  EXPECT_TRUE(again.Editor()->Model().Dirty());
}

}  // namespace
}  // namespace quarn::ui
