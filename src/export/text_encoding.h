#pragma once

#include <cstdint>

namespace sonvera {

// How the texts of result files are written: the Windows code page (the
// files' own form), or UTF-8 with a byte-order mark, which spreadsheets
// recognise when they open a file. Plain UTF-8 is for texts the program
// keeps for itself (a workbook's information sheet).
enum class TextEncoding : std::uint8_t { Windows1251, Utf8WithBom, Utf8 };

}  // namespace sonvera
