// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the main window as a user sees it after scanning an address book and clicking a
// contact, and saves it as a PNG:
//   kt-screenshot --screenshot OUT.png BOOK.dxl [CONTACT-NAME]
// The window is the program's own, driven through its handlers; only the message boxes and
// the backup copy are left out (QuietPlatform).
#include "app/FrmMain.h"
#include "browser/ContactTree.h"
#include "platform/QuietPlatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4 || args.at(1) != QLatin1String("--screenshot")) {
        QTextStream(stderr) << "usage: kt-screenshot --screenshot OUT.png BOOK.dxl [CONTACT]\n";
        return 2;
    }
    const QString out = args.at(2);
    const QString book = args.at(3);
    const QString contact = args.size() > 4 ? args.at(4) : QString();

    platform::QuietPlatform quiet;
    platform::setPlatform(&quiet);

    app::FrmMain window;
    window.show();
    window.findChild<QLineEdit *>(QStringLiteral("txtNotesDatabaseFile"))->setText(book);
    window.CmdEnumerateNotes_Click();

    // The chosen contact, or the first one of the first group that has any.
    browser::ContactTree *tree = window.contactTree();
    QTreeWidgetItem *pick = nullptr;
    QTreeWidgetItem *root = tree->node(QString::fromLatin1(browser::ContactTree::kRootKey));
    for (int g = 0; root && g < root->childCount() && !pick; ++g) {
        QTreeWidgetItem *group = root->child(g);
        for (int c = 0; c < group->childCount() && !pick; ++c) {
            if (contact.isEmpty() || group->child(c)->text(0) == contact)
                pick = group->child(c);
        }
    }
    if (!pick) {
        QTextStream(stderr) << "kt-screenshot: no contact to show in " << book << "\n";
        return 1;
    }
    pick->parent()->setExpanded(true);
    tree->setCurrentItem(pick);
    window.ContactsTreeView_NodeClick(pick);
    tree->scrollToItem(pick);
    QApplication::processEvents();

    if (!window.grab().save(out)) {
        QTextStream(stderr) << "kt-screenshot: cannot write " << out << "\n";
        return 1;
    }
    platform::setPlatform(nullptr);
    return 0;
}
