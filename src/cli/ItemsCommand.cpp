// SPDX-License-Identifier: GPL-3.0-or-later
// The items command (see ItemsCommand.h).
#include "cli/ItemsCommand.h"

#include "cli/ListCommand.h"
#include "cli/TerminalProgress.h"
#include "notes/ItemsWalk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

// A value as text: quoted (with \" \\ \n \r \t escaped) where the item holds text.
QByteArray shown(const notes::ItemValue &value)
{
    const QByteArray text = QByteArray::fromStdString(notes::defaultText(value));
    if (value.kind != notes::ItemValue::Kind::Text)
        return text;
    QByteArray out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
        case '\\':
            out += '\\';
            out += c;
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + '"';
}

class ItemsPrinter final : public notes::ItemsSink {
public:
    ItemsPrinter(const Console &console, const QString &form, bool json, TerminalProgress &bar)
        : m_out(console.out), m_form(form), m_json(json), m_bar(bar)
    {
    }

    void started(std::int64_t count) override
    {
        m_bar.started(count);
        if (m_json)
            m_out->write("[");
    }

    void document(const notes::ListedDocument &document) override
    {
        const QString form = QString::fromStdString(document.form);
        if (!m_form.isEmpty() && form.compare(m_form, Qt::CaseInsensitive) != 0)
            return;
        if (m_json) {
            QJsonArray items;
            for (const notes::ItemInfo &item : document.items) {
                QJsonArray values;
                for (const notes::ItemValue &value : item.values)
                    values.append(QString::fromStdString(notes::defaultText(value)));
                items.append(QJsonObject{{"name", QString::fromStdString(item.name)},
                                         {"type", QString::fromStdString(item.type)},
                                         {"values", values}});
            }
            const QJsonObject object{{"unid", QString::fromStdString(document.universalId)},
                                     {"noteid", QString::fromStdString(document.noteId)},
                                     {"form", form},
                                     {"items", items}};
            m_out->write(m_first ? "\n" : ",\n");
            m_out->write(QJsonDocument(object).toJson(QJsonDocument::Compact));
        } else {
            m_out->write("document " + QByteArray::fromStdString(document.universalId) + " (note " +
                         QByteArray::fromStdString(document.noteId) + "), form " +
                         shown(notes::ItemValue::fromText(document.form)) + '\n');
            for (const notes::ItemInfo &item : document.items) {
                QByteArray line = "  " + QByteArray::fromStdString(item.name) + " (" +
                                  QByteArray::fromStdString(item.type) + ")";
                for (std::size_t i = 0; i < item.values.size(); ++i)
                    line += (i == 0 ? ": " : ", ") + shown(item.values[i]);
                m_out->write(line + '\n');
            }
        }
        m_first = false;
    }

    void progress(std::int64_t reached) override { m_bar.progress(reached); }

    void finish()
    {
        if (m_json)
            m_out->write(m_first ? "]\n" : "\n]\n");
    }

private:
    QIODevice *m_out;
    QString m_form;
    bool m_json;
    TerminalProgress &m_bar;
    bool m_first = true;
};

} // namespace

int runItemsCommand(const QString &book, const QString &form, bool json,
                    const notes::SessionFactory &factory, const Console &console)
{
    TerminalProgress bar(console);
    bar.reading(book);
    ItemsPrinter printer(console, form, json, bar);
    const notes::WalkOutcome outcome = notes::runItems(factory, book.toStdString(), printer);
    bar.finish();
    return listingStatus(console, book, outcome, QStringLiteral("Documents"),
                         [&printer] { printer.finish(); });
}

} // namespace cli
