#include "game/startup.h"

int main()
{
    RunTervane();
}
