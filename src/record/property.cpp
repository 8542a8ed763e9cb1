#include <string>

#include "ZebScribe.h"
#include "emit/statement_builder.h"
#include "record/family_common.h"
#include "record/profile.h"

namespace zeb::record {

// The backend that replays the program decides; every key gets the same answer here.
Zeb_ErrorHandle_t propertyHasCapability(Recorder& recorder, ZebProperty_Key_t key) {
  StatementBuilder builder;
  builder.writeApiCall("propertyHasCapability", "(ZebProperty_Key_t)" + uintToText(key));
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_BACKEND_ERROR_GENERAL);
}

}  // namespace zeb::record
