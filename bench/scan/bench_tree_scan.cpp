// SPDX-License-Identifier: GPL-3.0-or-later
// Scans a DXL address book into the real main window, offscreen: the DXL client, the scan walk,
// the contact tree and the progress painting, as a user's scan runs (the backup copy left out).
// Prints the same figures as the other scan benchmarks.
//   bench_tree_scan BOOK.dxl
#include "BenchStats.h"
#include "app/FrmMain.h"
#include "browser/ContactTree.h"
#include "platform/QuietPlatform.h"

#include <QApplication>
#include <QByteArray>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_tree_scan BOOK.dxl\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    platform::QuietPlatform quiet;
    platform::setPlatform(&quiet);

    app::FrmMain window;
    window.show();
    window.applyFileChoice(QString::fromLocal8Bit(argv[1]));
    QApplication::processEvents();

    const bench::BenchStats stats;
    window.CmdEnumerateNotes_Click();
    const std::string line = stats.report("scan into the tree", argv[1]);
    // The tree's skeleton is the root and its 27 groups.
    std::printf("%s, contacts %lld\n", line.c_str(),
                static_cast<long long>(window.contactTree()->nodeCount() - 28));
    platform::setPlatform(nullptr);
    return 0;
}
