// SPDX-License-Identifier: GPL-3.0-or-later
// The whole way a user goes: choose the sample address book, scan it, open "Export Options",
// tick every field, export, and open the written file, all through the main window with the
// desktop replaced. The scan leaves the book exactly as it was, with a backup beside it equal to
// it. What every row of the file must hold is written beside it, and read_back.py reads the file
// with Python's csv module, so the check does not rest on this program's own idea of CSV.
// On Windows the same book is also read as an .nsf file through the Notes client's COM classes,
// served by the stand-in server (tests/win) from the sample's DXL: both files must hold the same
// rows, which are those the DXL client reads.
#include "DxlPeople.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "Find.h"
#include "app/FrmConversion.h"
#include "app/FrmMain.h"
#include "browser/ContactTree.h"
#include "notes/FieldSchema.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Every Person of the book in view order, each as its 28 column values, read straight from the
// DXL client.
QJsonArray expectedRows(const QString &book)
{
    QJsonArray rows;
    forEachDxlPerson(book, [&rows](notes::NotesDocument &document) {
        QJsonArray row;
        for (const auto &field : notes::kExportColumns)
            row.append(QString::fromStdString(notes::firstText(document.GetItemValue(field.item))));
        rows.append(row);
    });
    return rows;
}

// Whether the system's code page holds every value; if not, the file takes the UTF-8 fallback.
bool fitsCodePage(const QJsonArray &rows)
{
    QString text;
    for (const auto &row : rows)
        for (const auto &value : row.toArray())
            text += value.toString();
    // The system encoder on Windows puts "?" for what it cannot hold: compare the way back.
    QStringEncoder encoder(QStringConverter::System);
    QStringDecoder decoder(QStringConverter::System);
    return QString(decoder.decode(encoder.encode(text))) == text;
}

// The name Python's codecs give the system's code page.
QString pythonCodePage()
{
#ifdef Q_OS_WIN
    return QStringLiteral("cp%1").arg(GetACP());
#else
    return QStringLiteral("utf-8");
#endif
}

} // namespace

class TstEndToEnd final : public QObject {
    Q_OBJECT

    QDir m_out;
    QJsonArray m_files;

private slots:
    void initTestCase()
    {
        const QString out = qEnvironmentVariable("KT_ENDTOEND_DIR");
        if (out.isEmpty())
            QSKIP("KT_ENDTOEND_DIR is not set (CTest sets it)");
        m_out = QDir(out);
        QVERIFY(m_out.removeRecursively() || !m_out.exists());
        QVERIFY(QDir().mkpath(out));
#ifdef Q_OS_WIN
        // The stand-in COM server serves this book as every .nsf file (it is loaded into this
        // process on the first session, and reads the variable then).
        qputenv("KT_STANDIN_BOOK",
                QDir::toNativeSeparators(QStringLiteral(KT_SAMPLE_BOOK)).toUtf8());
#endif
    }

    void scanExportAndOpen_data()
    {
        QTest::addColumn<QString>("bookName");
        QTest::newRow("dxl") << QStringLiteral("names.dxl");
#ifdef Q_OS_WIN
        QTest::newRow("nsf") << QStringLiteral("names.nsf");
#endif
    }

    void scanExportAndOpen()
    {
        QFETCH(QString, bookName);
        const QString sample = QStringLiteral(KT_SAMPLE_BOOK);
        QVERIFY2(QFile::exists(sample), "the sample address book is missing");
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(m_out.mkpath(name));
        QDir dir(m_out.filePath(name));
        const QString book = dir.filePath(bookName);
        // Through COM the file's bytes are never read: the stand-in serves the sample.
        QVERIFY(QFile::copy(sample, book));
        const QByteArray before = readBytes(book);

        FakePlatform fake;
        fake.realCopy = true;
        fake.folderAnswer = dir.path();
        app::FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        fake.fileAnswers << book;
        QTest::mouseClick(find<QPushButton>(&window, "CmdBrowse"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>(&window, "CmdEnumerateNotes"), Qt::LeftButton);
        QCOMPARE(fake.messages.size(), 1);

        QCOMPARE(readBytes(book), before);
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("names.bak"))), before);

        browser::ContactTree *tree = window.contactTree();
        QVERIFY(tree->nodeCount() > 28);
        QCOMPARE(qsizetype(window.contacts().size()), tree->nodeCount() - 28);

        auto *exportButton = find<QPushButton>(&window, "CmdContactsCreate");
        QVERIFY(exportButton->isEnabled());

        // "Export Options" is modal: drive it from inside its own event loop.
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto *form = qobject_cast<app::FrmConversion *>(QApplication::activeModalWidget());
            if (!form)
                return;
            driven = true;
            QTest::mouseClick(find<QCheckBox>(form, "ChkSelectAll"), Qt::LeftButton, Qt::NoModifier,
                              QPoint(8, 8));
            find<QPushButton>(form, "CmdConversion")->click();
            auto *open = find<QLabel>(form, "LblOpenExcelFile");
            if (open->isVisible())
                QTest::mouseClick(open, Qt::LeftButton);
            form->close();
        });
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QVERIFY(driven);

        const QJsonArray rows = expectedRows(sample);
        QVERIFY(rows.size() > 40);
        // The file falls back to UTF-8 where the system's code page cannot hold every name.
        const bool fallback = !fitsCodePage(rows);
        QCOMPARE(fake.messages.size(), 2);
        QString done = QStringLiteral("%1 Contacts Saved Successfully").arg(rows.size());
        if (fallback)
            done += QStringLiteral("\nThe file is written as UTF-8 (with a byte-order mark), as "
                                   "some values cannot be represented in the system's code page.");
        QCOMPARE(fake.messages[1].text, done);
        // A new export needs a new scan.
        QVERIFY(!exportButton->isEnabled());
        const QString csv =
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("OE-Contacts.csv")));
        QCOMPARE(fake.opened, QStringList{csv});

        QJsonObject file;
        file.insert(QStringLiteral("file"), name + QStringLiteral("/OE-Contacts.csv"));
        file.insert(QStringLiteral("encoding"),
                    fallback ? QStringLiteral("utf-8-sig") : pythonCodePage());
        file.insert(QStringLiteral("bom"), fallback);
        file.insert(QStringLiteral("rows"), rows);
        m_files.append(file);
    }

    void cleanupTestCase()
    {
        if (m_files.isEmpty())
            return;
        QFile expected(m_out.filePath(QStringLiteral("expected.json")));
        QVERIFY(expected.open(QIODevice::WriteOnly));
        const QByteArray json = QJsonDocument(m_files).toJson();
        QCOMPARE(expected.write(json), qint64(json.size()));
        QVERIFY(expected.flush());
    }
};

QTEST_MAIN(TstEndToEnd)
#include "tst_endtoend.moc"
