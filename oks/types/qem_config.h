// In-process configuration collections the service hands to the commands, and the lists of
// attribute filters and object queries.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <oks/types/config.h>

namespace QEMConfig {

using FilterValue = QEM_Config::FilterValue;
using NormalValue = QEM_Config::NormalValue;
using MileStoneValue = QEM_Config::MileStoneValue;
using XEffectivityValues = QEM_Config::XEffectivityValues;

// One filter value per change object.
using MultiCOFilter = CORBA::sequence<FilterValue>;
// An effectivity given as a flat list of normal values.
using NormalValueSeq = CORBA::sequence<NormalValue>;
// Effectivities by domain (applicabilities).
using DomainEffectivitySeq = CORBA::sequence<XEffectivityValues>;
using MileStoneValueSeq = CORBA::sequence<MileStoneValue>;

}  // namespace QEMConfig

// One attribute filter: Attribute Operator Value.
class QEMIQAttributeFilterObject {
 public:
  std::string Attribute;
  std::string Operator;
  std::string Value;
  bool operator==(const QEMIQAttributeFilterObject&) const = default;
};

// One object query.
class QEMIQObjectQuery {
 public:
  std::string Query;
  bool operator==(const QEMIQObjectQuery&) const = default;
};

// A list of pointers to objects it owns, indexed from 1.
template <class T>
class ZORListPtr {
 public:
  explicit ZORListPtr(int initialCapacity = 0) {
    if (initialCapacity > 0) items_.reserve(static_cast<std::size_t>(initialCapacity));
  }
  ZORListPtr(const ZORListPtr& other) { *this = other; }
  ZORListPtr& operator=(const ZORListPtr& other) {
    if (this != &other) {
      items_.clear();
      for (const auto& item : other.items_) items_.push_back(std::make_unique<T>(*item));
    }
    return *this;
  }

  int Size() const { return static_cast<int>(items_.size()); }
  // Appends and takes ownership of the object.
  void Append(T* item) { items_.emplace_back(item); }
  T* operator[](int i) const {
    if (i < 1 || i > Size()) throw std::out_of_range("ZORListPtr index");
    return items_[static_cast<std::size_t>(i - 1)].get();
  }
  bool operator==(const ZORListPtr& other) const {
    if (Size() != other.Size()) return false;
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (!(*items_[i] == *other.items_[i])) return false;
    return true;
  }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

using ZORListPtrQEMIQAttributeFilterObject = ZORListPtr<QEMIQAttributeFilterObject>;
using ZORListPtrQEMIQObjectQuery = ZORListPtr<QEMIQObjectQuery>;
