// ZoneSyntaxTest.cpp — how a zone file splits into fields: commas, quotes, blanks, line ends,
// encodings.
#include <gtest/gtest.h>

#include "ZoneTestSupport.h"
#include "base/Text.h"

namespace quarn::test {
namespace {

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(ZoneFields, CommasSeparateFieldsOnOneLine) {
  const ParsedZone z = MustParse("\"Hra\",3,2,5,4,6,8,01,0,1\nS.R\nWWW\n");
  EXPECT_EQ(z.Title, "Hra");
  EXPECT_EQ(z.Width, 3);
  EXPECT_EQ(z.Height, 2);
  EXPECT_EQ(z.PlayerSteps, 5);
  EXPECT_EQ(z.EnemySteps, (std::array<int, 3>{4, 6, 8}));
  EXPECT_EQ(z.LaserPatterns, (std::array<std::string, 3>{"01", "0", "1"}));
  EXPECT_EQ(z.CodeAt(2, 0), tile::HotPotato);
  EXPECT_EQ(z.CodeAt(0, 1), tile::Wall);

  // A comma that ends a line does not add an empty field before the next line.
  const ParsedZone trailing = MustParse("\"Hra\",\n3,\n1\n5\n4\n6\n8\n01\n0\n1\nS.R\n");
  EXPECT_EQ(trailing.Width, 3);
  EXPECT_EQ(trailing.CodeAt(0, 0), tile::Start);
}

TEST(ZoneFields, QuotedFieldsHoldCommasAndDropWhatFollowsTheQuote) {
  EXPECT_EQ(MustParse(ZoneText(1, 1, {"S"}, DefaultTail, "\"Tři, dva, jedna\"")).Title,
            "Tři, dva, jedna");
  EXPECT_EQ(MustParse(ZoneText(1, 1, {"S"}, DefaultTail, "\"Hra\" poznámka")).Title, "Hra");
  // A quoted pattern may hold a comma; the door's first character still decides.
  const ParsedZone z = MustParse(ZoneText(1, 1, {"a"}, "5\n4\n6\n8\n\"0,1\"\n0\n1\n"));
  EXPECT_EQ(z.LaserPatterns[0], "0,1");
  EXPECT_EQ(z.CodeAt(0, 0), tile::LaserA);
  // An unquoted title ends at its first comma, and the rest is the next field.
  EXPECT_EQ(MustFail(ZoneText(1, 1, {"S"}, DefaultTail, "Tři, dva")).Field, "šířka");
}

TEST(ZoneFields, BlanksBeforeAFieldAreSkippedAndAfterANumberIgnored) {
  const ParsedZone z = MustParse("  \"Hra\"\n\t 3 \n 1\t\n  5\n4\n6\n8\n   01\n0\n1\n   S.R\n");
  EXPECT_EQ(z.Width, 3);
  EXPECT_EQ(z.Height, 1);
  EXPECT_EQ(z.LaserPatterns[0], "01");
  // Leading blanks of a row are not cells: the row is shifted left.
  EXPECT_EQ(z.CodeAt(0, 0), tile::Start);
  EXPECT_EQ(z.CodeAt(2, 0), tile::HotPotato);
}

TEST(ZoneFields, EmptyLinesAreEmptyFields) {
  // An empty pattern is written as an empty line; an empty row is a row of floor.
  const ParsedZone z = MustParse("\"Hra\"\n2\n3\n5\n4\n6\n8\n\n0\n\"\"\nSW\n\nWW\n");
  EXPECT_EQ(z.LaserPatterns, (std::array<std::string, 3>{"", "0", ""}));
  EXPECT_EQ(z.CodeAt(1, 0), tile::Wall);
  EXPECT_EQ(z.CodeAt(0, 1), tile::Space);
  EXPECT_EQ(z.CodeAt(1, 1), tile::Space);
  EXPECT_EQ(z.CodeAt(0, 2), tile::Wall);
}

TEST(ZoneFields, LfCrLfAndByteOrderMarkReadAlike) {
  const std::string text = ZoneText(4, 2, {"SRCE", "W+aT"}, "5\n4\n6\n8\n01\n0\n1\n", "\"Úvod\"");
  const ParsedZone lf = MustParse(text);
  for (const std::string& variant :
       {WithCrLf(text), "\xEF\xBB\xBF" + text, "\xEF\xBB\xBF" + WithCrLf(text)}) {
    const ParsedZone z = MustParse(variant);
    EXPECT_EQ(z.Title, "Úvod");
    EXPECT_EQ(z.Width, 4);
    EXPECT_EQ(z.LaserPatterns, lf.LaserPatterns);
    EXPECT_EQ(z.Codes, lf.Codes);
    EXPECT_EQ(z.Exit, lf.Exit);
  }
  // Line numbers in errors count CR LF as one line end.
  EXPECT_EQ(MustFail(WithCrLf("\"Hra\"\n3\nx\n")).Line, 3);
  // A byte-order mark is only skipped at the very start.
  EXPECT_EQ(MustFail("\"Hra\"\n\xEF\xBB\xBF"
                     "3\n")
                .Field,
            "šířka");
}

TEST(ZoneFields, NothingAfterTheLastRowIsRead) {
  const ParsedZone z = MustParse(ZoneText(2, 1, {"SR", "RR", "\"neukončený"}));
  EXPECT_EQ(z.Potatoes, 1);
}

TEST(ZoneFields, ErrorLinesFollowQuotedFieldsThatSpanLines) {
  const ZoneError e = MustFail("\"Dlouhý\nnázev\"\n3\nx\n");
  EXPECT_EQ(e.Line, 4);
  EXPECT_EQ(e.Field, "výška");
}

TEST(ZoneFields, AnUnclosedQuoteIsPointedOut) {
  const ZoneError e = MustFail("\"Hra\n3\n1\n");
  EXPECT_EQ(e.Line, 1);
  EXPECT_NE(e.Message.find("nezavírají"), std::string::npos) << e.Message;
}

TEST(ZoneTitles, Utf8IsKeptAndWindows1250IsConverted) {
  EXPECT_EQ(MustParse(ZoneText(1, 1, {"S"}, DefaultTail, "\"Žluťoučký kůň\"")).Title,
            "Žluťoučký kůň");
  // The same title as a zone saved in the Windows-1250 code page stores it.
  const std::string cp1250 = "\"\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\"";
  EXPECT_EQ(MustParse(ZoneText(1, 1, {"S"}, DefaultTail, cp1250)).Title, "Žluťoučký kůň");
  EXPECT_EQ(Cp1250ToUtf8("\x8A\x9A\xC8\xE8\xD8\xF8\xCC\xEC\xA9"), "ŠšČčŘřĚě©");
  // Bytes the code page leaves undefined become the replacement character.
  EXPECT_EQ(Cp1250ToUtf8("a\x81"
                         "b\x98"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

TEST(ZoneTitles, OnlyWellFormedUtf8CountsAsUtf8) {
  EXPECT_TRUE(IsValidUtf8("Čau \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong slash
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xC4"));              // cut short
  EXPECT_FALSE(
      IsValidUtf8("\x8A"
                  "ab"));  // a lone continuation byte
  // A title that is not UTF-8 is converted whole, its plain letters included.
  EXPECT_EQ(ToUtf8("Dal\xB9\xED"), "Dal\xC4\x85\xC3\xAD");
}

TEST(ZoneTitles, RowsCountCharactersNotBytes) {
  // A letter written in two bytes of UTF-8 is one cell; a stray byte is one cell too.
  const ParsedZone z = MustParse(ZoneText(3, 2, {"ŽWR", "\xE8WR"}));
  EXPECT_EQ(z.CodeAt(0, 0), tile::Space);
  EXPECT_EQ(z.CodeAt(1, 0), tile::Wall);
  EXPECT_EQ(z.CodeAt(2, 0), tile::HotPotato);
  EXPECT_EQ(z.CodeAt(1, 1), tile::Wall);
  EXPECT_EQ(z.Potatoes, 2);
  EXPECT_EQ(CodePoints("Ž\xE8x"), (std::vector<char32_t>{U'Ž', 0xE8, U'x'}));
}

TEST(QuotedInput, ControlCharactersAreEscapedAndLettersKept) {
  // C0 (but what the message keeps), DEL, C1 in UTF-8 and bytes that are no UTF-8 all become
  // visible; Czech letters and symbols stay as they are.
  const std::string raw = "a\x1b[2J\tb\x7f\xc2\x85\xc2\x9b\x9b\xe8 ř€\n";
  EXPECT_EQ(ShowControls(raw), "a\\x1B[2J\\x09b\\x7F\\u0085\\u009B\\x9B\\xE8 ř€\\x0A");
  EXPECT_EQ(ShowControls(raw, "\n\t"), "a\\x1B[2J\tb\\x7F\\u0085\\u009B\\x9B\\xE8 ř€\n");
  // A no-break space (U+00A0) is a letter, not a control; escaping twice changes nothing.
  EXPECT_EQ(ShowControls("\xc2\xa0"), "\xc2\xa0");
  EXPECT_EQ(ShowControls(ShowControls(raw)), ShowControls(raw));
  // A cut title quoted in a message shows no raw control either.
  EXPECT_EQ(
      MustFail(ZoneText(2, 1, {"SE"}, "x\x1b]0;\n4\n6\n8\n01\n0\n1\n")).Describe().find('\x1b'),
      std::string::npos);
}

}  // namespace
}  // namespace quarn::test
