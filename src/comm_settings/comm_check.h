#pragma once
// The data check of the communication settings.

#include "base/check_result.h"
#include "comm_settings/pargen_file.h"

namespace lw {

// Tests the ID Device and the octets in their fixed order and returns the
// first failure (row 0, no limit); the gateway octets only when the gateway
// is in use. The KNX type and the name of station are not tested.
Check_Result Controllo_Dati(const ParGen_Values& values);

} // namespace lw
