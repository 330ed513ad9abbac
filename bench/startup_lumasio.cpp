// Lumasio's own start-up path, reporting its first painted frame.
#include "first_frame.h"
#include "form1.h"
#include "handlers.h"
#include "startup.h"

int main(int argc, char *argv[])
{
    return lumasio::runtime::startUp(lumasio::window::application(), argc, argv,
                                     lumasio::window::createForm1,
                                     &lumasio::bench::reportFirstFrame);
}
