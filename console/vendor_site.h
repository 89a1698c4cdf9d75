#pragma once
#include <string>

// The vendor's web site: scheme and host, without a trailing "/". Every address of the vendor
// (the web site command, the help page, the window title) is built from this one constant.
inline constexpr const char* kVendorSite = "https://www.tavernel.com";

// The web site command's address: the site + "/?from=Sorrelmede&version=V100".
std::string qevVendorHomeAddress();
// The help page: the site + "/brindlehelp.asp?from=Sorrelmede&version=V100".
std::string qevVendorHelpAddress();
// The download page of the master site's programs, as the operator is told it: the site +
// "/FileMon.asp"; and as it is opened: with "?from=Sorrelmede&version=V570".
std::string qevVendorDownloadPage();
std::string qevVendorDownloadAddress();
// "Tavernel V1.00 官方网站" + " " + the site's host name.
std::string qevMainWindowTitle();
