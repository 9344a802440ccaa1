// SPDX-License-Identifier: GPL-3.0-or-later
// The list command (see ListCommand.h).
#include "cli/ListCommand.h"

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalProgress.h"
#include "export/WalkMessages.h"
#include "notes/NotesNames.h"
#include "notes/ScanWalk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

// A value on a line of its own: tabs and line breaks would split it, so they become spaces.
QByteArray plain(const std::string &value)
{
    QByteArray text = QByteArray::fromStdString(value);
    for (char &c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return text;
}

class ListSink final : public notes::ScanSink {
public:
    ListSink(const Console &console, bool json, TerminalProgress &bar)
        : m_out(console.out), m_json(json), m_bar(bar)
    {
    }

    void scanStarted(std::int64_t entryCount) override
    {
        m_bar.started(entryCount);
        if (m_json)
            m_out->write("[");
    }

    void addContact(const notes::ScannedContact &contact) override
    {
        if (!m_json) {
            m_out->write(plain(contact.displayName) + '\t' +
                         plain(contact.record.fields[notes::field("MailAddress")]) + '\t' +
                         plain(contact.record.fields[notes::field("CompanyName")]) + '\n');
            return;
        }
        // Names in canonical Notes form read as Notes shows them.
        QJsonObject object;
        for (std::size_t i = 0; i < notes::kFields.size(); ++i)
            object.insert(QString::fromLatin1(notes::kFields[i].item),
                          QString::fromStdString(notes::abbreviatedName(contact.record.fields[i])));
        write(object);
    }
    // In the JSON array after the contacts, each group as an object with a "Group" member.
    void addGroups(const std::vector<notes::GroupRecord> &groups) override { m_groups = groups; }

    void progress(std::int64_t scanCounter) override { m_bar.progress(scanCounter); }

    void finish()
    {
        if (!m_json)
            return;
        for (const notes::GroupRecord &group : m_groups) {
            QJsonArray members;
            for (const std::string &member : group.members)
                members.append(QString::fromStdString(notes::abbreviatedName(member)));
            write(QJsonObject{
                {QStringLiteral("Group"), QString::fromStdString(group.name)},
                {QStringLiteral("ListDescription"), QString::fromStdString(group.description)},
                {QStringLiteral("InternetAddress"), QString::fromStdString(group.internetAddress)},
                {QStringLiteral("GroupType"), QString::fromStdString(group.type)},
                {QStringLiteral("Members"), members}});
        }
        m_out->write("\n]\n");
    }

private:
    QIODevice *m_out;
    bool m_json;
    void write(const QJsonObject &object)
    {
        m_out->write(m_first ? "\n" : ",\n");
        m_first = false;
        m_out->write(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }

    TerminalProgress &m_bar;
    bool m_first = true;
    std::vector<notes::GroupRecord> m_groups;
};

} // namespace

int runListCommand(const QString &book, bool json, const notes::SessionFactory &factory,
                   const Console &console)
{
    TerminalProgress bar(console);
    bar.reading(book);
    ListSink sink(console, json, bar);
    const notes::WalkOutcome outcome = notes::runScan(factory, book.toStdString(), sink);
    bar.finish();
    return listingStatus(console, book, outcome, QStringLiteral("Contacts"),
                         [&sink] { sink.finish(); });
}

int listingStatus(const Console &console, const QString &book, const notes::WalkOutcome &outcome,
                  const QString &listed, const std::function<void()> &closeOutput)
{
    using Kind = notes::WalkOutcome::Kind;
    if (outcome.kind == Kind::NotInstalled || outcome.kind == Kind::CannotOpen) {
        printMessage(console, exporting::cannotOpenBook(book, outcome));
        return kExitFailed;
    }
    closeOutput();
    if (outcome.kind == Kind::Completed || outcome.kind == Kind::EmptyView)
        return kExitOk;
    printMessage(console, exporting::listIncomplete(outcome, listed));
    return kExitSkipped;
}

} // namespace cli
