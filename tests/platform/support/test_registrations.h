// Registry entries a test makes for the shell to find, removed again when the
// object goes, so that no test relies on what the machine has registered.
#ifndef VELMORA_TESTS_PLATFORM_SUPPORT_TEST_REGISTRATIONS_H
#define VELMORA_TESTS_PLATFORM_SUPPORT_TEST_REGISTRATIONS_H

#include <windows.h>

#include "tests/support/temp_dir.h"

namespace velmora_test {

// A file type: `extension` (".vlmtest") names `progId`, whose open verb runs
// `command`. Written to the current user's classes, as a per-user install
// does; under Wine, whose HKEY_CLASSES_ROOT does not show the user's classes
// (Wine 8), to HKEY_CLASSES_ROOT itself.
class TestAssociation {
 public:
  TestAssociation(const WCHAR* extension, const WCHAR* progId, const WideString& command);
  ~TestAssociation();
  TestAssociation(const TestAssociation&) = delete;
  TestAssociation& operator=(const TestAssociation&) = delete;

  bool IsValid() const { return m_valid; }
  // Replaces the open command; false when it could not be written.
  bool SetCommand(const WideString& command);
  // Removes the open verb, leaving the type and its ProgID.
  void RemoveCommand();

 private:
  WideString m_extension;
  WideString m_progId;
  bool m_valid = false;
};

// A ProgID naming a class: <progId>\CLSID holds `clsid` in its registry
// form, in the same classes as TestAssociation writes.
class TestProgId {
 public:
  TestProgId(const WCHAR* progId, REFCLSID clsid);
  ~TestProgId();
  TestProgId(const TestProgId&) = delete;
  TestProgId& operator=(const TestProgId&) = delete;

  bool IsValid() const { return m_valid; }

 private:
  WideString m_progId;
  bool m_valid = false;
};

// An App Paths entry: the shell finds the program `name` at `path`.
class TestAppPath {
 public:
  TestAppPath(const WCHAR* name, const WideString& path);
  ~TestAppPath();
  TestAppPath(const TestAppPath&) = delete;
  TestAppPath& operator=(const TestAppPath&) = delete;

  bool IsValid() const { return m_valid; }

 private:
  WideString m_key;
  bool m_valid = false;
};

// Puts a folder first in PATH for the object's lifetime. On Linux PATH holds
// Linux folders: the folder's mapped location goes there.
class PathPrefix {
 public:
  explicit PathPrefix(const WideString& folder);
  ~PathPrefix();
  PathPrefix(const PathPrefix&) = delete;
  PathPrefix& operator=(const PathPrefix&) = delete;

 private:
  bool m_hadPath = false;
#ifdef _WIN32
  WideString m_saved;
#else
  std::string m_saved;
#endif
};

}  // namespace velmora_test

#endif  // VELMORA_TESTS_PLATFORM_SUPPORT_TEST_REGISTRATIONS_H
