// The web build's compiler (emscripten 3.1.6) ships a C++ library (libc++ 13) without
// std::bit_cast and without the floating-point forms of std::from_chars and std::to_chars. This
// header is put in front of every file of that build only and supplies them where the library
// lacks them, so the core keeps the standard names and the desktop build is untouched.
#pragma once

#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
namespace std {

#if !defined(__cpp_lib_bit_cast)
template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
         is_trivially_copyable_v<From>) constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
#endif

// As the standard's: no leading blanks, no '+', no hexadecimal; the longest number read.
template <class Real>
requires(is_same_v<Real, float> || is_same_v<Real, double>) inline from_chars_result
    from_chars(const char* first, const char* last, Real& value,
               chars_format = chars_format::general) {
  std::string text(first, last);
  const size_t hex = text.find_first_of("xX");
  if (hex != std::string::npos) text.resize(hex);
  if (text.empty() || text[0] == '+' || text[0] == ' ' || text[0] == '\t' || text[0] == '\n') {
    return {first, errc::invalid_argument};
  }
  errno = 0;
  char* end = nullptr;
  const Real read =
      is_same_v<Real, float> ? std::strtof(text.c_str(), &end) : std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return {first, errc::invalid_argument};
  const char* stop = first + (end - text.c_str());
  if (errno == ERANGE) return {stop, errc::result_out_of_range};
  value = read;
  return {stop, errc{}};
}

// The fewest significant digits that read back to the same float.
inline to_chars_result to_chars(char* first, char* last, float value) {
  char buffer[48];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(buffer, nullptr) == value) break;
  }
  const size_t length = std::strlen(buffer);
  if (length > static_cast<size_t>(last - first)) return {last, errc::value_too_large};
  std::memcpy(first, buffer, length);
  return {first + length, errc{}};
}

}  // namespace std
#endif
