// The program's own start-up, driven by the probe (see probe.cpp).
#include "startup.h"

int main(int argc, char **argv)
{
    return runFarewelldesk(argc, argv);
}
