// SPDX-License-Identifier: GPL-3.0-or-later
// The details pane ("Notes Contacts Details"): a header with the contact card and name, the
// always-visible name area, and a tab strip over five panels holding the rest of a contact's 42
// fields. It only displays; nothing reads its boxes back.
#pragma once

#include "notes/FieldSchema.h"

#include <QGroupBox>
#include <QList>

#include <array>

class QFrame;
class QLabel;
class QTabBar;

namespace notes {
class ContactRecord;
}

namespace browser {

class DetailsPane final : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kPanelCount = 5;

    explicit DetailsPane(QWidget *parent = nullptr);

    QTabBar *tabStrip() const { return m_tabStrip; }
    // Panel 1 to 5, in tab order.
    QFrame *panel(int index) const;
    // The box showing field 0 to 41 of the record (a QLineEdit, or a QPlainTextEdit for the
    // long ones), as notes::kFields describes it.
    QWidget *box(int position) const;

    // Shows panel `index` (1 to 5) and hides the other four; any other index changes nothing.
    void showPanel(int index);

    // Fills the header and all 42 boxes, whichever panel is on show.
    void showContact(const notes::ContactRecord &record);

    // The focusable controls in keyboard order: name area, tab strip, then the panels' boxes.
    QList<QWidget *> keyboardOrder() const;

private:
    void buildHeader();
    void buildNameArea();
    void buildTabs();
    QFrame *makePanel(const char *name, int height);
    QWidget *makeBox(QWidget *parent, int position, const QRect &geometry,
                     const QRect &labelGeometry);
    void setBoxText(int position, const QString &text);

    QLabel *m_imgContact = nullptr;
    QLabel *m_topName = nullptr;
    QTabBar *m_tabStrip = nullptr;
    std::array<QFrame *, kPanelCount> m_panels{};
    std::array<QWidget *, notes::kFieldCount> m_boxes{};
};

} // namespace browser
