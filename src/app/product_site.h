// ProductSite: Lumora's web site, whose root page is opened at start-up and whose
// "checkupdate.php" and "download.php" serve the update check.
//
// Its address is the settings value SOFTWARE\Lumora "SiteAddress" (text). The default is
// no address at all: no page is opened and no check is made. Only an absolute http or
// https address with a host and without query or fragment counts; a missing final "/" is
// added, since the page names are appended to it. Anything else reads as no address,
// silently, like every settings value that cannot be used.
//
// A value object. FromSettings reads the settings store (user-interface thread, as every
// settings access); VisitHomePage opens a browser through UrlOpener (user-interface
// thread); the rest may be used on any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumora {

class ProductSite {
public:
    static constexpr char kSiteAddressValue[] = "SiteAddress";

    static std::optional<ProductSite> FromSettings();
    static std::optional<ProductSite> FromAddress(std::string_view address);

    // The root address, ending in "/".
    const std::string& base() const { return base_; }
    std::string CheckUpdateUrl() const { return base_ + "checkupdate.php"; }
    std::string DownloadUrl() const { return base_ + "download.php"; }

    // Opens the root page in the browser; answers whether a browser was started.
    bool VisitHomePage() const;

private:
    explicit ProductSite(std::string base) : base_(std::move(base)) {}

    std::string base_;
};

}  // namespace lumora
