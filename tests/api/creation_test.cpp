// The creating entry points register their record first and hand its handle
// to the client only when the recording succeeded.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "api/api_session.h"
#include "api/entry_points.h"
#include "pal/stream_ops_override.h"

namespace zeb::test {
namespace {

// Runs a creating call with the client's handle variable preset to `value`
// and leaves the variable's final content in `value`.
using Create = std::function<Zeb_ErrorHandle_t(Recorder&, uint64_t& value)>;

template <class Handle, class Call>
Create creating(Call call) {
  return [call](Recorder& recorder, uint64_t& value) {
    Handle handle = clientHandle<Handle>(value);
    const Zeb_ErrorHandle_t code = call(recorder, &handle);
    value = handleValue(handle);
    return code;
  };
}

struct CreatingRow {
  std::string name;
  Create create;
  std::function<std::string(Recorder&, uint64_t)> recordName;  // empty when not registered
  bool clearsHandleFirst;
  Zeb_ErrorHandle_t failedWrite;  // the family's code for a model file that cannot be written
};

std::ostream& operator<<(std::ostream& out, const CreatingRow& row) { return out << row.name; }

template <class Record>
std::string nameOf(const std::shared_ptr<Record>& record) {
  return record ? record->name : std::string();
}

std::vector<CreatingRow> rows() {
  return {
      {"contextCreate", creating<Zeb_ContextHandle_t>([](Recorder& r, Zeb_ContextHandle_t* out) {
         return entry::contextCreate(r, nullptr, nullptr, nullptr, out);
       }),
       [](Recorder& r, uint64_t h) { return nameOf(r.findContext(h)); }, true, 5999},
      {"deviceCreate", creating<Zeb_DeviceHandle_t>([](Recorder& r, Zeb_DeviceHandle_t* out) {
         return entry::deviceCreate(r, nullptr, nullptr, out);
       }),
       [](Recorder& r, uint64_t h) { return nameOf(r.findDevice(h)); }, false, 14999},
      {"profileCreate", creating<Zeb_ProfileHandle_t>([](Recorder& r, Zeb_ProfileHandle_t* out) {
         return entry::profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, out);
       }),
       [](Recorder& r, uint64_t h) { return nameOf(r.findProfile(h)); }, true, 12999},
  };
}

class CreatingEntryTest : public testing::TestWithParam<CreatingRow> {
 protected:
  ApiSession session;
};

TEST_P(CreatingEntryTest, HandsOutTheRegisteredRecordAfterRecording) {
  const CreatingRow& row = GetParam();
  uint64_t handle = kUnknownHandle;
  ASSERT_EQ(row.create(session.recorder, handle), 0u);
  ASSERT_NE(handle, 0u);
  const std::string name = row.recordName(session.recorder, handle);
  ASSERT_FALSE(name.empty());
  EXPECT_NE(readFile(session.output() / session.recorder.modelFileName()).find(name),
            std::string::npos);

  uint64_t second = 0;
  ASSERT_EQ(row.create(session.recorder, second), 0u);
  EXPECT_NE(second, handle);
}

TEST_P(CreatingEntryTest, KeepsTheHandleFromTheClientWhenRecordingFails) {
  const CreatingRow& row = GetParam();
  ASSERT_EQ(session.recorder.start(), 0u);
  {
    StreamOpsOverride failing;
    failing.ops().write = StreamOpsOverride::writeNothing;
    uint64_t handle = kUnknownHandle;
    EXPECT_EQ(row.create(session.recorder, handle), row.failedWrite);
    EXPECT_EQ(handle, row.clearsHandleFirst ? 0u : kUnknownHandle);
  }
  // The failed call's record took the first name; the next one shows the gap.
  uint64_t next = 0;
  ASSERT_EQ(row.create(session.recorder, next), 0u);
  const std::string name = row.recordName(session.recorder, next);
  EXPECT_EQ(name.substr(name.size() - 2), "_1") << name;
}

INSTANTIATE_TEST_SUITE_P(Records, CreatingEntryTest, testing::ValuesIn(rows()),
                         [](const testing::TestParamInfo<CreatingRow>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace zeb::test
