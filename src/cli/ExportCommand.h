// "korvanta-tessal export": the export walk into the chosen writer, as the export window runs it,
// with its messages on standard error.
#pragma once

#include "Console.h"
#include "ExportFormat.h"
#include "SessionFactory.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace cli {

struct ExportRequest {
    QString book;
    ExportFormat format = ExportFormat::Csv;
    std::vector<std::size_t> positions; // the CSV's columns
    QString folder;
};

int runExportCommand(const ExportRequest &request, const notes::SessionFactory &factory,
                     const Console &console);

} // namespace cli
