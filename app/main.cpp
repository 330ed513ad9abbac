#include "form1.h"
#include "product.h"
#include "startup.h"

int main(int argc, char *argv[])
{
    return lumasio::runtime::startUp(lumasio::window::application(), argc, argv,
                                     lumasio::window::createForm1);
}
