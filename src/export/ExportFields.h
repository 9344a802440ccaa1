// The export's field list: the 28 columns the user can tick in "Export Options", each with its
// CSV heading and the Person document item written for it. The position in the array is the
// field's identity; the window lists the captions in this order and the export walk reads the
// items by the same positions. Qt-free so the walk can use it under every client.
#pragma once

#include <array>
#include <cstddef>

namespace exportcore {

struct ExportField {
    const char *caption; // the list caption, also the CSV heading
    const char *item;    // the Notes item written in this column
};

inline constexpr std::size_t kExportFieldCount = 28;

// Some captions do not name their item: both web page columns carry "WebSite", "Mobile Phone"
// takes "PersPager" and "Pager" takes "CellPhoneNumber". That is how address books filled by the
// Notes templates store them, so it is kept as it stands.
extern const std::array<ExportField, kExportFieldCount> kExportFields;

} // namespace exportcore
