// Owned, growable sequences and the broker's basic value kinds, in a CORBA-2-like mapping.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace CORBA {

using Long = std::int32_t;
using Short = std::int16_t;
using Octet = unsigned char;
using Boolean = bool;

// sequence<T>: length() reads, length(n) resizes, operator[] indexes from 0.
template <class T>
class sequence {
 public:
  sequence() = default;
  explicit sequence(std::uint32_t initialLength) : items_(initialLength) {}
  sequence(std::initializer_list<T> items) : items_(items) {}

  std::uint32_t length() const { return static_cast<std::uint32_t>(items_.size()); }
  void length(std::uint32_t n) { items_.resize(n); }

  T& operator[](std::uint32_t i) { return items_.at(i); }
  const T& operator[](std::uint32_t i) const { return items_.at(i); }

  void append(T item) { items_.push_back(std::move(item)); }
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  bool operator==(const sequence&) const = default;

 private:
  std::vector<T> items_;
};

// A self-describing value: null, boolean, integer, floating, text, a list or a set of named
// values.
class Any {
 public:
  using List = std::vector<Any>;
  using Members = std::vector<std::pair<std::string, Any>>;
  using Value = std::variant<std::monostate, bool, std::int64_t, double, std::string, List, Members>;

  Any() = default;
  Any(Value v) : value_(std::move(v)) {}

  const Value& value() const { return value_; }
  Value& value() { return value_; }
  bool operator==(const Any&) const = default;

 private:
  Value value_;
};

}  // namespace CORBA

using _SEQUENCE_octet = CORBA::sequence<CORBA::Octet>;
using _IDL_SEQUENCE_octet = _SEQUENCE_octet;
