// SPDX-License-Identifier: GPL-3.0-or-later
// Layout and filling of the details pane. Positions are pixels inside the 465 by 457 pane.
#include "browser/DetailsPane.h"

#include "browser/Artwork.h"
#include "browser/TabStrip.h"
#include "notes/ContactRecord.h"
#include "support/Look.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

namespace browser {

namespace {

using notes::field;

// The fields the layout places by name.
constexpr int First = field("FirstName");
constexpr int Middle = field("MiddleInitial");
constexpr int Last = field("LastName");
constexpr int Suffix = field("Suffix");
constexpr int Title = field("Title");
constexpr int Email = field("MailAddress");
constexpr int Company = field("CompanyName");
constexpr int JobTitle = field("JobTitle");
constexpr int HomeStreet = field("StreetAddress");
constexpr int HomeCell = field("PersPager");
constexpr int Birthday = field("Birthday");
constexpr int Anniversary = field("Anniversary");
constexpr int Comments = field("Comment");

// Pairs of boxes on one row, left and right.
using Pair = std::array<int, 2>;
constexpr std::array<Pair, 5> kBusinessPairs{{
    {field("OfficeStreetAddress"), field("OfficeCity")},
    {field("OfficeZip"), field("OfficeState")},
    {field("OfficeCountry"), field("Location")},
    {field("WebSite"), field("Department")},
    {field("Manager"), field("Assistant")},
}};
constexpr std::array<Pair, 4> kHomePairs{{
    {field("City"), field("State")},
    {field("Zip"), field("Country")},
    {field("Spouse"), field("Children")},
    {field("PhoneNumber"), field("HomeFAXPhoneNumber")},
}};
// One box a row.
constexpr std::array<int, 7> kContactColumn{
    field("OfficePhoneNumber"), field("OfficeFAXPhoneNumber"), field("CellPhoneNumber"),
    field("PhoneNumber_6"),     field("MiscPhone1"),           field("MiscPhone2"),
    field("MiscPhone3")};
constexpr std::array<int, 4> kAdvancedColumn{field("ShortName"), field("AltFullNameSort"),
                                             field("MailDomain"), field("Categories")};

constexpr int kRowHeight = 21;
constexpr int kRowPitch = 27;

// Panels sit on the page under the tabs.
constexpr int kPanelLeft = 10;
constexpr int kPanelTop = 162;
constexpr int kPanelWidth = 445;
constexpr int kPanelHeight = 284;

// Two-column rows inside a panel: label and box on the left, label and box on the right.
constexpr int kLeftLabel = 6;
constexpr int kLeftBox = 72;
constexpr int kLeftBoxWidth = 148;
constexpr int kRightLabel = 228;
constexpr int kRightBox = 292;
constexpr int kRightBoxWidth = 145;
constexpr int kFullBoxWidth = kRightBox + kRightBoxWidth - kLeftBox;

} // namespace

DetailsPane::DetailsPane(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("FrameContacts"));
    setTitle(QStringLiteral("Notes Contacts Details"));
    setFont(support::look::tahoma());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, support::look::ole(support::look::kWindowColour));
    setPalette(pal);

    buildHeader();
    buildNameArea();
    buildTabs();
    showPanel(1);
}

void DetailsPane::buildHeader()
{
    m_imgContact = new QLabel(this);
    m_imgContact->setObjectName(QStringLiteral("ImgContact"));
    m_imgContact->setGeometry(10, 20, 28, 28);
    m_imgContact->setPixmap(
        artwork::pixmap(QString::fromLatin1(artwork::kContactCard), QSize(28, 28)));
    m_imgContact->hide();

    m_topName = new QLabel(this);
    m_topName->setObjectName(QStringLiteral("LblTopName"));
    m_topName->setGeometry(44, 23, 411, 24);
    m_topName->setFont(support::look::trebuchet(11.25, true));
    m_topName->setTextFormat(Qt::PlainText);
}

void DetailsPane::buildNameArea()
{
    const int row1 = 56;
    const int row2 = row1 + 25;
    const int row3 = row2 + 25;
    makeBox(this, First, QRect(46, row1, 110, kRowHeight), QRect(10, row1, 34, kRowHeight));
    makeBox(this, Middle, QRect(206, row1, 80, kRowHeight), QRect(164, row1, 40, kRowHeight));
    makeBox(this, Last, QRect(322, row1, 133, kRowHeight), QRect(294, row1, 26, kRowHeight));
    makeBox(this, Title, QRect(46, row2, 110, kRowHeight), QRect(10, row2, 34, kRowHeight));
    makeBox(this, Suffix, QRect(206, row2, 80, kRowHeight), QRect(164, row2, 40, kRowHeight));
    QWidget *email =
        makeBox(this, Email, QRect(46, row3, 409, kRowHeight), QRect(10, row3, 34, kRowHeight));
    QPalette pal = email->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 128));
    email->setPalette(pal);
}

void DetailsPane::buildTabs()
{
    m_tabStrip = new TabStrip(this);
    m_tabStrip->setObjectName(QStringLiteral("TabStrip1"));
    m_tabStrip->setExpanding(false);
    m_tabStrip->setUsesScrollButtons(false);
    m_tabStrip->setDrawBase(false);
    for (const char *caption :
         {"Business Address", "Business Contact Information", "Personal", "Briefcase", "Advanced"})
        m_tabStrip->addTab(QString::fromLatin1(caption));
    m_tabStrip->setGeometry(8, 136, 449, 24);

    // The page the panels lie on, framed like the page of a tab control.
    auto *page = new QFrame(this);
    page->setFrameShape(QFrame::StyledPanel);
    page->setGeometry(8, 159, 449, kPanelHeight + 6);
    page->lower();

    const auto leftRow = [](int y) { return QRect(kLeftBox, y, kLeftBoxWidth, kRowHeight); };
    const auto leftLabel = [](int y) { return QRect(kLeftLabel, y, 64, kRowHeight); };
    const auto rightRow = [](int y) { return QRect(kRightBox, y, kRightBoxWidth, kRowHeight); };
    const auto rightLabel = [](int y) { return QRect(kRightLabel, y, 62, kRowHeight); };
    const auto fullRow = [](int y) { return QRect(kLeftBox, y, kFullBoxWidth, kRowHeight); };

    // Business Address: company (two lines), job title, then five rows of pairs.
    QFrame *business = makePanel("FrameBusinessAddress", kPanelHeight);
    makeBox(business, Company, QRect(kLeftBox, 8, kFullBoxWidth, 40), leftLabel(8));
    makeBox(business, JobTitle, fullRow(54), leftLabel(54));
    int y = 54 + kRowPitch;
    for (const Pair &pair : kBusinessPairs) {
        makeBox(business, pair[0], leftRow(y), leftLabel(y));
        makeBox(business, pair[1], rightRow(y), rightLabel(y));
        y += kRowPitch;
    }

    // Business Contact Information: one column; this panel is a little shorter than the rest.
    QFrame *contact = makePanel("FrameBusinessContactInfo", kPanelHeight - 8);
    y = 8;
    for (const int position : kContactColumn) {
        makeBox(contact, position, QRect(100, y, 337, kRowHeight),
                QRect(kLeftLabel, y, 92, kRowHeight));
        y += kRowPitch;
    }

    // Personal: street (two lines), pairs, the cell phone across, then the dates.
    QFrame *personal = makePanel("FramePersonal", kPanelHeight);
    makeBox(personal, HomeStreet, QRect(kLeftBox, 8, kFullBoxWidth, 40), leftLabel(8));
    y = 54;
    for (const Pair &pair : kHomePairs) {
        makeBox(personal, pair[0], leftRow(y), leftLabel(y));
        makeBox(personal, pair[1], rightRow(y), rightLabel(y));
        y += kRowPitch;
    }
    makeBox(personal, HomeCell, fullRow(y), leftLabel(y));
    y += kRowPitch;
    makeBox(personal, Birthday, leftRow(y), leftLabel(y));
    makeBox(personal, Anniversary, rightRow(y), rightLabel(y));

    // Briefcase: the caption above one large box.
    QFrame *briefcase = makePanel("FrameBriefcase", kPanelHeight);
    makeBox(briefcase, Comments, QRect(kLeftLabel, 28, kPanelWidth - 14, kPanelHeight - 36),
            QRect(kLeftLabel, 6, 120, 18));

    // Advanced: one column.
    QFrame *advanced = makePanel("FrameAdvanced", kPanelHeight);
    y = 8;
    for (const int position : kAdvancedColumn) {
        makeBox(advanced, position, QRect(100, y, 337, kRowHeight),
                QRect(kLeftLabel, y, 92, kRowHeight));
        y += kRowPitch;
    }

    m_panels = {business, contact, personal, briefcase, advanced};
}

QFrame *DetailsPane::makePanel(const char *name, int height)
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);
    panel->setGeometry(kPanelLeft, kPanelTop, kPanelWidth, height);
    return panel;
}

QWidget *DetailsPane::makeBox(QWidget *parent, int position, const QRect &geometry,
                              const QRect &labelGeometry)
{
    const notes::FieldSpec &spec = notes::kFields[std::size_t(position)];
    QWidget *box = nullptr;
    if (spec.multiLine) {
        auto *edit = new QPlainTextEdit(parent);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setTabChangesFocus(true);
        box = edit;
    } else {
        box = new QLineEdit(parent);
    }
    box->setObjectName(QString::fromLatin1(spec.box));
    box->setGeometry(geometry);

    auto *label = new QLabel(QString::fromLatin1(spec.label), parent);
    label->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(spec.box + 3));
    label->setGeometry(labelGeometry);
    label->setAlignment(position == Comments ? Qt::AlignLeft | Qt::AlignBottom
                                             : Qt::AlignLeft | Qt::AlignVCenter);
    label->setBuddy(box);

    m_boxes[std::size_t(position)] = box;
    return box;
}

QFrame *DetailsPane::panel(int index) const
{
    if (index < 1 || index > kPanelCount)
        return nullptr;
    return m_panels[std::size_t(index) - 1];
}

QWidget *DetailsPane::box(int position) const
{
    if (position < 0 || position >= notes::kFieldCount)
        return nullptr;
    return m_boxes[std::size_t(position)];
}

void DetailsPane::setBoxText(int position, const QString &text)
{
    QWidget *widget = box(position);
    if (auto *line = qobject_cast<QLineEdit *>(widget)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto *multi = qobject_cast<QPlainTextEdit *>(widget)) {
        multi->setPlainText(text);
    }
}

void DetailsPane::showPanel(int index)
{
    if (index < 1 || index > kPanelCount)
        return;
    for (int i = 1; i <= kPanelCount; ++i)
        m_panels[std::size_t(i) - 1]->setVisible(i == index);
}

void DetailsPane::showContact(const notes::ContactRecord &record)
{
    m_imgContact->show();
    m_topName->setText(QString::fromStdString(record.headerName()));
    for (int position = 0; position < notes::kFieldCount; ++position) {
        QString text = QString::fromStdString(record.fields[std::size_t(position)]);
        // A Suffix or Title of "0" is what some address books store for "none".
        if ((position == Suffix || position == Title) && text == QLatin1String("0"))
            text.clear();
        setBoxText(position, text);
    }
}

QList<QWidget *> DetailsPane::keyboardOrder() const
{
    QList<QWidget *> order;
    const auto add = [&](int position) { order << m_boxes[std::size_t(position)]; };
    for (const int position : {First, Middle, Last, Title, Suffix, Email})
        add(position);
    order << m_tabStrip;
    // Panel by panel, each read across its rows as laid out.
    add(Company);
    add(JobTitle);
    for (const Pair &pair : kBusinessPairs) {
        add(pair[0]);
        add(pair[1]);
    }
    for (const int position : kContactColumn)
        add(position);
    add(HomeStreet);
    for (const Pair &pair : kHomePairs) {
        add(pair[0]);
        add(pair[1]);
    }
    for (const int position : {HomeCell, Birthday, Anniversary, Comments})
        add(position);
    for (const int position : kAdvancedColumn)
        add(position);
    return order;
}

} // namespace browser
