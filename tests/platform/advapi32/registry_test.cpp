// The registry functions on a key of the test's own below
// HKEY_CURRENT_USER\Software, removed after each test.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <vector>

#include "tests/platform/support/known_deviation.h"
#include "tests/support/temp_dir.h"

namespace velmora_test {
namespace {

const WCHAR kTestKey[] = OLESTR("Software\\VelmoraTest\\Registry");

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &m_key, nullptr));
  }
  void TearDown() override {
    if (m_key) RegCloseKey(m_key);
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, OLESTR("Software\\VelmoraTest"));
  }

  LONG SetText(HKEY key, const WCHAR* name, const WCHAR* text) {
    const DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
  }

  LONG Create(const WCHAR* subKey, HKEY* key, DWORD* disposition = nullptr) {
    return RegCreateKeyExW(m_key, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key, disposition);
  }

  bool Exists(const WCHAR* subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_key, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  HKEY m_key = nullptr;
};

TEST_F(RegistryTest, CreateReportsNewOrExistingAndMakesTheWholePath) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(ERROR_SUCCESS, Create(OLESTR("A\\B\\C"), &key, &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, Create(OLESTR("a\\b\\c"), &key, &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
  RegCloseKey(key);
  EXPECT_TRUE(Exists(OLESTR("A\\b")));
}

TEST_F(RegistryTest, OpenIgnoresCaseAndFailsForMissingKeys) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Create(OLESTR("MixedCase"), &key));
  RegCloseKey(key);
  EXPECT_TRUE(Exists(OLESTR("MIXEDCASE")));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(m_key, OLESTR("Missing"), 0, KEY_READ, &key));
  EXPECT_EQ(nullptr, key);
}

TEST_F(RegistryTest, QueryGivesSizeTypeAndData) {
  ASSERT_EQ(ERROR_SUCCESS, SetText(m_key, OLESTR("Name"), OLESTR("value")));
  const DWORD bytes = 6 * sizeof(WCHAR);

  DWORD type = 0;
  DWORD size = 0;
  // Size only: no data buffer.
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_key, OLESTR("NAME"), nullptr, &type, nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(bytes, size);

  WCHAR buffer[16] = {};
  size = sizeof(buffer);
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExW(m_key, OLESTR("name"), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size));
  EXPECT_EQ(bytes, size);
  EXPECT_EQ(WideString(OLESTR("value")), WideString(buffer));
}

TEST_F(RegistryTest, QueryIntoTooSmallBufferGivesMoreDataAndTheSize) {
  ASSERT_EQ(ERROR_SUCCESS, SetText(m_key, OLESTR("Name"), OLESTR("value")));
  BYTE buffer[4];
  DWORD size = sizeof(buffer);
  EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExW(m_key, OLESTR("Name"), nullptr, nullptr, buffer, &size));
  EXPECT_EQ(static_cast<DWORD>(6 * sizeof(WCHAR)), size);
}

TEST_F(RegistryTest, QueryWithDataButNoSizeIsInvalid) {
  ASSERT_EQ(ERROR_SUCCESS, SetText(m_key, OLESTR("Name"), OLESTR("value")));
  BYTE buffer[32];
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExW(m_key, OLESTR("Name"), nullptr, nullptr, buffer, nullptr));
}

TEST_F(RegistryTest, DefaultValueIsTheEmptyName) {
  ASSERT_EQ(ERROR_SUCCESS, SetText(m_key, nullptr, OLESTR("default")));
  WCHAR buffer[16] = {};
  DWORD size = sizeof(buffer);
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(m_key, OLESTR(""), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size));
  EXPECT_EQ(WideString(OLESTR("default")), WideString(buffer));
}

TEST_F(RegistryTest, DwordValueRoundTrips) {
  const DWORD stored = 0x12345678;
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetValueExW(m_key, OLESTR("Number"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), 4));
  DWORD read = 0;
  DWORD type = 0;
  DWORD size = sizeof(read);
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExW(m_key, OLESTR("Number"), nullptr, &type, reinterpret_cast<BYTE*>(&read), &size));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
  EXPECT_EQ(stored, read);
}

TEST_F(RegistryTest, DeletedValueIsGone) {
  ASSERT_EQ(ERROR_SUCCESS, SetText(m_key, OLESTR("Name"), OLESTR("value")));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueW(m_key, OLESTR("NAME")));
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(m_key, OLESTR("Name"), nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(m_key, OLESTR("Name")));
}

TEST_F(RegistryTest, DeleteKeyRefusesAKeyWithSubkeys) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Create(OLESTR("Parent\\Child"), &key));
  RegCloseKey(key);
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(m_key, OLESTR("Parent")));
  EXPECT_TRUE(Exists(OLESTR("Parent\\Child")));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(m_key, OLESTR("parent\\child")));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(m_key, OLESTR("Parent")));
  EXPECT_FALSE(Exists(OLESTR("Parent")));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyW(m_key, OLESTR("Parent")));
}

TEST_F(RegistryTest, DeleteTreeRemovesEverythingBelow) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Create(OLESTR("Tree\\A\\B"), &key));
  SetText(key, OLESTR("Leaf"), OLESTR("x"));
  RegCloseKey(key);
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(m_key, OLESTR("TREE")));
  EXPECT_FALSE(Exists(OLESTR("Tree")));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteTreeW(m_key, OLESTR("Tree")));
}

TEST_F(RegistryTest, DeleteTreeWithoutSubkeyEmptiesTheKeyButKeepsIt) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Create(OLESTR("Child"), &key));
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, SetText(m_key, OLESTR("Name"), OLESTR("value")));
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(m_key, nullptr));
  EXPECT_FALSE(Exists(OLESTR("Child")));
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(m_key, OLESTR("Name"), nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_SUCCESS, SetText(m_key, OLESTR("Again"), OLESTR("value")));
}

TEST_F(RegistryTest, HandleOfADeletedKeyReportsKeyDeleted) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Create(OLESTR("Doomed"), &key));
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(m_key, OLESTR("Doomed")));
  EXPECT_EQ(ERROR_KEY_DELETED, SetText(key, OLESTR("Name"), OLESTR("value")));
  DWORD size = 0;
  EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExW(key, OLESTR("Name"), nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
}

TEST(RegistryHandles, ClosingUnknownHandleFailsAndRootsAlwaysClose) {
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234))));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
}

// HKEY_CLASSES_ROOT, which the shell reads file associations from.
class ClassesRootTest : public testing::Test {
 protected:
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, OLESTR("Software\\Classes\\.vlmregtest"));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, OLESTR("Software\\Classes\\.vlmregtest"));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, OLESTR("Software\\Classes\\.vlmregtest2"));
  }

  static WideString DefaultOf(HKEY root, const WCHAR* subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return OLESTR("(no key)");
    WCHAR buffer[64] = {};
    DWORD size = sizeof(buffer) - sizeof(WCHAR);
    const LONG status = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? WideString(buffer) : WideString(OLESTR("(no value)"));
  }

  static void WriteDefault(HKEY root, const WCHAR* subKey, const WCHAR* text) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes));
    RegCloseKey(key);
  }
};

TEST_F(ClassesRootTest, NewKeyWrittenThroughClassesRootGoesToTheMachine) {
  WriteDefault(HKEY_CLASSES_ROOT, OLESTR(".vlmregtest2"), OLESTR("machine"));
  EXPECT_EQ(WideString(OLESTR("machine")), DefaultOf(HKEY_LOCAL_MACHINE, OLESTR("Software\\Classes\\.VLMREGTEST2")));
  EXPECT_EQ(WideString(OLESTR("(no key)")), DefaultOf(HKEY_CURRENT_USER, OLESTR("Software\\Classes\\.vlmregtest2")));
}

TEST_F(ClassesRootTest, UserClassesComeFirstInTheMergedView) {
  // Documented merge of HKCU\Software\Classes over HKLM\Software\Classes.
  WriteDefault(HKEY_LOCAL_MACHINE, OLESTR("Software\\Classes\\.vlmregtest"), OLESTR("machine"));
  EXPECT_EQ(WideString(OLESTR("machine")), DefaultOf(HKEY_CLASSES_ROOT, OLESTR(".vlmregtest")));
  WriteDefault(HKEY_CURRENT_USER, OLESTR("Software\\Classes\\.vlmregtest"), OLESTR("user"));
  ASSERT_TRUE(AsDocumented(DefaultOf(HKEY_CLASSES_ROOT, OLESTR(".VLMREGTEST")), WideString(OLESTR("user")),
                           WideString(OLESTR("machine")),
                           "Wine 8's HKEY_CLASSES_ROOT shows the machine's classes only"));
  // The rest follows from the merge.
  if (RunningUnderWine()) return;

  // A write through the merged view goes to the user's key, which exists.
  WriteDefault(HKEY_CLASSES_ROOT, OLESTR(".vlmregtest"), OLESTR("changed"));
  EXPECT_EQ(WideString(OLESTR("changed")), DefaultOf(HKEY_CURRENT_USER, OLESTR("Software\\Classes\\.vlmregtest")));
  EXPECT_EQ(WideString(OLESTR("machine")), DefaultOf(HKEY_LOCAL_MACHINE, OLESTR("Software\\Classes\\.vlmregtest")));

  // Deleted from the user's classes, the machine's key shows again.
  EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CLASSES_ROOT, OLESTR(".vlmregtest")));
  EXPECT_EQ(WideString(OLESTR("machine")), DefaultOf(HKEY_CLASSES_ROOT, OLESTR(".vlmregtest")));
}

}  // namespace
}  // namespace velmora_test
