// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: every exit status from a real run, list --json read back, the CSV it writes
// compared byte for byte with the export window's, and the program itself run as a script would:
// without a display, into a full disk, with mistakes in its arguments, and interrupted.
#include "DataRows.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "MemoryClient.h"
#include "app/FrmConversion.h"
#include "cli/CommandLine.h"
#include "notes/FieldSchema.h"
#include "notes/dxl/DxlClient.h"
#include "product/Product.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QByteArray kPrefix = "korvanta-tessal: ";

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runIn(const QStringList &arguments, const notes::SessionFactory &factory, bool terminal = false,
          int columns = 80)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run run;
    run.status = cli::run(QStringList{QStringLiteral("korvanta-tessal")} + arguments, factory,
                          cli::Console{&out, &err, terminal, columns});
    run.out = out.data();
    run.err = err.data();
    return run;
}

} // namespace

class TestCommandLine final : public QObject {
    Q_OBJECT

private slots:
    void exitStatus_data()
    {
        testdata::addRows("cli/exit-status.rows",
                          {"arguments", "failingDocument", "status", "message"});
    }

    void exitStatus()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, failingDocument);
        QFETCH(QString, status);
        QFETCH(QString, message);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        notes::MemoryClient client;
        for (int i = 1; i <= 3; ++i) {
            notes::MemoryDocument doc;
            doc.universalId = "UNID" + std::to_string(i);
            doc.set("FirstName", "First" + std::to_string(i));
            client.people.push_back(doc);
        }
        // The command line hands the client the book's absolute path in the system's own form.
        client.missingPaths.insert(
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("missing.nsf"))).toStdString());
        if (!failingDocument.isEmpty())
            client.failOn(notes::MemoryClient::Op::Document, failingDocument.toInt());

        const Run run = runIn(arguments.replace(QStringLiteral("{dir}"), dir.path()).split(u'|'),
                              client.factory());
        QCOMPARE(run.status, status.toInt());
        const QString said =
            QDir::toNativeSeparators(message.replace(QStringLiteral("{dir}"), dir.path()));
        QVERIFY2(run.err.contains(said.toUtf8()), run.err.constData());
        // Whatever is said, the program's name says it first.
        QVERIFY2(run.err.isEmpty() || run.err.startsWith(kPrefix), run.err.constData());
        // Nothing is left behind by a run that failed.
        if (status.toInt() >= 2)
            QCOMPARE(
                QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList());
    }

    void progressOnTerminal_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QByteArray>("reading");
        QTest::addColumn<QByteArray>("halfway");

        QTest::newRow("pipe") << false << 80 << QByteArray() << QByteArray();
        QTest::newRow("80 columns")
            << true << 80 << QByteArray("\rReading names.nsf...")
            << "\r[" + QByteArray(25, '#') + QByteArray(25, '.') + "]  50%  2/4";
        QTest::newRow("30 columns") << true << 30 << QByteArray("\rReading names.nsf...")
                                    << QByteArray("\r[########.........]  50%  2/4");
        QTest::newRow("16 columns, no room for the bar")
            << true << 16 << QByteArray("\rReading...") << QByteArray("\r 50%  2/4");
    }

    void progressOnTerminal()
    {
        QFETCH(bool, terminal);
        QFETCH(int, columns);
        QFETCH(QByteArray, reading);
        QFETCH(QByteArray, halfway);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        notes::MemoryClient client;
        for (int i = 0; i < 4; ++i)
            client.people.emplace_back();
        const Run run = runIn({QStringLiteral("export"), QStringLiteral("names.nsf"),
                               QStringLiteral("--out"), dir.path()},
                              client.factory(), terminal, columns);
        QCOMPARE(run.status, 0);
        const QByteArray &text = run.err;
        QCOMPARE(text.contains('\r'), terminal);
        if (terminal) {
            QVERIFY2(text.startsWith(reading), text.constData());
            QVERIFY2(text.contains(halfway), text.constData());
        }
        // Never wider than the terminal, and wiped once done: the message starts the line.
        for (const QByteArray &drawn : text.left(text.lastIndexOf('\r')).split('\r'))
            QVERIFY2(drawn.size() < columns, drawn.constData());
        QVERIFY(text.mid(text.lastIndexOf('\r') + 1)
                    .startsWith(kPrefix + "4 Contacts Saved Successfully\n"));
    }

    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");

        const QString report =
            QStringLiteral("Report problems: ") + QString::fromLatin1(product::kWebSite);
        QTest::newRow("--help") << "--help"
                                << "Usage:" << report;
        QTest::newRow("help") << "help"
                              << "Usage:" << report;
        QTest::newRow("--version") << "--version"
                                   << "korvanta-tessal " KT_VERSION
                                   << "There is NO WARRANTY, to the extent permitted by law.";
    }

    void helpAndVersion()
    {
        QFETCH(QString, argument);
        QFETCH(QString, first);
        QFETCH(QString, last);
        notes::MemoryClient client;
        const Run run = runIn({argument}, client.factory());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QByteArray());
        const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
        QCOMPARE(lines.front(), first);
        QCOMPARE(lines.at(lines.size() - 2), last);
        QCOMPARE(lines.back(), QString());
        for (const QString &line : lines)
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }

    void listJson()
    {
        notes::MemoryClient client;
        const std::vector<std::string> hard{"say \"hi\"", "a\\b", "line\r\nbreak",
                                            "Zo\u00eb \u5c71\u7530 \U0001F600", ""};
        for (std::size_t d = 0; d < hard.size(); ++d) {
            notes::MemoryDocument doc;
            for (std::size_t i = 0; i < notes::kFields.size(); ++i)
                doc.set(notes::kFields[i].item, hard[(d + i) % hard.size()]);
            client.people.push_back(doc);
        }
        const Run run =
            runIn({QStringLiteral("list"), QStringLiteral("names.nsf"), QStringLiteral("--json")},
                  client.factory());
        QCOMPARE(run.status, 0);
        QJsonParseError error;
        const QJsonArray contacts = QJsonDocument::fromJson(run.out, &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(contacts.size(), qsizetype(hard.size()));
        for (qsizetype d = 0; d < contacts.size(); ++d) {
            const QJsonObject contact = contacts[d].toObject();
            QCOMPARE(contact.size(), notes::kFieldCount);
            for (std::size_t i = 0; i < notes::kFields.size(); ++i)
                QCOMPARE(contact.value(QString::fromLatin1(notes::kFields[i].item)).toString(),
                         QString::fromStdString(hard[(std::size_t(d) + i) % hard.size()]));
        }
    }

    void csvSameAsWindow()
    {
        QTemporaryDir windowDir;
        QTemporaryDir lineDir;
        QVERIFY(windowDir.isValid() && lineDir.isValid());
        const QString book = QStringLiteral(KT_SAMPLE_BOOK);

        FakePlatform fake;
        fake.folderAnswer = windowDir.path();
        app::FrmConversion form(nullptr, book, notes::dxl::DxlClient::factory());
        auto *list = form.findChild<QListWidget *>(QStringLiteral("LstContactsField"));
        for (const char *caption : {"First Name", "Name", "Home Street", "Notes"})
            list->item(notes::exportColumnOf(caption))->setCheckState(Qt::Checked);
        form.findChild<QPushButton *>(QStringLiteral("CmdConversion"))->click();
        QCOMPARE(fake.messages.size(), 1);

        const Run run = runIn({QStringLiteral("export"), book, QStringLiteral("--fields"),
                               QStringLiteral("Notes, first name,Home Street,Name"),
                               QStringLiteral("--out"), lineDir.path()},
                              notes::dxl::DxlClient::factory());
        QCOMPARE(run.status, 0);
        // The window's message, the code page's line included, then the file's path.
        QVERIFY2(QString::fromUtf8(run.err).startsWith(QString::fromUtf8(kPrefix) +
                                                       fake.messages[0].text + u'\n'),
                 run.err.constData());
        const QByteArray csv = readBytes(lineDir.filePath(QStringLiteral("OE-Contacts.csv")));
        // After the byte-order mark where the code page cannot hold the names (Windows).
        const qsizetype bom = csv.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        QVERIFY(csv.mid(bom).startsWith("First Name,Name,Home Street,Notes\r\n"));
        QCOMPARE(csv, readBytes(windowDir.filePath(QStringLiteral("OE-Contacts.csv"))));
    }

    void program_data()
    {
        testdata::addRows("cli/program.rows",
                          {"arguments", "display", "fullDisk", "noNotes", "status", "message",
                           "reason", "written", "listed", "output"});
    }

    void program()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, display);
        QFETCH(QString, fullDisk);
        QFETCH(QString, noNotes);
        QFETCH(QString, status);
        QFETCH(QString, message);
        QFETCH(QString, reason);
        QFETCH(QString, written);
        QFETCH(QString, listed);
        QFETCH(QString, output);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
#if !defined(Q_OS_UNIX) || defined(Q_OS_MACOS)
        if (message.contains(QLatin1String("needs a display")))
            QSKIP("here the window always has a display");
#endif
#ifdef Q_OS_WIN
        if (!noNotes.isEmpty())
            QSKIP("the tests' stand-in COM server plays the Notes client here");
#endif
        if (!fullDisk.isEmpty() && !QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("this system has no /dev/full");
        if (arguments.contains(QLatin1String("{locked}"))) {
            const QString locked = dir.filePath(QStringLiteral("locked.dxl"));
            QVERIFY(QFile::copy(QStringLiteral(KT_SAMPLE_BOOK), locked));
            QFile probe(locked);
            if (!QFile::setPermissions(locked, {}) || probe.open(QIODevice::ReadOnly))
                QSKIP("a file cannot be made unreadable here (root, or Windows' permissions)");
            arguments.replace(QStringLiteral("{locked}"), locked);
        }
        if (arguments.contains(QLatin1String("{nsf}")) &&
            !QFileInfo::exists(QStringLiteral(KT_NSF_SAMPLES)))
            QSKIP("the public database files are not beside the clone");
        if (arguments.contains(QLatin1String("{noext}"))) {
            // A DXL export under a name that does not say so.
            const QString noext = dir.filePath(QStringLiteral("names"));
            QVERIFY(QFile::copy(QStringLiteral(KT_SAMPLE_BOOK), noext));
            arguments.replace(QStringLiteral("{noext}"), noext);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (display.isEmpty())
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        if (!fullDisk.isEmpty())
            program.setStandardOutputFile(QStringLiteral("/dev/full"));
        QStringList list = arguments.replace(QStringLiteral("{dir}"), dir.path())
                               .replace(QStringLiteral("{book}"), QStringLiteral(KT_SAMPLE_BOOK))
                               .replace(QStringLiteral("{nsf}"), QStringLiteral(KT_NSF_SAMPLES))
                               .split(u'|');
        if (arguments.isEmpty())
            list.clear();
        program.start(QStringLiteral(KT_PROGRAM), list);
        // A window started by mistake would never end.
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        const QByteArray err = program.readAllStandardError();
        QVERIFY2(program.exitCode() == status.toInt(), err.constData());
        QByteArray first = err.left(err.indexOf('\n'));
        if (first.endsWith('\r')) // Windows' console streams end their lines with CR LF
            first.chop(1);
        QCOMPARE(QString::fromUtf8(first),
                 QDir::toNativeSeparators(message.replace(QStringLiteral("{dir}"), dir.path())));
        // The reader's reason, on the message's last line.
        if (!reason.isEmpty())
            QCOMPARE(QString::fromUtf8(err.trimmed().split('\n').last().trimmed()), reason);
        if (!written.isEmpty())
            QVERIFY(QFile::exists(dir.filePath(written)));
        if (!output.isEmpty())
            QCOMPARE(program.readAllStandardOutput().replace("\r\n", "\n"),
                     readBytes(QStringLiteral(KT_TEST_DATA "/") + output));
        if (arguments.contains(QLatin1String("--json")) && status == QLatin1String("0"))
            QCOMPARE(QJsonDocument::fromJson(program.readAllStandardOutput()).array().size(),
                     listed.isEmpty() ? 50 : listed.toInt());
    }

    // The database file reader and the DXL client read the same documents alike: the public
    // sample and a DXL export of its documents (written from the first's listing, checked by
    // eye; without the rich text, which the file reader does not read).
    void readersAgree()
    {
        if (!QFileInfo::exists(QStringLiteral(KT_NSF_SAMPLES)))
            QSKIP("the public database files are not beside the clone");
        const auto items = [](const QString &book) {
            QProcess program;
            program.start(QStringLiteral(KT_PROGRAM),
                          {QStringLiteral("items"), book, QStringLiteral("--json"),
                           QStringLiteral("--reader"), QStringLiteral("file")});
            program.waitForFinished(60000);
            return QJsonDocument::fromJson(program.readAllStandardOutput()).array();
        };
        QJsonArray fromFile = items(QStringLiteral(KT_NSF_SAMPLES "/sample.nsf"));
        const QJsonArray fromDxl = items(QStringLiteral(KT_TEST_DATA "/cli/golden/sample.dxl"));
        QCOMPARE(fromFile.size(), 18);
        for (auto document : fromFile) {
            QJsonObject object = document.toObject();
            QJsonArray read;
            for (const auto item : object.value(QStringLiteral("items")).toArray())
                if (!item.toObject()
                         .value(QStringLiteral("type"))
                         .toString()
                         .endsWith(QLatin1String("not read")))
                    read.append(item);
            object.insert(QStringLiteral("items"), read);
            document = object;
        }
        QCOMPARE(fromDxl, fromFile);
    }

    void interrupted_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("older"); // what the folder holds before

        QTest::newRow("CSV") << "csv"
                             << "OE-Contacts.csv";
        QTest::newRow("vCard") << "vcard"
                               << "Contacts.vcf";
        QTest::newRow("one file per contact") << "vcard-files"
                                              << "Contacts/older.vcf";
    }

    // An interrupt halfway through an export leaves the folder as it was: the older output
    // untouched, nothing half-written beside it.
    void interrupted()
    {
#ifdef _WIN32
        QSKIP("the console's Ctrl-C cannot be sent to a child process from here");
#else
        QFETCH(QString, format);
        QFETCH(QString, older);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // A book large enough that its export takes a while: the DXL client's view order is
        // by last name, so the names are unique and plain.
        QByteArray dxl = "<?xml version='1.0' encoding='utf-8'?>\n"
                         "<database xmlns='http://www.lotus.com/dxl' version='8.5'>\n";
        for (int i = 1; i <= 60000; ++i) {
            const QByteArray n = QByteArray::number(i);
            dxl += "<document form='Person'><noteinfo noteid='" + QByteArray::number(i, 16) +
                   "' unid='U" + n + "'/><item name='FirstName'><text>First" + n +
                   "</text></item><item name='LastName'><text>Last" + n +
                   "</text></item><item name='Comment'><text>" + QByteArray(200, 'c') +
                   "</text></item></document>\n";
        }
        dxl += "</database>\n";
        const QString book = dir.filePath(QStringLiteral("book/names.dxl"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("book"))) && writeBytes(book, dxl));
        const QString out = dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(QFileInfo(out + u'/' + older).path()));
        const QByteArray olderBytes = "written by an earlier export\r\n";
        QVERIFY(writeBytes(out + u'/' + older, olderBytes));
        // A QDir keeps the list it read first: each look is a new one.
        constexpr auto kAll = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        const QStringList before = QDir(out).entryList(kAll);

        QProcess program;
        // A test run started in the background of a script ignores SIGINT, and the child would
        // inherit that: the child gets the ordinary disposition a terminal's command has.
        program.setChildProcessModifier([] { std::signal(SIGINT, SIG_DFL); });
        program.start(QStringLiteral(KT_PROGRAM),
                      {QStringLiteral("export"), book, QStringLiteral("--format"), format,
                       QStringLiteral("--out"), out});
        QVERIFY(program.waitForStarted());
        // Halfway: the export's pending output has something in it. That is something new in
        // the folder, or a file of the child's in it that has no name yet (QSaveFile's
        // O_TMPFILE on Linux), seen through /proc.
        const QByteArray inside = QFile::encodeName(QFileInfo(out).canonicalFilePath()) + '/';
        const QString descriptors = QStringLiteral("/proc/%1/fd").arg(program.processId());
        const auto halfway = [&] {
            for (const QFileInfo &entry : QDir(out).entryInfoList(kAll))
                if (!before.contains(entry.fileName()) &&
                    (entry.isDir() ? !QDir(entry.filePath()).isEmpty() : entry.size() > 0))
                    return true;
            for (const QString &fd : QDir(descriptors).entryList(QDir::AllEntries | QDir::System)) {
                const QByteArray link = QFile::encodeName(descriptors + u'/' + fd);
                char target[4096];
                const auto length = ::readlink(link.constData(), target, sizeof target);
                struct stat file = {};
                if (length > 0 && QByteArray(target, length).startsWith(inside) &&
                    ::stat(link.constData(), &file) == 0 && file.st_size > 0)
                    return true;
            }
            return false;
        };
        while (!halfway())
            QVERIFY2(!program.waitForFinished(1), "the export ended before it was interrupted");
        QCOMPARE(::kill(static_cast<pid_t>(program.processId()), SIGINT), 0);
        QVERIFY(program.waitForFinished(120000));

        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 130);
        QCOMPARE(program.readAllStandardError(), QByteArray("korvanta-tessal: interrupted\n"));
        QCOMPARE(QDir(out).entryList(kAll), before);
        QCOMPARE(readBytes(out + u'/' + older), olderBytes);
#endif
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_cli.moc"
