// ZebScribe_initialize's records before and after the start; output directories are
// few names under the working directory, since the recorder makes them.
#include "fuzz_builder.h"

namespace {

ZebScribe_Config_t option(zeb::fuzz::Builder& build) {
  ZebScribe_Config_t record{};
  record.option = ZebScribe_ConfigOption_t(build.choose({0, 1, 2, 3, 4, 5, 6}));
  if (record.option == ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY) {
    const char* text = build.string();
    std::string name = "fuzz_out_";
    for (const char* c = text; c != nullptr && *c != '\0' && name.size() < 11; ++c) name += char('a' + (*c & 1));
    record.outputDirectory = text ? build.array<std::string>(1, [&] { return name; })->c_str() : nullptr;
  } else if (record.option == ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID) {
    record.backendId = build.count(4);
  } else if (record.option == ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG) {
    record.fileConfig = {build.string(), build.string()};
  } else if (record.option == ZEB_SCRIBE_CONFIG_OPTION_FORWARD) {
    // A path that names no library: the start fails as it would for a user's typo.
    const char* text = build.string();
    record.forwardLibrary = text == nullptr ? nullptr : *text == '\0' ? "" : "./fuzz_no_such_backend.so";
  } else {
    record.appendTimestamp = build.any<uint8_t>();  // the flags share it
  }
  return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  zeb::fuzz::Builder build(data);
  for (int i = 0; i < 4 && data.remaining_bytes() > 0; ++i) {
    ZebScribe_initialize(build.list<ZebScribe_Config_t>(build.count(6), [&] { return option(build); }));
    if (data.ConsumeBool()) zeb::fuzz::api().propertyHasCapability(1);  // starts the recording
  }
  return 0;
}
