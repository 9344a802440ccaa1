// The command line: every exit status from a real run, list --json read back, the CSV it writes
// compared byte for byte with the export window's, and the program itself run with no display.
#include "CommandLine.h"
#include "DxlClient.h"
#include "FakePlatform.h"
#include "FieldSchema.h"
#include "FileBytes.h"
#include "FrmConversion.h"
#include "MemoryClient.h"

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

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runIn(const QStringList &arguments, const notes::SessionFactory &factory, bool terminal = false)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run run;
    run.status = cli::run(QStringList{QStringLiteral("korvanta-tessal")} + arguments, factory,
                          Console{&out, &err, terminal});
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
        QTest::addColumn<QString>("arguments"); // split at "|"; {dir} is a fresh folder
        QTest::addColumn<int>("failingDocument");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        QTest::newRow("every document written")
            << "export|{dir}/names.nsf|--out|{dir}" << 0 << 0 << "3 Contacts Saved Successfully";
        QTest::newRow("vCard") << "export|{dir}/names.nsf|--format|vcard|--out|{dir}" << 0 << 0
                               << "3 Contacts Saved Successfully";
        QTest::newRow("unreadable document")
            << "export|{dir}/names.nsf|--format|vcard-files|--out|{dir}" << 2 << 1
            << "2 Contacts Saved, 1 Skipped";
        QTest::newRow("missing book") << "export|{dir}/missing.nsf|--out|{dir}" << 0 << 2
                                      << "not a correct notes address book file";
        QTest::newRow("unwritable output")
            << "export|{dir}/names.nsf|--out|{dir}/no/such/folder" << 0 << 2 << "cannot be written";
        QTest::newRow("list") << "list|{dir}/names.nsf" << 0 << 0 << "";
        QTest::newRow("list, unreadable document")
            << "list|{dir}/names.nsf|--json" << 3 << 1 << "Documents skipped";
        QTest::newRow("list, missing book")
            << "list|{dir}/missing.nsf" << 0 << 2 << "not a correct notes address book file";
        QTest::newRow("bad option")
            << "export|{dir}/names.nsf|--colour" << 0 << 64 << "Unknown option 'colour'";
        QTest::newRow("no book") << "export" << 0 << 64 << "export takes one address book";
        QTest::newRow("unknown format")
            << "export|{dir}/names.nsf|--format|pdf" << 0 << 64 << "\"pdf\" is not a format";
        QTest::newRow("unknown field") << "export|{dir}/names.nsf|--fields|First Name,Shoe Size"
                                       << 0 << 64 << "\"Shoe Size\" is not a field";
        QTest::newRow("fields of a vCard")
            << "export|{dir}/names.nsf|--format|vcard|--fields|First Name" << 0 << 64
            << "--fields chooses the CSV's columns";
    }

    void exitStatus()
    {
        QFETCH(QString, arguments);
        QFETCH(int, failingDocument);
        QFETCH(int, status);
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
        if (failingDocument > 0)
            client.failOn(notes::MemoryClient::Op::Document, failingDocument);

        const Run run = runIn(arguments.replace(QStringLiteral("{dir}"), dir.path()).split(u'|'),
                              client.factory());
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        // Nothing is left behind by a run that failed.
        if (status >= 2)
            QCOMPARE(
                QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList());
    }

    void progressOnTerminalOnly_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::newRow("terminal") << true;
        QTest::newRow("pipe") << false;
    }

    void progressOnTerminalOnly()
    {
        QFETCH(bool, terminal);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        notes::MemoryClient client;
        for (int i = 0; i < 4; ++i)
            client.people.emplace_back();
        const Run run = runIn({QStringLiteral("export"), QStringLiteral("names.nsf"),
                               QStringLiteral("--out"), dir.path()},
                              client.factory(), terminal);
        QCOMPARE(run.status, 0);
        // The bar redraws one line; once done it is wiped, so the message starts the line.
        QCOMPARE(run.err.contains("\r[###############...............]  50%  2/4"), terminal);
        QCOMPARE(run.err.contains('\r'), terminal);
        QVERIFY(run.err.mid(run.err.lastIndexOf('\r') + 1)
                    .startsWith("4 Contacts Saved Successfully\n"));
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
        FrmConversion form(nullptr, book, notes::DxlClient::factory());
        auto *list = form.findChild<QListWidget *>(QStringLiteral("LstContactsField"));
        for (const char *caption : {"First Name", "Name", "Home Street", "Notes"})
            list->item(notes::exportColumnOf(caption))->setCheckState(Qt::Checked);
        form.findChild<QPushButton *>(QStringLiteral("CmdConversion"))->click();
        QCOMPARE(fake.messages.size(), 1);

        const Run run = runIn({QStringLiteral("export"), book, QStringLiteral("--fields"),
                               QStringLiteral("Notes, first name,Home Street,Name"),
                               QStringLiteral("--out"), lineDir.path()},
                              notes::DxlClient::factory());
        QCOMPARE(run.status, 0);
        // The window's message, the code page's line included, then the file's path.
        QVERIFY2(QString::fromUtf8(run.err).startsWith(fake.messages[0].text + u'\n'),
                 run.err.constData());
        const QByteArray csv = readBytes(lineDir.filePath(QStringLiteral("OE-Contacts.csv")));
        // After the byte-order mark where the code page cannot hold the names (Windows).
        const qsizetype bom = csv.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        QVERIFY(csv.mid(bom).startsWith("First Name,Name,Home Street,Notes\r\n"));
        QCOMPARE(csv, readBytes(windowDir.filePath(QStringLiteral("OE-Contacts.csv"))));
    }

    void withoutDisplay_data()
    {
        QTest::addColumn<QString>("arguments"); // split at "|"; {dir} is a fresh folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("written");

        QTest::newRow("version") << "--version" << 0 << "";
        QTest::newRow("CSV") << "export|{book}|--out|{dir}" << 0 << "OE-Contacts.csv";
        QTest::newRow("vCard") << "export|{book}|--format|vcard|--out|{dir}" << 0 << "Contacts.vcf";
        QTest::newRow("list") << "list|{book}|--json" << 0 << "";
        QTest::newRow("missing book") << "export|{dir}/missing.dxl|--out|{dir}" << 2 << "";
        QTest::newRow("unwritable output") << "export|{book}|--out|{dir}/no/such" << 2 << "";
        QTest::newRow("bad option") << "list|{book}|--bogus" << 64 << "";
    }

    void withoutDisplay()
    {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, written);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KT_PROGRAM),
                      arguments.replace(QStringLiteral("{dir}"), dir.path())
                          .replace(QStringLiteral("{book}"), QStringLiteral(KT_SAMPLE_BOOK))
                          .split(u'|'));
        QVERIFY(program.waitForFinished(120000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == status, program.readAllStandardError().constData());
        if (!written.isEmpty())
            QVERIFY(QFile::exists(dir.filePath(written)));
        if (arguments.startsWith(QLatin1String("list")) && status == 0)
            QCOMPARE(QJsonDocument::fromJson(program.readAllStandardOutput()).array().size(), 50);
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_cli.moc"
