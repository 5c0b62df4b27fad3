// Writes the seeds of the user-text fuzzer: the first byte picks the parser.

#include <string>

#include "support/seed_writer.h"

using namespace std::string_literals;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  return sonvera::fuzz::writeSeeds(argv[1], 8,
                                   {"\x00"s "60", "\x00"s " -4294967297", "\x01"s "a\0.\0c\0f\0g\0 \0\"\0x\0 \0y\0\"\0"s,
                                    "\x02"s "17/05/2024 00:10:00", "\x06"s "00:20:00", "\x0a"s "99/99/9999 99:99:99",
                                    "\x02"s "2024-05-17T00:10:00", "\x06"s "00:20 17/05/2024", "\x02"s "2024-05-17 1:2",
                                    "\x03"s "90\n\n10\n 50 \n\n\n300", "\x07"s "x\n\n\n\n\n\nabc",
                                    "\xb3"s "7\n19\n23\n0\n5\n10\n65,5\n5\n0", "\x13"s "22\n6\n6\n-0\n1e3\n\n.5\n86400\nx"});
}
