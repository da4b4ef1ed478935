#include "tools/texts/textres.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "shell/core/text.h"

namespace {

std::vector<uint8_t> bytesOf(std::initializer_list<int> list) {
  std::vector<uint8_t> v;
  for (int b : list) v.push_back(static_cast<uint8_t>(b));
  return v;
}

TEST(HelpTextEncodingTest, DanishLettersBecomeWindows1252AndComeBack) {
  const std::string utf8 = "Æble, øl og år\nÅ Ø æ – »€«";
  std::string error;
  const auto bytes = encodeHelpText(utf8, error);
  ASSERT_TRUE(bytes) << error;
  EXPECT_EQ(*bytes, bytesOf({0xC6, 'b', 'l', 'e', ',', ' ', 0xF8, 'l', ' ', 'o', 'g', ' ', 0xE5,
                             'r', '\r', '\n', 0xC5, ' ', 0xD8, ' ', 0xE6, ' ', 0x96, ' ', 0xBB,
                             0x80, 0xAB, 0}));
  // Back to UTF-8, the text is what was written, with CR LF at the break.
  const std::string back(bytes->begin(), bytes->end() - 1);
  EXPECT_EQ(cp1252ToUtf8(back), "Æble, øl og år\r\nÅ Ø æ – »€«");
}

TEST(HelpTextEncodingTest, RefusesWhatWouldTurnIntoQuestionMarks) {
  std::string error;
  EXPECT_FALSE(encodeHelpText("sandt \xE2\x86\x92 falsk", error));
  EXPECT_NE(error.find("U+2192"), std::string::npos) << error;
  EXPECT_FALSE(encodeHelpText("linje\n\tindrykket", error));
  EXPECT_NE(error.find("U+0009"), std::string::npos) << error;
  // A real question mark is fine.
  EXPECT_TRUE(encodeHelpText("Hvem lander først?", error));
}

TEST(HelpLinkTest, RecordBytes) {
  struct Case {
    uint16_t id;
    std::array<uint8_t, 8> bytes;
  } cases[] = {
      {2008, {0xd8, 0x07, 0x00, 0x00, 0xd8, 0x07, 0xa8, 0x0f}},
      {1000, {0xe8, 0x03, 0x00, 0x00, 0xe8, 0x03, 0xb8, 0x0b}},
      {1018, {0xfa, 0x03, 0x00, 0x00, 0xfa, 0x03, 0xca, 0x0b}},
      {2046, {0xfe, 0x07, 0x00, 0x00, 0xfe, 0x07, 0xce, 0x0f}},
  };
  for (const Case& c : cases) EXPECT_EQ(helpLinkRecord(c.id), c.bytes) << c.id;
}

TEST(TextPairsTest, DescriptionsAndTipsComeInPairs) {
  const cTextSource s = parseTextSource(
      "== 2008 Og-port ==\nA\n"
      "== 2009 Eller-port ==\nB\n"  // no tip 4009
      "== 4010 Ikke-port (tip) ==\nC\n"  // no description 2010
      "== 4008 Og-port (tip) ==\nD\n"
      "== 10000 Om Zanbel ==\nE\n",  // a plain text needs no tip
      "p.txt");
  ASSERT_TRUE(s.ok());
  const std::vector<std::string> errors = checkTextPairs(s, "p.txt");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "p.txt:3: beskrivelse 2009 mangler sit tip 4009");
  EXPECT_EQ(errors[1], "p.txt:5: tip 4010 hører ikke til nogen beskrivelse (2010 mangler)");
}

const char* const kSmallSource =
    "== 2009 Eller-port ==\nEller.\n"
    "== 4009 Eller-port (tip) ==\nTip.\n"
    "== 2008 Og-port ==\nOg.\n\nAnden linje.\n"
    "== 4008 Og-port (tip) ==\nOg-tip.\n"
    "== 10000 Om Zanbel ==\nZanbel til Linux\n";

TEST(TextResourcesTest, WritesTextsAndOneLinkPerDescription) {
  const cTextResources r = buildTextResources(parseTextSource(kSmallSource, "s.txt"), "s.txt");
  ASSERT_TRUE(r.ok()) << r.errors.front();
  // Through the .res file, as the build hands it on.
  const cResReadResult back = readResFile(writeResFile(r.entries));
  ASSERT_TRUE(back.ok()) << back.error;
  std::vector<std::pair<uint16_t, uint16_t>> keys;
  for (const cResEntry& e : back.entries) keys.emplace_back(e.type, e.name);
  const std::vector<std::pair<uint16_t, uint16_t>> expected = {
      {1020, 2008}, {1020, 2009}, {1020, 4008}, {1020, 4009}, {1020, 10000},
      {1021, 2008}, {1021, 2009}};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(back.entries[0].data, bytesOf({'O', 'g', '.', '\r', '\n', 'A', 'n', 'd', 'e', 'n',
                                           ' ', 'l', 'i', 'n', 'j', 'e', '.', 0}));
  EXPECT_EQ(back.entries[5].data, bytesOf({0xd8, 0x07, 0x00, 0x00, 0xd8, 0x07, 0xa8, 0x0f}));
}

TEST(TextResourcesTest, OnlyOneTextForTheProgramsOwnModules) {
  const cTextSource s = parseTextSource(kSmallSource, "s.txt");
  const cTextResources r = buildTextResources(s, "s.txt", kCreditsTextId);
  ASSERT_TRUE(r.ok()) << r.errors.front();
  ASSERT_EQ(r.entries.size(), 1u);
  EXPECT_EQ(r.entries[0].type, kHelpTextType);
  EXPECT_EQ(r.entries[0].name, kCreditsTextId);

  const cTextResources missing = buildTextResources(s, "s.txt", 10001);
  EXPECT_FALSE(missing.ok());
  EXPECT_TRUE(missing.entries.empty());
}

TEST(TextResourcesTest, AFaultAnywhereLeavesNothingToWrite) {
  // The credits alone are fine, but the source they come from is not: the
  // build must stop rather than carry on with half the texts.
  const std::string broken = std::string(kSmallSource) + "== 2010 Ikke-port ==\nIkke.\n";
  const cTextSource s = parseTextSource(broken, "b.txt");
  for (std::optional<uint16_t> only : {std::optional<uint16_t>(), std::optional(kCreditsTextId)}) {
    const cTextResources r = buildTextResources(s, "b.txt", only);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.entries.empty());
    ASSERT_FALSE(r.errors.empty());
    EXPECT_EQ(r.errors.front(), "b.txt:13: beskrivelse 2010 mangler sit tip 4010");
  }
}

// The program's own text source, checked against the kinds it describes.

struct KindText {
  uint16_t number;
  const char* name;
};
// Text number and name of every kind (the ten stickers share 2034).
const KindText kKindTexts[] = {
    {1000, "Pendul"}, {1001, "Tyngdekraftkammeret"}, {1002, "Kanon"}, {1004, "Stopur"},
    {1007, "Taltumbler"}, {1008, "Stemmegaffel"}, {1009, "Ur"}, {1010, "Tast"},
    {1011, "Metronom"}, {1012, "Strømafbryder"}, {1014, "Stort talvindue"},
    {1015, "Talvælger"}, {1016, "Glødelampe"}, {1017, "Hjerte"}, {1018, "Farveblander"},
    {2000, "Solsystem"}, {2001, "Resultatmaskine"}, {2002, "Lille talvindue"},
    {2003, "Areal/rumfang"}, {2004, "Trecifret tal"}, {2005, "Regnefunktioner"},
    {2006, "Møntkast"}, {2007, "Taltastatur"}, {2008, "Og-port"}, {2009, "Eller-port"},
    {2010, "Ikke-port"}, {2011, "X eller-port"}, {2016, "Additionstegn"},
    {2017, "Subtraktionstegn"}, {2018, "Multiplikationstegn"}, {2019, "Divisionstegn"},
    {2020, "Omregner"}, {2021, "Sammenligner"}, {2022, "Tovejsforgrener"},
    {2023, "Trevejsforgrener"}, {2024, "Firevejsforgrener"}, {2025, "Skiftespor"},
    {2026, "Båndoptager"}, {2027, "Opslagstavle"}, {2028, "Tekstvindue"},
    {2029, "Afstandsmåler til mus"}, {2030, "Detonator"}, {2032, "Musens knap"},
    {2033, "Tæller"}, {2034, "Klistermærke"}, {2035, "Skærm"}, {2037, "Lydafbryder"},
    {2038, "Lydomformer"}, {2040, "Dyrelyde"}, {2041, "Forskellige lyde"},
    {2042, "Højttaler"}, {2043, "Dommer"}, {2044, "Diagram"}, {2045, "Etiket"},
    {2046, "Konstant"},
};

// Lines a text takes when wrapped at word boundaries to width characters; a
// line break starts a new line, a word longer than a line takes a line of
// its own (the dialog breaks it there too).
int wrappedLines(const std::string& cp1252, size_t width) {
  int lines = 0;
  size_t start = 0;
  while (start <= cp1252.size()) {
    size_t end = cp1252.find("\r\n", start);
    if (end == std::string::npos) end = cp1252.size();
    const std::string para = cp1252.substr(start, end - start);
    size_t used = 0;
    int paraLines = 1;
    size_t pos = 0;
    while (pos < para.size()) {
      size_t sp = para.find(' ', pos);
      if (sp == std::string::npos) sp = para.size();
      const size_t word = sp - pos;
      if (used == 0) {
        used = word;
      } else if (used + 1 + word <= width) {
        used += 1 + word;
      } else {
        ++paraLines;
        used = word;
      }
      pos = sp + 1;
    }
    lines += paraLines;
    start = end + 2;
  }
  return lines;
}

class RealTextSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(loadFileBytes(path_, bytes_, error)) << error;
    source_ = parseTextSource(std::string(bytes_.begin(), bytes_.end()), path_);
    ASSERT_TRUE(source_.ok()) << source_.errors.front();
  }
  std::string cp1252Of(const cTextBlock& b) {
    std::string error;
    const auto bytes = encodeHelpText(b.text, error);
    EXPECT_TRUE(bytes) << b.id << ": " << error;
    return bytes ? std::string(bytes->begin(), bytes->end() - 1) : std::string();
  }
  const std::string path_ = ZANBEL_SOURCE_DIR "/resources/texts/helptexts.txt";
  std::vector<uint8_t> bytes_;
  cTextSource source_;
};

TEST_F(RealTextSourceTest, EveryKindHasItsDescriptionTipAndLink) {
  const cTextResources r = buildTextResources(source_, path_);
  ASSERT_TRUE(r.ok()) << r.errors.front();
  std::set<uint16_t> links;
  for (const cResEntry& e : r.entries)
    if (e.type == kHelpLinkType) links.insert(e.name);

  std::set<uint16_t> kinds;
  for (const KindText& k : kKindTexts) {
    kinds.insert(k.number);
    const cTextBlock* d = source_.find(k.number);
    const cTextBlock* t = source_.find(static_cast<uint16_t>(k.number + kTipOffset));
    ASSERT_NE(d, nullptr) << "beskrivelse " << k.number << " " << k.name;
    ASSERT_NE(t, nullptr) << "tip " << k.number + kTipOffset << " " << k.name;
    // The numbers do not follow the kinds' order, so a text under the wrong
    // number is easy to write; the header names show it.
    EXPECT_EQ(d->name, k.name) << k.number;
    EXPECT_EQ(t->name.rfind(k.name, 0), 0u) << t->id << " " << t->name;
  }
  // One link per kind, and no descriptions of kinds that do not exist.
  EXPECT_EQ(links, kinds);
  const cTextBlock* sticker = source_.find(2034);
  ASSERT_NE(sticker, nullptr);
  EXPECT_NE(sticker->text.find("Klistermærkerne er kun for sjov"), std::string::npos);
}

// The help area shows the text in a font one ninth of its height, and one
// twelfth when the text does not fit that way. In an area about one and a
// half times as wide as high, MS Sans Serif at a twelfth of the height holds
// about 40 characters a line: so 12 lines of 40 is the most a text may take.
// The same area gives 9 lines of about 30 characters at the larger size,
// which most descriptions fill.
constexpr size_t kHelpLineWidth = 40;
constexpr int kHelpLines = 12;
// The About box shows the credits in a static text of its own, wider and
// taller than the help area.
constexpr size_t kCreditsLineWidth = 60;
constexpr int kCreditsLines = 16;

TEST_F(RealTextSourceTest, TextsFitWhereTheyAreShown) {
  for (const cTextBlock& b : source_.blocks) {
    const std::string text = cp1252Of(b);
    if (b.id == kCreditsTextId) {
      EXPECT_LE(wrappedLines(text, kCreditsLineWidth), kCreditsLines) << b.id;
    } else {
      EXPECT_EQ(textRoleOf(b.id) == eTextRole::plain, false) << "ukendt tekst " << b.id;
      EXPECT_LE(wrappedLines(text, kHelpLineWidth), kHelpLines) << b.id << " " << b.name;
    }
  }
}

TEST_F(RealTextSourceTest, CreditsNameTheEditionAndEveryLibrary) {
  const cTextBlock* c = source_.find(kCreditsTextId);
  ASSERT_NE(c, nullptr);
  for (const char* word : {"Zanbel til Linux", "Zanbels udviklere", "wxWidgets", "SDL2",
                           "FreeType", "libpng", "fontconfig"})
    EXPECT_NE(c->text.find(word), std::string::npos) << word;
}

}  // namespace
