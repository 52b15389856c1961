#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include <oks/host/codec.h>

namespace oks::host {
namespace {

// "line 3, column 14" of a byte offset.
std::string placeOf(const std::string& text, std::size_t offset) {
  offset = std::min(offset, text.size());
  std::size_t line = 1, lineStart = 0;
  for (std::size_t i = 0; i < offset; ++i)
    if (text[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  return "line " + std::to_string(line) + ", column " + std::to_string(offset - lineStart + 1);
}

// The offset of the bracket that opens a level deeper than the limit; npos when there is none.
std::size_t tooDeepAt(const std::string& text, std::size_t limit) {
  std::size_t depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return i;
    } else if (c == ']' || c == '}') {
      if (depth > 0) --depth;
    }
  }
  return std::string::npos;
}

// Builds the value from the parser's events. Members are appended to their object directly (an
// ordered object looks keys up one by one, which makes its own parser quadratic in the number of
// members); a set per open object finds a member given twice.
class Builder {
 public:
  explicit Builder(const std::string& text, const ElementSink* sink = nullptr) : text_(text), sink_(sink) {}

  bool null() { return add(Json(nullptr)); }
  bool boolean(bool b) { return add(Json(b)); }
  bool number_integer(std::int64_t i) { return add(Json(i)); }
  bool number_unsigned(std::uint64_t u) { return add(Json(u)); }
  bool number_float(double d, const std::string&) { return add(Json(d)); }
  bool string(std::string& s) { return add(Json(std::move(s))); }
  bool binary(Json::binary_t&) { return false; }  // a JSON text holds none

  bool start_object(std::size_t) { return open(Json::object()); }
  bool start_array(std::size_t) { return open(Json::array()); }
  bool end_object() { return close(); }
  bool end_array() { return close(); }

  bool key(std::string& k) {
    Level& level = levels_.back();
    if (!level.keys.insert(k).second) {
      error_ = CaseError(memberPath(openPath(), k), "a member given twice");
      return false;
    }
    level.key = std::move(k);
    return true;
  }

  bool parse_error(std::size_t position, const std::string& token, const Json::exception& e) {
    if (e.id == 406) {  // out_of_range: a number a double cannot hold
      std::size_t start = position >= token.size() ? position - token.size() : 0;
      error_ =
          CaseError("", placeOf(text_, start) + ": the number " + token + " is out of the range of a double");
    } else {
      // The parser's messages start with "[json.exception.parse_error.101] ".
      std::string reason = e.what();
      if (auto end = reason.find("] "); reason.rfind("[json.", 0) == 0 && end != std::string::npos)
        reason = reason.substr(end + 2);
      error_ = CaseError("", "not JSON: " + reason);
    }
    return false;
  }

  Json take() { return std::move(root_); }
  const std::optional<CaseError>& error() const { return error_; }

 private:
  struct Level {
    Json* value;
    std::unordered_set<std::string> keys;
    std::string key;
    std::size_t handedOn = 0;  // elements of the sink's array given to it and dropped
  };

  // The member path of the innermost open object or array: each open one is the last value of
  // the one around it.
  std::string openPath() const {
    std::string path;
    for (std::size_t i = 0; i + 1 < levels_.size(); ++i) {
      const Json& value = *levels_[i].value;
      path = value.is_array() ? indexPath(path, levels_[i].handedOn + value.size() - 1)
                              : memberPath(path, value.get_ref<const Json::object_t&>().back().first);
    }
    return path;
  }

  Json* insert(Json&& value) {
    if (levels_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    Json& parent = *levels_.back().value;
    if (parent.is_array()) {
      parent.get_ref<Json::array_t&>().push_back(std::move(value));
      return &parent.get_ref<Json::array_t&>().back();
    }
    auto& members = parent.get_ref<Json::object_t&>();
    members.Container::emplace_back(std::move(levels_.back().key), std::move(value));
    return &members.back().second;
  }
  bool add(Json value) {
    insert(std::move(value));
    handOn();
    return true;
  }

  // The sink's array: the member of the root object that the sink names.
  bool inSinkArray() const {
    return sink_ && levels_.size() == 2 && levels_[0].value->is_object() && levels_[1].value->is_array() &&
           levels_[0].value->get_ref<const Json::object_t&>().back().first == sink_->member;
  }
  // Gives a complete element of the sink's array to the sink, and drops it.
  void handOn() {
    if (!inSinkArray()) return;
    Level& level = levels_[1];
    auto& elements = level.value->get_ref<Json::array_t&>();
    sink_->each(elements.back(), level.handedOn++);
    elements.pop_back();
  }

  bool open(Json value) {
    if (levels_.size() == kJsonDepthLimit) {
      std::size_t at = tooDeepAt(text_, kJsonDepthLimit);
      error_ = CaseError("", (at == std::string::npos ? "" : placeOf(text_, at) + ": ") +
                                 "nested deeper than " + std::to_string(kJsonDepthLimit) + " levels");
      return false;
    }
    levels_.push_back({insert(std::move(value)), {}, {}});
    return true;
  }
  bool close() {
    levels_.pop_back();
    handOn();
    return true;
  }

  const std::string& text_;
  const ElementSink* sink_;
  Json root_;
  std::vector<Level> levels_;
  std::optional<CaseError> error_;
};

}  // namespace

Json parseJsonText(const std::string& text, const ElementSink* sink) {
  // The parser takes a NUL for the end of its input, and would ignore whatever follows.
  if (auto nul = text.find('\0'); nul != std::string::npos)
    throw CaseError("", placeOf(text, nul) + ": a NUL byte, which no JSON text holds");
  Builder builder(text, sink);
  if (!Json::sax_parse(text, &builder) || builder.error()) {
    if (builder.error()) throw *builder.error();
    throw CaseError("", "not JSON");
  }
  return builder.take();
}

std::string readInputFile(const std::string& file) {
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) throw CaseError("", "a folder, not a file");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CaseError("", "cannot be opened");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw CaseError("", "cannot be read");
  return text.str();
}

Json parseJson(const std::string& text, const std::string& place) {
  try {
    return parseJsonText(text);
  } catch (const CaseError& e) {
    throw std::runtime_error(place + ": " + e.what());
  }
}

Json readJsonFile(const std::string& file, const ElementSink* sink) {
  try {
    return parseJsonText(readInputFile(file), sink);
  } catch (const CaseError& e) {
    throw std::runtime_error(file + ": " + e.what());
  }
}

}  // namespace oks::host
