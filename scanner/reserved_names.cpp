#include "scanner/reserved_names.h"

#include "common/text/text_codec.h"

namespace {

// Only A-Z and a-z are equal without regard to case; every other code unit compares exactly.
char16_t foldAsciiCase(char16_t unit) {
  return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool equalIgnoringAsciiCase(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAsciiCase(a[i]) != foldAsciiCase(b[i])) return false;
  }
  return true;
}

bool beginsWithIgnoringAsciiCase(const std::u16string& text, const std::u16string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (foldAsciiCase(text[i]) != foldAsciiCase(prefix[i])) return false;
  }
  return true;
}

std::vector<std::string> reservedNames(const char* suffix) {
  std::vector<std::string> names;
  for (const char* device : {"con", "prn", "aux", "nul"}) names.push_back(std::string(device) + suffix);
  for (const char* port : {"COM", "LPT"}) {
    for (unsigned number = 1; number <= 9; ++number) {
      names.push_back(port + std::to_string(number) + suffix);
    }
  }
  return names;
}

}  // namespace

void ReservedNameTable::fill(const std::vector<std::string>& ansiNames) {
  slots_ = {};
  std::size_t next = 0;
  for (const std::string& ansi : ansiNames) {
    if (next == kSlots) break;
    if (ansi.empty() || ansi.size() > kMaxNameLength) continue;
    std::u16string wide;
    if (qevAnsiToWide(ansi, wide) != 1 || wide.empty() || wide.size() > kMaxNameLength) continue;
    slots_[next].used = 1;
    slots_[next].name = std::move(wide);
    ++next;
  }
}

std::vector<std::string> DottedReservedNames() { return reservedNames("."); }

std::vector<std::string> PlainReservedNames() { return reservedNames(""); }

void ReservedNames::build() {
  dotted.fill(DottedReservedNames());
  plain.fill(PlainReservedNames());
}

bool ReservedNames::isSpecial(const std::u16string& name) const {
  for (const ReservedNameSlot& slot : plain.slots()) {
    if (slot.used != 1) break;
    if (equalIgnoringAsciiCase(slot.name, name)) return true;
  }
  if (name.find_first_of(u". ") == std::u16string::npos) return false;
  const bool endsInDotOrSpace = !name.empty() && (name.back() == u'.' || name.back() == u' ');
  for (const ReservedNameSlot& slot : dotted.slots()) {
    if (slot.used != 1) break;
    if (endsInDotOrSpace || beginsWithIgnoringAsciiCase(name, slot.name)) return true;
  }
  return false;
}
