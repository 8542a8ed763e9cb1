// The hand-written scenarios behind the registry of scenarios.h.
#pragma once

#include "scenarios.h"

namespace zeb::e2e {

// Every recorded call of the backend, context, device, profile and property
// families with every configuration option; queries included or left out.
void allFamilies(const ZebApi& api);
void allFamiliesWithoutQueries(const ZebApi& api);

// A network built, finalized and executed with its data, and a graph
// retrieved by name.
void graphs(const ZebApi& api);
// Each kind of call that carries data, once.
void dataPath(const ZebApi& api);

// Every context binary call: binaries asked for, handed in and validated.
void binaries(const ZebApi& api);

// dataPath, then binaries; and that twice, with a switch to new output files
// between the two.
void dataAndBinaries(const ZebApi& api);
void switched(const ZebApi& api);

// One call that starts the recorder but records nothing: the written program
// is the model frame alone.
void frameOnly(const ZebApi& api);

// The log family, the calls ZebScribe answers itself and every unsupported
// slot, around one recorded backend.
void notRecorded(const ZebApi& api);

}  // namespace zeb::e2e
