#include "tests/support/TestMain.h"

int main(int argc, char **argv)
{
    return RunTests<NoApplication>(argc, argv);
}
