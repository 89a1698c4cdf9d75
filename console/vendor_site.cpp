#include "console/vendor_site.h"

namespace {

constexpr const char* kQuery = "?from=Sorrelmede&version=V100";

std::string hostOf(const std::string& site) {
  const std::size_t scheme = site.find("://");
  const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
  const std::size_t end = site.find_first_of("/:?", start);
  return site.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::string qevVendorHomeAddress() { return std::string(kVendorSite) + "/" + kQuery; }

std::string qevVendorHelpAddress() { return std::string(kVendorSite) + "/brindlehelp.asp" + kQuery; }

std::string qevVendorDownloadPage() { return std::string(kVendorSite) + "/FileMon.asp"; }

std::string qevVendorDownloadAddress() { return qevVendorDownloadPage() + "?from=Sorrelmede&version=V570"; }

std::string qevMainWindowTitle() { return std::string("Tavernel V1.00 官方网站") + " " + hostOf(kVendorSite); }
