#include "field_conversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "error.h"

namespace castdata {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  const std::size_t begin = at;
  const std::size_t integerEnd = SkipDigits(text, begin);
  std::size_t end = integerEnd;
  if (end < text.size() && text[end] == '.') end = SkipDigits(text, end + 1);
  const std::string_view number = text.substr(begin, end - begin);
  if (number.find_first_of("0123456789") == std::string_view::npos) return 0.0;

  double magnitude = 0.0;
  const std::from_chars_result result =
      std::from_chars(number.data(), number.data() + number.size(), magnitude, std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large, or a fraction too small for a double.
    const bool large = text.substr(begin, integerEnd - begin).find_first_not_of('0') != std::string_view::npos;
    magnitude = large ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -magnitude : magnitude;
}

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double above = value - lower;
  if (above < 0.5) return lower;
  if (above > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::int16_t NumberField(std::string_view text, std::string_view fieldName) {
  const double rounded = RoundHalfEven(LeadingNumber(text));
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max())) {
    throw Error(std::string(fieldName) + "の値「" + std::string(text) +
                "」は-32768から32767までの整数にしてください");
  }
  return static_cast<std::int16_t>(rounded);
}

std::string DecimalText(std::int16_t value) { return std::to_string(value); }

bool IsTicked(std::int16_t checkBoxField) { return checkBoxField == 1; }

std::int16_t CheckBoxField(bool ticked) { return ticked ? 1 : 0; }

}  // namespace castdata
