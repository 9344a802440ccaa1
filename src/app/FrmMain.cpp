// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout and handlers. Positions come from the window's design in twips (15 to
// a pixel); controls are stacked front to back as designed, so where they overlap the same one
// shows.
#include "app/FrmMain.h"

#include "app/FrmConversion.h"
#include "app/ScanProgress.h"
#include "app/WalkRunner.h"
#include "browser/Artwork.h"
#include "browser/ContactTree.h"
#include "browser/DetailsPane.h"
#include "export/WalkMessages.h"
#include "notes/ContactRecord.h"
#include "notes/ScanWalk.h"
#include "notes/sessions/DefaultSessionFactory.h"
#include "platform/Platform.h"
#include "product/Product.h"
#include "support/ClickLabel.h"
#include "support/DocAbout.h"
#include "support/EnterPresses.h"
#include "support/HelpContents.h"
#include "support/Look.h"
#include "support/OpenInShell.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>

#include <initializer_list>

namespace app {

namespace {

constexpr int kClientWidth = 712;  // 10680 twips
constexpr int kClientHeight = 644; // 9660 twips

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}

void fill(QWidget *widget, const QColor &colour)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QRect &at)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(support::look::tahoma());
    button->setGeometry(at);
    button->setAutoDefault(false);
    return button;
}

} // namespace

FrmMain::FrmMain(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_sessionFactory(notes::sessions::defaultSessionFactory())
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromLatin1(product::kName));
    setWindowIcon(browser::artwork::icon(QString::fromLatin1(browser::artwork::kAppIcon)));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    fill(client, support::look::ole(support::look::kWindowColour));
    setCentralWidget(client);

    buildMenus();
    buildControls(client);
    setKeyboardOrder();

    // The menu bar takes its height from the style; the client area stays as designed.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

    connect(m_cmdBrowse, &QPushButton::clicked, this, &FrmMain::CmdBrowse_Click);
    connect(m_cmdEnumerateNotes, &QPushButton::clicked, this, &FrmMain::CmdEnumerateNotes_Click);
    connect(m_cmdContactsCreate, &QPushButton::clicked, this, &FrmMain::CmdContactsCreate_Click);
    connect(m_txtNotesDatabaseFile, &QLineEdit::textChanged, this,
            &FrmMain::txtNotesDatabaseFile_Change);
    connect(m_tree, &browser::ContactTree::nodeClick, this, &FrmMain::ContactsTreeView_NodeClick);
    connect(m_details->tabStrip(), &QTabBar::currentChanged, this, &FrmMain::TabStrip1_Click);
    connect(m_labelSiteFooter, &support::ClickLabel::clicked, this,
            &FrmMain::LabelSiteFooter_Click);
    connect(m_mnuOpen, &QAction::triggered, this, &FrmMain::mnuOpen_Click);
    connect(m_mnuExit, &QAction::triggered, this, &FrmMain::mnuExit_Click);
    connect(m_mnuContents, &QAction::triggered, this, &FrmMain::mnuContents_Click);
    connect(m_mnuWebsite, &QAction::triggered, this, &FrmMain::mnuWebsite_Click);
    connect(m_mnuAbout, &QAction::triggered, this, &FrmMain::mnuAbout_Click);
    support::pressButtonsOnEnter(this);

    Form_Load();
}

void FrmMain::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_mnuOpen = file->addAction(QStringLiteral("Open Notes Address Book File"));
    m_mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    file->addSeparator()->setObjectName(QStringLiteral("mnuSep"));
    m_mnuExit = file->addAction(QStringLiteral("Exit"));
    m_mnuExit->setObjectName(QStringLiteral("mnuExit"));

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m_mnuContents = help->addAction(QStringLiteral("Contents"));
    m_mnuContents->setObjectName(QStringLiteral("mnuContents"));
    m_mnuWebsite = help->addAction(QStringLiteral("Visit Website"));
    m_mnuWebsite->setObjectName(QStringLiteral("mnuWebsite"));
    help->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));
    m_mnuAbout = help->addAction(QStringLiteral("About"));
    m_mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
}

void FrmMain::buildBanner(QWidget *client)
{
    auto *banner = new QWidget(client);
    banner->setObjectName(QStringLiteral("Picture1"));
    banner->setGeometry(support::look::twips(0, 0, 10680, 930));
    fill(banner, palette().color(QPalette::Base));

    auto *logo = new QLabel(banner);
    logo->setObjectName(QStringLiteral("Image2"));
    logo->setGeometry(support::look::twips(120, 30, 900, 855));
    logo->setPixmap(
        browser::artwork::pixmap(QString::fromLatin1(browser::artwork::kLogo), QSize(60, 57)));

    QLabel *company =
        makeLabel(banner, "Label4", QStringLiteral("Korvanta"), support::look::verdana(8.25, true));
    company->move(support::look::px(1080), support::look::px(90));
    company->adjustSize();

    auto *rule = new QLabel(banner);
    rule->setObjectName(QStringLiteral("Image1"));
    rule->setGeometry(support::look::twips(0, 900, 10695, 30));
    rule->setScaledContents(true);
    rule->setPixmap(browser::artwork::pixmap(QString::fromLatin1(browser::artwork::kBannerRule),
                                             QSize(497, 2)));

    QLabel *name =
        makeLabel(banner, "Label1", QStringLiteral("Tessal"), support::look::verdana(14.25, true));
    setTextColour(name, support::look::ole(support::look::kNavy));
    name->move(support::look::px(1080), support::look::px(240));
    name->adjustSize();

    QLabel *tagline =
        makeLabel(banner, "Label2", QStringLiteral("Export Notes Address Book to Outlook Express"),
                  support::look::tahoma());
    tagline->move(support::look::px(1080), support::look::px(600));
    tagline->adjustSize();

    // Front to back: logo, "Korvanta", rule, "Tessal", tagline.
    for (QWidget *w : std::initializer_list<QWidget *>{tagline, name, rule, company, logo})
        w->raise();
}

void FrmMain::buildControls(QWidget *client)
{
    m_progBarScanNotes = new QProgressBar(client);
    m_progBarScanNotes->setObjectName(QStringLiteral("ProgBarScanNotes"));
    m_progBarScanNotes->setGeometry(support::look::twips(3600, 8760, 6975, 375));
    m_progBarScanNotes->setTextVisible(false);
    m_progBarScanNotes->hide();

    m_tree = new browser::ContactTree(client);
    m_tree->setGeometry(support::look::twips(120, 1875, 3375, 6735));
    m_tree->setFont(support::look::tahoma());

    m_details = new browser::DetailsPane(client);
    m_details->setGeometry(support::look::twips(3600, 1800, 6975, 6855));

    m_cmdContactsCreate =
        makeButton(client, "CmdContactsCreate", QStringLiteral("&Export Contacts"),
                   support::look::twips(8760, 1320, 1815, 375));
    m_cmdContactsCreate->setEnabled(false);
    m_cmdEnumerateNotes =
        makeButton(client, "CmdEnumerateNotes", QStringLiteral("Scan &Notes Contacts"),
                   support::look::twips(6720, 1320, 1815, 375));
    m_cmdEnumerateNotes->setEnabled(false);
    m_cmdBrowse = makeButton(client, "CmdBrowse", QStringLiteral("&Browse..."),
                             support::look::twips(5160, 1320, 1335, 375));

    m_txtNotesDatabaseFile = new QLineEdit(client);
    m_txtNotesDatabaseFile->setObjectName(QStringLiteral("txtNotesDatabaseFile"));
    m_txtNotesDatabaseFile->setFont(support::look::tahoma());
    m_txtNotesDatabaseFile->setGeometry(support::look::twips(120, 1320, 4815, 375));

    buildBanner(client);
    QWidget *banner = client->findChild<QWidget *>(QStringLiteral("Picture1"));

    QLabel *company = makeLabel(client, "Label49", QString::fromLatin1(product::kCompany),
                                support::look::tahoma(true));
    company->setGeometry(support::look::twips(120, 9360, 1695, 255));
    setTextColour(company, support::look::ole(support::look::kNavy));

    m_labelSiteFooter = new support::ClickLabel(QString::fromLatin1(product::kWebSite), client);
    m_labelSiteFooter->setObjectName(QStringLiteral("LabelSiteFooter"));
    m_labelSiteFooter->setFont(support::look::tahoma());
    m_labelSiteFooter->setTextFormat(Qt::PlainText);
    m_labelSiteFooter->setGeometry(support::look::twips(7920, 9360, 2655, 255));
    m_labelSiteFooter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_labelSiteFooter->setCursor(Qt::PointingHandCursor);
    setTextColour(m_labelSiteFooter, support::look::ole(0xC00000));

    // Right-aligned so that its text ends beside the progress bar.
    m_lblRead = makeLabel(client, "LblRead", QStringLiteral("Reading Notes Address Book"),
                          support::look::tahoma(true));
    m_lblRead->setGeometry(support::look::twips(720, 8805, 2775, 255));
    m_lblRead->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblRead->hide();

    QLabel *chooseLabel =
        makeLabel(client, "Label3", QStringLiteral("Select Notes Address Book File"),
                  support::look::tahoma());
    setTextColour(chooseLabel, Qt::black);
    chooseLabel->move(support::look::px(120), support::look::px(1080));
    chooseLabel->adjustSize();

    auto *footer = new QWidget(client);
    footer->setObjectName(QStringLiteral("Shape1"));
    footer->setGeometry(support::look::twips(0, 9240, 10695, 495));
    fill(footer, support::look::ole(0xFF8080));

    // Stack back to front, so the first control of the design ends up in front.
    for (QWidget *w : std::initializer_list<QWidget *>{
             footer, chooseLabel, m_lblRead, m_labelSiteFooter, company, banner,
             m_txtNotesDatabaseFile, m_cmdBrowse, m_cmdEnumerateNotes, m_cmdContactsCreate,
             m_details, m_tree, m_progBarScanNotes})
        w->raise();
}

void FrmMain::setKeyboardOrder()
{
    QList<QWidget *> order{m_txtNotesDatabaseFile, m_cmdBrowse, m_cmdEnumerateNotes,
                           m_cmdContactsCreate, m_tree};
    order += m_details->keyboardOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // The first in the keyboard order holds the focus when the window appears.
    m_txtNotesDatabaseFile->setFocus();
}

void FrmMain::setSessionFactory(notes::SessionFactory factory)
{
    m_sessionFactory = std::move(factory);
}

void FrmMain::centreOnScreen()
{
    QScreen *where = screen();
    if (!where)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
}

QString FrmMain::databasePath() const
{
    return m_txtNotesDatabaseFile->text();
}

void FrmMain::Form_Load()
{
    PopulateDefaultTree();
    m_details->showPanel(1);
}

void FrmMain::PopulateDefaultTree()
{
    m_tree->populateDefaultTree();
}

void FrmMain::CmdBrowse_Click()
{
    const QString chosen = platform::current().openFileName(
        this, QStringLiteral("Notes Address Book (*.nsf);;DXL export (*.dxl *.xml)"),
        m_lastChosenPath);
    applyFileChoice(chosen);
}

void FrmMain::applyFileChoice(const QString &chosen)
{
    // A cancel gives back the last confirmed choice, as the common dialog does.
    if (!chosen.isEmpty())
        m_lastChosenPath = chosen;

    m_progBarScanNotes->setValue(0);
    m_cmdContactsCreate->setEnabled(false);
    m_txtNotesDatabaseFile->setText(m_lastChosenPath);
    // The same path again changes no text and fires no change: apply the rule all the same.
    txtNotesDatabaseFile_Change();
    if (!m_txtNotesDatabaseFile->text().isEmpty()) {
        m_cmdEnumerateNotes->setEnabled(true);
        m_lblRead->show();
        m_progBarScanNotes->show();
    }
}

void FrmMain::mnuOpen_Click()
{
    CmdBrowse_Click();
}

void FrmMain::txtNotesDatabaseFile_Change()
{
    m_cmdEnumerateNotes->setEnabled(!m_txtNotesDatabaseFile->text().isEmpty());
}

void FrmMain::mnuExit_Click()
{
    close();
    QCoreApplication::quit();
}

void FrmMain::CmdContactsCreate_Click()
{
    // A fresh window each time: every showing starts with nothing ticked.
    FrmConversion conversion(this, m_txtNotesDatabaseFile->text(), m_sessionFactory,
                             [this] { m_cmdContactsCreate->setEnabled(false); });
    conversion.exec();
}

void FrmMain::LabelSiteFooter_Click()
{
    support::OpenInShell(QString::fromLatin1(product::kWebSite));
}

void FrmMain::mnuWebsite_Click()
{
    support::OpenInShell(QString::fromLatin1(product::kWebSite));
}

void FrmMain::mnuContents_Click()
{
    support::showHelpContents(this);
}

void FrmMain::mnuAbout_Click()
{
    support::DocAbout about(this);
    about.exec();
}

void FrmMain::CmdEnumerateNotes_Click()
{
    // The walk lets the window paint, and an event posted before the button went grey must not
    // start a second walk over the first.
    if (WalkRunner::running())
        return;

    const QString path = m_txtNotesDatabaseFile->text();
    const std::string pathUtf8 = path.toStdString();

    // The backup is a courtesy: the scan never writes to the book, so a failed copy does not
    // stop it.
    const std::string backup = notes::backupPathFor(pathUtf8);
    if (!backup.empty()) {
        QString ignored;
        platform::current().copyFile(path, QString::fromStdString(backup), &ignored);
    }

    notes::WalkOutcome outcome;
    std::int64_t refused = 0;
    {
        WalkRunner runner(m_tree);
        ScanProgress sink(m_contacts, *m_tree, *m_progBarScanNotes, runner);
        outcome = notes::runScan(m_sessionFactory, pathUtf8, sink);
        refused = sink.refused();
        if (outcome.kind != notes::WalkOutcome::Kind::NotInstalled &&
            outcome.kind != notes::WalkOutcome::Kind::CannotOpen)
            m_progBarScanNotes->setValue(m_progBarScanNotes->maximum());
    }

    using Kind = notes::WalkOutcome::Kind;
    const std::int64_t added = outcome.delivered - refused;
    const std::int64_t skipped = outcome.skipped + refused;
    if (outcome.kind == Kind::NotInstalled) {
        platform::current().information(this, exporting::kNotInstalledTitle,
                                        exporting::notInstalled());
        return;
    }
    if (outcome.kind == Kind::CannotOpen) {
        platform::current().information(this, exporting::kNotesTitle,
                                        exporting::scanCannotOpen(outcome));
        return;
    }
    platform::current().information(this, exporting::kNotesTitle,
                                    exporting::scanEnded(outcome, added, skipped));
    showScanCompleted(added > 0);
}

void FrmMain::showScanCompleted(bool anyContact)
{
    // A scan that found no contact leaves nothing to export.
    m_cmdContactsCreate->setEnabled(anyContact);
    m_cmdEnumerateNotes->setEnabled(false);
    m_lblRead->hide();
    m_progBarScanNotes->hide();
}

void FrmMain::ContactsTreeView_NodeClick(QTreeWidgetItem *node)
{
    // A member of one of the book's groups stands for a contact (shown as a click on it shows
    // it) or a group (which is selected and opened).
    if (const QString link = browser::ContactTree::linkOf(node); !link.isEmpty()) {
        if (const auto record = m_contacts.find(link.toStdString())) {
            m_details->showContact(*record);
        } else if (QTreeWidgetItem *target = m_tree->node(link)) {
            m_tree->setCurrentItem(target);
            target->setExpanded(true);
        }
        return;
    }
    // A group of the book opens on a click, to show its members.
    if (browser::ContactTree::keyOf(node).startsWith(QLatin1String("group:")))
        node->setExpanded(true);
    // Only contacts have a record; the root and the groups leave the pane as it is.
    if (!browser::ContactTree::isContact(node))
        return;
    if (const auto record = m_contacts.find(browser::ContactTree::keyOf(node).toStdString()))
        m_details->showContact(*record);
}

void FrmMain::TabStrip1_Click()
{
    m_details->showPanel(m_details->tabStrip()->currentIndex() + 1);
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    // The scan holds the tree and the Notes objects on the stack of its handler: the window
    // cannot go away under it.
    if (WalkRunner::running()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

} // namespace app
