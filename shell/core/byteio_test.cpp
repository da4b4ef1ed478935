#include "shell/core/byteio.h"

#include <gtest/gtest.h>

TEST(ByteReaderTest, BothByteOrders) {
  const uint8_t data[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};
  cByteReader be(data, sizeof data, cEndian::big);
  EXPECT_EQ(be.u16(), 0x1234);
  EXPECT_EQ(be.u32(), 0x56789ABCu);
  EXPECT_EQ(be.s16(), static_cast<int16_t>(0xDEF0));
  EXPECT_TRUE(be.ok());
  EXPECT_TRUE(be.atEnd());

  cByteReader le(data, sizeof data, cEndian::little);
  EXPECT_EQ(le.u16(), 0x3412);
  EXPECT_EQ(le.u32(), 0xBC9A7856u);
  EXPECT_EQ(le.u16(), 0xF0DE);
}

TEST(ByteReaderTest, NeverReadsPastTheEnd) {
  const uint8_t data[] = {1, 2, 3};
  cByteReader r(data, sizeof data, cEndian::big);
  EXPECT_EQ(r.u16(), 0x0102);
  // Only one byte left: the 32-bit read fails, yields 0 and does not move.
  EXPECT_EQ(r.u32(), 0u);
  EXPECT_TRUE(r.failed());
  // The failure sticks, even for a read that would fit.
  EXPECT_EQ(r.u8(), 0);
  EXPECT_FALSE(r.ok());

  cByteReader s(data, sizeof data, cEndian::big);
  uint8_t out[4] = {9, 9, 9, 9};
  EXPECT_FALSE(s.bytes(out, 4));
  EXPECT_EQ(out[0], 0);  // zero-filled, not partly copied
  EXPECT_TRUE(cByteReader(data, 3, cEndian::big).take(4).empty());

  cByteReader t(data, sizeof data, cEndian::big);
  EXPECT_FALSE(t.seek(4));
  EXPECT_TRUE(cByteReader(data, 3, cEndian::big).seek(3));  // the end itself is a place
  cByteReader u(data, sizeof data, cEndian::big);
  EXPECT_FALSE(u.skip(static_cast<size_t>(-1)));  // no wrap-around of the position
}

TEST(ByteWriterTest, RoundTripAndPatch) {
  cByteWriter w(cEndian::big);
  w.u32(0xFF000002);
  w.s16(-3);
  w.f64(12.5);
  w.padTo(4);
  EXPECT_EQ(w.size(), 16u);
  EXPECT_TRUE(w.patchU16(4, 0x0102));
  EXPECT_FALSE(w.patchU32(14, 1));  // would run past the end

  cByteReader r(w.data(), cEndian::big);
  EXPECT_EQ(r.u32(), 0xFF000002u);
  EXPECT_EQ(r.u16(), 0x0102);
  EXPECT_EQ(r.f64(), 12.5);
  EXPECT_TRUE(r.ok());
}
