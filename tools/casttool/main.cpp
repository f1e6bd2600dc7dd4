// casttool: the command-line tool for players who script their casts.
#include <iostream>

#include "command_line.h"

int main(int argc, char** argv) { return casttool::RunCommandLine(argc, argv, std::cout, std::cerr); }
