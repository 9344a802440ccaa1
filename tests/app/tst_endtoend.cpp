// The whole way a user goes: choose the sample address book, scan it, open "Export Options",
// tick every field, export, and open the written file, all through the main window with the
// desktop replaced. The scan leaves the book exactly as it was, with a backup beside it equal to
// it. What every row of the file must hold is written beside it, and read_back.py reads the file
// with Python's csv module, so the check does not rest on this program's own idea of CSV.
#include "ContactTree.h"
#include "DxlClient.h"
#include "FakePlatform.h"
#include "FieldSchema.h"
#include "Find.h"
#include "FrmConversion.h"
#include "FrmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every Person of the book in view order, each as its 28 column values, read straight from the
// DXL client.
QJsonArray expectedRows(const QString &book)
{
    auto session = notes::DxlClient::createSession();
    auto database = session->GetDatabase("", book.toStdString());
    auto view = database->GetView("$People");
    auto navigator = view->CreateViewNav();
    QJsonArray rows;
    for (auto entry = navigator->GetFirstDocument(); entry;
         entry = navigator->GetNextDocument(*entry)) {
        auto document = entry->Document();
        QJsonArray row;
        for (const auto &field : notes::kExportColumns)
            row.append(
                QString::fromStdString(notes::firstText(document->GetItemValue(field.item))));
        rows.append(row);
    }
    return rows;
}

} // namespace

class TstEndToEnd final : public QObject {
    Q_OBJECT

private slots:
    void scanExportAndOpen()
    {
        const QString sample = QStringLiteral(KT_SAMPLE_BOOK);
        QVERIFY2(QFile::exists(sample), "the sample address book is missing");
        const QString out = qEnvironmentVariable("KT_ENDTOEND_DIR");
        if (out.isEmpty())
            QSKIP("KT_ENDTOEND_DIR is not set (CTest sets it)");
        QDir dir(out);
        QVERIFY(dir.removeRecursively() || !dir.exists());
        QVERIFY(QDir().mkpath(out));
        const QString book = dir.filePath(QStringLiteral("names.dxl"));
        QVERIFY(QFile::copy(sample, book));
        const QByteArray before = contentsOf(book);

        FakePlatform fake;
        fake.realCopy = true;
        fake.folderAnswer = out;
        FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        fake.fileAnswers << book;
        QTest::mouseClick(find<QPushButton>(&window, "CmdBrowse"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>(&window, "CmdEnumerateNotes"), Qt::LeftButton);
        QCOMPARE(fake.messages.size(), 1);

        QCOMPARE(contentsOf(book), before);
        QCOMPARE(contentsOf(dir.filePath(QStringLiteral("names.bak"))), before);

        ContactTree *tree = window.contactTree();
        QVERIFY(tree->nodeCount() > 28);
        QCOMPARE(qsizetype(window.contacts().size()), tree->nodeCount() - 28);

        auto *exportButton = find<QPushButton>(&window, "CmdContactsCreate");
        QVERIFY(exportButton->isEnabled());

        // "Export Options" is modal: drive it from inside its own event loop.
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto *form = qobject_cast<FrmConversion *>(QApplication::activeModalWidget());
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

        const QJsonArray rows = expectedRows(book);
        QVERIFY(rows.size() > 40);
        QCOMPARE(fake.messages.size(), 2);
        // A new export needs a new scan.
        QVERIFY(!exportButton->isEnabled());
        const QString csv =
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("OE-Contacts.csv")));
        QCOMPARE(fake.opened, QStringList{csv});

        QJsonObject file;
        file.insert(QStringLiteral("file"), QStringLiteral("OE-Contacts.csv"));
        file.insert(QStringLiteral("encoding"), QStringLiteral("utf-8"));
        file.insert(QStringLiteral("bom"), false);
        file.insert(QStringLiteral("rows"), rows);
        QFile expected(dir.filePath(QStringLiteral("expected.json")));
        QVERIFY(expected.open(QIODevice::WriteOnly));
        expected.write(QJsonDocument(QJsonArray{file}).toJson());
    }
};

QTEST_MAIN(TstEndToEnd)
#include "tst_endtoend.moc"
