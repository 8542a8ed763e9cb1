// Calls whose recording is not built yet: once their guards pass they start
// the recorder, record nothing and answer "not supported".
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "api/api_session.h"
#include "api/entry_points.h"
#include "support/log_capture.h"

namespace zeb::test {
namespace {

struct NotRecordedRow {
  std::string name;
  std::function<Zeb_ErrorHandle_t(ApiSession&)> call;
};

std::ostream& operator<<(std::ostream& out, const NotRecordedRow& row) { return out << row.name; }

Zeb_ContextHandle_t context;

std::vector<NotRecordedRow> rows() {
  return {
      {"contextGetBinarySize",
       [](ApiSession& s) {
         Zeb_ContextBinarySize_t size;
         return entry::contextGetBinarySize(s.recorder, s.knownContext(), &size);
       }},
      {"contextGetBinary",
       [](ApiSession& s) {
         char buffer[4];
         Zeb_ContextBinarySize_t written;
         return entry::contextGetBinary(s.recorder, s.knownContext(), buffer, 4, &written);
       }},
      {"contextCreateFromBinary",
       [](ApiSession& s) {
         return entry::contextCreateFromBinary(s.recorder, nullptr, nullptr, nullptr, "b", 1,
                                               &context, nullptr);
       }},
      {"contextCreateFromBinaryWithSignal",
       [](ApiSession& s) {
         return entry::contextCreateFromBinaryWithSignal(s.recorder, nullptr, nullptr, nullptr, "b",
                                                         1, &context, nullptr, nullptr);
       }},
      {"contextValidateBinary",
       [](ApiSession& s) {
         return entry::contextValidateBinary(s.recorder, nullptr, nullptr, nullptr, "b", 1);
       }},
  };
}

class NotRecordedTest : public testing::TestWithParam<NotRecordedRow> {
 protected:
  ApiSession session;
};

TEST_P(NotRecordedTest, StartsThenAnswersNotSupported) {
  LogCapture log;
  EXPECT_EQ(GetParam().call(session), 1000u);
  EXPECT_TRUE(log.texts().empty());
  EXPECT_TRUE(session.recorder.started());
  session.expectNothingRecorded();
}

INSTANTIATE_TEST_SUITE_P(Calls, NotRecordedTest, testing::ValuesIn(rows()),
                         [](const testing::TestParamInfo<NotRecordedRow>& info) {
                           return info.param.name;
                         });

TEST(NotRecordedOutputs, ContextFromBinaryRegistersARecordButKeepsTheClientsHandle) {
  ApiSession session;
  Zeb_ContextHandle_t fromBinary = unknownHandle<Zeb_ContextHandle_t>();
  EXPECT_EQ(entry::contextCreateFromBinary(session.recorder, nullptr, nullptr, nullptr, "b", 1,
                                           &fromBinary, nullptr),
            1000u);
  EXPECT_EQ(fromBinary, unknownHandle<Zeb_ContextHandle_t>());
  // The record took the first context name, so the next context is the second.
  const uint64_t next = session.recorder.createContext();
  EXPECT_EQ(session.recorder.findContext(next)->name, "context_1");
}

}  // namespace
}  // namespace zeb::test
