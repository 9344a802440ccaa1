// SPDX-License-Identifier: GPL-3.0-or-later
// The contact tree: lookup by key, a contact refused where its group is missing, and the
// keyboard moving between nodes.
#include "browser/ContactTree.h"

#include <QSignalSpy>
#include <QTest>

class TstContactTree final : public QObject {
    Q_OBJECT

private slots:
    // Keys are the root's, the groups' and the contacts' own: case counts, and a caption is no
    // key.
    void keysFindNodes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("root") << "Lotus Notes Address Book"
                              << "Notes Address Book";
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
        browser::ContactTree tree;
        tree.populateDefaultTree();
        QTreeWidgetItem *node = tree.node(key);
        QCOMPARE(node ? node->text(0) : QString(), text);
        QCOMPARE(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void refusedWithoutGroup()
    {
        browser::ContactTree tree;
        tree.populateDefaultTree();
        QCOMPARE(tree.addContact("U1-N1", "7", "7 Up"), nullptr);
        QCOMPARE(tree.node("U1-N1"), nullptr);
        QCOMPARE(tree.nodeCount(), 28);
        // A key already taken by a group is refused as a new node.
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

QTEST_MAIN(TstContactTree)
#include "tst_contacttree.moc"
