// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the contact record: the field schema, the names shown for a contact, the group it is
// listed under, and the one-text form that travels with the tree node.
#include "DataRows.h"
#include "notes/ContactRecord.h"

#include <QTest>

#include <set>
#include <string>

using notes::ContactRecord;

namespace {

ContactRecord named(const QString &first, const QString &middle, const QString &last)
{
    ContactRecord r;
    r.fields[notes::field("FirstName")] = first.toStdString();
    r.fields[notes::field("MiddleInitial")] = middle.toStdString();
    r.fields[notes::field("LastName")] = last.toStdString();
    return r;
}

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

} // namespace

class TestContactRecord final : public QObject {
    Q_OBJECT

private slots:
    void schemaNamesEachThingOnce()
    {
        std::set<std::string> items;
        std::set<std::string> boxes;
        for (const notes::FieldSpec &spec : notes::kFields) {
            items.insert(spec.item);
            boxes.insert(spec.box);
        }
        QCOMPARE(items.size(), notes::kFields.size());
        QCOMPARE(boxes.size(), notes::kFields.size());
        std::set<std::string> captions;
        for (const notes::ExportColumn &column : notes::kExportColumns) {
            captions.insert(column.caption);
            // Every column but the full name writes an item the record keeps.
            if (std::string(column.item) != "FullName")
                QVERIFY2(notes::fieldOf(column.item) >= 0, column.item);
        }
        QCOMPARE(captions.size(), notes::kExportColumns.size());
    }

    void names_data()
    {
        testdata::addRows("notes/contact-names.rows",
                          {"first", "middle", "last", "display", "header", "group"});
    }
    void names()
    {
        QFETCH(QString, first);
        QFETCH(QString, middle);
        QFETCH(QString, last);
        const ContactRecord r = named(first, middle, last);
        QTEST(q(r.displayName()), "display");
        QTEST(q(r.headerName()), "header");
        QTEST(q(r.groupKey()), "group");
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("bar in first field") << 0 << "A|B";
        QTest::newRow("backslash before bar") << 10 << "x\\|y";
        QTest::newRow("bars only") << 20 << "||";
        QTest::newRow("escape lookalike") << 30 << "\\\\|\\";
        QTest::newRow("UTF-8") << 2 << QString::fromUtf8("Ólafsson 🎉");
    }
    void roundTrip()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        ContactRecord r;
        for (int i = 0; i < notes::kFieldCount; ++i)
            r.fields[i] = "f" + std::to_string(i);
        r.fields[field] = value.toStdString();
        const ContactRecord back = ContactRecord::decode(r.encode());
        for (int i = 0; i < notes::kFieldCount; ++i)
            QCOMPARE(q(back.fields[i]), q(r.fields[i]));
    }

    void decodeTolerant_data()
    {
        testdata::addRows("notes/record-texts.rows", {"encoded", "fields"});
    }
    void decodeTolerant()
    {
        QFETCH(QString, encoded);
        QFETCH(QString, fields);
        const QStringList expected = fields.split(QLatin1String(" / "));
        const ContactRecord r = ContactRecord::decode(encoded.toStdString());
        for (int i = 0; i < notes::kFieldCount; ++i)
            QCOMPARE(q(r.fields[i]), i < expected.size() ? expected[i] : QString());
    }
};

QTEST_APPLESS_MAIN(TestContactRecord)
#include "tst_contactrecord.moc"
