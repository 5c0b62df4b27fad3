#include "export/ansi_text.h"

#include <gtest/gtest.h>

namespace sonvera {
namespace {

TEST(AnsiText, RussianTextsFitTheCodePage) {
  EXPECT_EQ(toAnsi("Дата"), "\xC4\xE0\xF2\xE0");
  EXPECT_EQ(toAnsi("АЯаяЁё№"), "\xC0\xDF\xE0\xFF\xA8\xB8\xB9");
  EXPECT_EQ(toAnsi("N;1.5\t"), "N;1.5\t");
  EXPECT_EQ(toAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(AnsiText, UpperHalfOutsideTheAlphabet) {
  EXPECT_EQ(ansiByte(0x0402), '\x80');
  EXPECT_EQ(ansiByte(0x20AC), '\x88');
  EXPECT_EQ(ansiByte(0x2122), '\x99');
  EXPECT_EQ(ansiByte(0x00A0), '\xA0');
  EXPECT_EQ(ansiByte(0x0490), '\xA5');
  EXPECT_EQ(ansiByte(0x00B0), '\xB0');
  EXPECT_EQ(ansiByte(0x0457), '\xBF');
  EXPECT_EQ(ansiByte(0x2014), '\x97');
}

TEST(AnsiText, OtherCharactersBecomeQuestionMarks) {
  EXPECT_EQ(toAnsi("é"), "?");
  EXPECT_EQ(toAnsi("Ә"), "?");
  EXPECT_EQ(ansiByte(0x0098), '?');
  EXPECT_EQ(ansiByte(0x0080), '?');
  EXPECT_EQ(toAnsi("x\xF0\x9F\x98\x80y"), "x?y");  // one character outside the BMP
  EXPECT_EQ(toAnsi("\xFF"), "?");
  EXPECT_EQ(toAnsi("\xD0"), "?");  // cut sequence
}

}  // namespace
}  // namespace sonvera
