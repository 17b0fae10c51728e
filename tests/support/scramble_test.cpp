// Buffer scrambling and unit conversion.
#include "tests/support/kit.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_scramble.h"
#include "support/ut_units.h"
#include <string.h>
#include <vector>

namespace {

TEST(Scramble, TwiceWithTheSameKeyRestoresTheBytes)
{
    const std::vector<uint8_t> original = {'p', 'a', 's', 's', 0, 0xFF, 0x80, 7, 9};
    std::vector<uint8_t> b = original;
    utScrambleWords(b.data(), (uint32_t)b.size(), 23719);
    EXPECT_NE(original, b);
    EXPECT_EQ(original[8], b[8]);   // an odd last byte is left as it is
    // Each word becomes NOT(word XOR key).
    EXPECT_EQ((uint8_t)~('p' ^ 0xA7), b[0]);
    EXPECT_EQ((uint8_t)~('a' ^ 0x5C), b[1]);
    utScrambleWords(b.data(), (uint32_t)b.size(), 23719);
    EXPECT_EQ(original, b);

    utScrambleBytes(b.data(), (uint32_t)b.size(), "morvelund");
    EXPECT_EQ((uint8_t)~('p' ^ 'm'), b[0]);
    EXPECT_EQ((uint8_t)~(9 ^ 'd'), b[8]);   // the key's last character
    uint8_t ten[10] = {};
    utScrambleBytes(ten, sizeof(ten), "morvelund");
    EXPECT_EQ((uint8_t)~'m', ten[9]);         // and then its first again
    utScrambleBytes(b.data(), (uint32_t)b.size(), "morvelund");
    EXPECT_EQ(original, b);

    utScrambleBytes(b.data(), (uint32_t)b.size(), "k");
    for (size_t i = 0; i < b.size(); ++i)
        EXPECT_EQ((uint8_t)~(original[i] ^ 'k'), b[i]);
    utScrambleBytes(b.data(), (uint32_t)b.size(), "");
    utScrambleBytes(b.data(), (uint32_t)b.size(), nullptr);
    utScrambleBytes(b.data(), (uint32_t)b.size(), "k");
    EXPECT_EQ(original, b);
}

TEST(Scramble, PacketsKeepTheirLengthWord)
{
    MemHandle packet = utMakePacket("secret", 6);
    utScramblePacket(packet, "key");
    EXPECT_EQ(10u, utGetPacketLength(packet));
    {
        MemLock<uint8_t> p(packet);
        EXPECT_EQ((uint8_t)~('s' ^ 'k'), p[4]);
    }
    utScramblePacket(packet, "key");
    {
        MemLock<char> p(packet);
        EXPECT_EQ(0, memcmp("secret", p.get() + 4, 6));
    }
    // A length beyond the block is cut to it; an empty packet is left.
    {
        MemLock<uint32_t> w(packet);
        w[0] = 1000;
    }
    utScramblePacket(packet, "key");
    utScramblePacket(packet, "key");
    {
        MemLock<char> p(packet);
        EXPECT_EQ(0, memcmp("secret", p.get() + 4, 6));
    }
    utFreeHandle(packet);
    MemHandle empty = utMakePacket(nullptr, 0);
    utScramblePacket(empty, "key");
    EXPECT_EQ(4u, utGetPacketLength(empty));
    utFreeHandle(empty);
    utScramblePacket(0, "key");
}

TEST(Units, ConversionGoesThroughCentimetres)
{
    EXPECT_NEAR(1.0, utConvertUnit(1440, UT_UNIT_TWIPS, UT_UNIT_INCH), 1e-6);
    EXPECT_NEAR(2.54, utConvertUnit(1, UT_UNIT_INCH, UT_UNIT_CM), 1e-6);
    EXPECT_NEAR(22.0, utConvertUnit(55.88, UT_UNIT_CM, UT_UNIT_INCH), 1e-5);
    EXPECT_NEAR(12.0, utConvertUnit(1, UT_UNIT_FEET, UT_UNIT_INCH), 1e-5);
    EXPECT_NEAR(100.0, utConvertUnit(1, UT_UNIT_METRE, UT_UNIT_CM), 1e-9);
    EXPECT_EQ(7.25, utConvertUnit(7.25, UT_UNIT_FEET, UT_UNIT_FEET));
    // Pixels and unknown codes count as inches.
    EXPECT_NEAR(2.54, utConvertUnit(1, UT_UNIT_PIXELS, UT_UNIT_CM), 1e-6);
    EXPECT_NEAR(1.0, utConvertUnit(1, 9, UT_UNIT_INCH), 1e-6);
}

}  // namespace
