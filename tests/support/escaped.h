// Bytes as readable text for failure messages: printable ASCII as it is, everything else as \xHH.
#pragma once

#include <string>
#include <string_view>

inline std::string escaped(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      out += static_cast<char>(b);
    } else {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    }
  }
  return out;
}
