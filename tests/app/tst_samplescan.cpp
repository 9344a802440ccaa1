// A scan of the sample address book through the real DXL client, as a user would run it: every
// box of the details pane gets filled by some contact, and the book itself is left exactly as
// it was, with a backup beside it equal to it.
#include "ContactTree.h"
#include "DetailsPane.h"
#include "FakePlatform.h"
#include "Find.h"
#include "FrmMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TstSampleScan final : public QObject {
    Q_OBJECT

private slots:
    void scanSample();
};

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

void TstSampleScan::scanSample()
{
    const QString sample = QStringLiteral(KT_SAMPLE_BOOK);
    QVERIFY2(QFile::exists(sample), "the sample address book is missing");

    // Scan a copy, so the backup lands in a folder of the test's own.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString book = dir.filePath(QStringLiteral("names.dxl"));
    QVERIFY(QFile::copy(sample, book));
    const QByteArray before = contentsOf(book);
    QVERIFY(!before.isEmpty());

    FakePlatform fake;
    fake.realCopy = true;
    FrmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fake.fileAnswers << book;
    QTest::mouseClick(find<QPushButton>(&window, "CmdBrowse"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>(&window, "CmdEnumerateNotes"), Qt::LeftButton);

    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].text, QStringLiteral("Notes Address Book Scan Completed"));
    QVERIFY(find<QPushButton>(&window, "CmdContactsCreate")->isEnabled());

    QCOMPARE(contentsOf(book), before);
    QCOMPARE(contentsOf(dir.filePath(QStringLiteral("names.bak"))), before);

    // Show every contact in turn and note which boxes some contact fills.
    ContactTree *tree = window.contactTree();
    DetailsPane *pane = window.detailsPane();
    QVERIFY(tree->nodeCount() > 28);
    QCOMPARE(qsizetype(window.entryCount()), tree->nodeCount() - 28);
    QList<bool> filled(DetailsPane::kFieldCount, false);
    QTreeWidgetItem *root = tree->node(QString::fromLatin1(ContactTree::kRootKey));
    for (int g = 0; g < root->childCount(); ++g) {
        QTreeWidgetItem *group = root->child(g);
        group->setExpanded(true);
        for (int c = 0; c < group->childCount(); ++c) {
            QTreeWidgetItem *contact = group->child(c);
            tree->scrollToItem(contact);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(contact).center());
            QCOMPARE(tree->currentItem(), contact);
            for (int i = 0; i < DetailsPane::kFieldCount; ++i)
                filled[i] = filled[i] || !pane->boxText(i).isEmpty();
        }
    }
    for (int i = 0; i < DetailsPane::kFieldCount; ++i)
        QVERIFY2(filled[i], qPrintable(pane->box(i)->objectName()));
}

QTEST_MAIN(TstSampleScan)
#include "tst_samplescan.moc"
