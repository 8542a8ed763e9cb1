// Recording of the profile family and of capability queries.
#pragma once

#include <cstdint>

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::record {

Zeb_ErrorHandle_t profileCreate(Recorder& recorder, ScribeProfile& profile, uint64_t backend,
                                ZebProfile_Level_t level);
Zeb_ErrorHandle_t profileSetConfig(Recorder& recorder, ScribeProfile& profile,
                                   const ZebProfile_Config_t** config);
Zeb_ErrorHandle_t profileGetEvents(Recorder& recorder, ScribeProfile& profile,
                                   const ZebProfile_EventId_t** profileEventIds,
                                   uint32_t* numEvents);
Zeb_ErrorHandle_t profileGetSubEvents(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      const ZebProfile_EventId_t** subEventIds,
                                      uint32_t* numSubEvents);
Zeb_ErrorHandle_t profileGetEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      ZebProfile_EventData_t* eventData);
Zeb_ErrorHandle_t profileGetExtendedEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                              ZebProfile_ExtendedEventData_t* eventData);
// Records the free and releases the profile.
Zeb_ErrorHandle_t profileFree(Recorder& recorder, uint64_t profile);

Zeb_ErrorHandle_t propertyHasCapability(Recorder& recorder, ZebProperty_Key_t key);

}  // namespace zeb::record
