// The details pane: the five tabs and their panels, the boxes each panel holds, and what a click
// on a tree node shows in the header and the 42 boxes.
#include "ContactRecord.h"
#include "ContactTree.h"
#include "FakePlatform.h"
#include "Find.h"
#include "FrmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

class TstDetailsPane final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tabs_data();
    void tabs();
    void panelContents_data();
    void panelContents();
    void panelsShareThePage();
    void sameTabAgain();
    void valuesSurviveSwitching();

    void headerName_data();
    void headerName();
    void zeroMeansNone_data();
    void zeroMeansNone();
    void typingLastsUntilShownAgain();
    void barInsideValueStaysWhole();
    void shortRecordShowsEmpty();
    void rootAndGroupsLeavePane_data();
    void rootAndGroupsLeavePane();
    void filledWhateverTab();

private:
    void click(QTreeWidgetItem *node);
    QTreeWidgetItem *addContact(const notes::ContactRecord &record);
    QString box(const char *name) const;

    FakePlatform *m_fake = nullptr;
    FrmMain *m_window = nullptr;
    int m_contacts = 0;
};

namespace {

const QStringList kPanels{"FrameBusinessAddress", "FrameBusinessContactInfo", "FramePersonal",
                          "FrameBriefcase", "FrameAdvanced"};

notes::ContactRecord record(std::initializer_list<std::pair<int, const char *>> values)
{
    notes::ContactRecord r;
    for (const auto &[field, text] : values)
        r.fields[std::size_t(field)] = text;
    return r;
}

} // namespace

void TstDetailsPane::init()
{
    m_fake = new FakePlatform;
    m_window = new FrmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TstDetailsPane::cleanup()
{
    delete m_window;
    delete m_fake;
    m_contacts = 0;
}

void TstDetailsPane::click(QTreeWidgetItem *node)
{
    ContactTree *tree = m_window->contactTree();
    if (node->parent())
        node->parent()->setExpanded(true);
    tree->scrollToItem(node);
    const QRect at = tree->visualItemRect(node);
    QVERIFY(at.isValid());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at.center());
}

QTreeWidgetItem *TstDetailsPane::addContact(const notes::ContactRecord &r)
{
    ++m_contacts;
    return m_window->contactTree()->addContact(
        QStringLiteral("U%1-N%1").arg(m_contacts), QString::fromStdString(r.groupKey()),
        QString::fromStdString(r.displayName()), QString::fromStdString(r.encode()));
}

QString TstDetailsPane::box(const char *name) const
{
    QWidget *w = find<QWidget>(m_window, name);
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->text();
    return qobject_cast<QPlainTextEdit *>(w)->toPlainText();
}

void TstDetailsPane::tabs_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("caption");
    QTest::newRow("1") << 0 << "Business Address";
    QTest::newRow("2") << 1 << "Business Contact Information";
    QTest::newRow("3") << 2 << "Personal";
    QTest::newRow("4") << 3 << "Briefcase";
    QTest::newRow("5") << 4 << "Advanced";
}

void TstDetailsPane::tabs()
{
    QFETCH(int, tab);
    QFETCH(QString, caption);
    auto *strip = find<QTabBar>(m_window, "TabStrip1");
    QCOMPARE(strip->count(), 5);
    QCOMPARE(strip->tabText(tab), caption);
    // Every caption is fully on show.
    QVERIFY(strip->tabRect(tab).right() < strip->width());

    // At start-up the first panel shows.
    QCOMPARE(strip->currentIndex(), 0);
    QVERIFY(find<QWidget>(m_window, "FrameBusinessAddress")->isVisible());

    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(tab).center());
    QCOMPARE(strip->currentIndex(), tab);
    for (int i = 0; i < kPanels.size(); ++i)
        QCOMPARE(find<QWidget>(m_window, qPrintable(kPanels[i]))->isVisible(), i == tab);
    // The header and the name area stay whatever tab is chosen.
    for (const char *name : {"LblTopName", "txtFirstName", "txtMiddleName", "txtLastName",
                             "txtTitle", "txtSuffix", "txtEmail"})
        QVERIFY2(find<QWidget>(m_window, name)->isVisible(), name);
}

void TstDetailsPane::panelContents_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("business address")
        << "FrameBusinessAddress"
        << QStringList{"txtCompany",         "txtJobTitle",         "txtBusinessStreet",
                       "txtBusinessCity",    "txtBusinessZip",      "txtBusinessState",
                       "txtBusinessCountry", "txtBusinessLocation", "txtBusinessWebpage",
                       "txtBusinessDept",    "txtBusinessManager",  "txtBusinessAssistant"}
        << QStringList{"Company", "Job Title", "Street",   "City", "Zip",     "State",
                       "Country", "Location",  "Web Page", "Dept", "Manager", "Assistant"};
    QTest::newRow("business contact")
        << "FrameBusinessContactInfo"
        << QStringList{"txtBusinessPhone",      "txtBusinessFax",         "txtBusinessCellPhone",
                       "txtBusinessPager",      "txtBusinessOtherEmail1", "txtBusinessOtherEmail2",
                       "txtBusinessOtherEmail3"}
        << QStringList{"Office Phone",  "Office Fax",    "Cell Phone",   "Pager",
                       "Other Email 1", "Other Email 2", "Other Email 3"};
    QTest::newRow("personal") << "FramePersonal"
                              << QStringList{"txtHomeStreet",    "txtHomeCity",    "txtHomeState",
                                             "txtHomeZip",       "txtHomeCountry", "txtSpouse",
                                             "txtChildren",      "txtHomePhone",   "txtHomeFax",
                                             "txtHomeCellPhone", "txtBirthday",    "txtAnniversary"}
                              << QStringList{"Street",   "City",       "State",    "Zip",
                                             "Country",  "Spouse",     "Children", "Home Phone",
                                             "Home Fax", "Cell Phone", "Birthday", "Anniversary"};
    QTest::newRow("briefcase") << "FrameBriefcase" << QStringList{"txtComments"}
                               << QStringList{"Comments"};
    QTest::newRow("advanced") << "FrameAdvanced"
                              << QStringList{"txtShortName", "txtPhoneticName", "txtMailDomain",
                                             "txtCategories"}
                              << QStringList{"Short Name", "Phonetic Name", "Mail Domain",
                                             "Categories"};
}

void TstDetailsPane::panelContents()
{
    QFETCH(QString, panel);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, captions);

    auto *frame = find<QWidget>(m_window, qPrintable(panel));
    QStringList held;
    QMap<QString, QString> captionOf;
    for (QObject *child : frame->children()) {
        if (auto *label = qobject_cast<QLabel *>(child)) {
            QVERIFY(label->buddy());
            captionOf[label->buddy()->objectName()] = label->text();
        } else if (child->objectName().startsWith(QLatin1String("txt"))) {
            held << child->objectName();
        }
    }
    QStringList sortedBoxes = boxes;
    sortedBoxes.sort();
    held.sort();
    QCOMPARE(held, sortedBoxes);
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        QCOMPARE(captionOf.value(boxes[i]), captions[i]);
        // A label stands to the left of its box, except the caption above the comments.
        const QWidget *box = frame->findChild<QWidget *>(boxes[i]);
        const bool multiLine = qobject_cast<const QPlainTextEdit *>(box) != nullptr;
        QCOMPARE(multiLine, boxes[i] == "txtCompany" || boxes[i] == "txtHomeStreet" ||
                                boxes[i] == "txtComments");
        QVERIFY(frame->rect().contains(box->geometry()));
    }
    // Keyboard order reads the panel row by row, as listed.
    for (qsizetype i = 1; i < boxes.size(); ++i) {
        QWidget *w = frame->findChild<QWidget *>(boxes[i - 1])->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->objectName().startsWith("txt"))
            w = w->nextInFocusChain();
        QCOMPARE(w->objectName(), boxes[i]);
    }
}

void TstDetailsPane::panelsShareThePage()
{
    const QRect first = find<QWidget>(m_window, "FrameBusinessAddress")->geometry();
    for (const QString &name : kPanels) {
        auto *panel = find<QWidget>(m_window, qPrintable(name));
        QCOMPARE(panel->parentWidget()->objectName(), QStringLiteral("FrameContacts"));
        QCOMPARE(panel->geometry().topLeft(), first.topLeft());
        QCOMPARE(panel->width(), first.width());
        if (name == QLatin1String("FrameBusinessContactInfo"))
            QVERIFY(panel->height() < first.height());
        else
            QCOMPARE(panel->height(), first.height());
        QCOMPARE(panel->palette().color(QPalette::Window), QColor(Qt::white));
        // Below the tab captions.
        QVERIFY(panel->y() >= find<QTabBar>(m_window, "TabStrip1")->geometry().bottom());
    }
}

void TstDetailsPane::sameTabAgain()
{
    auto *strip = find<QTabBar>(m_window, "TabStrip1");
    strip->setCurrentIndex(2);
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(2).center());
    QVERIFY(find<QWidget>(m_window, "FramePersonal")->isVisible());
    QVERIFY(!find<QWidget>(m_window, "FrameBusinessAddress")->isVisible());
}

void TstDetailsPane::valuesSurviveSwitching()
{
    auto *strip = find<QTabBar>(m_window, "TabStrip1");
    click(addContact(record({{0, "Ann"}, {6, "Acme"}, {17, "Carol"}})));
    strip->setCurrentIndex(3);
    QVERIFY(find<QWidget>(m_window, "txtComments")->isVisible());
    QVERIFY(!find<QWidget>(m_window, "txtCompany")->isVisible());
    strip->setCurrentIndex(0);
    QCOMPARE(box("txtCompany"), QStringLiteral("Acme"));
    QCOMPARE(box("txtBusinessAssistant"), QStringLiteral("Carol"));
    QVERIFY(find<QWidget>(m_window, "txtBusinessAssistant")->isVisible());
}

void TstDetailsPane::headerName_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("header");
    QTest::newRow("with middle") << "Ann"
                                 << "J"
                                 << "Lee"
                                 << "Ann J Lee";
    QTest::newRow("without middle") << "Ann"
                                    << ""
                                    << "Lee"
                                    << "Ann Lee";
    QTest::newRow("no first name keeps the space") << ""
                                                   << ""
                                                   << "Smith"
                                                   << " Smith";
    QTest::newRow("nothing at all") << ""
                                    << ""
                                    << ""
                                    << " ";
    QTest::newRow("spaces kept") << " anna"
                                 << ""
                                 << "Lee "
                                 << " anna Lee ";
}

void TstDetailsPane::headerName()
{
    QFETCH(QString, first);
    QFETCH(QString, middle);
    QFETCH(QString, last);
    QFETCH(QString, header);
    auto *card = find<QLabel>(m_window, "ImgContact");
    auto *name = find<QLabel>(m_window, "LblTopName");
    QVERIFY(!card->isVisible());
    QVERIFY(name->text().isEmpty());

    notes::ContactRecord r;
    r.fields[0] = first.toStdString();
    r.fields[1] = middle.toStdString();
    r.fields[2] = last.toStdString();
    click(addContact(r));
    QCOMPARE(name->text(), header);
    QVERIFY(card->isVisible());
    QCOMPARE(card->size(), QSize(28, 28));
}

void TstDetailsPane::zeroMeansNone_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownSuffix");
    QTest::addColumn<QString>("shownTitle");
    QTest::newRow("zero suffix") << "0"
                                 << "Dr."
                                 << ""
                                 << "Dr.";
    QTest::newRow("zero title") << "Jr."
                                << "0"
                                << "Jr."
                                << "";
    QTest::newRow("two zeros stay") << "00"
                                    << " 0"
                                    << "00"
                                    << " 0";
}

void TstDetailsPane::zeroMeansNone()
{
    QFETCH(QString, suffix);
    QFETCH(QString, title);
    QFETCH(QString, shownSuffix);
    QFETCH(QString, shownTitle);
    notes::ContactRecord r;
    r.fields[0] = "Ann";
    r.fields[3] = suffix.toStdString();
    r.fields[4] = title.toStdString();
    // Only Suffix and Title treat "0" as none.
    r.fields[5] = "0";
    click(addContact(r));
    QCOMPARE(box("txtSuffix"), shownSuffix);
    QCOMPARE(box("txtTitle"), shownTitle);
    QCOMPARE(box("txtEmail"), QStringLiteral("0"));
}

void TstDetailsPane::typingLastsUntilShownAgain()
{
    QTreeWidgetItem *node = addContact(record({{0, "Ann"}}));
    click(node);
    auto *first = find<QLineEdit>(m_window, "txtFirstName");
    first->setFocus();
    QTest::keyClicks(first, "xyz");
    QVERIFY(first->text() != QLatin1String("Ann"));
    click(node);
    QCOMPARE(first->text(), QStringLiteral("Ann"));
}

void TstDetailsPane::barInsideValueStaysWhole()
{
    click(addContact(record({{0, "Ann"}, {6, "Acme | Sons"}, {7, "Boss"}, {41, "Red|Blue"}})));
    QCOMPARE(box("txtCompany"), QStringLiteral("Acme | Sons"));
    QCOMPARE(box("txtJobTitle"), QStringLiteral("Boss"));
    QCOMPARE(box("txtCategories"), QStringLiteral("Red|Blue"));
}

void TstDetailsPane::shortRecordShowsEmpty()
{
    click(addContact(record({{0, "Ann"}, {2, "Lee"}, {5, "ann@x"}})));
    // A record written with fewer fields (not by a scan): the missing ones show empty.
    QTreeWidgetItem *node =
        m_window->contactTree()->addContact("short", "B", "Bob", QStringLiteral("Bob||Brown"));
    click(node);
    QCOMPARE(box("txtFirstName"), QStringLiteral("Bob"));
    QCOMPARE(box("txtLastName"), QStringLiteral("Brown"));
    QCOMPARE(box("txtEmail"), QString());
    QCOMPARE(find<QLabel>(m_window, "LblTopName")->text(), QStringLiteral("Bob Brown"));
}

void TstDetailsPane::rootAndGroupsLeavePane_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("contactFirst");
    QTest::newRow("root before") << "Lotus Notes Address Book" << false;
    QTest::newRow("group before") << "M" << false;
    QTest::newRow("Other before") << "Other" << false;
    QTest::newRow("root after") << "Lotus Notes Address Book" << true;
    QTest::newRow("group after") << "A" << true;
}

void TstDetailsPane::rootAndGroupsLeavePane()
{
    QFETCH(QString, key);
    QFETCH(bool, contactFirst);
    if (contactFirst)
        click(addContact(record({{0, "Ann"}, {2, "Lee"}, {37, "note"}})));
    click(m_window->contactTree()->node(key));
    QCOMPARE(find<QLabel>(m_window, "ImgContact")->isVisible(), contactFirst);
    QCOMPARE(find<QLabel>(m_window, "LblTopName")->text(),
             contactFirst ? QStringLiteral("Ann Lee") : QString());
    QCOMPARE(box("txtFirstName"), contactFirst ? QStringLiteral("Ann") : QString());
    QCOMPARE(box("txtComments"), contactFirst ? QStringLiteral("note") : QString());
}

void TstDetailsPane::filledWhateverTab()
{
    auto *strip = find<QTabBar>(m_window, "TabStrip1");
    strip->setCurrentIndex(3);
    click(addContact(record({{0, "Ann"}, {37, "Met at the fair"}, {38, "alee"}})));
    QCOMPARE(strip->currentIndex(), 3);
    QVERIFY(find<QWidget>(m_window, "FrameBriefcase")->isVisible());
    QCOMPARE(box("txtComments"), QStringLiteral("Met at the fair"));
    QCOMPARE(box("txtShortName"), QStringLiteral("alee"));
}

QTEST_MAIN(TstDetailsPane)
#include "tst_detailspane.moc"
