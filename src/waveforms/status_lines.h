#pragma once
// The status of both time waveform slots as the reflection removal menu shows it.
#include <string>

#include "waveforms/waveform_state.h"

namespace refx {

// Slot 1 first: its shifted/truncated line (if any), then its scaled line (if any);
// then the same for slot 2. Empty when both slots are as read.
std::string waveform_status_lines(const TimeWaveforms& wf);

}  // namespace refx
