// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: the product's name, description, version, copyright line and web site
// address, and an "OK" button that closes it. The caller shows it modally, centred on the main
// window. Esc does not close it; "OK" and the window's close box do.
#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace support {

class DocAbout final : public QDialog {
    Q_OBJECT

public:
    explicit DocAbout(QWidget *owner);

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CmdOK_Click();

    QPushButton *m_cmdOK = nullptr;
    QLabel *m_label1 = nullptr;
    // The close box ends the window through reject() too; only it may.
    bool m_closing = false;
};

} // namespace support
