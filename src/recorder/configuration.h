// Recorder configuration chosen by the client through ZebScribe_initialize.
#pragma once

#include <string>

#include "ZebScribe.h"
#include "recorder/recorder.h"

namespace zeb {

// The local time now, as time-stamped file names carry it: 12-04-2026_06_08_23.
std::string localTimestamp();

struct FileNames {
  std::string model;
  std::string data;
};
// scribe_output_{timestamp}.c and params_{timestamp}.bin.
FileNames timestampedFileNames(const std::string& timestamp);

// Reads the NULL-terminated option array (or NULL), checks when and with what
// each option may be given, and applies it; after the start, a file option
// finishes the current files and continues in new ones.
Zeb_ErrorHandle_t configureRecorder(Recorder& recorder, const ZebScribe_Config_t** config);

}  // namespace zeb
