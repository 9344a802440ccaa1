// SPDX-License-Identifier: GPL-3.0-or-later
// The About window (see DocAbout.h). Sizes and positions are those of the original window, in
// pixels at 96 dots per inch.
#include "support/DocAbout.h"

#include "support/Look.h"

#include "product/Product.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace support {

namespace {

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

} // namespace

DocAbout::DocAbout(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("DocAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(423, 193);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    const QFont tahoma = look::tahoma();
    const QFont tahomaBold = look::tahoma(true);

    auto *label4 = makeLabel(this, "Label4", QStringLiteral("Korvanta"), look::verdana(8.25, true));
    label4->move(24, 8);
    label4->adjustSize();

    auto *label5 = makeLabel(this, "Label5", QStringLiteral("Tessal"), look::verdana(14.25, true));
    QPalette navy = label5->palette();
    navy.setColor(QPalette::WindowText, look::ole(look::kNavy));
    label5->setPalette(navy);
    label5->move(24, 18);
    label5->adjustSize();

    // The top-left group repeats the main window's banner in its fonts.
    auto *label6 = makeLabel(
        this, "Label6", QStringLiteral("Export Notes Address Book to Outlook Express"), tahoma);
    label6->move(24, 42);
    label6->adjustSize();

    auto *label3 = makeLabel(this, "Label3", QString::fromUtf8(product::kVersion), tahoma);
    label3->setAlignment(Qt::AlignCenter);
    label3->setGeometry(80, 72, 249, 17);

    auto *label2 = makeLabel(
        this, "Label2",
        QStringLiteral("Copyright \u00a9 2026 ") + QString::fromLatin1(product::kCompany), tahoma);
    label2->setAlignment(Qt::AlignCenter);
    label2->setGeometry(80, 96, 249, 17);

    // The address is shown, not offered as a link: the web commands are in the main window.
    m_label1 = makeLabel(this, "Label1", QString::fromUtf8(product::kWebSite), tahomaBold);
    m_label1->setGeometry(104, 128, 209, 17);

    auto *line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::NoFrame);
    line1->setGeometry(8, 152, 408, 1);
    QPalette grey = line1->palette();
    grey.setColor(QPalette::Window, look::ole(0xE0E0E0));
    line1->setPalette(grey);
    line1->setAutoFillBackground(true);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("CmdOK"));
    m_cmdOK->setFont(tahomaBold);
    m_cmdOK->setGeometry(168, 160, 81, 25);
    m_cmdOK->setFocus();

    connect(m_cmdOK, &QPushButton::clicked, this, &DocAbout::CmdOK_Click);
}

void DocAbout::CmdOK_Click()
{
    m_closing = true;
    done(QDialog::Accepted);
}

void DocAbout::reject()
{
    // QDialog maps Esc to reject(); the window has no cancel button, so only the close box
    // (closeEvent) ends it this way.
    if (m_closing)
        QDialog::reject();
}

void DocAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DocAbout::closeEvent(QCloseEvent *event)
{
    m_closing = true;
    QDialog::closeEvent(event);
}

} // namespace support
