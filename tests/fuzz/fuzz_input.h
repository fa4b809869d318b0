// Cuts a fuzzer's input into the arguments of one call: texts, small integers and flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool flag() { return (byte() & 1) != 0; }
  int smallInt() { return static_cast<int>(static_cast<std::int8_t>(byte())); }

  // A text of up to `max` bytes, without zero bytes (a text never holds one).
  std::string text(std::size_t max) {
    std::size_t n = byte();
    if (n > max) n = n % (max + 1);
    std::string t;
    while (t.size() < n && pos_ < size_) {
      const char c = static_cast<char>(data_[pos_++]);
      if (c != '\0') t.push_back(c);
    }
    return t;
  }

  // Whatever is left, zero bytes removed.
  std::string rest() {
    std::string t;
    for (; pos_ < size_; ++pos_)
      if (data_[pos_] != 0) t.push_back(static_cast<char>(data_[pos_]));
    return t;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};
