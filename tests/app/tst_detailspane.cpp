// The details pane: the five tabs and their panels, the boxes each panel holds, and what a click
// on a tree node shows in the header and the 42 boxes.
#include "ContactRecord.h"
#include "DetailsPane.h"
#include "FakePlatform.h"
#include "Find.h"
#include "FrmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

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

Q_DECLARE_METATYPE(notes::ContactRecord)

class TstDetailsPane final : public QObject {
    Q_OBJECT

    FakePlatform *m_fake = nullptr;
    FrmMain *m_window = nullptr;

    DetailsPane *pane() const { return m_window->detailsPane(); }

    QString box(const char *name) const
    {
        QWidget *w = find<QWidget>(m_window, name);
        if (auto *line = qobject_cast<QLineEdit *>(w))
            return line->text();
        return qobject_cast<QPlainTextEdit *>(w)->toPlainText();
    }

private slots:
    void init()
    {
        m_fake = new FakePlatform;
        m_window = new FrmMain;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup()
    {
        delete m_window;
        delete m_fake;
    }

    void tabs_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << 0 << "Business Address";
        QTest::newRow("2") << 1 << "Business Contact Information";
        QTest::newRow("3") << 2 << "Personal";
        QTest::newRow("4") << 3 << "Briefcase";
        QTest::newRow("5") << 4 << "Advanced";
    }

    void tabs()
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

        // A click on the tab, and again on the same tab, shows its panel alone.
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(tab).center());
            QCOMPARE(strip->currentIndex(), tab);
            for (int i = 0; i < kPanels.size(); ++i)
                QCOMPARE(find<QWidget>(m_window, qPrintable(kPanels[i]))->isVisible(), i == tab);
        }
        // The header and the name area stay whatever tab is chosen.
        for (const char *name : {"LblTopName", "txtFirstName", "txtMiddleName", "txtLastName",
                                 "txtTitle", "txtSuffix", "txtEmail"})
            QVERIFY2(find<QWidget>(m_window, name)->isVisible(), name);

        // A contact shown while on this tab fills the boxes of every panel; the tab stays.
        pane()->showContact(
            record({{0, "Ann"}, {6, "Acme"}, {17, "Carol"}, {37, "Met at the fair"}}));
        QCOMPARE(strip->currentIndex(), tab);
        QVERIFY(find<QWidget>(m_window, qPrintable(kPanels[tab]))->isVisible());
        QCOMPARE(box("txtComments"), QStringLiteral("Met at the fair"));
        strip->setCurrentIndex(tab == 0 ? 3 : 0);
        strip->setCurrentIndex(0);
        QCOMPARE(box("txtCompany"), QStringLiteral("Acme"));
        QCOMPARE(box("txtBusinessAssistant"), QStringLiteral("Carol"));
        QVERIFY(find<QWidget>(m_window, "txtBusinessAssistant")->isVisible());
    }

    void panelContents_data()
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
            << QStringList{"txtBusinessPhone",       "txtBusinessFax",
                           "txtBusinessCellPhone",   "txtBusinessPager",
                           "txtBusinessOtherEmail1", "txtBusinessOtherEmail2",
                           "txtBusinessOtherEmail3"}
            << QStringList{"Office Phone",  "Office Fax",    "Cell Phone",   "Pager",
                           "Other Email 1", "Other Email 2", "Other Email 3"};
        QTest::newRow("personal")
            << "FramePersonal"
            << QStringList{"txtHomeStreet",  "txtHomeCity",      "txtHomeState", "txtHomeZip",
                           "txtHomeCountry", "txtSpouse",        "txtChildren",  "txtHomePhone",
                           "txtHomeFax",     "txtHomeCellPhone", "txtBirthday",  "txtAnniversary"}
            << QStringList{"Street",   "City",       "State",    "Zip",
                           "Country",  "Spouse",     "Children", "Home Phone",
                           "Home Fax", "Cell Phone", "Birthday", "Anniversary"};
        QTest::newRow("briefcase")
            << "FrameBriefcase" << QStringList{"txtComments"} << QStringList{"Comments"};
        QTest::newRow("advanced") << "FrameAdvanced"
                                  << QStringList{"txtShortName", "txtPhoneticName", "txtMailDomain",
                                                 "txtCategories"}
                                  << QStringList{"Short Name", "Phonetic Name", "Mail Domain",
                                                 "Categories"};
    }

    void panelContents()
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

    void shows_data()
    {
        QTest::addColumn<notes::ContactRecord>("contact");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("boxes"); // "box=text"
        const auto row = [](const char *name, const notes::ContactRecord &r, const char *header,
                            const QStringList &boxes) {
            QTest::newRow(name) << r << QString(header) << boxes;
        };
        row("with middle", record({{0, "Ann"}, {1, "J"}, {2, "Lee"}}), "Ann J Lee",
            {"txtFirstName=Ann", "txtMiddleName=J", "txtLastName=Lee"});
        row("without middle", record({{0, "Ann"}, {2, "Lee"}}), "Ann Lee", {"txtMiddleName="});
        row("no first name keeps the space", record({{2, "Smith"}}), " Smith", {"txtFirstName="});
        row("nothing at all", record({}), " ", {"txtLastName="});
        row("spaces kept", record({{0, " anna"}, {2, "Lee "}}), " anna Lee ",
            {"txtFirstName= anna", "txtLastName=Lee "});
        // Only Suffix and Title treat "0" as none.
        row("zero suffix", record({{0, "Ann"}, {3, "0"}, {4, "Dr."}, {5, "0"}}), "Ann ",
            {"txtSuffix=", "txtTitle=Dr.", "txtEmail=0"});
        row("zero title", record({{0, "Ann"}, {3, "Jr."}, {4, "0"}, {5, "0"}}), "Ann ",
            {"txtSuffix=Jr.", "txtTitle=", "txtEmail=0"});
        row("two zeros stay", record({{0, "Ann"}, {3, "00"}, {4, " 0"}}), "Ann ",
            {"txtSuffix=00", "txtTitle= 0"});
        row("bar inside a value stays whole",
            record({{0, "Ann"}, {6, "Acme | Sons"}, {7, "Boss"}, {41, "Red|Blue"}}), "Ann ",
            {"txtCompany=Acme | Sons", "txtJobTitle=Boss", "txtCategories=Red|Blue"});
    }

    void shows()
    {
        QFETCH(notes::ContactRecord, contact);
        QFETCH(QString, header);
        QFETCH(QStringList, boxes);
        auto *card = find<QLabel>(m_window, "ImgContact");
        auto *name = find<QLabel>(m_window, "LblTopName");
        QVERIFY(!card->isVisible());
        QVERIFY(name->text().isEmpty());

        // Shown after a contact that fills every box, so an empty box is one that was emptied.
        notes::ContactRecord full;
        full.fields.fill("earlier");
        pane()->showContact(full);
        pane()->showContact(contact);
        QCOMPARE(name->text(), header);
        QVERIFY(card->isVisible());
        QCOMPARE(card->size(), QSize(28, 28));
        for (const QString &expected : boxes) {
            const QString box = expected.section('=', 0, 0);
            QCOMPARE(box + '=' + this->box(qPrintable(box)), expected);
        }
    }
};

QTEST_MAIN(TstDetailsPane)
#include "tst_detailspane.moc"
