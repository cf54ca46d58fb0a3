// Binding of services by name at their first call, and the Windows version test.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "handset/service_binding.h"

using Lines = std::vector<std::string>;

namespace {

// Modules are either loaded already, loadable, or absent; every call is written down.
class FakeModuleLoader final : public IModuleLoader {
 public:
  std::set<std::string> loaded;
  std::set<std::string> loadable;
  std::set<std::string> functions;  // "library.function"
  Lines calls;

  void* GetModuleHandle(const char* library) override {
    calls.push_back(std::string("GetModuleHandle ") + library);
    return loaded.count(library) != 0 ? Module(library) : nullptr;
  }
  void* LoadLibrary(const char* library) override {
    calls.push_back(std::string("LoadLibrary ") + library);
    if (loadable.count(library) == 0) return nullptr;
    loaded.insert(library);
    return Module(library);
  }
  void* GetProcAddress(void* module, const char* function) override {
    std::string library = "?";
    for (auto& entry : modules_) {
      if (&entry.second == module) library = entry.first;
    }
    const std::string name = library + "." + function;
    calls.push_back("GetProcAddress " + name);
    return functions.count(name) != 0 ? &addresses_[name] : nullptr;
  }
  void* Address(const std::string& name) { return &addresses_[name]; }

 private:
  void* Module(const std::string& library) { return &modules_[library]; }
  std::map<std::string, char> modules_;
  std::map<std::string, char> addresses_;
};

}  // namespace

TEST(BindFunction, FirstCallLoadsAndResolvesLaterCallsCostNothing) {
  FakeModuleLoader loader;
  loader.loadable = {"hid.dll"};
  loader.functions = {"hid.dll.HidD_GetAttributes"};
  void* slot = nullptr;
  BindFunction(slot, loader, "hid.dll", "HidD_GetAttributes");
  EXPECT_EQ(slot, loader.Address("hid.dll.HidD_GetAttributes"));
  EXPECT_EQ(loader.calls,
            (Lines{"GetModuleHandle hid.dll", "LoadLibrary hid.dll", "GetProcAddress hid.dll.HidD_GetAttributes"}));
  loader.calls.clear();
  BindFunction(slot, loader, "hid.dll", "HidD_GetAttributes");
  EXPECT_EQ(loader.calls, Lines{});
  EXPECT_EQ(slot, loader.Address("hid.dll.HidD_GetAttributes"));

  // A module that is already loaded is not loaded again.
  void* other = nullptr;
  loader.functions.insert("hid.dll.HidP_GetCaps");
  BindFunction(other, loader, "hid.dll", "HidP_GetCaps");
  EXPECT_EQ(loader.calls, (Lines{"GetModuleHandle hid.dll", "GetProcAddress hid.dll.HidP_GetCaps"}));
  EXPECT_EQ(other, loader.Address("hid.dll.HidP_GetCaps"));
}

TEST(BindFunction, MissingLibraryRaisesLoadLibraryError) {
  FakeModuleLoader loader;
  void* slot = nullptr;
  try {
    BindFunction(slot, loader, "hid.dll", "HidD_GetAttributes");
    FAIL() << "no error raised";
  } catch (const WBSDKLoadLibraryError& error) {
    EXPECT_STREQ(error.what(), "Library not found: hid.dll");
  }
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(loader.calls, (Lines{"GetModuleHandle hid.dll", "LoadLibrary hid.dll"}));
}

TEST(BindFunction, MissingFunctionFailsEveryCallUntilItIsThere) {
  FakeModuleLoader loader;
  loader.loaded = {"hid.dll"};
  void* slot = nullptr;
  for (int attempt = 0; attempt < 2; ++attempt) {
    loader.calls.clear();
    try {
      BindFunction(slot, loader, "hid.dll", "HidD_GetAttributes");
      FAIL() << "no error raised";
    } catch (const WBSDKGetProcAddressError& error) {
      EXPECT_STREQ(error.what(), "Function not found: hid.dll.HidD_GetAttributes");
    }
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(loader.calls, (Lines{"GetModuleHandle hid.dll", "GetProcAddress hid.dll.HidD_GetAttributes"}));
  }
  loader.functions = {"hid.dll.HidD_GetAttributes"};
  BindFunction(slot, loader, "hid.dll", "HidD_GetAttributes");
  EXPECT_EQ(slot, loader.Address("hid.dll.HidD_GetAttributes"));
}

TEST(ProbeLibrary, AsksForTheLoadedModuleBeforeLoading) {
  FakeModuleLoader loader;
  loader.loaded = {"SetupApi.dll"};
  loader.loadable = {"hid.dll"};
  EXPECT_TRUE(ProbeLibrary(loader, "SetupApi.dll"));
  EXPECT_TRUE(ProbeLibrary(loader, "hid.dll"));
  EXPECT_FALSE(ProbeLibrary(loader, "wtsapi32.dll"));
  EXPECT_EQ(loader.calls, (Lines{"GetModuleHandle SetupApi.dll", "GetModuleHandle hid.dll", "LoadLibrary hid.dll",
                                 "GetModuleHandle wtsapi32.dll", "LoadLibrary wtsapi32.dll"}));
}

TEST(SupportsSessionServices, OnlyNtFrom51On) {
  EXPECT_FALSE(SupportsSessionServices(1, 4, 10));  // Windows 98
  EXPECT_FALSE(SupportsSessionServices(1, 5, 1));   // not NT, whatever the numbers say
  EXPECT_FALSE(SupportsSessionServices(2, 4, 0));   // NT 4
  EXPECT_FALSE(SupportsSessionServices(2, 4, 9));
  EXPECT_FALSE(SupportsSessionServices(2, 5, 0));   // 2000
  EXPECT_TRUE(SupportsSessionServices(2, 5, 1));    // XP
  EXPECT_TRUE(SupportsSessionServices(2, 5, 2));
  EXPECT_TRUE(SupportsSessionServices(2, 6, 0));
  EXPECT_TRUE(SupportsSessionServices(2, 6, 3));
  EXPECT_TRUE(SupportsSessionServices(2, 10, 0));
}
