// Recorder configuration chosen by the client through ZebScribe_initialize.
#pragma once

#include "ZebScribe.h"
#include "recorder/recorder.h"

namespace zeb {

// Reads the NULL-terminated option array (or NULL), checks when and with what
// each option may be given, and applies it; after the start, a file option
// finishes the current files and continues in new ones.
Zeb_ErrorHandle_t configureRecorder(Recorder& recorder, const ZebScribe_Config_t** config);

}  // namespace zeb
