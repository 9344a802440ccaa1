// The contact tree: the skeleton every run starts with, lookup by key, and contacts added and
// replaced in place.
#include "ContactTree.h"
#include "FakePlatform.h"
#include "Find.h"
#include "FrmMain.h"

#include <QSignalSpy>
#include <QTest>

class TstContactTree final : public QObject {
    Q_OBJECT

private slots:
    void skeleton()
    {
        FakePlatform fake;
        FrmMain window;
        auto *tree = find<ContactTree>(&window, "ContactsTreeView");

        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem *root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("Notes Address Book"));
        QCOMPARE(ContactTree::keyOf(root), QStringLiteral("Lotus Notes Address Book"));
        QCOMPARE(ContactTree::imageOf(root), 1);
        QVERIFY(root->isExpanded());

        QStringList groups;
        int nodes = 1;
        for (int i = 0; i < root->childCount(); ++i, ++nodes) {
            QTreeWidgetItem *group = root->child(i);
            groups << group->text(0);
            QCOMPARE(ContactTree::keyOf(group), group->text(0));
            QCOMPARE(ContactTree::imageOf(group), 2);
            QCOMPARE(group->childCount(), 0);
            QVERIFY(!group->isExpanded());
        }
        QStringList expected;
        for (char c = 'A'; c <= 'Z'; ++c)
            expected << QString(QChar::fromLatin1(c));
        expected << QStringLiteral("Other");
        QCOMPARE(groups, expected);
        QCOMPARE(nodes, 28);
        QCOMPARE(tree->nodeCount(), 28);
    }

    void keysFindNodes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("root") << "Lotus Notes Address Book"
                              << "Notes Address Book";
        QTest::newRow("Q") << "Q"
                           << "Q";
        QTest::newRow("Other") << "Other"
                               << "Other";
        QTest::newRow("lower case is another key") << "q"
                                                   << "";
        QTest::newRow("root text is not a key") << "Notes Address Book"
                                                << "";
    }

    void keysFindNodes()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        ContactTree tree;
        tree.populateDefaultTree();
        QTreeWidgetItem *node = tree.node(key);
        QCOMPARE(node ? node->text(0) : QString(), text);
    }

    void settings()
    {
        ContactTree tree;
        tree.populateDefaultTree();
        QCOMPARE(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(tree.rootIsDecorated());
        // The selection stays visible when the focus goes elsewhere.
        QCOMPARE(tree.palette().color(QPalette::Inactive, QPalette::Highlight),
                 tree.palette().color(QPalette::Active, QPalette::Highlight));
    }

    void rescanReplacesInPlace()
    {
        ContactTree tree;
        tree.populateDefaultTree();
        QTreeWidgetItem *first = tree.addContact("U1-N1", "A", "Anna Lee");
        tree.addContact("U2-N2", "A", "Andy Lee");
        QTreeWidgetItem *again = tree.addContact("U1-N1", "A", "Anna Lee-Smith");
        QCOMPARE(again, first);
        QCOMPARE(tree.node("A")->childCount(), 2);
        QCOMPARE(tree.node("A")->child(0), first);
        QCOMPARE(first->text(0), QStringLiteral("Anna Lee-Smith"));
        QCOMPARE(tree.nodeCount(), 30);

        // Renamed in the book since: the node follows the new first letter.
        QCOMPARE(tree.addContact("U1-N1", "B", "Berta Lee"), first);
        QCOMPARE(first->parent(), tree.node("B"));
        QCOMPARE(tree.node("A")->childCount(), 1);
        QCOMPARE(tree.nodeCount(), 30);
    }

    void refusedWithoutGroup()
    {
        ContactTree tree;
        tree.populateDefaultTree();
        QCOMPARE(tree.addContact("U1-N1", "7", "7 Up"), nullptr);
        QCOMPARE(tree.node("U1-N1"), nullptr);
        QCOMPARE(tree.nodeCount(), 28);
        // A key already taken by a group is refused as a new node.
        QCOMPARE(tree.addNode("A", "B", "B again", ContactTree::ContactImage), nullptr);
    }

    void keyboardReportsNode()
    {
        ContactTree tree;
        tree.populateDefaultTree();
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.setCurrentItem(tree.node("A"));
        QSignalSpy clicks(&tree, &ContactTree::nodeClick);
        QTest::keyClick(&tree, Qt::Key_Down);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).value<QTreeWidgetItem *>(), tree.node("B"));
    }
};

QTEST_MAIN(TstContactTree)
#include "tst_contacttree.moc"
