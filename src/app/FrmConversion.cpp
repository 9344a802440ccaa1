// SPDX-License-Identifier: GPL-3.0-or-later
// The "Export Options" window (see FrmConversion.h).
#include "app/FrmConversion.h"

#include "app/ChooseFolder.h"
#include "app/WalkRunner.h"
#include "export/ExportFilePath.h"
#include "export/ExportJob.h"
#include "export/WalkMessages.h"
#include "export/format/LdifText.h"
#include "notes/FieldSchema.h"
#include "platform/Platform.h"
#include "support/ClickLabel.h"
#include "support/EnterPresses.h"
#include "support/Look.h"
#include "support/OpenInShell.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>
#include <vector>

namespace app {

namespace {

const QColor kBackground = support::look::ole(support::look::kWindowColour);
const QColor kLinkBlue(0x00, 0x00, 0xFF);
const QColor kSeparatorGrey(0xC0, 0xC0, 0xC0);

using exporting::kDoneTitle;
using exporting::kNotesTitle;

struct BarState {
    int minimum = 0;
    int maximum = 0;
    int value = 0;
};

} // namespace

FrmConversion::FrmConversion(QWidget *owner, const QString &databasePath,
                             notes::SessionFactory factory, std::function<void()> exportCompleted)
    : QDialog(owner), m_databasePath(databasePath), m_factory(std::move(factory)),
      m_exportCompleted(std::move(exportCompleted))
{
    setObjectName(QStringLiteral("FrmConversion"));
    setWindowTitle(QStringLiteral("Export Options"));
    setModal(true);

    QPalette background = palette();
    background.setColor(QPalette::Window, kBackground);
    setPalette(background);
    setAutoFillBackground(true);

    buildFormatChoice();
    m_label1 = new QLabel(QStringLiteral("Select the fields you wish to export:"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));

    m_chkSelectAll = new QCheckBox(QStringLiteral("Select &All"), this);
    m_chkSelectAll->setObjectName(QStringLiteral("ChkSelectAll"));

    m_lstContactsField = new QListWidget(this);
    m_lstContactsField->setObjectName(QStringLiteral("LstContactsField"));
    m_lstContactsField->setSortingEnabled(false);
    for (const notes::ExportColumn &field : notes::kExportColumns) {
        auto *item = new QListWidgetItem(QString::fromUtf8(field.caption), m_lstContactsField);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_lstContactsField->setMinimumHeight(m_lstContactsField->sizeHintForRow(0) * 14 + 4);

    m_progBarSave = new QProgressBar(this);
    m_progBarSave->setObjectName(QStringLiteral("ProgBarSave"));
    m_progBarSave->setRange(0, 100);
    m_progBarSave->setValue(0);
    m_progBarSave->setTextVisible(false);

    m_imgOpenExcelFile = new QLabel(this);
    m_imgOpenExcelFile->setObjectName(QStringLiteral("ImgOpenExcelFile"));
    m_imgOpenExcelFile->setPixmap(
        QIcon(QStringLiteral(":/export/open-export.png")).pixmap(QSize(16, 16)));
    m_imgOpenExcelFile->setFixedSize(16, 16);
    m_imgOpenExcelFile->hide();

    m_lblOpenExcelFile =
        new support::ClickLabel(QStringLiteral("Open Exported Contacts File"), this);
    m_lblOpenExcelFile->setObjectName(QStringLiteral("LblOpenExcelFile"));
    QFont bold = m_lblOpenExcelFile->font();
    bold.setBold(true);
    m_lblOpenExcelFile->setFont(bold);
    QPalette link = m_lblOpenExcelFile->palette();
    link.setColor(QPalette::WindowText, kLinkBlue);
    m_lblOpenExcelFile->setPalette(link);
    m_lblOpenExcelFile->setCursor(Qt::PointingHandCursor);
    m_lblOpenExcelFile->hide();

    m_line1 = new QFrame(this);
    m_line1->setObjectName(QStringLiteral("Line1"));
    m_line1->setFrameShape(QFrame::NoFrame);
    m_line1->setFixedHeight(1);
    QPalette grey = m_line1->palette();
    grey.setColor(QPalette::Window, kSeparatorGrey);
    m_line1->setPalette(grey);
    m_line1->setAutoFillBackground(true);

    m_cmdConversion = new QPushButton(QStringLiteral("&Start Conversion >"), this);
    m_cmdConversion->setObjectName(QStringLiteral("CmdConversion"));
    // The window has no default button: Enter in the field list must not start an export (Enter
    // on the focused button does, see pressButtonsOnEnter()).
    m_cmdConversion->setAutoDefault(false);

    auto *openRow = new QHBoxLayout;
    openRow->setSpacing(4);
    openRow->addWidget(m_imgOpenExcelFile);
    openRow->addWidget(m_lblOpenExcelFile);
    openRow->addStretch();

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_cmdConversion);

    auto *formatRow = new QHBoxLayout;
    formatRow->addWidget(m_lblFormat);
    formatRow->addWidget(m_cboFormat, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(formatRow);
    layout->addWidget(m_ldifOptions);
    layout->addWidget(m_lblFormatFields);
    layout->addWidget(m_label1);
    layout->addWidget(m_chkSelectAll);
    layout->addWidget(m_lstContactsField, 1);
    layout->addWidget(m_progBarSave);
    // The row keeps its height while the label is hidden, so nothing moves when it appears.
    auto *openHolder = new QWidget(this);
    openHolder->setLayout(openRow);
    openRow->setContentsMargins(0, 0, 0, 0);
    openHolder->setMinimumHeight(m_lblOpenExcelFile->sizeHint().height());
    layout->addWidget(openHolder);
    layout->addWidget(m_line1);
    layout->addLayout(buttonRow);
    resize(340, 460);

    // Tab order as the window's controls are numbered: the button, then the list, then the box
    // (the labels and the bar take no focus).
    setTabOrder(m_cmdConversion, m_lstContactsField);
    setTabOrder(m_lstContactsField, m_chkSelectAll);
    setTabOrder(m_chkSelectAll, m_cboFormat);
    setTabOrder(m_cboFormat, m_cboLdifForm);
    setTabOrder(m_cboLdifForm, m_txtBaseDn);
    m_cmdConversion->setFocus();

    connect(m_cboFormat, &QComboBox::currentIndexChanged, this, &FrmConversion::CboFormat_Change);
    connect(m_cboLdifForm, &QComboBox::currentIndexChanged, this,
            &FrmConversion::CboLdifForm_Change);
    connect(m_chkSelectAll, &QCheckBox::toggled, this, &FrmConversion::ChkSelectAll_Click);
    connect(m_cmdConversion, &QPushButton::clicked, this, &FrmConversion::CmdConversion_Click);
    connect(m_lblOpenExcelFile, &support::ClickLabel::clicked, this,
            &FrmConversion::LblOpenExcelFile_Click);
    support::pressButtonsOnEnter(this);
}

void FrmConversion::buildFormatChoice()
{
    m_lblFormat = new QLabel(QStringLiteral("&Format:"), this);
    m_lblFormat->setObjectName(QStringLiteral("LblFormat"));
    m_cboFormat = new QComboBox(this);
    m_cboFormat->setObjectName(QStringLiteral("CboFormat"));
    for (const exporting::ExportFormat format : exporting::kExportFormats)
        m_cboFormat->addItem(exporting::exportFormatCaption(format), static_cast<int>(format));
    m_cboFormat->setCurrentIndex(0);
    m_lblFormat->setBuddy(m_cboFormat);

    // A vCard has a place for every field, so it always carries all 42 of them; the ticks choose
    // the CSV's columns, and the list says so by being disabled while a vCard format is chosen.
    m_lblFormatFields = new QLabel(
        QStringLiteral("A vCard holds all 42 fields of every contact; the field list applies to "
                       "the CSV only."),
        this);
    m_lblFormatFields->setObjectName(QStringLiteral("LblFormatFields"));
    m_lblFormatFields->setWordWrap(true);
    m_lblFormatFields->hide();

    // The LDIF's form, and for a directory the DN its entries go under.
    m_ldifOptions = new QWidget(this);
    auto *lblLdifForm = new QLabel(QStringLiteral("LDIF f&orm:"), m_ldifOptions);
    lblLdifForm->setObjectName(QStringLiteral("LblLdifForm"));
    m_cboLdifForm = new QComboBox(m_ldifOptions);
    m_cboLdifForm->setObjectName(QStringLiteral("CboLdifForm"));
    m_cboLdifForm->addItem(QStringLiteral("Thunderbird address book"),
                           static_cast<int>(formats::LdifForm::Thunderbird));
    m_cboLdifForm->addItem(QStringLiteral("LDAP directory (inetOrgPerson)"),
                           static_cast<int>(formats::LdifForm::Directory));
    lblLdifForm->setBuddy(m_cboLdifForm);
    m_lblBaseDn = new QLabel(QStringLiteral("&Base DN:"), m_ldifOptions);
    m_lblBaseDn->setObjectName(QStringLiteral("LblBaseDn"));
    m_txtBaseDn = new QLineEdit(m_ldifOptions);
    m_txtBaseDn->setObjectName(QStringLiteral("TxtBaseDn"));
    m_txtBaseDn->setPlaceholderText(QStringLiteral("ou=People,dc=example,dc=com"));
    m_lblBaseDn->setBuddy(m_txtBaseDn);
    auto *grid = new QGridLayout(m_ldifOptions);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(lblLdifForm, 0, 0);
    grid->addWidget(m_cboLdifForm, 0, 1);
    grid->addWidget(m_lblBaseDn, 1, 0);
    grid->addWidget(m_txtBaseDn, 1, 1);
    grid->setColumnStretch(1, 1);
    m_ldifOptions->hide();
    CboLdifForm_Change();
}

exporting::ExportFormat FrmConversion::chosenFormat() const
{
    return static_cast<exporting::ExportFormat>(m_cboFormat->currentData().toInt());
}

void FrmConversion::CboFormat_Change()
{
    const bool csv = chosenFormat() == exporting::ExportFormat::Csv;
    const bool ldif = chosenFormat() == exporting::ExportFormat::Ldif;
    m_lblFormatFields->setText(
        ldif ? QStringLiteral("An LDIF file holds all 42 fields of every contact, and the groups; "
                              "the field list applies to the CSV only.")
             : QStringLiteral("A vCard holds all 42 fields of every contact; the field list "
                              "applies to the CSV only."));
    m_lblFormatFields->setVisible(!csv);
    m_ldifOptions->setVisible(ldif);
    m_lstContactsField->setEnabled(csv);
    m_chkSelectAll->setEnabled(csv);
}

void FrmConversion::CboLdifForm_Change()
{
    const bool directory =
        m_cboLdifForm->currentData().toInt() == static_cast<int>(formats::LdifForm::Directory);
    m_lblBaseDn->setEnabled(directory);
    m_txtBaseDn->setEnabled(directory);
}

void FrmConversion::ChkSelectAll_Click()
{
    // Sets every item from the box alone; the items never update the box.
    const Qt::CheckState state =
        m_chkSelectAll->checkState() == Qt::Checked ? Qt::Checked : Qt::Unchecked;
    const int count = m_lstContactsField->count();
    for (int i = 0; i < count; ++i)
        m_lstContactsField->item(i)->setCheckState(state);
}

void FrmConversion::LblOpenExcelFile_Click()
{
    support::OpenInShell(exporting::ExportFilePath);
}

void FrmConversion::closeEvent(QCloseEvent *event)
{
    // A run cannot be abandoned half way: the file would be left unfinished.
    if (WalkRunner::running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FrmConversion::reject()
{
    if (!WalkRunner::running())
        QDialog::reject();
}

void FrmConversion::CmdConversion_Click()
{
    // An event posted before the run began must not start a second one inside it.
    if (WalkRunner::running())
        return;

    const exporting::ExportFormat format = chosenFormat();
    formats::LdifOptions ldif;
    ldif.form = static_cast<formats::LdifForm>(m_cboLdifForm->currentData().toInt());
    if (format == exporting::ExportFormat::Ldif && ldif.form == formats::LdifForm::Directory) {
        const QString dn = m_txtBaseDn->text();
        if (const std::string problem = formats::dnProblem(dn.toStdString()); !problem.empty()) {
            platform::current().information(
                this, QStringLiteral("Base DN"),
                QStringLiteral("The base DN \"%1\" is not a DN: %2.\n\nType the place of the "
                               "entries in the directory, such as ou=People,dc=example,dc=com.")
                    .arg(dn, QString::fromStdString(problem)));
            m_txtBaseDn->setFocus();
            return;
        }
        ldif.baseDn = dn.toStdString();
    }
    const QString folder =
        ChooseFolder(this, format == exporting::ExportFormat::Csv
                               ? QStringLiteral("Select Folder to Save CSV File")
                           : format == exporting::ExportFormat::Ldif
                               ? QStringLiteral("Select Folder to Save LDIF File")
                               : QStringLiteral("Select Folder to Save vCard Files"));
    if (folder.isEmpty())
        return;

    std::vector<std::size_t> positions;
    for (int i = 0; i < m_lstContactsField->count(); ++i)
        if (m_lstContactsField->item(i)->checkState() == Qt::Checked)
            positions.push_back(static_cast<std::size_t>(i));
    if (format == exporting::ExportFormat::Csv && positions.empty()) {
        platform::current().information(this, QStringLiteral("Select Fields"),
                                        QStringLiteral("Please select fields to be exported"));
        return;
    }

    const BarState bar{m_progBarSave->minimum(), m_progBarSave->maximum(), m_progBarSave->value()};
    const auto restoreBar = [this, bar] {
        m_progBarSave->setRange(bar.minimum, bar.maximum);
        m_progBarSave->setValue(bar.value);
    };

    exporting::ExportRequest request;
    request.book = m_databasePath;
    request.format = format;
    request.positions = std::move(positions);
    request.folder = folder;
    request.codePage = m_codePage;
    request.ldif = std::move(ldif);
    exporting::ExportResult result;
    {
        WalkRunner runner;
        std::int64_t divisor = 1;
        request.started = [this, &runner, &divisor](std::int64_t entryCount) {
            // The bar counts in int; a larger book is shown in steps of as many documents as it
            // takes.
            divisor = entryCount > INT_MAX ? entryCount / INT_MAX + 1 : 1;
            m_progBarSave->setRange(0, static_cast<int>(entryCount / divisor));
            m_progBarSave->setValue(0);
            runner.paint();
        };
        request.progress = [this, &runner, &divisor](std::int64_t documentNumber) {
            const std::int64_t scaled = documentNumber / divisor;
            const int value = scaled > INT_MAX ? INT_MAX : static_cast<int>(scaled);
            // A book that grew since it was counted carries the bar along rather than
            // overflowing it.
            if (value > m_progBarSave->maximum())
                m_progBarSave->setMaximum(value);
            m_progBarSave->setValue(value);
            runner.tick();
        };
        result = exporting::runExportJob(m_factory, request);
    }

    switch (result.failure) {
    case exporting::ExportResult::Failure::Writing:
        restoreBar();
        platform::current().information(
            this, exporting::kNotesTitle,
            exporting::cannotWrite(result.writtenPath, result.errorText));
        return;
    case exporting::ExportResult::Failure::Book:
        restoreBar();
        platform::current().information(this, exporting::kNotesTitle,
                                        exporting::cannotOpen(result.outcome));
        return;
    case exporting::ExportResult::Failure::None:
        break;
    }

    exporting::ExportFilePath = result.writtenPath;
    m_cmdConversion->setEnabled(false);
    if (m_exportCompleted)
        m_exportCompleted();
    m_lblOpenExcelFile->show();
    m_imgOpenExcelFile->show();
    platform::current().information(this, exporting::kDoneTitle,
                                    exporting::completion(result.outcome, result.utf8Fallback));
}

} // namespace app
