// SPDX-License-Identifier: GPL-3.0-or-later
// "Export Options": the window where the user chooses the format (the Outlook Express CSV, one
// vCard file, one vCard per contact, or LDIF with its form), ticks the fields the CSV takes, starts
// the export, watches its progress and then opens what was written. The export job reads the
// address book again through its own Notes session and writes the file; this window supplies the
// choices and shows the outcome.
#pragma once

#include "export/ExportFormat.h"
#include "notes/SessionFactory.h"

#include <QDialog>
#include <QString>
#include <QStringConverter>

#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace support {
class ClickLabel;
}

namespace app {

class FrmConversion final : public QDialog {
    Q_OBJECT

public:
    // `databasePath` is the address book as the main window names it when the window is opened;
    // `exportCompleted` runs once a run has written its file (the main window disables its export
    // button then, as a new export needs a new scan).
    FrmConversion(QWidget *owner, const QString &databasePath, notes::SessionFactory factory,
                  std::function<void()> exportCompleted = {});

    // The code page the file is written in; the system's unless a test hands in another.
    void setCodePage(QStringConverter::Encoding codePage) { m_codePage = codePage; }

protected:
    void closeEvent(QCloseEvent *event) override;

public slots:
    void reject() override;

private:
    void buildFormatChoice();
    exporting::ExportFormat chosenFormat() const;
    void CboFormat_Change();
    void CboLdifForm_Change();
    void ChkSelectAll_Click();
    void CmdConversion_Click();
    void LblOpenExcelFile_Click();

    QLabel *m_lblFormat = nullptr;
    QComboBox *m_cboFormat = nullptr;
    QLabel *m_lblFormatFields = nullptr;
    // The LDIF's form and base DN, shown while LDIF is chosen.
    QWidget *m_ldifOptions = nullptr;
    QComboBox *m_cboLdifForm = nullptr;
    QLabel *m_lblBaseDn = nullptr;
    QLineEdit *m_txtBaseDn = nullptr;
    QLabel *m_label1 = nullptr;
    QCheckBox *m_chkSelectAll = nullptr;
    QListWidget *m_lstContactsField = nullptr;
    QProgressBar *m_progBarSave = nullptr;
    QLabel *m_imgOpenExcelFile = nullptr;
    support::ClickLabel *m_lblOpenExcelFile = nullptr;
    QFrame *m_line1 = nullptr;
    QPushButton *m_cmdConversion = nullptr;

    QString m_databasePath;
    notes::SessionFactory m_factory;
    std::function<void()> m_exportCompleted;
    QStringConverter::Encoding m_codePage = QStringConverter::System;
};

} // namespace app
