// PictureSetTest.cpp — the slot table, the folder's letter case and failing pictures.
#include <gtest/gtest.h>

#include <fstream>

#include "TestGraphics.h"

namespace quarn::test {
namespace {

uint32_t TopLeft(const SDL_Surface* s) {
  return *static_cast<const uint32_t*>(s->pixels) & 0xFFFFFFu;
}

TEST(PictureSet, LoadsEverySlotInTheLayoutOfItsFile) {
  TestGraphics g;
  PictureSet set(g.Base());
  ASSERT_FALSE(set.Load().has_value());
  EXPECT_EQ(set.TileSize(), 40);
  for (int slot = 0; slot < PictureSet::SlotCount; ++slot)
    ASSERT_NE(set.Slot(slot), nullptr) << slot;
  // Space.bmp serves the floor and all three open laser doors.
  for (int slot : {19, 20, 21}) EXPECT_EQ(TopLeft(set.Slot(slot)), BandColour(0, 0)) << slot;
  EXPECT_EQ(TopLeft(set.Slot(2)), BandColour(2, 0));
  EXPECT_EQ(TopLeft(set.Slot(23)), BandColour(23, 0));
  EXPECT_EQ(set.Slot(7)->h, 80);
  EXPECT_EQ(set.Slot(13)->h, 160);
  EXPECT_EQ(set.Slot(16)->h, 60);
  // The side strips' potato is the top frame, shrunk.
  ASSERT_NE(set.PotatoIcon(), nullptr);
  EXPECT_EQ(set.PotatoIcon()->w, 25);
  EXPECT_EQ(set.PotatoIcon()->h, 25);
  EXPECT_EQ(TopLeft(set.PotatoIcon()), BandColour(7, 0));
}

TEST(PictureSet, BuiltInSlotSurvivesEveryLoad) {
  TestGraphics g;
  PictureSet set(g.Base());
  ASSERT_NE(set.Slot(9), nullptr);
  const SDL_Surface* before = set.Slot(9);
  ASSERT_FALSE(set.Load().has_value());
  ASSERT_FALSE(set.Load().has_value());
  EXPECT_EQ(set.Slot(9), before);
  EXPECT_EQ(set.Slot(9)->w, 80);
  EXPECT_EQ(set.Slot(9)->h, 80);
}

TEST(PictureSet, FolderAndFilesAreFoundWhateverTheirLetterCase) {
  for (const char* folder : {"graphics", "GRAPHICS"}) {
    TestGraphics g(folder);
    std::filesystem::rename(g.File("Wall.bmp"), g.File("WALL.BMP"));
    PictureSet set(g.Base());
    EXPECT_FALSE(set.Load().has_value()) << folder;
    ASSERT_NE(set.Slot(2), nullptr);
    EXPECT_EQ(TopLeft(set.Slot(2)), BandColour(2, 0));
  }
}

TEST(PictureSet, MissingOrBrokenPictureIsAnErrorNamingTheFile) {
  TestGraphics g;
  PictureSet set(g.Base());
  ASSERT_FALSE(set.Load().has_value());
  const SDL_Surface* wall = set.Slot(2);

  std::filesystem::remove(g.File("Key.bmp"));
  auto error = set.Load();
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->File.find("Key.bmp"), std::string::npos) << error->Describe();
  EXPECT_EQ(error->Why, PictureProblem::Reason::Missing);
  // A failed reload keeps the whole previous set.
  EXPECT_EQ(set.Slot(2), wall);
  EXPECT_NE(set.Slot(11), nullptr);

  std::ofstream(g.File("Key.bmp")) << "not a picture";
  error = set.Load();
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->File.find("Key.bmp"), std::string::npos) << error->Describe();
  EXPECT_EQ(error->Why, PictureProblem::Reason::Unreadable);

  std::filesystem::remove_all(g.Base() / "Graphics");
  PictureSet fresh(g.Base());
  error = fresh.Load();
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->Describe().find("Space.bmp: soubor chybí"), std::string::npos)
      << error->Describe();
  EXPECT_EQ(fresh.Slot(0), nullptr);
}

// A bare 54-byte bitmap header claiming width x height pixels of 24 bits.
void WriteBitmapHeader(const std::filesystem::path& file, int32_t width, int32_t height) {
  unsigned char h[54] = {'B', 'M'};
  auto put = [&h](int at, uint32_t v) {
    for (int k = 0; k < 4; ++k) h[at + k] = static_cast<unsigned char>(v >> (8 * k));
  };
  put(2, 54);
  put(10, 54);
  put(14, 40);
  put(18, static_cast<uint32_t>(width));
  put(22, static_cast<uint32_t>(height));
  h[26] = 1;
  h[28] = 24;
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(h), sizeof h);
}

TEST(PictureSet, GiantPicturesAreRefusedBeforeTheyAreRead) {
  TestGraphics g;
  PictureSet set(g.Base());
  // Each would take gigabytes; the refusal names the file and the bound.
  for (const auto& [w, h] : std::vector<std::pair<int32_t, int32_t>>{
           {32767, 32767}, {23171, 23171}, {4097, 10}, {10, -5000}}) {
    WriteBitmapHeader(g.File("Boxes.bmp"), w, h);
    const auto error = set.Load();
    ASSERT_TRUE(error.has_value()) << w << " x " << h;
    EXPECT_NE(error->File.find("Boxes.bmp"), std::string::npos) << error->Describe();
    EXPECT_NE(error->Detail.find("4096 x 4096"), std::string::npos) << error->Describe();
  }
}

TEST(PictureSet, PainterReportsTheErrorAndStillDrawsNothingWithoutPictures) {
  TestGraphics g;
  std::filesystem::remove(g.File("Time.bmp"));
  BoardRenderer r(g.Base());
  uint8_t tileSize = 0;
  auto error = r.LoadGraphics(tileSize);
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->File.find("Time.bmp"), std::string::npos);
  // Drawing with an empty set leaves the board black instead of crashing.
  r.ResizeBoard(80, 80);
  auto s = std::make_unique<GameState>();
  s->Board.Set(0, 0, tile::Wall);
  s->Board.Set(1, 0, tile::Time);
  r.Nakr(*s, 0, 0);
  r.Nakr(*s, 1, 0);
  r.NakrF(*s);
  EXPECT_EQ(PixelAt(r, 10, 10), 0u);
  EXPECT_EQ(PixelAt(r, 50, 10), 0u);
}

}  // namespace
}  // namespace quarn::test
