#include "startup.h"

int main(int argc, char **argv)
{
    return runFarewelldesk(argc, argv);
}
