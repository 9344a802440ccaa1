// SPDX-License-Identifier: GPL-3.0-or-later
// The contact browser. The details pane: the five tabs and their panels, and what a contact shown
// puts in the header and the boxes. The contact tree: lookup by key, a contact refused where its
// group is missing, and the keyboard moving between nodes.
#include "DataRows.h"
#include "FakePlatform.h"
#include "Find.h"
#include "app/FrmMain.h"
#include "browser/ContactTree.h"
#include "browser/DetailsPane.h"
#include "notes/ContactRecord.h"
#include "notes/FieldSchema.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <memory>

namespace {

const QStringList kPanels{"FrameBusinessAddress", "FrameBusinessContactInfo", "FramePersonal",
                          "FrameBriefcase", "FrameAdvanced"};

} // namespace

class TstBrowser final : public QObject {
    Q_OBJECT

    FakePlatform m_fake; // no dialog or desktop for the whole run
    std::unique_ptr<app::FrmMain> m_window;

    browser::DetailsPane *pane() const { return m_window->detailsPane(); }

    QString box(const char *name) const
    {
        QWidget *w = find<QWidget>(m_window.get(), name);
        if (auto *line = qobject_cast<QLineEdit *>(w))
            return line->text();
        return qobject_cast<QPlainTextEdit *>(w)->toPlainText();
    }

private slots:
    void init()
    {
        m_window = std::make_unique<app::FrmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // A click on a tab, and again on the same tab, shows its panel alone; a contact shown
    // meanwhile fills the boxes of every panel and the tab stays.
    void tabs()
    {
        auto *strip = find<QTabBar>(m_window.get(), "TabStrip1");
        QCOMPARE(qsizetype(strip->count()), kPanels.size());
        QVERIFY(find<QWidget>(m_window.get(), "FrameBusinessAddress")->isVisible());
        for (int tab = 0; tab < kPanels.size(); ++tab) {
            for (int click = 0; click < 2; ++click) {
                QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(tab).center());
                QCOMPARE(strip->currentIndex(), tab);
                for (int i = 0; i < kPanels.size(); ++i)
                    QCOMPARE(find<QWidget>(m_window.get(), qPrintable(kPanels[i]))->isVisible(),
                             i == tab);
            }
            QVERIFY(find<QWidget>(m_window.get(), "txtFirstName")->isVisible());
        }
        notes::ContactRecord contact;
        contact.fields[notes::field("CompanyName")] = "Acme";
        contact.fields[notes::field("Comment")] = "Met at the fair";
        pane()->showContact(contact);
        QCOMPARE(qsizetype(strip->currentIndex()), kPanels.size() - 1);
        QCOMPARE(box("txtComments"), QStringLiteral("Met at the fair"));
        QCOMPARE(box("txtCompany"), QStringLiteral("Acme"));
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(0).center());
        QVERIFY(find<QWidget>(m_window.get(), "txtCompany")->isVisible());
    }

    void shows_data() { testdata::addRows("app/details.rows", {"items", "header", "boxes"}); }

    void shows()
    {
        QFETCH(QString, items);
        QFETCH(QString, header);
        QFETCH(QString, boxes);
        notes::ContactRecord contact;
        for (const QString &item : items.split(QLatin1String("; ")))
            contact.fields.at(std::size_t(notes::fieldOf(item.section(u'=', 0, 0).toStdString()))) =
                item.section(u'=', 1).toStdString();
        auto *card = find<QLabel>(m_window.get(), "ImgContact");
        auto *name = find<QLabel>(m_window.get(), "LblTopName");
        QVERIFY(!card->isVisible());
        QVERIFY(name->text().isEmpty());

        // First a contact whose every field holds its item's name: each box shows its own
        // field. Then the row's contact over it, so an empty box is one that was emptied.
        notes::ContactRecord every;
        for (std::size_t i = 0; i < notes::kFields.size(); ++i)
            every.fields[i] = notes::kFields[i].item;
        pane()->showContact(every);
        for (const notes::FieldSpec &field : notes::kFields)
            QCOMPARE(QString(field.box) + '=' + box(field.box),
                     QString(field.box) + '=' + field.item);
        pane()->showContact(contact);
        QCOMPARE(name->text(), header);
        QVERIFY(card->isVisible());
        for (const QString &expected : boxes.split(QLatin1String("; "))) {
            const QString box = expected.section('=', 0, 0);
            QCOMPARE(box + '=' + this->box(qPrintable(box)), expected);
        }
    }

    // Keys are the root's, the groups' and the contacts' own: case counts, and a caption is no
    // key. A contact is refused where its group is missing, and so is a key already taken.
    void keys()
    {
        browser::ContactTree tree;
        tree.populateDefaultTree();
        const auto text = [&tree](const char *key) {
            QTreeWidgetItem *node = tree.node(key);
            return node ? node->text(0) : QStringLiteral("(none)");
        };
        QCOMPARE(text("Lotus Notes Address Book"), QStringLiteral("Notes Address Book"));
        QCOMPARE(text("Other"), QStringLiteral("Other"));
        QCOMPARE(text("q"), QStringLiteral("(none)"));
        QCOMPARE(text("Notes Address Book"), QStringLiteral("(none)"));
        QCOMPARE(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(tree.addContact("U1-N1", "7", "7 Up"), nullptr);
        QCOMPARE(text("U1-N1"), QStringLiteral("(none)"));
        QCOMPARE(tree.nodeCount(), 28);
        QCOMPARE(tree.addNode("A", "B", "B again", browser::ContactTree::ContactImage), nullptr);
    }

    void keyboardReportsNode()
    {
        browser::ContactTree tree;
        tree.populateDefaultTree();
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.setCurrentItem(tree.node("A"));
        QSignalSpy clicks(&tree, &browser::ContactTree::nodeClick);
        QTest::keyClick(&tree, Qt::Key_Down);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).value<QTreeWidgetItem *>(), tree.node("B"));
    }
};

QTEST_MAIN(TstBrowser)
#include "tst_browser.moc"
