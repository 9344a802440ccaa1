// The "Export Options" window: the select-all rule, a completed run and what it changes, and the
// runs that are refused or fail, which must leave the window, and any earlier file, as they were.
#include "ExportFilePath.h"
#include "FakePlatform.h"
#include "FrmConversion.h"
#include "MemoryClient.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using notes::MemoryClient;
using Op = MemoryClient::Op;

namespace {

const QString kNotesText = QStringLiteral(
    "Lotus Notes not configured or the selected file is not a correct notes address book file.");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void addPeople(MemoryClient &client, int n)
{
    for (int i = 1; i <= n; ++i) {
        notes::MemoryDocument doc;
        doc.set("FirstName", "First" + std::to_string(i))
            .set("Comment", "Note" + std::to_string(i));
        client.people.push_back(doc);
    }
}

// The window's controls and what they show, to compare before and after a run.
struct Snapshot {
    bool startEnabled;
    bool labelShown;
    bool iconShown;
    int barMinimum;
    int barMaximum;
    int barValue;
    QList<bool> ticks;
    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

class Window {
public:
    explicit Window(MemoryClient &client)
        : form(nullptr, QStringLiteral("names.nsf"), client.factory(), [this] { ++completions; })
    {
        form.show();
    }

    QListWidget *list()
    {
        return form.findChild<QListWidget *>(QStringLiteral("LstContactsField"));
    }
    QCheckBox *selectAll() { return form.findChild<QCheckBox *>(QStringLiteral("ChkSelectAll")); }
    QPushButton *start() { return form.findChild<QPushButton *>(QStringLiteral("CmdConversion")); }
    QProgressBar *bar() { return form.findChild<QProgressBar *>(QStringLiteral("ProgBarSave")); }
    QLabel *label() { return form.findChild<QLabel *>(QStringLiteral("LblOpenExcelFile")); }
    QLabel *icon() { return form.findChild<QLabel *>(QStringLiteral("ImgOpenExcelFile")); }

    void tick(int position) { list()->item(position)->setCheckState(Qt::Checked); }
    void untick(int position) { list()->item(position)->setCheckState(Qt::Unchecked); }
    QList<bool> ticks()
    {
        QList<bool> out;
        for (int i = 0; i < list()->count(); ++i)
            out << (list()->item(i)->checkState() == Qt::Checked);
        return out;
    }
    Snapshot snapshot()
    {
        return {start()->isEnabled(),
                label()->isVisible(),
                icon()->isVisible(),
                bar()->minimum(),
                bar()->maximum(),
                bar()->value(),
                ticks()};
    }

    FrmConversion form;
    int completions = 0;
};

} // namespace

class TestFrmConversion final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loadedState();
    void selectAll_data();
    void selectAll();
    void completed();
    void emptyView();
    void separators_data();
    void separators();
    void partial_data();
    void partial();
    void noFieldTicked();
    void folderCancelled();
    void notesFails_data();
    void notesFails();
    void fileCannotBeWritten_data();
    void fileCannotBeWritten();
    void utf8Fallback();
    void openLabel();
};

void TestFrmConversion::init()
{
    ExportFilePath.clear();
}

void TestFrmConversion::loadedState()
{
    MemoryClient client;
    Window w(client);
    QCOMPARE(w.form.windowTitle(), QStringLiteral("Export Options"));
    QCOMPARE(w.list()->count(), 28);
    QCOMPARE(w.list()->item(0)->text(), QStringLiteral("First Name"));
    QCOMPARE(w.list()->item(27)->text(), QStringLiteral("Notes"));
    QCOMPARE(w.ticks(), QList<bool>(28, false));
    QVERIFY(!w.selectAll()->isChecked());
    QVERIFY(w.start()->isEnabled());
    QVERIFY(!w.label()->isVisible());
    QVERIFY(!w.icon()->isVisible());
    // The icon is drawn from the compiled-in resource: an empty picture means it was not linked.
    QCOMPARE(w.icon()->pixmap().size(), QSize(16, 16));
    QCOMPARE(w.form.focusWidget(), w.start());
}

void TestFrmConversion::selectAll_data()
{
    // Steps: "A" ticks Select All, "a" clears it, "-n" clears item n, "+n" ticks item n.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<bool>("boxTicked");

    QList<int> all;
    for (int i = 0; i < 28; ++i)
        all << i;
    QList<int> allBut5 = all;
    allBut5.removeOne(5);

    QTest::newRow("tick") << QStringList{"A"} << all << true;
    QTest::newRow("tick, clear two, untick")
        << QStringList{"A", "-3", "-20", "a"} << QList<int>{} << false;
    QTest::newRow("some ticked before") << QStringList{"+2", "+9", "A"} << all << true;
    QTest::newRow("box stays after clearing an item") << QStringList{"A", "-5"} << allBut5 << true;
    QTest::newRow("ticking every item leaves the box")
        << QStringList{"+0", "+27"} << QList<int>{0, 27} << false;
    QTest::newRow("untick clears hand-ticked items too")
        << QStringList{"A", "a", "+4", "A", "a"} << QList<int>{} << false;
}

void TestFrmConversion::selectAll()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, ticked);
    QFETCH(bool, boxTicked);

    MemoryClient client;
    Window w(client);
    for (const QString &step : steps) {
        if (step == QLatin1String("A") || step == QLatin1String("a")) {
            QVERIFY(w.selectAll()->isChecked() != (step == QLatin1String("A")));
            w.selectAll()->click();
        } else if (step.startsWith(QLatin1Char('+'))) {
            w.tick(step.mid(1).toInt());
        } else {
            w.untick(step.mid(1).toInt());
        }
    }
    QList<bool> expected(28, false);
    for (const int i : ticked)
        expected[i] = true;
    QCOMPARE(w.ticks(), expected);
    QCOMPARE(w.selectAll()->isChecked(), boxTicked);
}

void TestFrmConversion::completed()
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    MemoryClient client;
    addPeople(client, 3);
    Window w(client);
    w.tick(0);
    w.tick(27);

    QTest::mouseClick(w.start(), Qt::LeftButton);

    const QString path = QDir::toNativeSeparators(dir.filePath(QStringLiteral("OE-Contacts.csv")));
    QCOMPARE(fake.folderTitles, QStringList{"Select Folder to Save CSV File"});
    QCOMPARE(readAll(path),
             QByteArray("First Name,Notes\r\nFirst1,Note1\r\nFirst2,Note2\r\nFirst3,Note3\r\n"));
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].title, QStringLiteral("Conversion Completed..."));
    QCOMPARE(fake.messages[0].text, QStringLiteral("3 Contacts Saved Successfully"));
    QCOMPARE(ExportFilePath, path);
    QVERIFY(!w.start()->isEnabled());
    QCOMPARE(w.completions, 1);
    QVERIFY(w.label()->isVisible());
    QVERIFY(w.icon()->isVisible());
    QCOMPARE(w.bar()->maximum(), 3);
    QCOMPARE(w.bar()->value(), 3);
    QCOMPARE(client.liveObjects(), 0);
    // A second export needs a new window: the button cannot be clicked again.
    QTest::mouseClick(w.start(), Qt::LeftButton);
    QCOMPARE(fake.folderTitles.size(), 1);
}

void TestFrmConversion::emptyView()
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    MemoryClient client;
    Window w(client);
    w.tick(1);
    w.start()->click();

    QCOMPARE(readAll(dir.filePath(QStringLiteral("OE-Contacts.csv"))), QByteArray("Last Name\r\n"));
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].title, QStringLiteral("Conversion Completed..."));
    QCOMPARE(fake.messages[0].text, QStringLiteral("0 Contacts Saved Successfully"));
    QVERIFY(!w.start()->isEnabled());
    QCOMPARE(w.completions, 1);
}

void TestFrmConversion::separators_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QByteArray>("contents");

    QTest::newRow("First Name only") << QList<int>{0} << QByteArray("First1\r\nFirst2\r\n");
    QTest::newRow("Notes only") << QList<int>{27} << QByteArray("Note1\r\nNote2\r\n");
    QList<int> all;
    for (int i = 0; i < 28; ++i)
        all << i;
    QByteArray row1 = "First1" + QByteArray(26, ',') + ",Note1\r\n";
    QByteArray row2 = "First2" + QByteArray(26, ',') + ",Note2\r\n";
    QTest::newRow("all 28") << all << QByteArray(row1 + row2);
}

void TestFrmConversion::separators()
{
    QFETCH(QList<int>, ticked);
    QFETCH(QByteArray, contents);

    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    MemoryClient client;
    addPeople(client, 2);
    Window w(client);
    for (const int i : ticked)
        w.tick(i);
    w.start()->click();

    const QByteArray file = readAll(dir.filePath(QStringLiteral("OE-Contacts.csv")));
    const qsizetype headingEnd = file.indexOf("\r\n") + 2;
    QCOMPARE(file.left(headingEnd).count(','), ticked.size() - 1);
    QVERIFY(!file.left(headingEnd).endsWith(",\r\n"));
    QCOMPARE(file.mid(headingEnd), contents);
}

void TestFrmConversion::partial_data()
{
    QTest::addColumn<MemoryClient::Op>("failing");
    QTest::addColumn<int>("nthCall");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("a document cannot be read")
        << Op::Document << 2 << QByteArray("First Name\r\nFirst1\r\nFirst3\r\n")
        << QStringLiteral("2 Contacts Saved, 1 Skipped");
    QTest::newRow("the walk stops early")
        << Op::GetNextDocument << 2 << QByteArray("First Name\r\nFirst1\r\nFirst2\r\n")
        << QStringLiteral("2 Contacts Saved, then the export stopped early");
}

void TestFrmConversion::partial()
{
    QFETCH(MemoryClient::Op, failing);
    QFETCH(int, nthCall);
    QFETCH(QByteArray, contents);
    QFETCH(QString, firstLine);

    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    MemoryClient client;
    addPeople(client, 3);
    client.failOn(failing, nthCall);
    Window w(client);
    w.tick(0);
    w.start()->click();

    QCOMPARE(readAll(dir.filePath(QStringLiteral("OE-Contacts.csv"))), contents);
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].title, QStringLiteral("Conversion Completed..."));
    const QStringList lines = fake.messages[0].text.split(QLatin1Char('\n'));
    QCOMPARE(lines[0], firstLine);
    QVERIFY(lines.size() >= 3 && lines[2].contains(QStringLiteral("(call %1)").arg(nthCall)));
    QVERIFY(!fake.messages[0].text.contains(QStringLiteral("Successfully")));
    QVERIFY(w.label()->isVisible());
}

void TestFrmConversion::noFieldTicked()
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    MemoryClient client;
    addPeople(client, 2);
    Window w(client);
    const Snapshot before = w.snapshot();
    w.start()->click();

    QCOMPARE(fake.calls, (QStringList{"chooseFolder", "information"}));
    QCOMPARE(fake.messages[0].title, QStringLiteral("Select Fields"));
    QCOMPARE(fake.messages[0].text, QStringLiteral("Please select fields to be exported"));
    QVERIFY(QDir(dir.path()).isEmpty());
    QCOMPARE(client.calls(Op::CreateSession), 0);
    QCOMPARE(w.snapshot(), before);
    QVERIFY(ExportFilePath.isEmpty());
}

void TestFrmConversion::folderCancelled()
{
    FakePlatform fake;
    fake.folderAnswer.clear();
    MemoryClient client;
    addPeople(client, 2);
    Window w(client);
    w.tick(3);
    const Snapshot before = w.snapshot();
    w.start()->click();

    QCOMPARE(fake.calls, QStringList{"chooseFolder"});
    QCOMPARE(client.calls(Op::CreateSession), 0);
    QCOMPARE(w.snapshot(), before);
    QCOMPARE(w.completions, 0);
}

void TestFrmConversion::notesFails_data()
{
    QTest::addColumn<bool>("noSession");
    QTest::addColumn<MemoryClient::Op>("failing");
    QTest::newRow("no session") << true << Op::Count;
    QTest::newRow("book cannot be opened") << false << Op::GetDatabase;
    QTest::newRow("no $People view") << false << Op::GetView;
    QTest::newRow("no first entry") << false << Op::GetFirstDocument;
}

void TestFrmConversion::notesFails()
{
    QFETCH(bool, noSession);
    QFETCH(MemoryClient::Op, failing);

    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    const QString path = dir.filePath(QStringLiteral("OE-Contacts.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier export\r\n");
    }
    MemoryClient client;
    addPeople(client, 2);
    if (noSession)
        client.availableProgIds.clear();
    else
        client.failOn(failing, 1);
    Window w(client);
    w.tick(0);
    const Snapshot before = w.snapshot();
    w.start()->click();

    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].title, QStringLiteral("Korvanta Software"));
    const QStringList lines = fake.messages[0].text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], kNotesText);
    QVERIFY(lines[1].isEmpty());
    QVERIFY(!lines[2].isEmpty());
    QCOMPARE(readAll(path), QByteArray("earlier export\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"OE-Contacts.csv"});
    QCOMPARE(w.snapshot(), before);
    QCOMPARE(w.completions, 0);
    QVERIFY(ExportFilePath.isEmpty());
}

void TestFrmConversion::fileCannotBeWritten_data()
{
    QTest::addColumn<QString>("blocker");
    // Root ignores permission bits, so the read-only cases that hold for root too come first:
    // a folder below a regular file cannot exist, and a folder in the file's place cannot be
    // replaced by a file. The read-only file itself only counts where permissions apply.
    QTest::newRow("folder below a file") << QStringLiteral("under-file");
    QTest::newRow("folder in place of the file") << QStringLiteral("dir");
    QTest::newRow("read-only file") << QStringLiteral("read-only");
}

void TestFrmConversion::fileCannotBeWritten()
{
    QFETCH(QString, blocker);

    FakePlatform fake;
    QTemporaryDir dir;
    QString folder = dir.path();
    QString blocked = dir.filePath(QStringLiteral("OE-Contacts.csv"));
    if (blocker == QLatin1String("under-file")) {
        QFile file(dir.filePath(QStringLiteral("afile")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        folder = dir.filePath(QStringLiteral("afile/sub"));
        blocked = dir.filePath(QStringLiteral("afile"));
    } else if (blocker == QLatin1String("dir")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("OE-Contacts.csv")));
    } else {
        QFile file(blocked);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier export\r\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QFile probe(blocked);
        if (probe.open(QIODevice::ReadWrite))
            QSKIP("This user can write read-only files (root); the other rows cover it.");
    }
    const QByteArray blockedBefore = readAll(blocked);
    fake.folderAnswer = folder;
    MemoryClient client;
    addPeople(client, 2);
    Window w(client);
    w.tick(0);
    const Snapshot before = w.snapshot();
    w.start()->click();

    const QString path = exportFileIn(folder);
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].title, QStringLiteral("Korvanta Software"));
    QVERIFY2(fake.messages[0].text.contains(path), qPrintable(fake.messages[0].text));
    QVERIFY(fake.messages[0].text.count(QLatin1Char('\n')) >= 2); // and the reason
    QVERIFY(!fake.messages[0].text.contains(QStringLiteral("Successfully")));
    QCOMPARE(readAll(blocked), blockedBefore);
    QCOMPARE(w.snapshot(), before);
    QCOMPARE(w.completions, 0);
    QVERIFY(ExportFilePath.isEmpty());
    QCOMPARE(client.liveObjects(), 0);
}

void TestFrmConversion::utf8Fallback()
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    MemoryClient client;
    notes::MemoryDocument doc;
    doc.set("FirstName", "\xe5\xb1\xb1\xe7\x94\xb0"); // not in Latin-1
    client.people.push_back(doc);
    Window w(client);
    w.form.setCodePage(QStringConverter::Latin1);
    w.tick(0);
    w.start()->click();

    QCOMPARE(readAll(dir.filePath(QStringLiteral("OE-Contacts.csv"))),
             QByteArray("\xef\xbb\xbf"
                        "First Name\r\n\xe5\xb1\xb1\xe7\x94\xb0\r\n"));
    const QStringList lines = fake.messages[0].text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("1 Contacts Saved Successfully"));
    QVERIFY(lines[1].contains(QStringLiteral("UTF-8")));
}

void TestFrmConversion::openLabel()
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.folderAnswer = dir.path();
    MemoryClient client;
    addPeople(client, 1);
    Window w(client);
    w.tick(0);
    w.start()->click();
    fake.calls.clear();

    QTest::mouseClick(w.icon(), Qt::LeftButton);
    QVERIFY(fake.opened.isEmpty());
    QTest::mouseClick(w.label(), Qt::LeftButton);
    QTest::mouseClick(w.label(), Qt::LeftButton);
    const QString path = QDir::toNativeSeparators(dir.filePath(QStringLiteral("OE-Contacts.csv")));
    QCOMPARE(fake.opened, (QStringList{path, path}));
}

QTEST_MAIN(TestFrmConversion)
#include "tst_frmconversion.moc"
