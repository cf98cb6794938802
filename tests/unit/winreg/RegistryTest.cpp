#include <gtest/gtest.h>

#include <windows.h>
#include <winternl.h>

#include <string>

#include "winreg/RegKey.h"
#include "winreg/RegKeyHandle.h"

namespace {

// Every test works below its own key in HKEY_CURRENT_USER and removes it afterwards.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = L"Software\\MirelTests\\" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
            std::to_wstring(::GetTickCount());
    ASSERT_EQ(key_.Create(HKEY_CURRENT_USER, path_.c_str()), ERROR_SUCCESS);
  }
  void TearDown() override {
    key_.Close();
    RegKeyHandle parent;
    if (parent.Open(HKEY_CURRENT_USER, L"Software\\MirelTests") == ERROR_SUCCESS) {
      parent.RecurseDeleteKey(path_.substr(path_.rfind(L'\\') + 1).c_str());
    }
  }
  // Stores the bytes exactly as given: RegSetValueExW may add a missing terminator to
  // REG_SZ data, the native call does not.
  void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    using NtSetValueKeyFunction = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, const void*, ULONG);
    auto setValue = reinterpret_cast<NtSetValueKeyFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
    ASSERT_NE(setValue, nullptr);
    UNICODE_STRING valueName;
    valueName.Buffer = const_cast<wchar_t*>(name);
    valueName.Length = static_cast<USHORT>(wcslen(name) * sizeof(wchar_t));
    valueName.MaximumLength = valueName.Length;
    ASSERT_EQ(setValue(key_.Get(), &valueName, 0, type, data, bytes), 0);
  }
  bool Exists(const std::wstring& sub) {
    RegKeyHandle probe;
    return probe.Open(HKEY_CURRENT_USER, (path_ + L"\\" + sub).c_str()) == ERROR_SUCCESS;
  }

  std::wstring path_;
  RegKeyHandle key_;
};

TEST_F(Registry, QueryStringChecksTypeSizeAndTerminator) {
  DWORD number = 7;
  SetRaw(L"dword", REG_DWORD, &number, sizeof(number));
  SetRaw(L"expand", REG_EXPAND_SZ, L"%TEMP%\\x", 18);
  SetRaw(L"odd", REG_SZ, L"ab", 3);
  SetRaw(L"unterminated", REG_SZ, L"ab", 4);
  SetRaw(L"empty", REG_SZ, L"", 0);
  ASSERT_EQ(key_.SetString(L"text", L"zh_TW"), ERROR_SUCCESS);

  struct Case {
    const wchar_t* name;
    LONG result;
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"text", ERROR_SUCCESS, L"zh_TW"},     {L"expand", ERROR_SUCCESS, L"%TEMP%\\x"},
      {L"dword", ERROR_INVALID_DATA, L""},    {L"odd", ERROR_INVALID_DATA, L""},
      {L"unterminated", ERROR_INVALID_DATA, L""}, {L"empty", ERROR_INVALID_DATA, L""},
      {L"missing", ERROR_FILE_NOT_FOUND, L""},
  };
  for (const Case& c : cases) {
    wchar_t buffer[64] = {};
    ULONG chars = 64;
    EXPECT_EQ(key_.QueryString(c.name, buffer, &chars), c.result) << c.name;
    if (c.result == ERROR_SUCCESS) {
      EXPECT_STREQ(buffer, c.text);
      EXPECT_EQ(chars, wcslen(c.text) + 1) << c.name;
    }
  }
  wchar_t small[3];
  ULONG chars = 3;
  EXPECT_EQ(key_.QueryString(L"text", small, &chars), ERROR_MORE_DATA);
  EXPECT_EQ(key_.SetString(L"text", nullptr), ERROR_INVALID_DATA);
}

TEST_F(Registry, SetStringWritesTheTerminator) {
  ASSERT_EQ(key_.SetString(L"v", L"abc"), ERROR_SUCCESS);
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(::RegQueryValueExW(key_.Get(), L"v", nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, 8u);
}

TEST_F(Registry, CreateReportsNewAndExistingAndFailuresKeepTheKey) {
  RegKeyHandle child;
  DWORD disposition = 0;
  ASSERT_EQ(child.Create(key_.Get(), L"c", &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  ASSERT_EQ(child.Create(key_.Get(), L"c", &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  HKEY held = child.Get();
  EXPECT_EQ(child.Open(key_.Get(), L"nope"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(child.Get(), held);
  EXPECT_EQ(child.Close(), ERROR_SUCCESS);
  EXPECT_EQ(child.Close(), ERROR_SUCCESS);
  EXPECT_FALSE(child);
}

TEST_F(Registry, RecurseDeleteRemovesTwoLevelsThenTheKey) {
  RegKeyHandle k;
  ASSERT_EQ(k.Create(key_.Get(), L"top\\mid1\\leaf"), ERROR_SUCCESS);
  ASSERT_EQ(k.Create(key_.Get(), L"top\\mid2\\leaf"), ERROR_SUCCESS);
  ASSERT_EQ(k.SetString(L"x", L"y"), ERROR_SUCCESS);
  ASSERT_EQ(k.Create(key_.Get(), L"keep"), ERROR_SUCCESS);
  k.Close();
  EXPECT_EQ(key_.RecurseDeleteKey(L"top"), ERROR_SUCCESS);
  EXPECT_FALSE(Exists(L"top"));
  EXPECT_TRUE(Exists(L"keep"));
  EXPECT_EQ(key_.RecurseDeleteKey(L"top"), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(Exists(L"keep"));
}

TEST_F(Registry, ThrowingKeyReadsWritesAndNamesEachFailure) {
  winreg::RegKey key;
  key.Create(HKEY_CURRENT_USER, path_);
  key.SetStringValue(L"TempPath", L"D:\\Temp\\");
  EXPECT_EQ(key.GetStringValue(L"TempPath"), L"D:\\Temp\\");
  key.SetStringValue(L"empty", L"");
  EXPECT_EQ(key.GetStringValue(L"empty"), L"");

  struct Case {
    const wchar_t* name;
    long code;
  };
  DWORD number = 1;
  SetRaw(L"dword", REG_DWORD, &number, sizeof(number));
  for (const Case& c : {Case{L"missing", ERROR_FILE_NOT_FOUND}, Case{L"dword", ERROR_UNSUPPORTED_TYPE}}) {
    try {
      key.GetStringValue(c.name);
      ADD_FAILURE() << "no exception for " << c.name;
    } catch (const winreg::RegException& e) {
      EXPECT_STREQ(e.what(), "Cannot get size of string value: RegGetValue failed.");
      EXPECT_EQ(e.ErrorCode(), c.code);
    }
  }

  winreg::RegKey none;  // no key held: writing fails with the write message
  try {
    none.SetStringValue(L"x", L"y");
    ADD_FAILURE() << "no exception";
  } catch (const winreg::RegException& e) {
    EXPECT_STREQ(e.what(), "Cannot write string value: RegSetValueEx failed.");
    EXPECT_NE(e.ErrorCode(), 0);
  }
}

TEST(RegKeyCreate, FailureThrowsTheCreateMessage) {
  winreg::RegKey key;
  try {
    key.Create(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x12345678)), L"x");
    ADD_FAILURE() << "no exception";
  } catch (const winreg::RegException& e) {
    EXPECT_STREQ(e.what(), "RegCreateKeyEx failed.");
    EXPECT_EQ(e.ErrorCode(), ERROR_INVALID_HANDLE);
  }
}

TEST(RegKeyTraits, PredefinedRootsAreNeverClosed) {
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_PERFORMANCE_DATA,
                    HKEY_CURRENT_CONFIG, HKEY_PERFORMANCE_TEXT, HKEY_PERFORMANCE_NLSTEXT}) {
    EXPECT_TRUE(winreg::IsPredefinedRoot(root));
  }
  HKEY opened = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &opened), ERROR_SUCCESS);
  EXPECT_FALSE(winreg::IsPredefinedRoot(opened));
  winreg::UniqueRegKey owner(opened);
  winreg::UniqueRegKey root(HKEY_CURRENT_USER);
  root.Reset();
  // HKEY_CURRENT_USER still works after its owner let go of it.
  HKEY again = nullptr;
  EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &again), ERROR_SUCCESS);
  winreg::UniqueRegKey againOwner(again);
}

// A volatile product key (or maker key) makes every non-volatile component key fail
// with ERROR_CHILD_MUST_BE_VOLATILE; the repair removes the volatile level.
TEST(RepairVolatileProductKey, RemovesAVolatileMakerKeyAndItsContent) {
  RegKeyHandle software;
  ASSERT_EQ(software.Open(HKEY_LOCAL_MACHINE, L"Software"), ERROR_SUCCESS);
  software.RecurseDeleteKey(L"Corvane");
  HKEY maker = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Corvane", 0, nullptr, REG_OPTION_VOLATILE, kRegReadWrite,
                              nullptr, &maker, nullptr),
            ERROR_SUCCESS);
  winreg::UniqueRegKey makerOwner(maker);
  makerOwner.Reset();

  RegKeyHandle product;
  ASSERT_EQ(product.Create(HKEY_LOCAL_MACHINE, kProductKeyPath), ERROR_CHILD_MUST_BE_VOLATILE);
  RepairVolatileProductKey();
  DWORD disposition = 0;
  ASSERT_EQ(product.Create(HKEY_LOCAL_MACHINE, kProductKeyPath, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  product.Close();
  software.RecurseDeleteKey(L"Corvane");
}

TEST(RepairVolatileProductKey, DeletesAnOrdinaryExistingProductKeyWithEverything) {
  RegKeyHandle product;
  ASSERT_EQ(product.Create(HKEY_LOCAL_MACHINE, L"Software\\Corvane\\Varnet\\Component\\7"), ERROR_SUCCESS);
  ASSERT_EQ(product.SetString(L"InstallPath", L"C:\\x\\"), ERROR_SUCCESS);
  product.Close();
  RepairVolatileProductKey();
  EXPECT_EQ(product.Open(HKEY_LOCAL_MACHINE, kProductKeyPath), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(product.Open(HKEY_LOCAL_MACHINE, L"Software\\Corvane"), ERROR_SUCCESS);  // the maker key stays
  product.Close();
  RegKeyHandle software;
  ASSERT_EQ(software.Open(HKEY_LOCAL_MACHINE, L"Software"), ERROR_SUCCESS);
  software.RecurseDeleteKey(L"Corvane");
}

}  // namespace
