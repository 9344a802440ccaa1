// The export walk over the in-memory client: what reaches the sink, the outcome and its counts
// for every way a run can end, and that every Notes object is released, entry first.
#include "CsvContactFormat.h"
#include "ExportWalk.h"
#include "TestBooks.h"

#include <QTest>

using namespace exportcore;
using notes::MemoryClient;
using Op = MemoryClient::Op;
using Kind = notes::WalkOutcome::Kind;

Q_DECLARE_METATYPE(MemoryClient::Op)
Q_DECLARE_METATYPE(notes::WalkOutcome::Kind)

namespace {

class RecordingSink final : public ExportSink {
public:
    void started(std::int64_t entryCount) override
    {
        ++startedCalls;
        count = entryCount;
    }
    void line(const std::string &utf8) override { lines << QByteArray::fromStdString(utf8); }
    void progress(std::int64_t documentNumber) override { steps << documentNumber; }

    int startedCalls = 0;
    std::int64_t count = -1;
    QList<QByteArray> lines;
    QList<std::int64_t> steps;
};

using Lines = QList<QByteArray>;

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
    void outcome_data()
    {
        QTest::addColumn<int>("people");
        QTest::addColumn<MemoryClient::Op>("failing");
        QTest::addColumn<int>("nthCall"); // 0: nothing fails
        QTest::addColumn<bool>("noSession");
        QTest::addColumn<notes::WalkOutcome::Kind>("kind");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<int>("skipped");

        const QByteArray h("First Name,Notes\r\n");
        const QByteArray l1("First1,Note1\r\n"), l2("First2,Note2\r\n"), l3("First3,Note3\r\n");

        // How each way of opening and walking ends is the shared walk's, checked with the scan;
        // these rows check what the export writes for each kind of end.
        QTest::newRow("all read") << 3 << Op::Count << 0 << false << Kind::Completed
                                  << Lines{h, l1, l2, l3} << 0;
        QTest::newRow("empty view")
            << 0 << Op::Count << 0 << false << Kind::EmptyView << Lines{h} << 0;
        QTest::newRow("no session")
            << 3 << Op::Count << 0 << true << Kind::NotInstalled << Lines{} << 0;
        QTest::newRow("GetDatabase fails")
            << 3 << Op::GetDatabase << 1 << false << Kind::CannotOpen << Lines{} << 0;
        QTest::newRow("first document fails")
            << 3 << Op::Document << 1 << false << Kind::Incomplete << Lines{h, l2, l3} << 1;
        // Two items per document: call 4 is the first item of the second document.
        QTest::newRow("item of a later document fails")
            << 3 << Op::GetItemValue << 4 << false << Kind::Incomplete << Lines{h, l1, l3} << 1;
        QTest::newRow("GetNextDocument fails") << 3 << Op::GetNextDocument << 2 << false
                                               << Kind::StoppedEarly << Lines{h, l1, l2} << 0;
    }

    void outcome()
    {
        QFETCH(int, people);
        QFETCH(MemoryClient::Op, failing);
        QFETCH(int, nthCall);
        QFETCH(bool, noSession);
        QFETCH(notes::WalkOutcome::Kind, kind);
        QFETCH(Lines, lines);
        QFETCH(int, skipped);

        MemoryClient client;
        addPeople(client, people, "comment");
        if (noSession)
            client.availableProgIds.clear();
        if (nthCall > 0)
            client.failOn(failing, nthCall);

        RecordingSink sink;
        const notes::WalkOutcome outcome = runCsv(client, {0, 27}, sink);

        QCOMPARE(outcome.kind, kind);
        QCOMPARE(sink.lines, lines);
        QCOMPARE(outcome.skipped, skipped);
        QCOMPARE(outcome.delivered, std::max<std::int64_t>(0, lines.size() - 1));
        QCOMPARE(client.liveObjects(), 0);

        const bool opened = kind != Kind::NotInstalled && kind != Kind::CannotOpen;
        QCOMPARE(sink.startedCalls, opened ? 1 : 0);
        if (kind == Kind::NotInstalled || kind == Kind::CannotOpen || kind == Kind::StoppedEarly)
            QVERIFY(!outcome.reason.empty());
        if (skipped > 0)
            QVERIFY(!outcome.skipReason.empty());
        if (opened)
            QCOMPARE(sink.count, people);

        // Progress counts every document the walk reached, read or skipped, from 1 up.
        const int reached = kind == Kind::StoppedEarly ? nthCall : (opened ? people : 0);
        QCOMPARE(sink.steps.size(), reached);
        for (int i = 0; i < sink.steps.size(); ++i)
            QCOMPARE(sink.steps[i], i + 1);
    }

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
