// Test pictures: a 6 x 4 pattern of known colours written as BMP files of
// several depths byte by byte, or in other formats through the image
// library, and the colour each pixel should have.
#pragma once
#include "tests/support/kit_gtest.h"
#include <string>
#include <vector>

namespace qmtest {

const int kPicW = 6, kPicH = 4;
// The colour of pixel (x, y), y = 0 the top row: four quadrants (red,
// green, blue, yellow) from 4 bits up; red and blue crossed for 1 bit.
COLORREF pictureColour(int bits, int x, int y);
// A BMP file of the pattern with 1, 4, 8, 24 or 32 bits, bottom-up or
// top-down (a negative height).
std::vector<uint8_t> bmpBytes(int bits, bool topDown = false);
// The pattern (24 bits; 8 bits with a palette for "gif") saved by the image
// library into a file of the format named by its extension ("png", "jpg",
// "gif", "tif"), as bytes.
std::vector<uint8_t> libraryBytes(const std::string &ext);
// A 16-bit grey picture of kGreyW x kGreyH saved by the image library
// ("png", "tif"): the two left columns black, the middle one 0x8080, the
// rest white.
const int kGreyW = 5, kGreyH = 3;
std::vector<uint8_t> grey16Bytes(const std::string &ext);
// Whether two colours are within the tolerance on each channel.
bool nearColour(COLORREF a, COLORREF b, int tolerance);

}  // namespace qmtest
