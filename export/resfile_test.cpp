#include "export/resfile.h"

#include <gtest/gtest.h>

TEST(ResFileTest, RoundTripKeepsOrderAndAlignment) {
  std::vector<cResEntry> in = {
      {1004, 1020, 0, 0x1030, {1, 2, 3}},
      {1006, 128, 1030, 0x1030, std::vector<uint8_t>(45, 0x80)},
      {6, 501, 1033, 0x1030, {}},
  };
  const std::vector<uint8_t> bytes = writeResFile(in);
  EXPECT_EQ(bytes.size() % 4, 0u);
  const cResReadResult out = readResFile(bytes);
  ASSERT_TRUE(out.ok()) << out.error;
  ASSERT_EQ(out.entries.size(), 3u);
  for (size_t i = 0; i < in.size(); ++i) {
    EXPECT_EQ(out.entries[i].type, in[i].type);
    EXPECT_EQ(out.entries[i].name, in[i].name);
    EXPECT_EQ(out.entries[i].language, in[i].language);
    EXPECT_EQ(out.entries[i].data, in[i].data);
  }
}

TEST(ResFileTest, DamageIsReportedNotReadPast) {
  std::vector<uint8_t> bytes = writeResFile({{1004, 1, 0, 0x1030, std::vector<uint8_t>(16, 7)}});
  // Cut into the data of the entry.
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 8);
  cResReadResult r = readResFile(cut);
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(r.entries.empty());
  EXPECT_NE(r.error.find("runs past the end"), std::string::npos);

  // A header size pointing outside the file.
  std::vector<uint8_t> huge = bytes;
  huge[32 + 4] = 0xFF;
  huge[32 + 7] = 0x7F;
  EXPECT_NE(readResFile(huge).error.find("bad header size"), std::string::npos);

  // A named type (a UTF-16 name instead of 0xFFFF and an id).
  std::vector<uint8_t> named = bytes;
  named[32 + 8] = 'A';
  named[32 + 9] = 0;
  named[32 + 10] = 0;
  named[32 + 11] = 0;
  EXPECT_NE(readResFile(named).error.find("name instead of a number"), std::string::npos);
}
