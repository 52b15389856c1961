// The server's string type and its lists.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// A text in UTF-8. Length() counts characters, not bytes.
class ZORUnicodeString {
 public:
  ZORUnicodeString() = default;
  ZORUnicodeString(const char* text) : text_(text ? text : "") {}
  ZORUnicodeString(std::string text) : text_(std::move(text)) {}

  int GetLengthInChar() const;
  int Length() const { return GetLengthInChar(); }
  bool IsEmpty() const { return text_.empty(); }

  // Non-zero when both texts are equal, 0 otherwise.
  int Compare(const ZORUnicodeString& other) const { return text_ == other.text_ ? 1 : 0; }
  // Replaces the text with the number formatted by a printf format for one int.
  ZORUnicodeString& BuildFromNum(int value, const char* format = "%d");
  // Reads one int with a scanf format; a negative status when the text holds none.
  int ConvertToNum(int* value, const char* format = "%d") const;

  const char* ConvertToChar() const { return text_.c_str(); }
  const std::string& str() const { return text_; }

  bool operator==(const ZORUnicodeString& other) const { return text_ == other.text_; }
  bool operator==(const char* other) const { return text_ == (other ? other : ""); }
  bool operator<(const ZORUnicodeString& other) const { return text_ < other.text_; }

 private:
  std::string text_;
};

inline std::ostream& operator<<(std::ostream& os, const ZORUnicodeString& s) { return os << s.str(); }

// A list of values, indexed from 1.
template <class T>
class ZORListVal {
 public:
  ZORListVal() = default;
  int Size() const { return static_cast<int>(items_.size()); }
  void Append(const T& item) { items_.push_back(item); }
  void Empty() { items_.clear(); }
  T& operator[](int i) { return items_.at(static_cast<std::size_t>(i - 1)); }
  const T& operator[](int i) const { return items_.at(static_cast<std::size_t>(i - 1)); }
  const std::vector<T>& items() const { return items_; }
  bool operator==(const ZORListVal&) const = default;

 private:
  std::vector<T> items_;
};

using ZORListValZORUnicodeString = ZORListVal<ZORUnicodeString>;
// Raw collections of numbers.
using ZORRawCollint = ZORListVal<int>;
using ZORRawColldouble = ZORListVal<double>;
