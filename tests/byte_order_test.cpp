#include "byte_order.h"

#include <array>
#include <cstdint>

#include <gtest/gtest.h>

TEST(ByteOrder, MostSignificantByteComesFirstWhateverTheHost) {
  const std::array<std::uint8_t, 6> bytes{0xFF, 0xFE, 0x80, 0x01, 0x7F, 0x00};
  EXPECT_EQ(readBigEndian16(bytes, 0), 0xFFFEU);
  EXPECT_EQ(readBigEndian16(bytes, 2), 0x8001U);
  EXPECT_EQ(readBigEndian16(bytes, 4), 0x7F00U);
  EXPECT_EQ(readBigEndian32(bytes, 0), 0xFFFE8001U);
  EXPECT_EQ(readBigEndian32(bytes, 2), 0x80017F00U);
}
