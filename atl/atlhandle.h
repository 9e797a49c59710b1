// CHandle: owns one kernel handle and closes it when it goes. Out-parameters
// go through Receive(), as for every owner of this stand-in. A null handle
// and INVALID_HANDLE_VALUE both hold nothing.
#ifndef VELMORA_ATL_ATLHANDLE_H
#define VELMORA_ATL_ATLHANDLE_H

#include <windows.h>

namespace ATL {

class CHandle {
 public:
  CHandle() = default;
  explicit CHandle(HANDLE h) : m_h(h) {}
  CHandle(const CHandle&) = delete;
  CHandle& operator=(const CHandle&) = delete;
  CHandle(CHandle&& other) noexcept : m_h(other.Detach()) {}
  CHandle& operator=(CHandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  ~CHandle() { Close(); }

  operator HANDLE() const { return m_h; }
  bool IsValid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }

  // Closes what is held and takes h.
  void Attach(HANDLE h) {
    Close();
    m_h = h;
  }
  HANDLE Detach() {
    HANDLE h = m_h;
    m_h = nullptr;
    return h;
  }
  // For an out-parameter: closes what is held and returns the empty slot.
  HANDLE* Receive() {
    Close();
    return &m_h;
  }
  void Close() {
    HANDLE h = m_h;
    m_h = nullptr;
    // A handle that will not close is given up all the same.
    if (h != nullptr && h != INVALID_HANDLE_VALUE) (void)::CloseHandle(h);
  }

 private:
  HANDLE m_h = nullptr;
};

}  // namespace ATL

#endif  // VELMORA_ATL_ATLHANDLE_H
