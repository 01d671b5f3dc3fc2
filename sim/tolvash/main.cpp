// tolvash: the helper program of the start-up write test and the update check.
#include "TolvashCommands.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return tolvash::Run(args, std::cerr);
}
