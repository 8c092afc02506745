#include "tests/support/TestMain.h"

#include "app/adapters/QuirelleApplication.h"

int main(int argc, char **argv)
{
    return RunTests<QuirelleApplication>(argc, argv);
}
