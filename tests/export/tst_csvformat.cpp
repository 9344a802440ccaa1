// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV field format: which values are quoted and how. Where the separators go is checked on
// whole files through the export window (tst_frmconversion), the captions by read_vcards.py.
#include "DataRows.h"
#include "export/format/CsvFormat.h"

#include <QTest>

using namespace formats;

class TestCsvFormat final : public QObject {
    Q_OBJECT

private slots:
    void field_data() { testdata::addRows("export/csv-fields.rows", {"value", "written"}); }

    void field()
    {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(QString::fromStdString(csvField(value.toStdString())), written);
    }
};

QTEST_APPLESS_MAIN(TestCsvFormat)
#include "tst_csvformat.moc"
