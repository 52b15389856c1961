#include <cstdio>

#include <oks/platform/hresult.h>
#include <oks/platform/zor_unicode_string.h>

int ZORUnicodeString::GetLengthInChar() const {
  int count = 0;
  for (unsigned char c : text_)
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}

ZORUnicodeString& ZORUnicodeString::BuildFromNum(int value, const char* format) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format ? format : "%d", value);
  text_ = buffer;
  return *this;
}

int ZORUnicodeString::ConvertToNum(int* value, const char* format) const {
  if (!value) return E_POINTER;
  int read = 0;
  if (std::sscanf(text_.c_str(), format ? format : "%d", &read) != 1) return E_FAIL;
  *value = read;
  return S_OK;
}

namespace oks {

std::string statusName(HRESULT hr) {
  switch (hr) {
    case S_OK:
      return "S_OK";
    case S_FALSE:
      return "S_FALSE";
    case E_NOTIMPL:
      return "E_NOTIMPL";
    case E_NOINTERFACE:
      return "E_NOINTERFACE";
    case E_POINTER:
      return "E_POINTER";
    case E_FAIL:
      return "E_FAIL";
    case E_OUTOFMEMORY:
      return "E_OUTOFMEMORY";
    case E_INVALIDARG:
      return "E_INVALIDARG";
    case E_NOTFOUND:
      return "E_NOTFOUND";
    default:
      return "";
  }
}

}  // namespace oks
