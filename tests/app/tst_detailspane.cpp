// SPDX-License-Identifier: GPL-3.0-or-later
// The details pane: the five tabs and their panels, and what a contact shown puts in the header
// and the boxes.
#include "FakePlatform.h"
#include "Find.h"
#include "app/FrmMain.h"
#include "browser/DetailsPane.h"
#include "notes/ContactRecord.h"

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
    app::FrmMain *m_window = nullptr;

    browser::DetailsPane *pane() const { return m_window->detailsPane(); }

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
        m_window = new app::FrmMain;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup()
    {
        delete m_window;
        delete m_fake;
    }

    // A click on a tab, and again on the same tab, shows its panel alone; a contact shown
    // meanwhile fills the boxes of every panel and the tab stays.
    void tabs()
    {
        auto *strip = find<QTabBar>(m_window, "TabStrip1");
        QCOMPARE(qsizetype(strip->count()), kPanels.size());
        QVERIFY(find<QWidget>(m_window, "FrameBusinessAddress")->isVisible());
        for (int tab = 0; tab < kPanels.size(); ++tab) {
            for (int click = 0; click < 2; ++click) {
                QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(tab).center());
                QCOMPARE(strip->currentIndex(), tab);
                for (int i = 0; i < kPanels.size(); ++i)
                    QCOMPARE(find<QWidget>(m_window, qPrintable(kPanels[i]))->isVisible(),
                             i == tab);
            }
            QVERIFY(find<QWidget>(m_window, "txtFirstName")->isVisible());
        }
        pane()->showContact(record({{6, "Acme"}, {37, "Met at the fair"}}));
        QCOMPARE(qsizetype(strip->currentIndex()), kPanels.size() - 1);
        QCOMPARE(box("txtComments"), QStringLiteral("Met at the fair"));
        QCOMPARE(box("txtCompany"), QStringLiteral("Acme"));
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(0).center());
        QVERIFY(find<QWidget>(m_window, "txtCompany")->isVisible());
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
        row("spaces kept", record({{0, " anna"}, {2, "Lee "}}), " anna Lee ",
            {"txtFirstName= anna", "txtMiddleName=", "txtLastName=Lee "});
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
        for (const QString &expected : boxes) {
            const QString box = expected.section('=', 0, 0);
            QCOMPARE(box + '=' + this->box(qPrintable(box)), expected);
        }
    }
};

QTEST_MAIN(TstDetailsPane)
#include "tst_detailspane.moc"
