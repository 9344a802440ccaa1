// SPDX-License-Identifier: GPL-3.0-or-later
// The contact tree: a root node, 27 letter groups ("A" to "Z", "Other") and under them one node
// per contact, showing its name and carrying only its key; the contacts themselves live in the
// main window's store. Nodes are found by key through a hash, so a scan of a large book adds and
// replaces contacts in constant time.
#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QTreeWidget>

#include <array>

namespace browser {

class ContactTree final : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr const char *kRootKey = "Lotus Notes Address Book";
    static constexpr const char *kRootText = "Notes Address Book";
    static constexpr const char *kOtherGroup = "Other";
    // The branch of the book's groups (mailing lists), after "Other"; made for the first one.
    static constexpr const char *kGroupsBranch = "Groups";

    // 1-based picture numbers of the node kinds.
    enum Image { RootImage = 1, GroupImage = 2, ContactImage = 3 };

    explicit ContactTree(QWidget *parent = nullptr);

    // The skeleton every run starts with: the open root and its 27 closed letter groups. Expects
    // an empty tree.
    void populateDefaultTree();

    // Adds a node as the last child of `parentKey` ("" for a top-level node). nullptr when the
    // parent does not exist or the key is already taken.
    QTreeWidgetItem *addNode(const QString &parentKey, const QString &key, const QString &text,
                             Image image);

    // Adds a contact under its group; when the key is already in the tree (a rescan), its text
    // is replaced and it moves to the group given. nullptr only when the group does not exist.
    QTreeWidgetItem *addContact(const QString &key, const QString &parentKey, const QString &text);

    // A group of the book under the groups branch, its members as its children, each a text and
    // the key of the node it stands for ("" for a member outside the book). A group already
    // there (a rescan) gets its new name and members.
    struct Member {
        QString text;
        QString link;
    };
    QTreeWidgetItem *addBookGroup(const QString &key, const QString &name,
                                  const QList<Member> &members);
    // The key of the node a group member stands for, "" for any other node.
    static QString linkOf(const QTreeWidgetItem *node);

    // The node with this key, or nullptr.
    QTreeWidgetItem *node(const QString &key) const;
    qsizetype nodeCount() const { return m_nodes.size(); }

    static QString keyOf(const QTreeWidgetItem *node);
    // Whether the node is a contact (not the root or a group).
    static bool isContact(const QTreeWidgetItem *node);
    // The picture a node shows (1 to 3), 0 for none.
    static int imageOf(const QTreeWidgetItem *node);

signals:
    // The user picked a node, by mouse (also one already selected) or by keyboard.
    void nodeClick(QTreeWidgetItem *node);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::array<QIcon, 3> m_images;
    QHash<QString, QTreeWidgetItem *> m_nodes;
};

} // namespace browser
