#include "form1.h"
#include "startup.h"

int main(int argc, char *argv[])
{
    return lumasio::runtime::startUp(lumasio::window::project(), argc, argv);
}
