// The run events and the two run flags, driven through the host's event
// interfaces. With a null data object the forwarded work answers
// E_INVALIDARG, which shows whether an event forwarded at all.
#include <gtest/gtest.h>

#include <atlbase.h>
#include <atlcom.h>

#include <vector>

#include "addin/velmora_obj.h"
#include "tests/support/hresult.h"

namespace {

enum class Event {
  StartRecord,
  StopRecord,
  StartReplay,
  StopReplay,
  StartIteration,
  StopIteration,
  CloseTest,
  UpdateDataObject,
  StartPartialReplay,
  PostLoad,
  StartBPTRun,
  EndBPTRun,
  StartBCRecord,
  StopBCRecord,
  StartBCReplay,
  StopBCReplay,
};

class RunEvents {
 public:
  RunEvents() {
    CComObject<CVelmoraObj>* object = nullptr;
    EXPECT_HR(S_OK, CComObject<CVelmoraObj>::CreateInstance(&object));
    object_ = object;
    (void)object_.QueryInterface(startup_.Receive());
    (void)object_.QueryInterface(bc_.Receive());
  }

  HRESULT Fire(Event event, IDataObj* data = nullptr) {
    switch (event) {
      case Event::StartRecord: return startup_->StartRecord(data);
      case Event::StopRecord: return startup_->StopRecord(data);
      case Event::StartReplay: return startup_->StartReplay(data);
      case Event::StopReplay: return startup_->StopReplay(data);
      case Event::StartIteration: return startup_->StartIteration(data);
      case Event::StopIteration: return startup_->StopIteration(data);
      case Event::CloseTest: return startup_->CloseTest(data);
      case Event::UpdateDataObject: return startup_->UpdateDataObject(data, nullptr, nullptr);
      case Event::StartPartialReplay: return startup_->StartPartialReplay(data);
      case Event::PostLoad: return startup_->PostLoad(data);
      case Event::StartBPTRun: return startup_->StartBPTRun(data);
      case Event::EndBPTRun: return startup_->EndBPTRun(data);
      case Event::StartBCRecord: return bc_->StartBCRecord(data);
      case Event::StopBCRecord: return bc_->StopBCRecord(data);
      case Event::StartBCReplay: return bc_->StartBCReplay(data);
      case Event::StopBCReplay: return bc_->StopBCReplay(data);
    }
    return E_UNEXPECTED;
  }

  BOOL BPTRun() const { return object_->IsBPTRun(); }
  BOOL BCActive() const { return object_->IsBCActive(); }

 private:
  CComPtr<CComObject<CVelmoraObj>> object_;
  CComPtr<IStartupClient3> startup_;
  CComPtr<IBCStartupClnt> bc_;
};

struct Step {
  Event event;
  HRESULT expected;
};

struct Sequence {
  const char* name;
  std::vector<Step> steps;
  BOOL bptRun;
  BOOL bcActive;
};

// Forwarded work that ran answers the null data object with E_INVALIDARG.
const HRESULT kForwarded = E_INVALIDARG;

const Sequence kSequences[] = {
    {"fresh object", {}, 0, 0},
    {"business-process run starts", {{Event::StartBPTRun, S_OK}}, 1, 0},
    {"EndBPTRun without a start", {{Event::EndBPTRun, S_OK}}, 0, 0},
    {"run starts and ends", {{Event::StartBPTRun, S_OK}, {Event::EndBPTRun, S_OK}}, 0, 0},
    {"component replay outside a run accumulates nothing", {{Event::StartBCReplay, S_OK}}, 0, 1},
    {"component replay inside a run accumulates; flag set although it fails",
     {{Event::StartBPTRun, S_OK}, {Event::StartBCReplay, kForwarded}},
     1,
     1},
    {"component replay ends",
     {{Event::StartBPTRun, S_OK}, {Event::StartBCReplay, kForwarded}, {Event::StopBCReplay, S_OK}},
     1,
     0},
    {"recording a component ends the run and stops accumulation",
     {{Event::StartBPTRun, S_OK}, {Event::StartBCRecord, S_OK}, {Event::StartBCReplay, S_OK}},
     0,
     1},
    {"component recording ends", {{Event::StartBCRecord, S_OK}, {Event::StopBCRecord, S_OK}}, 0, 0},
    {"StartReplay inside a run clears it and launches invisibly",
     {{Event::StartBPTRun, S_OK}, {Event::StartReplay, S_OK}},
     0,
     0},
    {"StartRecord hides the launch result", {{Event::StartRecord, S_OK}}, 0, 0},
    {"StartRecord leaves an active component alone",
     {{Event::StartBCReplay, S_OK}, {Event::StartRecord, S_OK}},
     0,
     1},
    {"StartIteration launches in state (0, 0) and reports it", {{Event::StartIteration, kForwarded}}, 0, 0},
    {"StartIteration skips inside a run", {{Event::StartBPTRun, S_OK}, {Event::StartIteration, S_OK}}, 1, 0},
    {"StartIteration skips while a component is active",
     {{Event::StartBCReplay, S_OK}, {Event::StartIteration, S_OK}},
     0,
     1},
    {"StartIteration launches again once the component stopped",
     {{Event::StartBCRecord, S_OK}, {Event::StopBCRecord, S_OK}, {Event::StartIteration, kForwarded}},
     0,
     0},
    {"UpdateDataObject forwards and keeps the flags",
     {{Event::StartBPTRun, S_OK}, {Event::StartBCReplay, kForwarded}, {Event::UpdateDataObject, kForwarded}},
     1,
     1},
    {"unhandled events touch no flag",
     {{Event::StartBPTRun, S_OK},
      {Event::StartBCReplay, kForwarded},
      {Event::StopRecord, E_NOTIMPL},
      {Event::StopReplay, E_NOTIMPL},
      {Event::StopIteration, E_NOTIMPL},
      {Event::CloseTest, E_NOTIMPL},
      {Event::StartPartialReplay, E_NOTIMPL}},
     1,
     1},
};

class RunEventSequences : public testing::TestWithParam<Sequence> {};

TEST_P(RunEventSequences, FollowTheStateTable) {
  RunEvents events;
  const Sequence& sequence = GetParam();
  SCOPED_TRACE(sequence.name);
  for (size_t i = 0; i < sequence.steps.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "step " << i);
    EXPECT_HR(sequence.steps[i].expected, events.Fire(sequence.steps[i].event));
  }
  EXPECT_EQ(sequence.bptRun, events.BPTRun());
  EXPECT_EQ(sequence.bcActive, events.BCActive());
}

INSTANTIATE_TEST_SUITE_P(Events, RunEventSequences, testing::ValuesIn(kSequences),
                         [](const testing::TestParamInfo<Sequence>& info) {
                           return "Sequence" + std::to_string(info.index);
                         });

TEST(RunEvents, PostLoadChangesNoFlag) {
  RunEvents events;
  events.Fire(Event::StartBPTRun);
  events.Fire(Event::StartBCReplay);
  events.Fire(Event::PostLoad);
  EXPECT_EQ(1, events.BPTRun());
  EXPECT_EQ(1, events.BCActive());
}

}  // namespace
