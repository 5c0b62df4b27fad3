#pragma once
// The 8-bit display character set of the instruments: three national tables
// (1 Russian, 2 Kazakh, 3 Latin) chosen per record, and one table shared by
// all three.

#include <cstdint>
#include <string>

namespace sonvera {

// The character a byte stands for under the table selector; a space for
// bytes below 32 and, in the selector-dependent ranges, for a selector other
// than 1, 2 or 3.
char16_t instrumentCharacter(std::uint8_t byte, int tableSelector);

// Ten bytes of instrument text as UTF-8, trailing spaces included.
std::string instrumentText(const std::uint8_t* bytes10, int tableSelector);
// The same into `out`, reusing its storage.
void assignInstrumentText(std::string& out, const std::uint8_t* bytes10, int tableSelector);

}  // namespace sonvera
