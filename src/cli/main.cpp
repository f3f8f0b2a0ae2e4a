#include <iostream>

#include "cli_context.h"

int main(int argc, char** argv) {
    quorvane::cli::Args args(argv + 1, argv + argc);
    return quorvane::cli::runCli(args, std::cout, std::cerr);
}
