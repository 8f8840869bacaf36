// Writes a generated picture set for the end-to-end tests:
//   makePictureSet DIR
// Sign pictures are 100 × 100 squares in colours that tell their group:
// red = 30 + 35 × group (see support.cpp).
#include <cstdio>

#include "support.h"

int main(int argc, char *argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: makePictureSet DIR\n");
        return 2;
    }
    writePictureSet(argv[1], 100, 100);
    return 0;
}
