#include "product.h"

#include "product_config.h"

namespace lumasio::window {

const runtime::Application &application()
{
    static constexpr runtime::Application Lumasio{
        .name = u"Lumasio",
        .version = LUMASIO_VERSION,
        .desktopFileName = LUMASIO_APP_ID,
    };
    return Lumasio;
}

QUrl publisherSite()
{
    return QUrl(QStringView(LUMASIO_PUBLISHER_SITE).toString());
}

} // namespace lumasio::window
