// SPDX-License-Identifier: GPL-3.0-or-later
// FrmMain, the main window: the banner, the row where the address book is chosen, the contact
// tree beside the details pane, the scan's progress line and the footer; the menus File and
// Help. It owns the rules that enable the scan and export buttons, and runs the scan.
#pragma once

#include "notes/ContactStore.h"
#include "notes/SessionFactory.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidgetItem;
class QWidget;

namespace browser {
class ContactTree;
class DetailsPane;
} // namespace browser

namespace support {
class ClickLabel;
}

namespace app {

class FrmMain final : public QMainWindow {
    Q_OBJECT

public:
    // Runs Form_Load before returning, so the window is ready to show.
    explicit FrmMain(QWidget *parent = nullptr);

    // The Notes client the scan uses; the program's default unless a test hands in another.
    void setSessionFactory(notes::SessionFactory factory);

    // Moves the window to the middle of the screen it is on.
    void centreOnScreen();

    // What a Browse does once the dialog has answered: `chosen` is the picked path, or "" for a
    // cancel. The program also uses it for a book named on its command line.
    void applyFileChoice(const QString &chosen);

    // What the export window needs.
    QString databasePath() const;
    // The scanned contacts; the tree's contact nodes carry their keys.
    const notes::ContactStore &contacts() const { return m_contacts; }

    browser::ContactTree *contactTree() const { return m_tree; }
    browser::DetailsPane *detailsPane() const { return m_details; }

    // Event handlers, connected in the constructor.
    void Form_Load();
    void CmdBrowse_Click();
    void mnuOpen_Click();
    void txtNotesDatabaseFile_Change();
    void mnuExit_Click();
    void CmdContactsCreate_Click();
    void CmdEnumerateNotes_Click();
    void ContactsTreeView_NodeClick(QTreeWidgetItem *node);
    void TabStrip1_Click();
    void LabelSiteFooter_Click();
    void mnuWebsite_Click();
    void mnuContents_Click();
    void mnuAbout_Click();

    void PopulateDefaultTree();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildBanner(QWidget *client);
    void buildControls(QWidget *client);
    void setKeyboardOrder();
    void showScanCompleted(bool anyContact);

    notes::SessionFactory m_sessionFactory;
    // The dialog's last confirmed choice: what a cancelled Browse gives back.
    QString m_lastChosenPath;
    notes::ContactStore m_contacts;

    QLineEdit *m_txtNotesDatabaseFile = nullptr;
    QPushButton *m_cmdBrowse = nullptr;
    QPushButton *m_cmdEnumerateNotes = nullptr;
    QPushButton *m_cmdContactsCreate = nullptr;
    browser::ContactTree *m_tree = nullptr;
    browser::DetailsPane *m_details = nullptr;
    QLabel *m_lblRead = nullptr;
    QProgressBar *m_progBarScanNotes = nullptr;
    support::ClickLabel *m_labelSiteFooter = nullptr;

    QAction *m_mnuOpen = nullptr;
    QAction *m_mnuExit = nullptr;
    QAction *m_mnuContents = nullptr;
    QAction *m_mnuWebsite = nullptr;
    QAction *m_mnuAbout = nullptr;
};

} // namespace app
