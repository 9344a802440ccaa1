// SPDX-License-Identifier: GPL-3.0-or-later
// The export walk over the in-memory client: what each column reads, and that every Notes object
// is released, entry first. How each way of a run ends is the export job's test.
#include "TestBooks.h"
#include "export/format/CsvContactFormat.h"
#include "export/format/ExportWalk.h"

#include <QTest>

using namespace formats;
using notes::MemoryClient;
using Op = MemoryClient::Op;
using Kind = notes::WalkOutcome::Kind;

namespace {

class RecordingSink final : public ExportSink {
public:
    void started(std::int64_t) override {}
    void line(const std::string &utf8) override { lines << QByteArray::fromStdString(utf8); }
    void progress(std::int64_t) override {}

    QList<QByteArray> lines;
};

// The CSV export of the columns at `positions` from the client's book.
notes::WalkOutcome runCsv(MemoryClient &client, std::vector<std::size_t> positions,
                          ExportSink &sink)
{
    CsvContactFormat format(std::move(positions));
    return runExport(client.factory(), "names.nsf", format, sink);
}

} // namespace

class TestExportWalk final : public QObject {
    Q_OBJECT

private slots:
    void values()
    {
        // Each column reads its own item, case-insensitively; both web columns carry WebSite, and a
        // multi-valued or non-text item gives its first value in the default text form.
        MemoryClient client;
        notes::MemoryDocument doc;
        doc.set("website", "www.example.org")
            .set("PersPager", "mobile")
            .set("CellPhoneNumber", "pager")
            .set("FullName", notes::ItemValues{notes::ItemValue::fromText("Anna Berg/Org"),
                                               notes::ItemValue::fromText("Anna Berg")})
            .set("OfficeZip", notes::ItemValues{notes::ItemValue::fromNumber(12345)});
        client.people.push_back(doc);

        RecordingSink sink;
        const notes::WalkOutcome outcome = runCsv(client, {0, 3, 12, 13, 16, 19, 22}, sink);
        QCOMPARE(outcome.kind, Kind::Completed);
        QCOMPARE(sink.lines.size(), 2);
        QCOMPARE(sink.lines[1],
                 QByteArray(",Anna Berg/Org,mobile,www.example.org,12345,www.example.org,"
                            "pager\r\n"));
        QCOMPARE(client.calls(Op::GetItemValue), 7);
    }

    void releaseOrder()
    {
        MemoryClient client;
        addPeople(client, 2, "comment");
        RecordingSink sink;
        runCsv(client, {0}, sink);
        // Entries and documents of earlier rows go as the walk moves on; what is held at the end
        // goes entry first, session last.
        const std::vector<std::string> &log = client.releaseLog();
        QVERIFY(log.size() >= 6);
        const std::vector<std::string> tail(log.end() - 5, log.end());
        QCOMPARE(tail, (std::vector<std::string>{"navigator", "view", "document", "database",
                                                 "session"}));
        QCOMPARE(client.liveObjects(), 0);

        // Stopped while an entry is still held: that entry goes first.
        MemoryClient stopped;
        addPeople(stopped, 2, "comment");
        stopped.failOn(Op::GetNextDocument, 1);
        runCsv(stopped, {0}, sink);
        const std::vector<std::string> &log2 = stopped.releaseLog();
        QCOMPARE(log2, (std::vector<std::string>{"entry", "navigator", "view", "document",
                                                 "database", "session"}));
    }
};

QTEST_APPLESS_MAIN(TestExportWalk)
#include "tst_exportwalk.moc"
