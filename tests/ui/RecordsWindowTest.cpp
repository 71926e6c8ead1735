// RecordsWindowTest.cpp — the records overview: its rows, its count, its keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "FakeClock.h"
#include "platform/App.h"
#include "ui/KeyFeed.h"
#include "ui/RecordsWindow.h"

namespace quarn::ui {
namespace {

TEST(RecordsRowTest, WonOrNotAndBothBestTimes) {
  const RecordsRow none = RecordsRowOf("Sklep", nullptr);
  EXPECT_EQ(none.Title, "Sklep");
  EXPECT_EQ(none.Won, "–");
  EXPECT_EQ(none.Plain, "–");
  EXPECT_EQ(none.Rewound, "–");
  system::ZoneRecord r;
  r.Won = true;
  r.BestPlain = 160;
  const RecordsRow plain = RecordsRowOf("Sklep", &r);
  EXPECT_EQ(plain.Won, "vyhráno");
  EXPECT_EQ(plain.Plain, "2,5 s");
  EXPECT_EQ(plain.Rewound, "–");
  r.BestRewind = 51;
  EXPECT_EQ(RecordsRowOf("Sklep", &r).Rewound, "0,8 s");
  // A record that says "not won" shows no times, whatever it holds.
  r.Won = false;
  EXPECT_EQ(RecordsRowOf("Sklep", &r).Plain, "–");
  EXPECT_EQ(WonCountText(1, 1), "Vyhráno 1 z 1 zóny");
  EXPECT_EQ(WonCountText(3, 12), "Vyhráno 3 z 12 zón");
}

TEST(RecordsWindowTest, ListsEveryRowScrollsALongListAndEscCloses) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  KeyState keys;
  KeyFeed feed{keys};
  FakeClock clock;
  platform::App app(feed, clock);
  RecordsWindow w(app);
  int closed = 0;
  w.OnClosed = [&] { ++closed; };
  std::vector<RecordsRow> rows;
  system::ZoneRecord won;
  won.Won = true;
  won.BestPlain = 64;
  for (int i = 0; i < 40; ++i) {
    rows.push_back(RecordsRowOf("Zóna " + std::to_string(i), i % 3 == 0 ? &won : nullptr));
  }
  w.Show(rows);
  EXPECT_TRUE(w.Shown());
  EXPECT_EQ(w.Rows().size(), 40u);
  w.Window().Compose();
  w.Window().OnKeyDown(34);  // Page Down
  EXPECT_GT(w.FirstShown(), 0);
  w.Window().OnKeyDown(35);  // End: the last row is in view, no empty rows below it
  EXPECT_EQ(w.FirstShown(), 40 - 24);
  w.Window().OnKeyDown(36);  // Home
  EXPECT_EQ(w.FirstShown(), 0);
  w.Window().OnKeyDown(27);
  EXPECT_FALSE(w.Shown());
  EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace quarn::ui
