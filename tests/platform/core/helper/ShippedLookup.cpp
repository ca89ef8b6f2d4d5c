// shipped_lookup PROGRAM_FOLDER NAME: prints the path the program takes for the shipped file NAME
// (a program path) with PROGRAM_FOLDER as its program folder. The tests run a copy of it from a
// folder of their own, which is then the folder beside the executable.

#include <cstdio>

#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: shipped_lookup PROGRAM_FOLDER NAME\n");
        return 2;
    }
    SetProgramFolder(argv[1]);
    std::printf("%s\n", ShippedFilePath(argv[2]).c_str());
    return 0;
}
