// app: the entry point; everything else lives in the libraries.
#include "app/app.h"

int main(int argc, char** argv)
{
    return runGame(argc, argv);
}
