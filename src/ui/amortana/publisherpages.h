// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QUrl>

#include <string_view>

// The publisher's pages that the main window points at. Fetched over HTTPS: the banner
// downloads an installer, and an executable fetched over plain HTTP can be replaced on
// the way.
namespace publisherpages {

inline constexpr std::string_view kScheme = "https";
inline constexpr std::string_view kHost = "www.zelvor.com.tr";

inline constexpr std::string_view kInformationPage = "/Velkaro_Programi.htm"; // the web view
inline constexpr std::string_view kBannerDownload = "/download/Zelvor_Tarsem.exe"; // Image1
inline constexpr std::string_view kCaptionPage = "/personel.htm"; // Label2
inline constexpr std::string_view kClosingPage = "/zelvor_yazilim.htm"; // on close

QUrl url(std::string_view path);

} // namespace publisherpages
