// SPDX-License-Identifier: GPL-3.0-or-later
// The windows against the in-memory Notes client, with the fake platform in place of dialogs and
// the desktop. The main window: the rules of the path row (Browse, the menu's Open, typing,
// emptying) over the buttons, the progress line and the file dialog; the links and menus; the
// scan (each outcome's message and the state it leaves, the contacts in the tree and the details
// pane after a rescan, the guard while a scan runs); and the browser (the details pane's tabs and
// boxes, the contact tree's keys and keyboard). "Export Options": the select-all rule, every way
// a run ends (what is written, what is said, and the window after it; a run refused or failed
// leaves the window as it was), and the input that arrives while a run goes on.
#include "DataRows.h"
#include "FakePlatform.h"
#include "FileBytes.h"
#include "Find.h"
#include "PostInput.h"
#include "TestBooks.h"
#include "app/FrmConversion.h"
#include "app/FrmMain.h"
#include "app/WalkRunner.h"
#include "browser/ContactTree.h"
#include "browser/DetailsPane.h"
#include "export/ExportFilePath.h"
#include "notes/ContactRecord.h"
#include "notes/FieldSchema.h"
#include "notes/dxl/DxlClient.h"
#include "product/Product.h"
#include "support/DocAbout.h"
#include "support/HelpContents.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using notes::MemoryClient;
using Op = notes::MemoryClient::Op;

namespace {

// The export window over a book.
struct Window {
    explicit Window(notes::SessionFactory factory)
        : form(nullptr, QStringLiteral("names.nsf"), std::move(factory), [this] { ++completions; })
    {
        // Laid out and shown without reaching the platform, as the main window below.
        form.setAttribute(Qt::WA_DontShowOnScreen);
        form.show();
        form.activateWindow();
    }

    // "A" ticks Select All and "a" clears it; "+n" ticks item n and "-n" clears it.
    void tick(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            if (step == QLatin1String("A") || step == QLatin1String("a")) {
                QCOMPARE(selectAll->isChecked(), step == QLatin1String("a"));
                selectAll->click();
            } else {
                list->item(step.mid(1).toInt())
                    ->setCheckState(step[0] == u'+' ? Qt::Checked : Qt::Unchecked);
            }
        }
    }

    QString ticks() const
    {
        QString out;
        for (int i = 0; i < list->count(); ++i)
            out += list->item(i)->checkState() == Qt::Checked ? u'x' : u'.';
        return out;
    }

    int completions = 0;
    app::FrmConversion form;
    QListWidget *list = find<QListWidget>(&form, "LstContactsField");
    QCheckBox *selectAll = find<QCheckBox>(&form, "ChkSelectAll");
    QPushButton *start = find<QPushButton>(&form, "CmdConversion");
    QProgressBar *bar = find<QProgressBar>(&form, "ProgBarSave");
    QLabel *label = find<QLabel>(&form, "LblOpenExcelFile");
    QLabel *icon = find<QLabel>(&form, "ImgOpenExcelFile");
};

} // namespace

class TstWindows final : public QObject {
    Q_OBJECT

    FakePlatform *m_fake = nullptr;
    MemoryClient *m_client = nullptr;
    app::FrmMain *m_window = nullptr;

    template <class T> T *control(const char *name) const { return find<T>(m_window, name); }

    QString box(const char *name) const
    {
        QWidget *w = control<QWidget>(name);
        if (auto *line = qobject_cast<QLineEdit *>(w))
            return line->text();
        return qobject_cast<QPlainTextEdit *>(w)->toPlainText();
    }

    void clickNode(QTreeWidgetItem *node)
    {
        browser::ContactTree *tree = m_window->contactTree();
        if (node->parent())
            node->parent()->setExpanded(true);
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(node).center());
    }

    void browse(const QString &answer)
    {
        m_fake->fileAnswers << answer;
        QTest::mouseClick(control<QPushButton>("CmdBrowse"), Qt::LeftButton);
    }

    void chooseAndScan()
    {
        browse(QStringLiteral("/books/names.nsf"));
        QTest::mouseClick(control<QPushButton>("CmdEnumerateNotes"), Qt::LeftButton);
    }

    // One step of a path script: "type:TEXT", "clear", "browse:PATH", "open:PATH", "cancel",
    // "scan".
    void runStep(const QString &step)
    {
        auto *path = control<QLineEdit>("txtNotesDatabaseFile");
        if (step.startsWith(QLatin1String("type:"))) {
            path->setFocus();
            QTest::keyClicks(path, step.mid(5));
        } else if (step == QLatin1String("clear")) {
            path->selectAll();
            QTest::keyClick(path, Qt::Key_Delete);
        } else if (step.startsWith(QLatin1String("browse:"))) {
            browse(step.mid(7));
        } else if (step.startsWith(QLatin1String("open:"))) {
            m_fake->fileAnswers << step.mid(5);
            control<QAction>("mnuOpen")->trigger();
        } else if (step == QLatin1String("cancel")) {
            // Pressed from the keyboard: Enter on the focused button presses it.
            m_fake->fileAnswers << QString();
            auto *browse = control<QPushButton>("CmdBrowse");
            browse->setFocus();
            QTest::keyClick(browse, Qt::Key_Return);
        } else if (step == QLatin1String("scan")) {
            QTest::mouseClick(control<QPushButton>("CmdEnumerateNotes"), Qt::LeftButton);
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }

private slots:
    void init()
    {
        m_fake = new FakePlatform;
        m_client = new MemoryClient;
        m_window = new app::FrmMain;
        m_window->setSessionFactory(m_client->factory());
        // Shown and laid out as on a screen, but never handed to the platform: under wine, showing
        // and hiding a real window costs half a second, once for every row.
        m_window->setAttribute(Qt::WA_DontShowOnScreen);
        m_window->show();
        m_window->activateWindow();
        exporting::ExportFilePath.clear();
    }

    void cleanup()
    {
        delete m_window;
        delete m_client;
        delete m_fake;
    }

    void pathRules_data()
    {
        testdata::addRows("app/path-rules.rows",
                          {"script", "path", "scan", "exportable", "progress", "dialogs"});
    }

    void pathRules()
    {
        auto [script, path, scan, exportable, progress, dialogs] =
            testdata::cells("script", "path", "scan", "exportable", "progress", "dialogs");
        const QStringList steps = script.isEmpty() ? QStringList() : script.split(" | ");
        m_client->people = {person("1", "Ann", "Lee")}; // so that a scan completes
        // The path box holds the focus when the window appears.
        QCOMPARE(m_window->focusWidget(), control<QWidget>("txtNotesDatabaseFile"));
        for (const QString &step : steps)
            runStep(step);

        auto *bar = control<QProgressBar>("ProgBarScanNotes");
        QCOMPARE(control<QLineEdit>("txtNotesDatabaseFile")->text(), path);
        QCOMPARE(control<QPushButton>("CmdEnumerateNotes")->isEnabled(), !scan.isEmpty());
        QCOMPARE(control<QPushButton>("CmdContactsCreate")->isEnabled(), !exportable.isEmpty());
        QCOMPARE(control<QLabel>("LblRead")->isVisible(), !progress.isEmpty());
        QCOMPARE(bar->isVisible(), !progress.isEmpty());
        if (!steps.isEmpty() && (steps.last().startsWith("browse:") || steps.last() == "cancel"))
            QCOMPARE(bar->value(), 0);
        QStringList starts;
        for (const auto &dialog : m_fake->fileDialogs) {
            QCOMPARE(dialog.filter,
                     QStringLiteral("Notes Address Book (*.nsf);;DXL export (*.dxl *.xml)"));
            starts << (dialog.start.isEmpty() ? QStringLiteral("-") : dialog.start);
        }
        if (!dialogs.isEmpty())
            QCOMPARE(starts.join(QLatin1String(" | ")), dialogs);
    }

    // The footer and the menus: the web site both ways, the help's contents, About over the
    // window, and Exit.
    void linksAndMenus()
    {
        QTest::mouseClick(control<QLabel>("LabelSiteFooter"), Qt::LeftButton);
        control<QAction>("mnuWebsite")->trigger();
        control<QAction>("mnuContents")->trigger();
        const QString site = QString::fromLatin1(product::kWebSite);
        QCOMPARE(m_fake->opened, (QStringList{site, site}));
        QCOMPARE(m_fake->helpFiles,
                 QStringList{support::helpContentsPath(QCoreApplication::applicationDirPath())});
        // About lives only while it is shown: look at it from inside its own event loop.
        QWidget *owner = nullptr;
        const auto answered = answerModal<support::DocAbout>(
            m_window, [&](support::DocAbout *about) { owner = about->parentWidget(); });
        control<QAction>("mnuAbout")->trigger();
        QVERIFY(*answered);
        QCOMPARE(owner, m_window);
        control<QAction>("mnuExit")->trigger();
        QVERIFY(!m_window->isVisible());
    }

    void scanOutcomes_data()
    {
        testdata::addRows("app/scan-outcomes.rows", {"setup", "title", "textStart", "textHolds",
                                                     "completedRun", "contactCount", "steps"});
    }

    void scanOutcomes()
    {
        auto [setup, title, textStart, textHolds, completedRun, contactCount, steps] =
            testdata::cells("setup", "title", "textStart", "textHolds", "completedRun",
                            "contactCount", "steps");
#ifdef Q_OS_WIN
        textStart.replace(QLatin1String("{nl}"), QLatin1String("\r\n"));
#endif
        textStart.replace(QLatin1String("{nl}"), QLatin1String("\n"));
        const bool completed = !completedRun.isEmpty();
        const int contacts = contactCount.toInt();

        if (setup != "empty")
            m_client->people = {person("1", "Anna", "Ant"), person("2", "Bob", "Bee"),
                                person("3", "Cid", "Cat")};
        if (setup == "no client")
            m_client->availableProgIds.clear();
        if (setup == "missing book")
            m_client->missingPaths.insert("/books/names.nsf");
        if (setup == "second unreadable")
            m_client->failOn(Op::UniversalID, 2);
        if (setup == "walk breaks")
            m_client->failFrom(Op::GetNextDocument, 1);
        m_fake->copyResult = setup != "copy fails";

        auto *bar = control<QProgressBar>("ProgBarScanNotes");
        browse(QStringLiteral("/books/names.nsf"));
        QSignalSpy values(bar, &QProgressBar::valueChanged);
        QTest::mouseClick(control<QPushButton>("CmdEnumerateNotes"), Qt::LeftButton);

        // The backup copy comes first, whatever the outcome.
        QCOMPARE(m_fake->copies.size(), 1);
        QCOMPARE(m_fake->copies[0].second, QStringLiteral("/books/names.bak"));
        QCOMPARE(m_fake->messages.size(), 1);
        const QString text = m_fake->messages[0].text;
        QCOMPARE(m_fake->messages[0].title, title);
        if (textHolds.isEmpty())
            QCOMPARE(text, textStart);
        QVERIFY2(text.startsWith(textStart), qPrintable(text));
        QVERIFY2(text.contains(textHolds), qPrintable(text));

        // Nothing to export after a scan that found no contact.
        QCOMPARE(control<QPushButton>("CmdContactsCreate")->isEnabled(), completed && contacts > 0);
        QCOMPARE(control<QPushButton>("CmdEnumerateNotes")->isEnabled(), !completed);
        QCOMPARE(control<QLabel>("LblRead")->isVisible(), !completed);
        QCOMPARE(bar->isVisible(), !completed);
        QCOMPARE(bar->value(), completed ? bar->maximum() : 0);
        QStringList seen; // one step for each document
        for (const auto &v : values)
            seen << v.at(0).toString();
        QCOMPARE(seen.join(u' '), steps);
        QCOMPARE(m_window->contactTree()->nodeCount(), 28 + contacts);
        QVERIFY(m_window->contactTree()->updatesEnabled());
        QCOMPARE(m_client->liveObjects(), 0);
    }

    // Clicks, keys, a second start and a close that arrive while a scan runs reach nothing,
    // then or afterwards.
    void inputDuringScanIsDiscarded()
    {
        m_client->people = {person("1", "Anna", "Ant"), person("2", "Bob", "Bee")};
        auto *browse = control<QPushButton>("CmdBrowse");
        auto *path = control<QLineEdit>("txtNotesDatabaseFile");
        QSignalSpy browseClicks(browse, &QPushButton::clicked);
        bool sawScanning = false;
        bool closed = true;
        qsizetype nestedMessages = -1;
        notes::SessionFactory inner = m_client->factory();
        m_window->setSessionFactory([&](const std::string &progId) {
            sawScanning = app::WalkRunner::running();
            m_window->CmdEnumerateNotes_Click();
            nestedMessages = m_fake->messages.size();
            closed = m_window->close();
            postClick(browse);
            postClick(control<QPushButton>("CmdEnumerateNotes"));
            postKey(path, Qt::Key_X, QStringLiteral("x"));
            return inner(progId);
        });
        chooseAndScan();
        QCoreApplication::processEvents();
        QVERIFY(sawScanning);
        QCOMPARE(nestedMessages, 0);
        QVERIFY(!closed);
        QCOMPARE(browseClicks.size(), 1); // the Browse before the scan only
        QCOMPARE(m_fake->messages.size(), 1);
        QCOMPARE(path->text(), QStringLiteral("/books/names.nsf"));
    }

    // A rescan of a book that changed: names, groups and fields follow it, in the tree and in
    // the store alike, and the details pane shows the new values.
    void rescanUpdatesInPlace()
    {
        m_client->people = {person("1", "Anna", "Ant").set("CompanyName", "Hill"),
                            person("2", "Bob", "Bee")};
        chooseAndScan();
        QTreeWidgetItem *anna = m_window->contactTree()->node("UNID1-N1");
        QVERIFY(anna);
        m_client->people = {person("1", "Hanna", "Ant").set("CompanyName", "Zoo"),
                            person("2", "Bob", "Bee"), person("3", " cid", "Cat")};
        chooseAndScan();
        browser::ContactTree *tree = m_window->contactTree();
        QCOMPARE(tree->node("UNID1-N1"), anna);
        QCOMPARE(anna->parent(), tree->node("H"));
        QCOMPARE(tree->node("A")->childCount(), 0);
        QCOMPARE(anna->text(0), QStringLiteral("Hanna Ant"));
        QCOMPARE(tree->node("C")->child(0)->text(0), QStringLiteral("cid Cat"));
        QCOMPARE(tree->nodeCount(), 28 + 3);
        QCOMPARE(m_window->contacts().size(), std::size_t(3));
        for (const char *key : {"UNID1-N1", "UNID2-N2", "UNID3-N3"})
            QVERIFY2(m_window->contacts().contains(key) && tree->node(key), key);
        clickNode(anna);
        QCOMPARE(box("txtFirstName"), QStringLiteral("Hanna"));
        QCOMPARE(box("txtCompany"), QStringLiteral("Zoo"));
        // The root and a group leave the contact on show.
        clickNode(tree->node("H"));
        clickNode(tree->node(QString::fromLatin1(browser::ContactTree::kRootKey)));
        QCOMPARE(control<QLabel>("LblTopName")->text(), QStringLiteral("Hanna Ant"));
    }

    // A click on a tab, and again on the same tab, shows its panel alone; a contact shown
    // meanwhile fills the boxes of every panel and the tab stays.
    // The book's groups under a branch of their own after "Other": each member by the name of the
    // contact it stands for (a click shows that contact), else as the book names it.
    void groupsInTheTree()
    {
        m_window->setSessionFactory(notes::dxl::DxlClient::factory());
        browse(QStringLiteral(KT_SAMPLE_BOOK));
        QTest::mouseClick(control<QPushButton>("CmdEnumerateNotes"), Qt::LeftButton);
        QTreeWidgetItem *root = m_window->contactTree()->node(browser::ContactTree::kRootKey);
        const int last = root->childCount() - 1;
        QCOMPARE(root->child(last - 1)->text(0) + '|' + root->child(last)->text(0), "Other|Groups");
        QTreeWidgetItem *sales = root->child(last)->child(0);
        QStringList members{sales->text(0)};
        for (int i = 0; i < sales->childCount(); ++i)
            members << sales->child(i)->text(0);
        QCOMPARE(members.join(QLatin1String("; ")),
                 "Sales Team; Quinn Abbott; Dmitri H Berg; Harriet Q Albright; Ann Abbott/Partner; "
                 "orders@example.net");
        clickNode(sales->child(1));
        QCOMPARE(control<QLabel>("LblTopName")->text(), "Dmitri H Berg");
    }

    void tabs()
    {
        const char *const panels[] = {"FrameBusinessAddress", "FrameBusinessContactInfo",
                                      "FramePersonal", "FrameBriefcase", "FrameAdvanced"};
        auto *strip = control<QTabBar>("TabStrip1");
        QCOMPARE(strip->count(), 5);
        QVERIFY(control<QWidget>(panels[0])->isVisible());
        for (int tab = 0; tab < 5; ++tab) {
            for (int click = 0; click < 2; ++click) {
                QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(tab).center());
                QCOMPARE(strip->currentIndex(), tab);
                for (int i = 0; i < 5; ++i)
                    QCOMPARE(control<QWidget>(panels[i])->isVisible(), i == tab);
            }
            QVERIFY(control<QWidget>("txtFirstName")->isVisible());
        }
        notes::ContactRecord contact;
        contact.fields[notes::field("CompanyName")] = "Acme";
        contact.fields[notes::field("Comment")] = "Met at the fair";
        m_window->detailsPane()->showContact(contact);
        QCOMPARE(strip->currentIndex(), 4);
        QCOMPARE(box("txtComments"), QStringLiteral("Met at the fair"));
        QCOMPARE(box("txtCompany"), QStringLiteral("Acme"));
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(0).center());
        QVERIFY(control<QWidget>("txtCompany")->isVisible());
    }

    void details_data()
    {
        testdata::addRows("app/details.rows", {"items", "header", "boxes"});
    }

    void details()
    {
        auto [items, header, boxes] = testdata::cells("items", "header", "boxes");
        notes::ContactRecord contact;
        for (const QString &item : items.split(QLatin1String("; ")))
            contact.fields.at(std::size_t(notes::fieldOf(item.section(u'=', 0, 0).toStdString()))) =
                item.section(u'=', 1).toStdString();
        auto *card = control<QLabel>("ImgContact");
        auto *name = control<QLabel>("LblTopName");
        QVERIFY(!card->isVisible());
        QVERIFY(name->text().isEmpty());

        // First a contact whose every field holds its item's name: each box shows its own
        // field. Then the row's contact over it, so an empty box is one that was emptied.
        notes::ContactRecord every;
        for (std::size_t i = 0; i < notes::kFields.size(); ++i)
            every.fields[i] = notes::kFields[i].item;
        m_window->detailsPane()->showContact(every);
        for (const notes::FieldSpec &field : notes::kFields)
            QCOMPARE(QString(field.box) + '=' + box(field.box),
                     QString(field.box) + '=' + field.item);
        m_window->detailsPane()->showContact(contact);
        QCOMPARE(name->text(), header);
        QVERIFY(card->isVisible());
        for (const QString &expected : boxes.split(QLatin1String("; "))) {
            const QString box = expected.section('=', 0, 0);
            QCOMPARE(box + '=' + this->box(qPrintable(box)), expected);
        }
    }

    // Keys are the root's, the groups' and the contacts' own: case counts, and a caption is no
    // key. A contact is refused where its group is missing, and so is a key already taken. The
    // keyboard moving to a node reports it as a click would.
    void treeKeys()
    {
        browser::ContactTree *tree = m_window->contactTree();
        const auto text = [tree](const char *key) {
            QTreeWidgetItem *node = tree->node(key);
            return node ? node->text(0) : QStringLiteral("(none)");
        };
        QCOMPARE(text("Lotus Notes Address Book"), QStringLiteral("Notes Address Book"));
        QCOMPARE(text("Other"), QStringLiteral("Other"));
        QCOMPARE(text("q"), QStringLiteral("(none)"));
        QCOMPARE(text("Notes Address Book"), QStringLiteral("(none)"));
        QCOMPARE(tree->addContact("U1-N1", "7", "7 Up"), nullptr);
        QCOMPARE(text("U1-N1"), QStringLiteral("(none)"));
        QCOMPARE(tree->nodeCount(), 28);
        QCOMPARE(tree->addNode("A", "B", "B again", browser::ContactTree::ContactImage), nullptr);

        tree->setCurrentItem(tree->node("A"));
        QSignalSpy clicks(tree, &browser::ContactTree::nodeClick);
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).value<QTreeWidgetItem *>(), tree->node("B"));
    }

    void exportSelectAll_data()
    {
        testdata::addRows("app/select-all.rows", {"steps", "ticks", "box"});
    }

    void exportSelectAll()
    {
        auto [steps, ticks, box] = testdata::cells("steps", "ticks", "box");
        Window w(m_client->factory());
        // As loaded: the button holds the focus, and the icon is drawn from the compiled-in
        // resource (an empty picture means it was not linked).
        QCOMPARE(w.form.focusWidget(), w.start);
        QCOMPARE(w.icon->pixmap().size(), QSize(16, 16));
        w.tick(steps);
        QCOMPARE(w.ticks(), ticks);
        QCOMPARE(w.selectAll->isChecked(), !box.isEmpty());
    }

    void exportRun_data()
    {
        testdata::addRows("app/export-runs.rows",
                          {"people", "firstName", "format", "ticks", "codePage", "setup", "failing",
                           "nthCall", "title", "message", "holds", "written", "bytes"});
    }

    void exportRun()
    {
        auto [people, firstName, format, ticks, codePage, setup, failing, nthCall, title, message,
              holds, written, bytes] =
            testdata::cells("people", "firstName", "format", "ticks", "codePage", "setup",
                            "failing", "nthCall", "title", "message", "holds", "written", "bytes");
        const bool csv = format.isEmpty();

        FakePlatform &fake = *m_fake;
        QTemporaryDir dir;
        QString folder = dir.path();
        const QString earlier = dir.filePath(QStringLiteral("OE-Contacts.csv"));
        if (setup == QLatin1String("folder in place of the file"))
            QVERIFY(QDir(folder).mkdir(QStringLiteral("OE-Contacts.csv")));
        else
            QVERIFY(writeBytes(earlier, "earlier export\r\n"));
        if (setup == QLatin1String("folder below a file"))
            folder = earlier + QStringLiteral("/sub");
        if (setup == QLatin1String("read-only file")) {
            QVERIFY(QFile::setPermissions(earlier, QFileDevice::ReadOwner));
            if (QFile(earlier).open(QIODevice::ReadWrite))
                QSKIP("This user can write read-only files (root); the other rows cover it.");
        }
        fake.folderAnswer = setup == QLatin1String("cancel") ? QString() : folder;

        MemoryClient &client = *m_client;
        addPeople(client, people.toInt());
        if (!firstName.isEmpty())
            client.people.push_back(
                notes::MemoryDocument().set("FirstName", firstName.toStdString()));
        if (setup == QLatin1String("no session"))
            client.availableProgIds.clear();
        if (!failing.isEmpty())
            client.failOn(testdata::named<MemoryClient::Op>(failing, MemoryClient::kOpNames),
                          nthCall.toInt());
        Window w(client.factory());
        if (codePage == QLatin1String("latin1"))
            w.form.setCodePage(QStringConverter::Latin1);
        // "ldif FORM BASE-DN" chooses the LDIF's form and types its base DN.
        const QStringList ldif = format.split(u' ');
        find<QComboBox>(&w.form, "CboFormat")
            ->setCurrentIndex(
                QStringList{QString(), "vcard", "vcard-files", "ldif"}.indexOf(ldif.front()));
        QCOMPARE(find<QComboBox>(&w.form, "CboLdifForm")->isVisible(), ldif.size() > 1);
        if (ldif.size() > 1) {
            find<QComboBox>(&w.form, "CboLdifForm")->setCurrentIndex(ldif[1] == "directory");
            find<QLineEdit>(&w.form, "TxtBaseDn")->setText(ldif.value(2));
        }
        w.tick(ticks);
        // The ticks choose the CSV's columns; a vCard holds every field, and the window says so.
        QCOMPARE(w.list->isEnabled(), csv);
        QCOMPARE(w.selectAll->isEnabled(), csv);
        QCOMPARE(find<QLabel>(&w.form, "LblFormatFields")->isVisible(), !csv);
        const QList<int> barBefore{w.bar->maximum(), w.bar->value()};
        QTest::mouseClick(w.start, Qt::LeftButton);

        const QString folderTitle = csv               ? "Select Folder to Save CSV File"
                                    : ldif.size() > 1 ? "Select Folder to Save LDIF File"
                                                      : "Select Folder to Save vCard Files";
        QCOMPARE(fake.folderTitles, title == "Base DN" ? QStringList() : QStringList{folderTitle});
        QCOMPARE(fake.messages.size(), title.isEmpty() ? 0 : 1);
        if (!title.isEmpty()) {
            const QString text = fake.messages[0].text;
            message.replace(QStringLiteral("{file}"), exporting::exportFileIn(folder));
            QCOMPARE(fake.messages[0].title, title);
            QVERIFY2(text.startsWith(message) && text.contains(holds), qPrintable(text));
            if (holds.isEmpty())
                QCOMPARE(text.size() > message.size(), message.endsWith(QLatin1String("\n\n")));
        }
        const bool done = !written.isEmpty();
        const QString path = done ? QDir::toNativeSeparators(dir.filePath(written)) : QString();
        QCOMPARE(exporting::ExportFilePath, path);
        QCOMPARE(w.completions, done ? 1 : 0);
        QCOMPARE(w.start->isEnabled(), !done);
        QCOMPARE(w.label->isVisible(), done);
        QCOMPARE(w.icon->isVisible(), done);
        if (!done) {
            QCOMPARE((QList<int>{w.bar->maximum(), w.bar->value()}), barBefore);
            return;
        }
        if (failing.isEmpty())
            QCOMPARE((QList<int>{w.bar->maximum(), w.bar->value()}),
                     (QList<int>{int(client.people.size()), int(client.people.size())}));
        QVERIFY(QFileInfo::exists(path));
        if (!bytes.isEmpty())
            QCOMPARE(readBytes(path), bytes.toUtf8());
        // The label opens what was written, each time; the icon beside it opens nothing. A
        // second export needs a new window.
        QTest::mouseClick(w.icon, Qt::LeftButton);
        QTest::mouseClick(w.label, Qt::LeftButton);
        QTest::mouseClick(w.label, Qt::LeftButton);
        QCOMPARE(fake.opened, (QStringList{path, path}));
        QTest::mouseClick(w.start, Qt::LeftButton);
        QCOMPARE(fake.folderTitles.size(), 1);
    }

    // Clicks and keys that arrive while an export runs reach nothing, then or afterwards: no
    // second export starts and the ticks stay. Enter in the list starts nothing either (the window
    // has no default button), while Enter on the focused button presses it.
    void inputDuringExportIsDiscarded()
    {
        addPeople(*m_client, 2);
        QTemporaryDir dir;
        m_fake->folderAnswer = dir.path();
        Window *w = nullptr;
        bool sawRunning = false;
        const notes::SessionFactory inner = m_client->factory();
        Window window([&](const std::string &progId) {
            sawRunning = app::WalkRunner::running();
            postClick(w->start);
            postKey(w->list, Qt::Key_Space);
            postKey(w->list, Qt::Key_Return);
            return inner(progId);
        });
        w = &window;
        w->list->setCurrentRow(1);
        w->list->setFocus();
        QTest::keyClick(w->list, Qt::Key_Return);
        QVERIFY(m_fake->folderTitles.isEmpty());

        w->tick(QStringLiteral("+0"));
        QSignalSpy clicks(w->start, &QPushButton::clicked);
        w->start->setFocus();
        QTest::keyClick(w->start, Qt::Key_Enter, Qt::KeypadModifier);
        QCoreApplication::processEvents();
        QVERIFY(sawRunning);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(m_fake->folderTitles.size(), 1);
        QCOMPARE(w->ticks(), QStringLiteral("x") + QString(27, u'.'));
    }
};

QTEST_MAIN(TstWindows)
#include "tst_windows.moc"
