// SPDX-License-Identifier: GPL-3.0-or-later
// The vCard exports the way a user makes them: scan the sample address book (with one contact
// in it twice, under the same name), export it as one vCard file, scan again and export it as
// one file per contact. What the cards must hold is written beside them, read straight from the
// DXL client, and read_vcards.py reads them with Python's vobject.
#include "DxlPeople.h"
#include "FakePlatform.h"
#include "Find.h"
#include "app/FrmConversion.h"
#include "app/FrmMain.h"
#include "notes/FieldSchema.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

// Every Person of the book in view order: the UID and the values of all 42 items, which
// read_vcards.py looks for where the help says each item goes.
QJsonArray expectedContacts(const QString &book)
{
    QJsonArray contacts;
    forEachDxlPerson(book, [&contacts](notes::NotesDocument &document) {
        QJsonObject values;
        for (const notes::FieldSpec &field : notes::kFields)
            values.insert(QString::fromLatin1(field.item),
                          texts(document.GetItemValue(field.item)));
        contacts.append(
            QJsonObject{{QStringLiteral("uid"), QString::fromStdString(document.UniversalID())},
                        {QStringLiteral("values"), values}});
    });
    return contacts;
}

} // namespace

class TstVCardEndToEnd final : public QObject {
    Q_OBJECT

    // Chooses and scans the book in the window (a scan needs a choice before it), then exports
    // it in the format at `formatIndex`.
    void scanAndExport(app::FrmMain &window, FakePlatform &fake, const QString &book,
                       int formatIndex)
    {
        fake.fileAnswers << book;
        QTest::mouseClick(find<QPushButton>(&window, "CmdBrowse"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>(&window, "CmdEnumerateNotes"), Qt::LeftButton);
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto *form = qobject_cast<app::FrmConversion *>(QApplication::activeModalWidget());
            if (!form)
                return;
            driven = true;
            auto *formats = find<QComboBox>(form, "CboFormat");
            formats->setCurrentIndex(formatIndex);
            // The ticks are the CSV's: the list says so by being disabled for a vCard.
            if (find<QListWidget>(form, "LstContactsField")->isEnabled())
                return;
            find<QPushButton>(form, "CmdConversion")->click();
            auto *open = find<QLabel>(form, "LblOpenExcelFile");
            if (open->isVisible())
                QTest::mouseClick(open, Qt::LeftButton);
            form->close();
        });
        QTest::mouseClick(find<QPushButton>(&window, "CmdContactsCreate"), Qt::LeftButton);
        QVERIFY(driven);
    }

private slots:
    void exportBothWays()
    {
        const QString out = qEnvironmentVariable("KT_VCARD_ENDTOEND_DIR");
        if (out.isEmpty())
            QSKIP("KT_VCARD_ENDTOEND_DIR is not set (CTest sets it)");
        QDir dir(out);
        QVERIFY(dir.removeRecursively() || !dir.exists());
        QVERIFY(QDir().mkpath(out));

        // The sample with its first Person once more, under another UniversalID.
        QFile sample(QStringLiteral(KT_SAMPLE_BOOK));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QByteArray dxl = sample.readAll();
        const qsizetype from = dxl.indexOf("<document form='Person'>");
        const qsizetype to = dxl.indexOf("</document>", from) + qsizetype(sizeof "</document>") - 1;
        QVERIFY(from > 0 && to > from);
        QByteArray twin = dxl.mid(from, to - from);
        const qsizetype unid = twin.indexOf("unid='") + 6;
        twin.replace(unid, 4, "7777");
        dxl.insert(to, "\n" + twin);
        const QString book = dir.filePath(QStringLiteral("names.dxl"));
        QFile copy(book);
        QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(dxl) == dxl.size());
        copy.close();
        const QJsonArray contacts = expectedContacts(book);
        QVERIFY(contacts.size() > 40);

        FakePlatform fake;
        fake.realCopy = true;
        fake.folderAnswer = out;
        app::FrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        scanAndExport(window, fake, book, 1);
        const QString saved = QStringLiteral("%1 Contacts Saved Successfully").arg(contacts.size());
        QCOMPARE(fake.messages.size(), 2);
        QCOMPARE(fake.messages[1].text, saved);
        const QString vcf = QDir::toNativeSeparators(dir.filePath(QStringLiteral("Contacts.vcf")));
        QCOMPARE(fake.opened, QStringList{vcf});

        scanAndExport(window, fake, book, 2);
        QCOMPARE(fake.messages.size(), 4);
        QCOMPARE(fake.messages[3].text, saved);
        const QString folder = QDir::toNativeSeparators(dir.filePath(QStringLiteral("Contacts")));
        QCOMPARE(fake.opened, (QStringList{vcf, folder}));
        QCOMPARE(fake.folderTitles.size(), 2);

        QJsonArray checks;
        checks.append(
            QJsonObject{{"kind", "book"}, {"file", "Contacts.vcf"}, {"contacts", contacts}});
        checks.append(QJsonObject{{"kind", "files"}, {"file", "Contacts"}, {"contacts", contacts}});
        QFile expected(dir.filePath(QStringLiteral("expected.json")));
        QVERIFY(expected.open(QIODevice::WriteOnly));
        expected.write(QJsonDocument(checks).toJson());
    }
};

QTEST_MAIN(TstVCardEndToEnd)
#include "tst_vcardendtoend.moc"
