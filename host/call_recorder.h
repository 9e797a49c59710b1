// CHostCallRecorder: what every host object does around each call through
// its interface: it starts a record of the call under the object's name,
// asks the failure switches whether the call is to fail instead of running,
// and at the end puts the result in the record and the record in the log.
// CHostObject builds on it, so every host object has one.
#ifndef VELMORA_HOST_CALL_RECORDER_H
#define VELMORA_HOST_CALL_RECORDER_H

#include <windows.h>

#include <wide_string.h>

#include <memory>
#include <optional>
#include <string>

#include "host/call_log.h"
#include "host/failures.h"

class CHostCallRecorder {
 public:
  CHostCallRecorder(const CHostCallRecorder&) = delete;
  CHostCallRecorder& operator=(const CHostCallRecorder&) = delete;

  const std::shared_ptr<CHostCallLog>& Log() const { return m_log; }

  // Failures on demand, for this object only; key, when given, limits the
  // failure to calls about that name (a child, a value, an object, an item,
  // a path), matched as the object matches its names.
  void FailOperation(HostOperation operation, HRESULT hr, HostFailTimes times = HostFailTimes::Always,
                     LPCOLESTR key = nullptr);
  // Drops every planned failure; objects with answers of their own on
  // demand drop those too.
  virtual void ClearFailures() { m_failures.Clear(); }

 protected:
  // object: the name the log gives this object ("rack", "TestOptions/Hooks");
  // a null log: one of its own.
  CHostCallRecorder(std::string object, std::shared_ptr<CHostCallLog> log, HostNameMatch match);
  virtual ~CHostCallRecorder() = default;

  const std::string& ObjectName() const { return m_object; }

  // A record of a call of this object, arguments still to be filled in.
  CHostCall NewCall(HostOperation operation) const;
  // The result planned for this call, if one is; it replaces the call.
  std::optional<HRESULT> Injected(HostOperation operation, const WideString& key) {
    return m_failures.Take(operation, key);
  }
  // Completes the record with hr, logs it and returns hr.
  HRESULT Finish(CHostCall& call, HRESULT hr) const;

 private:
  std::string m_object;
  std::shared_ptr<CHostCallLog> m_log;
  CHostFailures m_failures;
};

#endif  // VELMORA_HOST_CALL_RECORDER_H
