// Zorvane: sort the road signs. One run plays one game.
#include "zorvane.h"

// The command line is ignored; SDL's entry glue needs this signature.
int main(int argc, char *argv[])
{
    (void)argc;
    (void)argv;
    initializationGrafic();
    initializationEventFilter();
    initializationRandomaizer();
    initializationTexteres();
    FillGameField();
    startGame();
    return 0;
}
