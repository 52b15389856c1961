// Loads the command library for each test, as the server does, and unloads it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <oks/api/library.h>
#include <oks/platform/command_host.h>
#include <oks/platform/faults.h>
#include <oks/platform/trace.h>

namespace oks::test {

inline std::vector<std::string> texts(const std::vector<TraceLine>& lines) {
  std::vector<std::string> out;
  for (const auto& line : lines) out.push_back(line.text);
  return out;
}

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { library_ = std::make_unique<CommandLibrary>(OKS_LIBRARY_PATH); }
  void TearDown() override {
    clearFaults();
    library_.reset();
  }

  // The command's adapter, made through the object modeler from its late type; null when it
  // cannot be made (status then tells why).
  MIROIBaseCommand* create(const char* lateType, HRESULT* status = nullptr) {
    ZORBaseUnknown* object = new ZORObject(lateType, nullptr);
    MIROIBaseCommand* command = nullptr;
    HRESULT hr = object->QueryInterface(IID_MIROIBaseCommand, reinterpret_cast<void**>(&command));
    object->Release();
    if (status) *status = hr;
    return command;
  }

  std::unique_ptr<CommandLibrary> library_;
};

}  // namespace oks::test
