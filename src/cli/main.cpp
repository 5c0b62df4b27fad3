#include <iostream>

#include "cli_app.h"

int main(int argc, char** argv) { return sonvera::cli::runCli(argc, argv, std::cout, std::cerr); }
