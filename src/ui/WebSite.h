#pragma once

#include <QUrl>

// The maker's web site and the pages of it the program opens.
namespace WebSite {

inline constexpr char kAddress[] = "https://www.vocarta.org";

inline constexpr char kUpdatesPage[] = "/vocarta.html";
inline constexpr char kDonationPage[] = "/donazioni--donation.html";
inline constexpr char kLanguagesPage[] = "/vocarta-languages.html";

// The home page for an empty path, otherwise the page at that path.
QUrl page(const char* path = "");

} // namespace WebSite
