// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the contact record: the field schema, the names shown for a contact, the group it is
// listed under, and the one-text form that travels with the tree node.
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
        QTest::addColumn<QStringList>("parts"); // first, middle, last
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("header");
        const auto row = [](const char *name, const QStringList &parts, const char *display,
                            const char *header) {
            QTest::newRow(name) << parts << QString(display) << QString(header);
        };
        row("all three", {"Ann", "J", "Lee"}, "Ann J Lee", "Ann J Lee");
        row("only last", {"", "", "Smith"}, "Smith", " Smith");
        row("only first", {"Ann", "", ""}, "Ann", "Ann ");
        row("nothing", {"", "", ""}, "", " ");
        row("leading space kept inside", {" anna", "", "Lee"}, "anna Lee", " anna Lee");
        row("middle of a space", {"Ann", " ", "Lee"}, "Ann   Lee", "Ann   Lee");
        row("inner spaces of parts", {"Mary  Ann", "", "Lee  "}, "Mary  Ann Lee",
            "Mary  Ann Lee  ");
        row("middle without first", {"", "Q", "Lee"}, "Q Lee", " Q Lee");
    }
    void names()
    {
        QFETCH(QStringList, parts);
        const ContactRecord r = named(parts[0], parts[1], parts[2]);
        QTEST(q(r.displayName()), "display");
        QTEST(q(r.headerName()), "header");
    }

    void groupKey_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("group");
        const auto row = [](const char *name, const char *first, const char *group) {
            QTest::newRow(name) << QString::fromUtf8(first) << QString(group);
        };
        row("capital", "Ann", "A");
        row("leading spaces", "  anna", "A");
        row("empty", "", "Other");
        row("spaces only", "   ", "Other");
        row("digit", "2nd Shift", "Other");
        row("punctuation", "(Ann)", "Other");
        row("accented", "Élodie", "Other");
        row("tab first", "\tBob", "Other");
        row("just after Z", "[x", "Other");
    }
    void groupKey()
    {
        QFETCH(QString, first);
        QTEST(q(named(first, "", "Last").groupKey()), "group");
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
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QStringList>("expected"); // the first fields; the rest must be empty
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("fewer fields") << "Ann|J|Lee" << QStringList{"Ann", "J", "Lee"};
        QTest::newRow("trailing lone backslash") << "Ann|Lee\\" << QStringList{"Ann", "Lee\\"};
        QTest::newRow("backslash escaping nothing") << "a\\b|c" << QStringList{"a\\b", "c"};
        QTest::newRow("escaped backslash then bar") << "a\\\\|b" << QStringList{"a\\", "b"};
        QStringList many;
        QString text;
        for (int i = 0; i < 45; ++i) {
            text += (i ? "|" : "") + QString::number(i);
            if (i < 42)
                many << QString::number(i);
        }
        QTest::newRow("surplus fields dropped") << text << many;
    }
    void decodeTolerant()
    {
        QFETCH(QString, encoded);
        QFETCH(QStringList, expected);
        const ContactRecord r = ContactRecord::decode(encoded.toStdString());
        for (int i = 0; i < notes::kFieldCount; ++i)
            QCOMPARE(q(r.fields[i]), i < expected.size() ? expected[i] : QString());
    }
};

QTEST_APPLESS_MAIN(TestContactRecord)
#include "tst_contactrecord.moc"
