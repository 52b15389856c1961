// One command of the loaded command library, made by its late type as the server makes it (a
// generic object asked for the command interface), given its parameters, executed, read and
// released when the Command is destroyed.
//
//   oks::CommandLibrary library;                 // $OKS_COMMAND_LIBRARY, or the installed one
//   oks::Command command("OKS_getCHList");
//   command.set("Param0", nodes);                // records are copied, values passed on
//   HRESULT status = command.execute();          // the command's own status
//   auto handlers = command.result<QEM_ProductTypes::XNodeSeq>("result0");
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include <oks/api/library.h>
#include <oks/platform/command_host.h>
#include <oks/platform/trace.h>

namespace oks {

namespace detail {
template <class T, class Variant>
constexpr bool isAlternative = false;
template <class T, class... Alternatives>
constexpr bool isAlternative<T, std::variant<Alternatives...>> = (std::is_same_v<T, Alternatives> || ...);
}  // namespace detail

// Makes the adapter of the command registered under the late type, as the server does: a generic
// object asked for the command interface. Null when none could be made; `status` then says why
// when the interface was asked for (E_NOINTERFACE when no generic object could be made).
MIROIBaseCommand* makeCommandAdapter(const std::string& lateType, HRESULT& status);

class Command {
 public:
  // Makes the command registered under the late type; throws CommandError when none is, or when
  // the command or its adapter cannot be made.
  explicit Command(std::string_view lateType);
  // Releases the command: the adapter, the command and every parameter and result it holds.
  ~Command();
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;
  Command(Command&& other) noexcept;
  Command& operator=(Command&& other) noexcept;

  const std::string& lateType() const { return lateType_; }

  // Gives a parameter: a record is copied, a value passed through the generic interface. Throws
  // CommandError with the setter's status when the command refuses it.
#define OKS_COMMAND_SET(Type) Command& set(std::string_view key, const Type& value);
#define OKS_COMMAND_SET_RECORD(Kind, Type) OKS_COMMAND_SET(Type)
  OKS_RECORD_KINDS(OKS_COMMAND_SET_RECORD)
#undef OKS_COMMAND_SET_RECORD
  OKS_COMMAND_SET(MIROIStreamable_var)
  OKS_COMMAND_SET(ZORUnicodeString)
  OKS_COMMAND_SET(int)
  OKS_COMMAND_SET(double)
  OKS_COMMAND_SET(unsigned char)
  OKS_COMMAND_SET(ZORListValZORUnicodeString)
  OKS_COMMAND_SET(ZORRawCollint)
  OKS_COMMAND_SET(ZORRawColldouble)
  OKS_COMMAND_SET(_SEQUENCE_octet)
#undef OKS_COMMAND_SET
  Command& set(std::string_view key, const char* text) { return set(key, ZORUnicodeString(text)); }
  Command& set(std::string_view key, const std::string& text) { return set(key, ZORUnicodeString(text)); }

  // Runs the command and returns its status. The trace lines written meanwhile on this thread
  // are kept for trace() instead of reaching the thread's or the process's sink. An exception
  // leaving the command passes on (trace() then holds the lines written before it).
  HRESULT execute();
  const std::vector<TraceLine>& trace() const { return trace_; }

  // The result under the key, or nothing when none is set or it is of another kind. T is one of
  // the parameter types above; a record is copied.
  template <class T>
  std::optional<T> result(std::string_view key) const {
    static_assert(
        detail::isAlternative<T, StoredValue> || detail::isAlternative<std::unique_ptr<T>, StoredValue>,
        "not a kind of result");
    const StoredValue* stored = findResult(key);
    if constexpr (detail::isAlternative<T, StoredValue>) {
      if (const T* value = stored ? std::get_if<T>(stored) : nullptr) return *value;
    } else {
      const auto* held = stored ? std::get_if<std::unique_ptr<T>>(stored) : nullptr;
      if (held && *held) return **held;
    }
    return std::nullopt;
  }
  // A text result: a text, or the text a string streamer carries; nothing otherwise.
  std::optional<std::string> text(std::string_view key) const;
  // The keys of the results set, in order.
  std::vector<std::string> resultKeys() const;

  // The generic command interface and the command behind it, for what the above does not cover.
  MIROIBaseCommand& adapter() const { return *adapter_; }
  MIROAppBaseCommand& implementation() const { return *implementation_; }

 private:
  const StoredValue* findResult(std::string_view key) const;
  void release();

  std::string lateType_;
  MIROIBaseCommand* adapter_ = nullptr;
  MIROAppBaseCommand* implementation_ = nullptr;
  std::vector<TraceLine> trace_;
};

}  // namespace oks
