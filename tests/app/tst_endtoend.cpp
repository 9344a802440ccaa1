// SPDX-License-Identifier: GPL-3.0-or-later
// The whole way a user goes: choose the sample address book, scan it, open "Export Options",
// pick a format (the CSV with every field ticked, one vCard file, one vCard file per contact) and
// export, all through the main window with the desktop replaced. The
// book is the sample with its first Person once more under another UniversalID (two contacts of
// one name). The scan leaves the book exactly as it was, with a backup beside it equal to it.
// What every row of the CSV and every card must hold is written beside them, read straight from
// the DXL client, and read_vcards.py reads the files with Python's csv module and vobject, so the
// check does not rest on this program's own idea of CSV or vCard.
// The same book is also read as an .nsf file: on Windows through the Notes client's COM classes,
// served by the stand-in server (tests/win) from the book's DXL; elsewhere through the database
// file reader, from a file the tests' writer makes of the DXL (NsfWriter.h). Its CSV and vCard
// files must be those of the DXL, byte for byte.
#include "DataRows.h"
#include "DxlPeople.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "Find.h"
#include "NsfWriter.h"
#include "app/FrmConversion.h"
#include "app/FrmMain.h"
#include "notes/FieldSchema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QJsonArray texts(const notes::ItemValues &values)
{
    QJsonArray out;
    for (const notes::ItemValue &value : values) {
        const std::string text = notes::defaultText(value);
        if (!text.empty())
            out.append(QString::fromStdString(text));
    }
    return out;
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
    QString m_book; // the sample with a twin of its first Person
    QJsonArray m_files;
    // Every Person of the book in view order, read straight from the DXL client: its 28 column
    // values, and its UID with the values of all 42 items, which read_vcards.py looks for where
    // the help says each item goes.
    QJsonArray m_rows;
    QJsonArray m_contacts;

private slots:
    void initTestCase()
    {
        const QString out = qEnvironmentVariable("KT_ENDTOEND_DIR");
        if (out.isEmpty())
            QSKIP("KT_ENDTOEND_DIR is not set (CTest sets it)");
        m_out = QDir(out);
        QVERIFY(m_out.removeRecursively() || !m_out.exists());
        QVERIFY(QDir().mkpath(out));

        QByteArray dxl = readBytes(QStringLiteral(KT_SAMPLE_BOOK));
        const qsizetype from = dxl.indexOf("<document form='Person'>");
        const qsizetype to = dxl.indexOf("</document>", from) + qsizetype(sizeof "</document>") - 1;
        QVERIFY2(from > 0 && to > from, "the sample address book is missing or has no Person");
        QByteArray twin = dxl.mid(from, to - from);
        twin.replace(twin.indexOf("unid='") + 6, 4, "7777");
        dxl.insert(to, "\n" + twin);
        m_book = m_out.filePath(QStringLiteral("names.dxl"));
        QVERIFY(writeBytes(m_book, dxl));
        forEachDxlPerson(m_book, [this](notes::NotesDocument &document) {
            QJsonArray row;
            for (const auto &field : notes::kExportColumns)
                row.append(
                    QString::fromStdString(notes::firstText(document.GetItemValue(field.item))));
            QJsonObject values;
            for (const notes::FieldSpec &field : notes::kFields)
                values.insert(QString::fromLatin1(field.item),
                              texts(document.GetItemValue(field.item)));
            m_rows.append(row);
            m_contacts.append(
                QJsonObject{{QStringLiteral("uid"), QString::fromStdString(document.UniversalID())},
                            {QStringLiteral("values"), values}});
        });
#ifdef Q_OS_WIN
        // The stand-in COM server serves this book as every .nsf file (it is loaded into this
        // process on the first session, and reads the variable then).
        qputenv("KT_STANDIN_BOOK", QDir::toNativeSeparators(m_book).toUtf8());
#endif
    }

    void scanAndExport_data()
    {
        testdata::addRows("app/end-to-end.rows", {"bookName", "format", "written", "sameAs"});
    }

    void scanAndExport()
    {
        auto [bookName, format, written, sameAs] =
            testdata::cells("bookName", "format", "written", "sameAs");
        const int index = format.toInt();
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(m_out.mkpath(name));
        QDir dir(m_out.filePath(name));
        const QString book = dir.filePath(bookName);
#ifndef Q_OS_WIN
        if (bookName.endsWith(QLatin1String(".nsf")))
            testnsf::writeDatabaseOfDxl(m_book.toStdString(), book.toStdString());
        else
#endif
            // Through COM the file's bytes are never read: the stand-in serves the book.
            QVERIFY(QFile::copy(m_book, book));
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
        const QString backup = QFileInfo(bookName).completeBaseName() + QStringLiteral(".bak");
        QCOMPARE(readBytes(dir.filePath(backup)), before);

        auto *exportButton = find<QPushButton>(&window, "CmdContactsCreate");

        // "Export Options" is modal: drive it from inside its own event loop.
        const auto answered = answerModal<app::FrmConversion>(this, [&](app::FrmConversion *form) {
            find<QComboBox>(form, "CboFormat")->setCurrentIndex(index);
            if (index == 0)
                QTest::mouseClick(find<QCheckBox>(form, "ChkSelectAll"), Qt::LeftButton,
                                  Qt::NoModifier, QPoint(8, 8));
            find<QPushButton>(form, "CmdConversion")->click();
        });
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QVERIFY(*answered);
        QCOMPARE(fake.messages.size(), 2);
        // A new export needs a new scan.
        QVERIFY(!exportButton->isEnabled());

        if (!sameAs.isEmpty()) {
            QCOMPARE(readBytes(dir.filePath(written)),
                     readBytes(m_out.filePath(sameAs + QLatin1Char('/') + written)));
            return;
        }
        QJsonObject file{{QStringLiteral("file"), name + QLatin1Char('/') + written}};
        if (index == 0) {
            // UTF-8 where the system's code page cannot hold every name.
            const bool fallback = readBytes(dir.filePath(written)).startsWith("\xEF\xBB\xBF");
            file.insert(QStringLiteral("encoding"),
                        fallback ? QStringLiteral("utf-8-sig") : pythonCodePage());
            file.insert(QStringLiteral("bom"), fallback);
            file.insert(QStringLiteral("rows"), m_rows);
        } else {
            file.insert(QStringLiteral("kind"),
                        index == 1 ? QStringLiteral("book") : QStringLiteral("files"));
            file.insert(QStringLiteral("contacts"), m_contacts);
        }
        m_files.append(file);
    }

    void cleanupTestCase()
    {
        if (m_files.isEmpty())
            return;
        QVERIFY(writeBytes(m_out.filePath(QStringLiteral("expected.json")),
                           QJsonDocument(m_files).toJson()));
    }
};

QTEST_MAIN(TstEndToEnd)
#include "tst_endtoend.moc"
