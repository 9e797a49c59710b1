// A new, empty folder for one test, given as a Windows path on every build,
// and removed with everything in it when the object goes. On Windows it is
// made below GetTempPathW; on Linux below /tmp, and its path is the one the
// platform layer maps there (Z:\tmp\...).
#ifndef VELMORA_TESTS_SUPPORT_TEMP_DIR_H
#define VELMORA_TESTS_SUPPORT_TEMP_DIR_H

#include <windows.h>

#include <wide_string.h>

namespace velmora_test {


class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // False when the folder could not be made; Path() is empty then.
  bool IsValid() const { return !m_path.empty(); }
  // The folder's Windows path, without a trailing backslash.
  const WideString& Path() const { return m_path; }
  // The Windows path of `relative` (which may hold backslashes) in the folder.
  WideString PathOf(const WCHAR* relative) const;

  // Make an empty file or folder in the folder (its parent must exist) and
  // return its Windows path; empty when it could not be made.
  WideString MakeFile(const WCHAR* relative) const;
  WideString MakeFolder(const WCHAR* relative) const;

 private:
  WideString m_path;
};

}  // namespace velmora_test

#endif  // VELMORA_TESTS_SUPPORT_TEMP_DIR_H
