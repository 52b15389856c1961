// Parameters and results in the case notation: a one-member object naming the kind, such as
// {"XNodeSeq": [...]}, {"int": 3} or {"streamable": {"string": "TRUE"}}. Parameters are decoded
// when a case is read and given to the command when it runs; results are read back from the
// command's result store in the same notation.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <oks/host/codec.h>
#include <oks/platform/command_host.h>
#include <oks/service/server.h>

namespace oks::host {

// A streamable parameter: an empty handle, or a host-made streamable carrying one object (none
// when `content` holds monostate), with an optional accessor status and type name.
struct StreamableValue {
  using Content = std::variant<std::monostate, ZORUnicodeString, QEMConfig::NormalValueSeq,
                               QEMConfig::MultiCOFilter, AttributeFilters, ObjectQueries,
                               QEMConfig::DomainEffectivitySeq, QEMConfig::MileStoneValueSeq>;
  bool emptyHandle = false;
  Content content;
  std::optional<HRESULT> status;
  std::optional<std::string> typeName;
};

// The getter of the key fails with the status.
struct FailingParam {
  HRESULT status = 0;
};

using ParamValue = std::variant<Node, NodeSeq, XNode, XNodeSeq, QEM_ProductTypes::BObjectKey,
                                QEM_ProductTypes::BObjectKeySeq, QEM_ProductTypes::ProductAttribute,
                                QEM_ProductTypes::ProductAttributeSeq, ZORUnicodeString, int, unsigned char,
                                double, _SEQUENCE_octet, ZORListValZORUnicodeString, ZORRawCollint,
                                ZORRawColldouble, StreamableValue, FailingParam>;

struct Param {
  std::string key;
  ParamValue value;
};

// Whether a late type is that of one of the streamers the platform makes.
bool isStreamerLateType(const std::string& lateType);

// Decodes one parameter value; throws CaseError naming the member.
ParamValue decodeParam(const Json& j, const std::string& path);

// Gives the parameter to the command: records through the host base class (which takes a new
// copy), values and streamables through the adapter, failures to the host's parameter store.
void setParam(MIROIBaseCommand& adapter, MIROAppBaseCommand& command, const Param& param);

// Every result the command set, key to value in the parameter notation; streamer results as
// {"streamable": {"streamer": LATE_TYPE, KIND: VALUE}} or {..., "object": null}.
Json readResults(const MIROAppBaseCommand& command);

// Runs Execute() through the adapter: its status, or the text of an exception that left it
// (status then stays null).
void execute(MIROIBaseCommand& adapter, Json& status, Json& exception);

}  // namespace oks::host
