// SPDX-License-Identifier: GPL-3.0-or-later
// The running row's values, every column of a rows file being a QString, all at once for a
// structured binding: auto [path, scan] = cells("path", "scan");
#pragma once

#include <QTest>

#include <array>

template <class... Columns> std::array<QString, sizeof...(Columns)> cells(Columns... columns)
{
    return {*static_cast<QString *>(QTest::qData(columns, qMetaTypeId<QString>()))...};
}
