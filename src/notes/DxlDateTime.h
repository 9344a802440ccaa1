// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the date-time values of DXL files. DXL writes a date as "20040512", a time as
// "T134500,00" and both together as "20040512T134500,00", with an optional zone ("Z", "-05",
// "+0530"). Values with a zone are shown in local time, as the Notes client shows them.
#pragma once

#include "notes/ItemValue.h"

#include <string_view>

namespace notes {

// Parses one DXL date-time into `out`. Returns false (and leaves `out` alone) when the text is
// not a DXL date-time, or names a date that does not exist (30 February, month 13, a leap day
// in a year without one) or that falls outside the years 1 to 9999, before or after the step to
// local time. The caller then shows the text as the file writes it.
bool parseDxlDateTime(std::string_view text, DateTime &out);

} // namespace notes
