#include "measurement/instrument_text.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf16.h"

namespace sonvera {
namespace {

std::u16string tableRange(int selector, int firstByte, int lastByte) {
  std::u16string s;
  for (int b = firstByte; b <= lastByte; ++b) s += instrumentCharacter(static_cast<std::uint8_t>(b), selector);
  return s;
}

// National table entries i..j (entries 0-31 are bytes 32-63, 32-111 are bytes 176-255).
std::u16string national(int selector, int first, int last) {
  std::u16string s;
  for (int i = first; i <= last; ++i)
    s += instrumentCharacter(static_cast<std::uint8_t>(i < 32 ? i + 32 : i + 144), selector);
  return s;
}

TEST(InstrumentText, ExamplesInEveryTable) {
  for (int selector = 1; selector <= 3; ++selector) {
    EXPECT_EQ(instrumentCharacter(0x41, selector), u'A');
    EXPECT_EQ(instrumentCharacter(0xF5, selector), u'0');
    EXPECT_EQ(instrumentCharacter(0xFF, selector), u' ');
  }
  EXPECT_EQ(instrumentCharacter(0x30, 1), u'\u041F');
  EXPECT_EQ(instrumentCharacter(0x30, 2), u'\u041C');
  EXPECT_EQ(instrumentCharacter(0x30, 3), u'Q');
}

TEST(InstrumentText, RussianTable) {
  EXPECT_EQ(national(1, 0, 32), u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  EXPECT_EQ(national(1, 33, 65), u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
  EXPECT_EQ(national(1, 66, 111), u"!\"#$%&'()*+,-.:;?<=>@[\\]^_`{|}~\u045E\u00B0\u2116\u00A40123456789 ");
}

TEST(InstrumentText, KazakhTable) {
  EXPECT_EQ(national(2, 0, 41), u"АӘБВГҒДЕЁЖЗИЙКҚЛМНҢОӨПРСТУҰҮФХҺЦЧШЩЪЫIЬЭЮЯ");
  EXPECT_EQ(national(2, 42, 83), u"аәбвгғдеёжзийкқлмнңоөпрстуұүфхһцчшщъыiьэюя");
  EXPECT_EQ(national(2, 84, 111), u"!\"#$%&'()*+,-.:;?0123456789 ");
}

TEST(InstrumentText, LatinTable) {
  EXPECT_EQ(national(3, 0, 51), u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(national(3, 52, 86), u"!\"#$%&'()*+,-.:;?<=>@[\\]^_`{|}~\u045E\u00B0\u2116\u00A4");
  EXPECT_EQ(national(3, 87, 111), std::u16string(14, u' ') + u"0123456789 ");
}

TEST(InstrumentText, SharedTableAndControlBytes) {
  std::u16string ascii;
  for (char16_t c = u'@'; c <= u'~'; ++c) ascii += c;
  for (int selector : {0, 1, 2, 3, 4, -1}) {
    EXPECT_EQ(tableRange(selector, 64, 126), ascii) << selector;
    EXPECT_EQ(tableRange(selector, 127, 175), std::u16string(49, u' ')) << selector;
    EXPECT_EQ(tableRange(selector, 0, 31), std::u16string(32, u' ')) << selector;
  }
}

TEST(InstrumentText, UnknownSelectorGivesSpaces) {
  for (int selector : {0, 4, 255, -1}) {
    EXPECT_EQ(tableRange(selector, 32, 63), std::u16string(32, u' '));
    EXPECT_EQ(tableRange(selector, 176, 255), std::u16string(80, u' '));
  }
}

TEST(InstrumentText, TenCharactersWithTrailingSpaces) {
  // Russian table: Ш is entry 25 (byte 57), у entry 53 (byte 197), м entry 46
  // (byte 190), the digit 1 entry 102 (byte 246).
  const std::uint8_t text[10] = {57, 197, 190, 0x00, 246, 0x01, 0x02, 0x03, 0x04, 0x1F};
  EXPECT_EQ(instrumentText(text, 1), "Шум 1     ");
  // Byte 32 is a letter in the national tables, not a space.
  const std::uint8_t latin[10] = {0x4C, 0x41, 0x42, 0x20, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(instrumentText(latin, 3), "LABA      ");
  EXPECT_EQ(instrumentText(latin, 7), "LAB       ");
}

}  // namespace
}  // namespace sonvera
