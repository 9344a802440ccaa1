// SPDX-License-Identifier: GPL-3.0-or-later
// Test rows kept as data: a file under tests/ holds one block per row,
//
//     [name of the row]
//     column: value
//
// blocks apart by blank lines, "#" lines ignored. A column a block leaves out is empty. A value
// is the rest of its line after ": ", as it stands; "\n", "\r", "\t", "\s" (a space, for one at
// the end of a value), "\uXXXX" (a character that does not show) and "\\" are its escapes.
// Every column is a QString.
#pragma once

#include <QFile>
#include <QHash>
#include <QTest>

#include <array>
#include <initializer_list>

namespace testdata {

inline QString unescaped(QStringView text)
{
    QString value;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            value += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next == u'u' && i + 4 < text.size()) {
            value += QChar(text.mid(i + 1, 4).toUShort(nullptr, 16));
            i += 4;
            continue;
        }
        const qsizetype at = QStringView(u"nrts").indexOf(next);
        value += at < 0 ? next : QChar(u"\n\r\t "[at]);
    }
    return value;
}

// The value of an enumeration whose values are named, in order, by `names`.
template <typename Enum, std::size_t N>
Enum named(const QString &name, const char *const (&names)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == QLatin1String(names[i]))
            return static_cast<Enum>(i);
    qFatal("%s names no value of the table", qPrintable(name));
}

// Adds `columns` and the rows of `file` (relative to tests/) to the running _data() function.
inline void addRows(const char *file, std::initializer_list<const char *> columns)
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    QFile rows(QStringLiteral(KT_TEST_DATA "/") + QLatin1String(file));
    QVERIFY2(rows.open(QIODevice::ReadOnly | QIODevice::Text), file);
    const QStringList lines = QString::fromUtf8(rows.readAll()).split(u'\n');
    QString name;
    QHash<QString, QString> values;
    const auto addRow = [&] {
        if (name.isEmpty())
            return;
        QTestData &row = QTest::newRow(qPrintable(name));
        for (const char *column : columns)
            row << values.take(QLatin1String(column));
        QVERIFY2(values.isEmpty(),
                 qPrintable(name + QStringLiteral(": unknown column ") + values.keys().join(u' ')));
        name.clear();
    };
    for (const QString &line : lines) {
        if (line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            addRow();
            name = line.mid(1, line.size() - 2);
        } else if (const qsizetype colon = line.indexOf(QLatin1String(": ")); colon > 0) {
            values.insert(line.left(colon), unescaped(QStringView(line).mid(colon + 2)));
        } else if (line.endsWith(u':')) {
            values.insert(line.chopped(1), QString());
        } else {
            QVERIFY2(line.trimmed().isEmpty(), qPrintable(QStringLiteral("stray line: ") + line));
        }
    }
    addRow();
}

// The running row's columns, all at once for a structured binding:
// const auto [path, scan] = testdata::cells("path", "scan");
template <class... Columns> std::array<QString, sizeof...(Columns)> cells(Columns... columns)
{
    return {*static_cast<QString *>(QTest::qData(columns, qMetaTypeId<QString>()))...};
}

} // namespace testdata
