#include "host/call_recorder.h"

#include <utility>

CHostCallRecorder::CHostCallRecorder(std::string object, std::shared_ptr<CHostCallLog> log, HostNameMatch match)
    : m_object(std::move(object)), m_log(log ? std::move(log) : CHostCallLog::Create()), m_failures(match) {}

void CHostCallRecorder::FailOperation(HostOperation operation, HRESULT hr, HostFailTimes times, LPCOLESTR key) {
  m_failures.Add(operation, hr, times, key);
}

CHostCall CHostCallRecorder::NewCall(HostOperation operation) const {
  CHostCall call;
  call.object = m_object;
  call.operation = operation;
  return call;
}

HRESULT CHostCallRecorder::Finish(CHostCall& call, HRESULT hr) const {
  call.hr = hr;
  m_log->Record(std::move(call));
  return hr;
}
