// Records that identify objects of the product structure, and their national-language twins.
#pragma once

#include <string>

#include <oks/types/sequence.h>

namespace QEM_NlsProductTypes {

struct NlsString {
  _SEQUENCE_octet utf8String;
  bool operator==(const NlsString&) const = default;
};

struct NlsProductAttribute {
  std::string Name;
  CORBA::Any Value;
  bool operator==(const NlsProductAttribute&) const = default;
};
using NlsProductAttributeSeq = CORBA::sequence<NlsProductAttribute>;

enum expandedType { EXPANDED, NOTEXPANDED, MODIFIED };

struct NlsNode {
  _SEQUENCE_octet UUID;
  _SEQUENCE_octet Ref;
  NlsString Name;
  NlsProductAttributeSeq AttributeList;
  NlsProductAttributeSeq ContextPropertiesList;
  std::string Type;
  std::string DerivedType;
  CORBA::Short Level = 0;
  CORBA::Long ChildrenCount = 0;
  expandedType ExpandedStatus = EXPANDED;
  bool operator==(const NlsNode&) const = default;
};
using NlsNodeSeq = CORBA::sequence<NlsNode>;

struct NlsXNode {
  NlsString Name;
  std::string Type;
  std::string Environment;
  NlsNodeSeq Nodes;
  bool operator==(const NlsXNode&) const = default;
};
using NlsXNodeSeq = CORBA::sequence<NlsXNode>;

// The key of a business object.
struct BObjectKey {
  std::string object_type;
  _SEQUENCE_octet UUID;
  bool operator==(const BObjectKey&) const = default;
};
using BObjectKeySeq = CORBA::sequence<BObjectKey>;

}  // namespace QEM_NlsProductTypes

namespace QEM_ProductTypes {

using QEM_NlsProductTypes::EXPANDED;
using QEM_NlsProductTypes::expandedType;
using QEM_NlsProductTypes::MODIFIED;
using QEM_NlsProductTypes::NOTEXPANDED;

struct ProductAttribute {
  std::string Name;
  CORBA::Any Value;
  bool operator==(const ProductAttribute&) const = default;
};
using ProductAttributeSeq = CORBA::sequence<ProductAttribute>;

// One object of the product structure; the in-process node carries its name as plain text.
struct Node {
  _SEQUENCE_octet UUID;
  _SEQUENCE_octet Ref;
  std::string Name;
  ProductAttributeSeq AttributeList;
  ProductAttributeSeq ContextPropertiesList;
  std::string Type;
  std::string DerivedType;
  CORBA::Short Level = 0;
  CORBA::Long ChildrenCount = 0;
  expandedType ExpandedStatus = QEM_NlsProductTypes::EXPANDED;
  bool operator==(const Node&) const = default;
};
using NodeSeq = CORBA::sequence<Node>;

// An extended node: a typed group of nodes with its environment. A command that needs the single
// object an extended node stands for takes the last node.
struct XNode {
  std::string Name;
  std::string Type;
  std::string Environment;
  NodeSeq Nodes;
  bool operator==(const XNode&) const = default;
};
using XNodeSeq = CORBA::sequence<XNode>;

using BObjectKey = QEM_NlsProductTypes::BObjectKey;
using BObjectKeySeq = QEM_NlsProductTypes::BObjectKeySeq;

}  // namespace QEM_ProductTypes
