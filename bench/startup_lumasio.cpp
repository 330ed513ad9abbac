// Lumasio's own start-up path, reporting its first painted frame.
#include "first_frame.h"
#include "form1.h"
#include "product.h"
#include "startup.h"

#include <QCoreApplication>

// Start-up makes the application; the report starts watching as it does.
using lumasio::bench::reportFirstFrame;
Q_COREAPP_STARTUP_FUNCTION(reportFirstFrame)

int main(int argc, char *argv[])
{
    return lumasio::runtime::startUp(lumasio::window::application(), argc, argv,
                                     lumasio::window::createForm1);
}
