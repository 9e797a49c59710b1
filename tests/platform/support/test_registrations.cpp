// Registry entries and PATH changes made by tests.
#include "tests/platform/support/test_registrations.h"

#include <objbase.h>

#include <vector>

#include "tests/support/under_wine.h"

#ifndef _WIN32
#include <velmora_platform/platform_testing.h>
#include <stdlib.h>
#endif

namespace velmora_test {

namespace {

const WCHAR kAppPaths[] = OLESTR("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\");

HKEY ClassesHive() { return RunningUnderWine() ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

WideString ClassesKey(const WideString& name) {
  return RunningUnderWine() ? name : WideString(OLESTR("Software\\Classes\\")) + name;
}

bool WriteDefault(HKEY root, const WideString& subKey, const WideString& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR));
  const bool written =
      RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

}  // namespace

TestAssociation::TestAssociation(const WCHAR* extension, const WCHAR* progId, const WideString& command)
    : m_extension(extension), m_progId(progId) {
  // Whatever an interrupted earlier run left goes first.
  RegDeleteTreeW(ClassesHive(), ClassesKey(m_extension).c_str());
  RegDeleteTreeW(ClassesHive(), ClassesKey(m_progId).c_str());
  m_valid = WriteDefault(ClassesHive(), ClassesKey(m_extension), m_progId) && SetCommand(command);
}

TestAssociation::~TestAssociation() {
  RegDeleteTreeW(ClassesHive(), ClassesKey(m_extension).c_str());
  RegDeleteTreeW(ClassesHive(), ClassesKey(m_progId).c_str());
}

bool TestAssociation::SetCommand(const WideString& command) {
  return WriteDefault(ClassesHive(), ClassesKey(m_progId + OLESTR("\\shell\\open\\command")), command);
}

void TestAssociation::RemoveCommand() {
  RegDeleteTreeW(ClassesHive(), ClassesKey(m_progId + OLESTR("\\shell")).c_str());
}

TestProgId::TestProgId(const WCHAR* progId, REFCLSID clsid) : m_progId(progId) {
  RegDeleteTreeW(ClassesHive(), ClassesKey(m_progId).c_str());
  OLECHAR text[40] = {};
  if (StringFromGUID2(clsid, text, 40) == 0) return;
  m_valid = WriteDefault(ClassesHive(), ClassesKey(m_progId + OLESTR("\\CLSID")), text);
}

TestProgId::~TestProgId() { RegDeleteTreeW(ClassesHive(), ClassesKey(m_progId).c_str()); }

TestAppPath::TestAppPath(const WCHAR* name, const WideString& path) : m_key(WideString(kAppPaths) + name) {
  m_valid = WriteDefault(HKEY_LOCAL_MACHINE, m_key, path);
}

TestAppPath::~TestAppPath() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_key.c_str()); }

#ifdef _WIN32

PathPrefix::PathPrefix(const WideString& folder) {
  const DWORD size = GetEnvironmentVariableW(OLESTR("PATH"), nullptr, 0);
  m_hadPath = size > 0;
  if (m_hadPath) {
    std::vector<WCHAR> buffer(size);
    GetEnvironmentVariableW(OLESTR("PATH"), buffer.data(), size);
    m_saved = buffer.data();
  }
  const WideString value = m_hadPath ? folder + OLESTR(";") + m_saved : folder;
  SetEnvironmentVariableW(OLESTR("PATH"), value.c_str());
}

PathPrefix::~PathPrefix() { SetEnvironmentVariableW(OLESTR("PATH"), m_hadPath ? m_saved.c_str() : nullptr); }

#else

PathPrefix::PathPrefix(const WideString& folder) {
  const char* path = getenv("PATH");
  m_hadPath = path != nullptr;
  if (m_hadPath) m_saved = path;
  const std::string linuxFolder = platform_testing::LinuxPathOf(folder.c_str());
  const std::string value = m_hadPath ? linuxFolder + ":" + m_saved : linuxFolder;
  setenv("PATH", value.c_str(), 1);
}

PathPrefix::~PathPrefix() {
  if (m_hadPath) {
    setenv("PATH", m_saved.c_str(), 1);
  } else {
    unsetenv("PATH");
  }
}

#endif

}  // namespace velmora_test
