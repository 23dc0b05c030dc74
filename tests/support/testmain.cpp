#include "testsuite.h"

int main(int argc, char **argv)
{
    return TestSuite::run(argc, argv);
}
