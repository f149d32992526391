// The maker's two web addresses: the product site (the About box's link, Help > Home page)
// and the maker's home page (the About box's picture).
#pragma once

namespace WebAddresses {

// Shown as the link's caption; the link opens it after "http://".
constexpr const char* kProductSite = "www.lexora.example";
constexpr const char* kProductSiteUrl = "http://www.lexora.example/";
constexpr const char* kMakerHomePage = "http://www.tavorsoft.example/";

}  // namespace WebAddresses
