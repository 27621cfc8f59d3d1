#include "app/product_site.h"

#include "app/preferences.h"
#include "platform/url_opener.h"

#include <lumora/registry.h>

#include <QUrl>

namespace lumora {

std::optional<ProductSite> ProductSite::FromSettings() {
    const auto address = ReadRegString(HKEY_LOCAL_MACHINE, kLumoraKey, kSiteAddressValue);
    if (!address) return std::nullopt;
    return FromAddress(*address);
}

std::optional<ProductSite> ProductSite::FromAddress(std::string_view address) {
    QUrl url(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())).trimmed());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != "http" && scheme != "https") || url.host().isEmpty() || url.hasQuery() ||
        url.hasFragment()) {
        return std::nullopt;
    }
    if (!url.path().endsWith('/')) url.setPath(url.path() + '/');
    return ProductSite(url.toEncoded().toStdString());
}

bool ProductSite::VisitHomePage() const { return UrlOpener::Instance().Open(base_); }

}  // namespace lumora
