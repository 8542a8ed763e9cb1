#include <gtest/gtest.h>

#include <string>

#include "record/recording_session.h"
#include "record/profile.h"

namespace zeb {
namespace {

using test::block;
using test::RecordingSession;

TEST(PropertyRecording, EveryKeyIsRecordedAndAnsweredTheSame) {
  RecordingSession session;
  std::string expected;
  for (ZebProperty_Key_t key : {0u, 7u, 4294967295u}) {
    EXPECT_EQ(record::propertyHasCapability(session.recorder, key), 4950u) << key;
    expected += block({"VALIDATE(error, interface.propertyHasCapability((ZebProperty_Key_t)" +
                       std::to_string(key) + "));"});
  }
  EXPECT_EQ(session.blocks(), expected);
  EXPECT_TRUE(session.log.messages().empty());
}

TEST(PropertyRecording, FailedWriteGives4999) {
  RecordingSession session;
  {
    test::FailingWrites failing;
    EXPECT_EQ(record::propertyHasCapability(session.recorder, 1), 4999u);
  }
  EXPECT_EQ(session.blocks(), "");
  session.expectFailedWriteLogged();
}

}  // namespace
}  // namespace zeb
