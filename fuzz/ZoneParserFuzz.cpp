// ZoneParserFuzz.cpp — any bytes as a zone file: parsed or refused, never a crash, and what is
// accepted or said about it keeps the loader's promises. An accepted zone written in the canonical
// form the editor saves reads back as the same zone, and writing it again gives the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "zone/Zone.h"
#include "zone/ZoneWriter.h"

using namespace quarn;

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "zone parser: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto result = ParseZoneText(text, "fuzz.qrn");
  if (!result.Ok()) {
    // A refusal names a line of the text and quotes at most 40 characters of it.
    if (result.Error().Line < 1) Broken("an error without a line");
    if (result.Error().Describe().size() > 400) Broken("an error message too long to read");
    return 0;
  }
  const ParsedZone& z = result.Value();
  if (z.Width < 1 || z.Width > MaxBoardWidth || z.Height < 1 || z.Height > MaxBoardHeight) {
    Broken("a zone size out of range");
  }
  if (z.Codes.size() != static_cast<size_t>(z.Width * z.Height)) Broken("codes of another size");
  int potatoes = 0;
  for (int16_t code : z.Codes) {
    if (code < 0 || code >= tile::Count) Broken("a code outside the tile table");
    potatoes += code == tile::HotPotato;
  }
  if (potatoes != z.Potatoes) Broken("potatoes miscounted");
  if (z.Enemies.size() > static_cast<size_t>(MaxEnemies)) Broken("too many enemies");
  for (const ZoneEnemy& e : z.Enemies) {
    if (z.CodeAt(e.X, e.Y) != 12 + e.Kind) Broken("an enemy on a cell of another code");
    const int steps = z.EnemySteps[static_cast<size_t>(e.Kind - 1)];
    if (steps < 1 || int64_t{steps} * e.X > 32767 || int64_t{steps} * e.Y > 32767) {
      Broken("an enemy out of reach");
    }
  }
  if (z.Start && z.CodeAt(z.Start->first, z.Start->second) != tile::Start) Broken("a lost start");

  // The canonical form: fields the writer refuses (a quote inside a field that needs quotes) are
  // the editor's to report, not to write.
  if (!FieldWritable(z.Title)) return 0;
  for (const std::string& pattern : z.LaserPatterns) {
    if (!FieldWritable(pattern)) return 0;
  }
  const std::string canonical = WriteZoneText(SourceOf(z, text.substr(z.EndOffset)));
  const auto again = ParseZoneText(canonical, "fuzz.qrn");
  const auto* z2 = again.Ok() ? &again.Value() : nullptr;
  if (!z2) Broken("the canonical form of an accepted zone is refused");
  if (z2->Title != z.Title || z2->Width != z.Width || z2->Height != z.Height ||
      z2->PlayerSteps != z.PlayerSteps || z2->EnemySteps != z.EnemySteps ||
      z2->LaserPatterns != z.LaserPatterns || z2->Codes != z.Codes || z2->Rows != z.Rows ||
      z2->Start != z.Start || z2->Exit != z.Exit || z2->Potatoes != z.Potatoes) {
    Broken("the canonical form reads back as another zone");
  }
  const std::string_view notes = std::string_view(canonical).substr(z2->EndOffset);
  if (WriteZoneText(SourceOf(*z2, notes)) != canonical) Broken("formatting twice changes it");
  return 0;
}
