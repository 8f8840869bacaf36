// Writes a generated picture set (see support.h) for the end-to-end tests:
//   makePictureSet NEW-DIR
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "support.h"

int main(int argc, char *argv[])
{
    if (argc != 2 || !std::filesystem::create_directories(argv[1]) ||
        chdir(argv[1]) != 0) {
        fprintf(stderr, "usage: makePictureSet NEW-DIR\n");
        return 2;
    }
    writePictureSet(100, 100);
    return 0;
}
