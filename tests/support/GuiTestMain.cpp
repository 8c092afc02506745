#include "tests/support/TestMain.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    return RunTests<QGuiApplication>(argc, argv);
}
