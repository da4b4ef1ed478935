#include "tools/invention/inventiontext.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "shell/core/byteio.h"

namespace {

struct cChunk {
  std::string id;
  std::vector<uint8_t> body;
};

std::vector<cChunk> chunksOf(const std::vector<uint8_t>& image) {
  std::vector<cChunk> out;
  for (size_t at = 12; at + 8 <= image.size();) {
    const size_t n = byteio::getU32BE(&image[at + 4]);
    const auto body = image.begin() + static_cast<long>(at + 8);
    out.push_back({std::string(image.begin() + static_cast<long>(at), image.begin() + static_cast<long>(at) + 4),
                   std::vector<uint8_t>(body, body + static_cast<long>(n))});
    at += 8 + n;
  }
  return out;
}

}  // namespace

TEST(InventionText, CompilesGadgetsWiresAndLimits) {
  const auto r = compileInventionText(
      "version 3\n"
      "background sand   # Sand\n"
      "gadget MiCo a x 10 y -20 locked\n"
      "  text 0 \"æ\\\"b\"\n"
      "  choice 3 7\n"
      "  number 1 -5\n"
      "  flag 31\n"
      "gadget AndG b x 100 y 200 key 0xFF0000AA\n"
      "wire a.0 -> b.1 via 1,2 3,4 locked\n"
      "limit AndG 2\n");
  ASSERT_TRUE(r.ok()) << r.error;
  const auto chunks = chunksOf(r.image);
  ASSERT_EQ(chunks.size(), 6u);
  EXPECT_EQ(byteio::getU32BE(&r.image[4]), r.image.size() - 8);
  EXPECT_EQ(byteio::getU16BE(chunks[0].body.data()), 3);
  EXPECT_EQ(byteio::getU16BE(chunks[1].body.data()), 700);

  const auto& a = chunks[2].body;
  ASSERT_EQ(a.size(), 336u);
  EXPECT_EQ(byteio::getU32BE(&a[0]), 0xFF000001u);
  EXPECT_EQ(int16_t(byteio::getU16BE(&a[4])), -20) << "v is y";
  EXPECT_EQ(int16_t(byteio::getU16BE(&a[6])), 10) << "h is x";
  EXPECT_EQ(byteio::getU32BE(&a[8]), 0x80000000u);
  EXPECT_EQ(a[15], 7);
  EXPECT_EQ(int32_t(byteio::getU32BE(&a[20])), -5);
  EXPECT_EQ(a[32], 0xE6) << "Windows-1252 in the file";
  EXPECT_EQ(a[33], '"');
  EXPECT_EQ(a[272], 1);

  const auto& w = chunks[4].body;
  ASSERT_EQ(w.size(), 24u);
  EXPECT_EQ(byteio::getU32BE(&w[0]), 0xFF000001u);
  EXPECT_EQ(byteio::getU32BE(&w[4]), 0xFF0000AAu);
  EXPECT_EQ(byteio::getU16BE(&w[10]), 1);
  EXPECT_EQ(w[12], 1);
  EXPECT_EQ(byteio::getU16BE(&w[16]), 2) << "knot v = y";
  EXPECT_EQ(byteio::getU16BE(&w[18]), 1);
  EXPECT_EQ(chunks[5].id, "numG");
}

TEST(InventionText, ErrorsNameTheLine) {
  struct {
    std::string source;
    const char* error;
  } cases[] = {
      {"gadget Blah a x 1 y 1", "linje 1: \"Blah\" er ikke en slags dims"},
      {"\n  choice 0 1", "linje 2: choice skal stå under en dims"},
      {"gadget MiCo a x 1 y 1\nwire a.0 -> b.0", "linje 2: der er ingen dims, der hedder b"},
      {"gadget MiCo a x 1 y 1\n  choice 4 0", "linje 2: 4 ligger ikke mellem 0 og 3"},
      {"gadget MiCo a x 1 y 1\n  text 0 \"" + std::string(60, 'x') + "\"", ""},
      {"background grøn", "linje 1: baggrunden er none, sand, bølger eller stål"},
      {"gadget MiCo a x 1 y 1\ngadget MiCo a x 2 y 2", "linje 2: navnet a er brugt før"},
      {"gadget MiCo a x 1 y 1\n  text 0 \"abc", "linje 2: teksten mangler sit afsluttende \""},
  };
  for (const auto& c : cases) {
    const auto r = compileInventionText(c.source);
    EXPECT_FALSE(r.ok()) << c.source;
    if (*c.error) {
      EXPECT_EQ(r.error, c.error);
    }
  }
}

// The example that ships with the editor has a fixed composition.
TEST(InventionText, TheExampleHasItsComposition) {
  std::ifstream in(ZANBEL_EXAMPLE_SOURCE);
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  const auto r = compileInventionText(text.str());
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.image.size(), 5100u);
  const auto chunks = chunksOf(r.image);
  ASSERT_EQ(chunks.size(), 2u + 14 + 10);
  EXPECT_EQ(byteio::getU16BE(chunks[0].body.data()), 4);
  EXPECT_EQ(byteio::getU16BE(chunks[1].body.data()), 702);
  const char* kinds[] = {"Wtch", "Comp", "Spl2", "MiCo", "Mplx", "MiCo", "Ttlr",
                         "Stk7", "MiCo", "TxLb", "TxLb", "TxLb", "TxLb", "Spl2"};
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(chunks[size_t(2 + i)].id, kinds[i]);
    EXPECT_EQ(chunks[size_t(2 + i)].body.size(), 336u);
  }
  int plain = 0, oneKnot = 0, twoKnots = 0;
  for (size_t i = 16; i < chunks.size(); ++i) {
    EXPECT_EQ(chunks[i].id, "conn");
    const size_t n = chunks[i].body.size();
    plain += n == 16;
    oneKnot += n == 20;
    twoKnots += n == 24;
  }
  EXPECT_EQ(plain, 8);
  EXPECT_EQ(oneKnot, 1);
  EXPECT_EQ(twoKnots, 1);
}
