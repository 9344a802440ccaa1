// Reading the date-time values of DXL files. DXL writes a date as "20040512", a time as
// "T134500,00" and both together as "20040512T134500,00", with an optional zone ("Z", "-05",
// "+0530"). Values with a zone are shown in local time, as the Notes client shows them.
#pragma once

#include "ItemValue.h"

#include <string_view>

namespace notes {

// Parses one DXL date-time into `out`. Returns false (and leaves `out` alone) when the text is
// not a DXL date-time.
bool parseDxlDateTime(std::string_view text, DateTime &out);

} // namespace notes
