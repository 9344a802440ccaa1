// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: every exit status from a real run, list --json read back, the CSV it writes
// compared byte for byte with the export window's, and the program itself run as a script would:
// without a display, into a full disk, with mistakes in its arguments, and interrupted.
#include "DataRows.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "NsfWriter.h"
#include "TestBooks.h"
#include "app/FrmConversion.h"
#include "cli/CommandLine.h"
#include "notes/FieldSchema.h"
#include "notes/dxl/DxlClient.h"
#include "notes/sessions/DefaultSessionFactory.h"
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
    const int status = cli::run(QStringList{QStringLiteral("korvanta-tessal")} + arguments, factory,
                                cli::Console{&out, &err, terminal, columns});
    return {status, out.data(), err.data()};
}

} // namespace

class TestCommandLine final : public QObject {
    Q_OBJECT

private slots:
    void exitStatus_data()
    {
        testdata::addRows("cli/exit-status.rows",
                          {"arguments", "failingDocument", "columns", "status", "message",
                           "reading", "halfway", "out"});
    }

    void exitStatus()
    {
        auto [arguments, failingDocument, columns, status, message, reading, halfway, out] =
            testdata::cells("arguments", "failingDocument", "columns", "status", "message",
                            "reading", "halfway", "out");

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        notes::MemoryClient client;
        addPeople(client, 4);
        // The command line hands the client the book's absolute path in the system's own form.
        client.missingPaths.insert(
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("missing.nsf"))).toStdString());
        if (!failingDocument.isEmpty())
            client.failOn(notes::MemoryClient::Op::Document, failingDocument.toInt());

        const bool terminal = !columns.isEmpty();
        const int width = terminal ? columns.toInt() : 80;
        const Run run = runIn(arguments.replace(QStringLiteral("{dir}"), dir.path()).split(u'|'),
                              client.factory(), terminal, width);
        QCOMPARE(run.status, status.toInt());
        QCOMPARE(run.err.contains('\r'), terminal);
        QVERIFY2(run.err.startsWith(reading.toUtf8()) && run.err.contains(halfway.toUtf8()),
                 run.err.constData());
        // The progress line is never wider than the terminal, and wiped once done: what is said
        // starts the line, the program's name first.
        const qsizetype wiped = run.err.lastIndexOf('\r') + 1;
        for (const QByteArray &drawn : run.err.left(wiped).split('\r'))
            QVERIFY2(drawn.size() < width, drawn.constData());
        const QByteArray said = run.err.mid(wiped);
        QVERIFY2(said.isEmpty() || said.startsWith(kPrefix), said.constData());
        const QString part =
            QDir::toNativeSeparators(message.replace(QStringLiteral("{dir}"), dir.path()));
        QVERIFY2(said.contains(part.toUtf8()), said.constData());
        QVERIFY2(run.out.contains(out.replace(QStringLiteral("{version}"), KT_VERSION).toUtf8()),
                 run.out.constData());
    }

    void sameFile_data()
    {
        testdata::addRows("cli/same-file.rows", {"book", "arguments", "window", "file", "holds"});
    }

    // The command line's file is byte for byte the one another way writes of the same book, and
    // what it says starts as that way's message: the export window with the same columns ticked,
    // or the command line reading the book as a database file written by the tests' writer.
    void sameFile()
    {
        const auto [book, arguments, window, file, holds] =
            testdata::cells("book", "arguments", "window", "file", "holds");
        QTemporaryDir dir;
        const QString dxl = QStringLiteral(KT_TEST_DATA "/") + book;
        const QString path = dir.filePath(file);
        const QStringList options =
            (arguments + QStringLiteral("|--out|") + dir.path()).split(u'|');
        const auto exportFrom = [&](const QString &from, const notes::SessionFactory &factory) {
            return runIn(QStringList{QStringLiteral("export"), from} + options, factory);
        };
        QByteArray said;
        if (!window.isEmpty()) {
            FakePlatform fake;
            fake.folderAnswer = dir.path();
            app::FrmConversion form(nullptr, dxl, notes::dxl::DxlClient::factory());
            auto *list = form.findChild<QListWidget *>(QStringLiteral("LstContactsField"));
            for (const QString &caption : window.split(u'|'))
                list->item(notes::exportColumnOf(caption.toStdString()))
                    ->setCheckState(Qt::Checked);
            form.findChild<QPushButton *>(QStringLiteral("CmdConversion"))->click();
            QCOMPARE(fake.messages.size(), 1);
            // The window's message, the code page's line included, then the file's path.
            said = kPrefix + fake.messages[0].text.toUtf8() + '\n';
        } else {
            const QString nsf = dir.filePath(QStringLiteral("book.nsf"));
            testnsf::writeDatabaseOfDxl(dxl.toStdString(), nsf.toStdString());
            const Run run = exportFrom(
                nsf, notes::sessions::defaultSessionFactory(notes::sessions::Reader::File));
            QCOMPARE(run.status, 0);
            said = run.err;
        }
        const QByteArray other = readBytes(path);
        QVERIFY2(other.contains(holds.toUtf8()) && QFile::remove(path), other.constData());
        const Run run = exportFrom(dxl, notes::dxl::DxlClient::factory());
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.startsWith(said), run.err.constData());
        QCOMPARE(readBytes(path), other);
    }

    void program_data()
    {
        testdata::addRows("cli/program.rows",
                          {"arguments", "display", "fullDisk", "noNotes", "status", "message",
                           "reason", "written", "listed", "output"});
    }

    void program()
    {
        auto [arguments, display, fullDisk, noNotes, status, message, reason, written, listed,
              output] = testdata::cells("arguments", "display", "fullDisk", "noNotes", "status",
                                        "message", "reason", "written", "listed", "output");

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
        if (arguments.contains(QLatin1String("{nsf}")) &&
            !QFileInfo::exists(QStringLiteral(KT_NSF_SAMPLES)))
            QSKIP("the public database files are not beside the clone");
        // Copies of the sample: one that cannot be read, one under a name that does not say it
        // is a DXL export.
        const QString locked = dir.filePath(QStringLiteral("locked.dxl"));
        const QString noext = dir.filePath(QStringLiteral("names"));
        QVERIFY(QFile::copy(QStringLiteral(KT_SAMPLE_BOOK), locked) &&
                QFile::copy(QStringLiteral(KT_SAMPLE_BOOK), noext));
        if (arguments.contains(QLatin1String("{locked}")) &&
            (!QFile::setPermissions(locked, {}) || QFile(locked).open(QIODevice::ReadOnly)))
            QSKIP("a file cannot be made unreadable here (root, or Windows' permissions)");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (display.isEmpty())
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        if (!fullDisk.isEmpty())
            program.setStandardOutputFile(QStringLiteral("/dev/full"));
        arguments.replace(QStringLiteral("{dir}"), dir.path())
            .replace(QStringLiteral("{locked}"), locked)
            .replace(QStringLiteral("{noext}"), noext)
            .replace(QStringLiteral("{book}"), QStringLiteral(KT_SAMPLE_BOOK))
            .replace(QStringLiteral("{nsf}"), QStringLiteral(KT_NSF_SAMPLES))
            .replace(QStringLiteral("{data}"), QStringLiteral(KT_TEST_DATA));
        program.start(QStringLiteral(KT_PROGRAM),
                      arguments.isEmpty() ? QStringList() : arguments.split(u'|'));
        // A window started by mistake would never end.
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        const QByteArray err = program.readAllStandardError();
        const QByteArray out = program.readAllStandardOutput().replace("\r\n", "\n");
        QVERIFY2(program.exitCode() == status.toInt(), err.constData());
        // Windows' console streams end their lines with CR LF.
        QCOMPARE(QString::fromUtf8(err.left(err.indexOf('\n'))).remove(u'\r'),
                 QDir::toNativeSeparators(message.replace(QStringLiteral("{dir}"), dir.path())));
        // The reader's reason, on the message's last line.
        if (!reason.isEmpty())
            QCOMPARE(QString::fromUtf8(err.trimmed().split('\n').last().trimmed()), reason);
        if (!written.isEmpty())
            QVERIFY(QFile::exists(dir.filePath(written)));
        if (!output.isEmpty())
            QCOMPARE(out, readBytes(QStringLiteral(KT_TEST_DATA "/") + output));
        if (!listed.isEmpty())
            QCOMPARE(QJsonDocument::fromJson(out).array().size(), listed.toInt());
    }

    void interrupted_data()
    {
        testdata::addRows("cli/interrupted.rows", {"format", "older"});
    }

    // An interrupt halfway through an export leaves the folder as it was: the older output
    // untouched, nothing half-written beside it.
    void interrupted()
    {
#ifdef _WIN32
        QSKIP("the console's Ctrl-C cannot be sent to a child process from here");
#else
        auto [format, older] = testdata::cells("format", "older");

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
        // Halfway: the export has written into its pending output, the only thing the child
        // writes before it ends (counted by the system in /proc).
        const QString io = QStringLiteral("/proc/%1/io").arg(program.processId());
        const auto halfway = [&io] {
            QFile counts(io);
            return counts.open(QIODevice::ReadOnly) && !counts.readAll().contains("\nwchar: 0\n");
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
