// Writes the seeds of the decoder fuzzer into the folder given.

#include "support/seed_writer.h"

int main(int argc, char** argv) { return argc < 2 ? 2 : sonvera::fuzz::writeSeeds(argv[1], 40); }
