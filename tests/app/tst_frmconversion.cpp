// SPDX-License-Identifier: GPL-3.0-or-later
// The "Export Options" window: the select-all rule, a completed run and what it changes, the runs
// that are refused or fail, which must leave the window, and any earlier file, as they were, and
// the choice of format.
#include "FakePlatform.h"
#include "FileBytes.h"
#include "PostInput.h"
#include "TestBooks.h"
#include "app/FrmConversion.h"
#include "app/WalkRunner.h"
#include "export/ExportFilePath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using notes::MemoryClient;
using Op = MemoryClient::Op;

namespace {

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

    app::FrmConversion form;
    int completions = 0;
};

} // namespace

class TestFrmConversion final : public QObject {
    Q_OBJECT

private slots:
    void init() { exporting::ExportFilePath.clear(); }

    void loadedState()
    {
        MemoryClient client;
        Window w(client);
        QCOMPARE(w.ticks(), QList<bool>(28, false));
        QVERIFY(!w.selectAll()->isChecked());
        QVERIFY(w.start()->isEnabled());
        QVERIFY(!w.label()->isVisible());
        QVERIFY(!w.icon()->isVisible());
        // The icon is drawn from the compiled-in resource: an empty picture means it was not
        // linked.
        QCOMPARE(w.icon()->pixmap().size(), QSize(16, 16));
        QCOMPARE(w.form.focusWidget(), w.start());
    }

    void selectAll_data()
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
        QTest::newRow("box stays after clearing an item")
            << QStringList{"A", "-5"} << allBut5 << true;
        QTest::newRow("ticking every item leaves the box")
            << QStringList{"+0", "+27"} << QList<int>{0, 27} << false;
        QTest::newRow("untick clears hand-ticked items too")
            << QStringList{"A", "a", "+4", "A", "a"} << QList<int>{} << false;
    }

    void selectAll()
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

    // Runs that write the file. A person i holds "First<i>" and "Note<i>" (the Notes column).
    void completed_data()
    {
        QTest::addColumn<int>("people"); // -1: one whose name Latin-1 cannot hold
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<MemoryClient::Op>("failing");
        QTest::addColumn<int>("nthCall");        // 0: nothing fails
        QTest::addColumn<QByteArray>("heading"); // "": only its separators are counted
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QStringList>("message"); // the first line, then what the lines after hold
        QTest::addColumn<bool>("latin1");         // the code page; else the system's

        const QByteArray first("First Name\r\n");
        QTest::newRow("first and last field")
            << 3 << QList<int>{0, 27} << Op::Count << 0 << QByteArray("First Name,Notes\r\n")
            << QByteArray("First1,Note1\r\nFirst2,Note2\r\nFirst3,Note3\r\n")
            << QStringList{"3 Contacts Saved Successfully"} << false;
        QTest::newRow("empty view")
            << 0 << QList<int>{1} << Op::Count << 0 << QByteArray("Last Name\r\n") << QByteArray()
            << QStringList{"0 Contacts Saved Successfully"} << false;
        QTest::newRow("First Name only")
            << 2 << QList<int>{0} << Op::Count << 0 << first << QByteArray("First1\r\nFirst2\r\n")
            << QStringList{"2 Contacts Saved Successfully"} << false;
        QTest::newRow("Notes only") << 2 << QList<int>{27} << Op::Count << 0
                                    << QByteArray("Notes\r\n") << QByteArray("Note1\r\nNote2\r\n")
                                    << QStringList{"2 Contacts Saved Successfully"} << false;
        QList<int> all;
        for (int i = 0; i < 28; ++i)
            all << i;
        QTest::newRow("all 28") << 2 << all << Op::Count << 0 << QByteArray()
                                << QByteArray("First1" + QByteArray(26, ',') + ",Note1\r\nFirst2" +
                                              QByteArray(26, ',') + ",Note2\r\n")
                                << QStringList{"2 Contacts Saved Successfully"} << false;
        QTest::newRow("a document cannot be read")
            << 3 << QList<int>{0} << Op::Document << 2 << first
            << QByteArray("First1\r\nFirst3\r\n")
            << QStringList{"2 Contacts Saved, 1 Skipped", "", "(call 2)"} << false;
        QTest::newRow("the walk stops early")
            << 3 << QList<int>{0} << Op::GetNextDocument << 2 << first
            << QByteArray("First1\r\nFirst2\r\n")
            << QStringList{"2 Contacts Saved, then the export stopped early", "", "(call 2)"}
            << false;
        // A value the code page cannot hold: the whole file goes out as UTF-8 with a byte-order
        // mark.
        QTest::newRow("UTF-8 fallback")
            << -1 << QList<int>{0} << Op::Count << 0
            << QByteArray("\xef\xbb\xbf"
                          "First Name\r\n")
            << QByteArray("\xe5\xb1\xb1\xe7\x94\xb0\r\n")
            << QStringList{"1 Contacts Saved Successfully", "UTF-8"} << true;
    }

    void completed()
    {
        QFETCH(int, people);
        QFETCH(QList<int>, ticked);
        QFETCH(MemoryClient::Op, failing);
        QFETCH(int, nthCall);
        QFETCH(QByteArray, heading);
        QFETCH(QByteArray, rows);
        QFETCH(QStringList, message);
        QFETCH(bool, latin1);

        FakePlatform fake;
        QTemporaryDir dir;
        fake.folderAnswer = dir.path();
        MemoryClient client;
        addPeople(client, people);
        if (people < 0) {
            people = 1;
            client.people.push_back(
                notes::MemoryDocument().set("FirstName", "\xe5\xb1\xb1\xe7\x94\xb0"));
        }
        if (nthCall > 0)
            client.failOn(failing, nthCall);
        Window w(client);
        if (latin1)
            w.form.setCodePage(QStringConverter::Latin1);
        for (const int i : ticked)
            w.tick(i);
        QTest::mouseClick(w.start(), Qt::LeftButton);

        const QString path =
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("OE-Contacts.csv")));
        QCOMPARE(fake.folderTitles, QStringList{"Select Folder to Save CSV File"});
        const QByteArray file = readBytes(path);
        const qsizetype headingEnd = file.indexOf("\r\n") + 2;
        QCOMPARE(file.left(headingEnd).count(','), ticked.size() - 1);
        QVERIFY(!file.left(headingEnd).endsWith(",\r\n"));
        if (!heading.isEmpty())
            QCOMPARE(file.left(headingEnd), heading);
        QCOMPARE(file.mid(headingEnd), rows);

        QCOMPARE(fake.messages.size(), 1);
        QCOMPARE(fake.messages[0].title, QStringLiteral("Conversion Completed..."));
        const QStringList lines = fake.messages[0].text.split(QLatin1Char('\n'));
        if (message.size() == 1)
            QCOMPARE(fake.messages[0].text, message[0]);
        QVERIFY(lines.size() >= message.size());
        QCOMPARE(lines[0], message[0]);
        for (qsizetype i = 1; i < message.size(); ++i)
            QVERIFY2(lines[i].contains(message[i]), qPrintable(fake.messages[0].text));

        QCOMPARE(exporting::ExportFilePath, path);
        QVERIFY(!w.start()->isEnabled());
        QCOMPARE(w.completions, 1);
        QVERIFY(w.label()->isVisible());
        QVERIFY(w.icon()->isVisible());
        if (nthCall == 0) {
            QCOMPARE(w.bar()->maximum(), people);
            QCOMPARE(w.bar()->value(), people);
        }
        QCOMPARE(client.liveObjects(), 0);
        // A second export needs a new window: the button cannot be clicked again.
        QTest::mouseClick(w.start(), Qt::LeftButton);
        QCOMPARE(fake.folderTitles.size(), 1);
    }

    // Clicks and keys that arrive while an export runs reach nothing, then or afterwards: no
    // second export starts and the ticks stay. Enter in the list starts nothing either: the
    // window has no default button.
    void inputDuringExportIsDiscarded()
    {
        MemoryClient client;
        client.people = {person("1", "Ann", "Lee"), person("2", "Bob", "Bee")};
        FakePlatform fake;
        QTemporaryDir dir;
        fake.folderAnswer = dir.path();
        QWidget *start = nullptr;
        QListWidget *list = nullptr;
        bool sawRunning = false;
        const notes::SessionFactory inner = client.factory();
        app::FrmConversion form(nullptr, QStringLiteral("names.nsf"),
                                [&](const std::string &progId) {
                                    sawRunning = app::WalkRunner::running();
                                    postClick(start);
                                    postKey(list, Qt::Key_Space);
                                    postKey(list, Qt::Key_Return);
                                    return inner(progId);
                                });
        form.show();
        start = form.findChild<QPushButton *>(QStringLiteral("CmdConversion"));
        list = form.findChild<QListWidget *>(QStringLiteral("LstContactsField"));
        list->setCurrentRow(1);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(fake.folderTitles.isEmpty());

        list->item(0)->setCheckState(Qt::Checked);
        QSignalSpy clicks(qobject_cast<QPushButton *>(start), &QPushButton::clicked);
        // Enter on the focused button presses it, as Space does.
        start->setFocus();
        QTest::keyClick(start, Qt::Key_Enter, Qt::KeypadModifier);
        QCoreApplication::processEvents();
        QVERIFY(sawRunning);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(fake.folderTitles.size(), 1);
        QCOMPARE(fake.messages.size(), 1);
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
        QVERIFY(!app::WalkRunner::running());
    }

    // Runs that are refused or fail: the window, and any earlier file, stay as they were.
    void refused_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<MemoryClient::Op>("failing");
        QTest::addColumn<QString>("title"); // "": no message
        QTest::addColumn<QString>("text");  // what the text starts with; %1 is the file's path

        const QString notesText =
            QStringLiteral("Lotus Notes not configured or the selected file is "
                           "not a correct notes address book file.\n\n");
        const QString notWritten = QStringLiteral("The file %1 cannot be written.\n\n");
        const QString company = QStringLiteral("Korvanta Software");
        QTest::newRow("no field ticked") << "no field" << Op::Count << "Select Fields"
                                         << "Please select fields to be exported";
        QTest::newRow("folder cancelled") << "no folder" << Op::Count << ""
                                          << "";
        QTest::newRow("no session") << "no session" << Op::Count << company << notesText;
        QTest::newRow("book cannot be opened") << "" << Op::GetDatabase << company << notesText;
        QTest::newRow("no $People view") << "" << Op::GetView << company << notesText;
        QTest::newRow("no first entry") << "" << Op::GetFirstDocument << company << notesText;
        // Root ignores permission bits, so the cases that hold for root too come first: a folder
        // below a regular file cannot exist, and a folder in the file's place cannot be replaced by
        // a file. The read-only file itself only counts where permissions apply.
        QTest::newRow("folder below a file") << "under-file" << Op::Count << company << notWritten;
        QTest::newRow("folder in place of the file") << "dir" << Op::Count << company << notWritten;
        QTest::newRow("read-only file") << "read-only" << Op::Count << company << notWritten;
    }

    void refused()
    {
        QFETCH(QString, setup);
        QFETCH(MemoryClient::Op, failing);
        QFETCH(QString, title);
        QFETCH(QString, text);

        FakePlatform fake;
        QTemporaryDir dir;
        QString folder = dir.path();
        QString earlier = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        if (setup == QLatin1String("under-file")) {
            earlier = dir.filePath(QStringLiteral("afile"));
            folder = earlier + QStringLiteral("/sub");
        }
        if (setup == QLatin1String("dir")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("OE-Contacts.csv")));
        } else if (setup != QLatin1String("no field")) {
            QFile file(earlier);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("earlier export\r\n");
        }
        if (setup == QLatin1String("read-only")) {
            QVERIFY(
                QFile::setPermissions(earlier, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
            QFile probe(earlier);
            if (probe.open(QIODevice::ReadWrite))
                QSKIP("This user can write read-only files (root); the other rows cover it.");
        }
        const QByteArray earlierBefore = readBytes(earlier);
        const QStringList filesBefore =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        fake.folderAnswer = setup == QLatin1String("no folder") ? QString() : folder;
        MemoryClient client;
        addPeople(client, 2);
        if (setup == QLatin1String("no session"))
            client.availableProgIds.clear();
        else if (failing != Op::Count)
            client.failOn(failing, 1);
        Window w(client);
        if (setup != QLatin1String("no field"))
            w.tick(3);
        const Snapshot before = w.snapshot();
        w.start()->click();

        QStringList calls{"chooseFolder"};
        if (!title.isEmpty())
            calls << "information";
        QCOMPARE(fake.calls, calls);
        if (!title.isEmpty()) {
            const QString message = fake.messages[0].text;
            const QString start = text.arg(exporting::exportFileIn(folder));
            QCOMPARE(fake.messages[0].title, title);
            QVERIFY2(message.startsWith(start), qPrintable(message));
            // A reason follows the blank line.
            QCOMPARE(message.size() > start.size(), start.endsWith(QLatin1Char('\n')));
        }
        if (setup == QLatin1String("no field") || setup == QLatin1String("no folder"))
            QCOMPARE(client.calls(Op::CreateSession), 0);
        QCOMPARE(readBytes(earlier), earlierBefore);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), filesBefore);
        QCOMPARE(w.snapshot(), before);
        QCOMPARE(w.completions, 0);
        QVERIFY(exporting::ExportFilePath.isEmpty());
        QCOMPARE(client.liveObjects(), 0);
    }

    void formatChoice_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("folderTitle");
        QTest::addColumn<QString>("written"); // what "Open Exported Contacts File" opens
        QTest::addColumn<QByteArray>("start");

        QTest::newRow("CSV") << 0 << "Select Folder to Save CSV File"
                             << "OE-Contacts.csv" << QByteArray("First Name\r\n");
        QTest::newRow("vCard") << 1 << "Select Folder to Save vCard Files"
                               << "Contacts.vcf"
                               << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:;First1;;;\r\n");
        QTest::newRow("one file per contact") << 2 << "Select Folder to Save vCard Files"
                                              << "Contacts" << QByteArray();
    }

    void formatChoice()
    {
        QFETCH(int, index);
        QFETCH(QString, folderTitle);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);

        FakePlatform fake;
        QTemporaryDir dir;
        fake.folderAnswer = dir.path();
        MemoryClient client;
        addPeople(client, 2);
        Window w(client);
        auto *formats = w.form.findChild<QComboBox *>(QStringLiteral("CboFormat"));
        QCOMPARE(formats->currentIndex(), 0);
        QCOMPARE(formats->count(), 3);
        QCOMPARE(formats->itemText(0), QStringLiteral("Outlook Express CSV (OE-Contacts.csv)"));
        w.tick(0);
        formats->setCurrentIndex(index);
        // The ticks choose the CSV's columns; a vCard holds every field, and the window says so.
        QCOMPARE(w.list()->isEnabled(), index == 0);
        QCOMPARE(w.selectAll()->isEnabled(), index == 0);
        QCOMPARE(w.form.findChild<QLabel *>(QStringLiteral("LblFormatFields"))->isVisible(),
                 index != 0);

        w.start()->click();
        QCOMPARE(fake.folderTitles, QStringList{folderTitle});
        QCOMPARE(fake.messages.size(), 1);
        QCOMPARE(fake.messages[0].text, QStringLiteral("2 Contacts Saved Successfully"));
        const QString path = QDir::toNativeSeparators(dir.filePath(written));
        QCOMPARE(exporting::ExportFilePath, path);
        // The label opens what was written, each time; the icon beside it opens nothing.
        QTest::mouseClick(w.icon(), Qt::LeftButton);
        QVERIFY(fake.opened.isEmpty());
        QTest::mouseClick(w.label(), Qt::LeftButton);
        QTest::mouseClick(w.label(), Qt::LeftButton);
        QCOMPARE(fake.opened, (QStringList{path, path}));
        if (!start.isEmpty())
            QVERIFY2(readBytes(path).startsWith(start), readBytes(path).constData());
        else
            QCOMPARE(QDir(path).entryList(QDir::Files), (QStringList{"First1.vcf", "First2.vcf"}));
    }
};

QTEST_MAIN(TestFrmConversion)
#include "tst_frmconversion.moc"
