#include "common/text/decimal_text.h"

#include <climits>

#include "common/text/trim.h"

long long qevReadDecimal(const std::string& text) {
  std::size_t at = text.find_first_not_of(kWhiteSpace);
  if (at == std::string::npos) return 0;
  const bool negative = text[at] == '-';
  if (text[at] == '-' || text[at] == '+') ++at;
  unsigned long long magnitude = 0;
  const unsigned long long limit = static_cast<unsigned long long>(LLONG_MAX) + 1;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    const unsigned digit = static_cast<unsigned>(text[at] - '0');
    magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
  }
  if (negative) return magnitude >= limit ? LLONG_MIN : -static_cast<long long>(magnitude);
  return magnitude >= limit ? LLONG_MAX : static_cast<long long>(magnitude);
}
