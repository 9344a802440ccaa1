// SPDX-License-Identifier: GPL-3.0-or-later
// The contact tree's skeleton, node store and click reporting.
#include "browser/ContactTree.h"

#include "browser/Artwork.h"

#include <QKeyEvent>
#include <QPalette>

namespace browser {

namespace {

constexpr int kKeyRole = Qt::UserRole;
// A group member's: the key of the contact or group it stands for.
constexpr int kLinkRole = Qt::UserRole + 1;

// A contact's node. Its key and picture are answered from members rather than kept as item
// data: a book of a million contacts saves a hundred bytes a contact. The key shares its text
// with the tree's index.
class ContactNode final : public QTreeWidgetItem {
public:
    ContactNode(const QString &key, const QIcon &icon) : m_key(key), m_icon(icon) {}

    QVariant data(int column, int role) const override
    {
        if (column == 0 && role == kKeyRole)
            return m_key;
        if (column == 0 && role == Qt::DecorationRole)
            return m_icon;
        return QTreeWidgetItem::data(column, role);
    }

private:
    QString m_key;
    QIcon m_icon;
};

} // namespace

ContactTree::ContactTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("ContactsTreeView"));
    setColumnCount(1);
    setHeaderHidden(true);
    // Every row is one line of text with a 16-pixel picture: letting the view assume it keeps
    // scrolling and inserting fast with a hundred thousand contacts.
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    m_images = {artwork::icon(QString::fromLatin1(artwork::kTreeRoot)),
                artwork::icon(QString::fromLatin1(artwork::kTreeGroup)),
                artwork::icon(QString::fromLatin1(artwork::kTreeContact))};
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item, int) { emit nodeClick(item); });
}

void ContactTree::populateDefaultTree()
{
    // The selection stays highlighted when the focus moves to the details pane, so the user
    // sees which contact is on show.
    QPalette pal = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    setPalette(pal);
    // Node texts change only under program control.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setRootIsDecorated(true);

    QTreeWidgetItem *root = addNode(QString(), QString::fromLatin1(kRootKey),
                                    QString::fromLatin1(kRootText), RootImage);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString key(QChar::fromLatin1(letter));
        addNode(QString::fromLatin1(kRootKey), key, key, GroupImage);
    }
    addNode(QString::fromLatin1(kRootKey), QString::fromLatin1(kOtherGroup),
            QString::fromLatin1(kOtherGroup), GroupImage);
    root->setExpanded(true);
}

QTreeWidgetItem *ContactTree::addNode(const QString &parentKey, const QString &key,
                                      const QString &text, Image image)
{
    if (m_nodes.contains(key))
        return nullptr;
    QTreeWidgetItem *parent = nullptr;
    if (!parentKey.isEmpty()) {
        parent = m_nodes.value(parentKey);
        if (!parent)
            return nullptr;
    }
    const QIcon &icon = m_images[std::size_t(image) - 1];
    QTreeWidgetItem *item = nullptr;
    if (image == ContactImage) {
        item = new ContactNode(key, icon);
    } else {
        item = new QTreeWidgetItem;
        item->setIcon(0, icon);
        item->setData(0, kKeyRole, key);
    }
    item->setText(0, text);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    m_nodes.insert(key, item);
    return item;
}

QTreeWidgetItem *ContactTree::addContact(const QString &key, const QString &parentKey,
                                         const QString &text)
{
    QTreeWidgetItem *item = m_nodes.value(key);
    if (item) {
        item->setText(0, text);
        // A first name changed since the last scan: the contact moves to its new group.
        QTreeWidgetItem *group = m_nodes.value(parentKey);
        QTreeWidgetItem *oldGroup = item->parent();
        if (group && oldGroup && group != oldGroup)
            group->addChild(oldGroup->takeChild(oldGroup->indexOfChild(item)));
    } else {
        item = addNode(parentKey, key, text, ContactImage);
        if (!item)
            return nullptr;
    }
    return item;
}

QTreeWidgetItem *ContactTree::node(const QString &key) const
{
    return m_nodes.value(key);
}

QString ContactTree::keyOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kKeyRole).toString() : QString();
}

namespace {

// Whether the node lies under the branch of the book's groups.
bool inGroupsBranch(const QTreeWidgetItem *node)
{
    while (node && node->parent() && node->parent()->parent())
        node = node->parent();
    return node && node->parent() &&
           ContactTree::keyOf(node) == QLatin1String(ContactTree::kGroupsBranch);
}

} // namespace

bool ContactTree::isContact(const QTreeWidgetItem *node)
{
    return imageOf(node) == ContactImage && !inGroupsBranch(node);
}

int ContactTree::imageOf(const QTreeWidgetItem *node)
{
    // The kind follows from the depth: the root, its groups, their contacts; under the branch
    // of the book's groups one level deeper: the branch, each group, its members.
    if (!node)
        return 0;
    if (!node->parent())
        return RootImage;
    if (!node->parent()->parent())
        return GroupImage;
    if (inGroupsBranch(node) && !node->parent()->parent()->parent())
        return GroupImage;
    return ContactImage;
}

QString ContactTree::linkOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kLinkRole).toString() : QString();
}

QTreeWidgetItem *ContactTree::addBookGroup(const QString &key, const QString &name,
                                           const QList<Member> &members)
{
    const QString branch = QString::fromLatin1(kGroupsBranch);
    if (!m_nodes.contains(branch))
        addNode(QString::fromLatin1(kRootKey), branch, branch, GroupImage);
    QTreeWidgetItem *group = m_nodes.value(key);
    if (group) {
        group->setText(0, name);
        for (QTreeWidgetItem *member : group->takeChildren())
            delete member;
    } else {
        group = addNode(branch, key, name, GroupImage);
        if (!group)
            return nullptr;
    }
    // Members are no nodes of the index: they are found through their group.
    for (const Member &member : members) {
        auto *item = new QTreeWidgetItem;
        const QTreeWidgetItem *target = m_nodes.value(member.link);
        const Image image = target && imageOf(target) == GroupImage ? GroupImage : ContactImage;
        item->setIcon(0, m_images[std::size_t(image) - 1]);
        item->setText(0, member.text);
        item->setData(0, kLinkRole, member.link);
        group->addChild(item);
    }
    return group;
}

void ContactTree::keyPressEvent(QKeyEvent *event)
{
    // Moving through the tree with the keys shows each contact reached, as a click does.
    QTreeWidgetItem *before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem *after = currentItem();
    if (after && after != before)
        emit nodeClick(after);
}

} // namespace browser
