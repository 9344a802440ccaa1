// SPDX-License-Identifier: GPL-3.0-or-later
// The DXL reader's memory on hostile books: each book is scanned by kt_peak_read in a child
// process of its own, and the peak it reports is compared with that of a one-person book. The
// bound is generous (the books below once took gigabytes); no time is measured. An entity bomb
// is refused before it expands (tst_dxlclient's books).
#include "FileBytes.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray book(const QByteArray &items)
{
    return "<?xml version='1.0' encoding='utf-8'?>\n"
           "<database xmlns='http://www.lotus.com/dxl' version='8.5' title='Big'>\n"
           "<document form='Person'><noteinfo noteid='1f' unid='AA'/>\n"
           "<item name='FirstName'><text>Ann</text></item>\n" +
           items + "</document>\n</database>\n";
}

// An attached file as Notes exports it: base64 in lines of 76 characters.
QByteArray attachment(int bytes)
{
    QByteArray data;
    data.reserve(bytes / 3 * 4 + bytes / 57 + 64);
    const QByteArray line = QByteArray(57, 'k').toBase64() + '\n';
    while (data.size() < bytes / 3 * 4)
        data += line;
    return "<item name='$FILE'><object><file name='big.bin'><filedata>\n" + data +
           "</filedata></file></object></item>\n";
}

} // namespace

class TestDxlMemory final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    qint64 m_baselineKib = 0;

    // kt_peak_read's answer for a book holding `content`: "kind=0 contacts=1 first=Ann
    // peak_kib=5120", or what it wrote to its error output where it failed.
    QString scan(const QByteArray &content)
    {
        const QString path = m_dir.filePath(QStringLiteral("book.dxl"));
        if (!writeBytes(path, content))
            qFatal("cannot write %s", qPrintable(path));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Under AddressSanitizer the child cannot cap its address space; this stops it instead.
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                       QStringLiteral(":hard_rss_limit_mb=4096"));
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(KT_PEAK_READ), {path});
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0)
            return "crashed: " + QString::fromLocal8Bit(child.readAllStandardError().right(2000));
        return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
    }

    static qint64 peakKib(const QString &answer)
    {
        return answer.section(QStringLiteral("peak_kib="), 1).toLongLong();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_baselineKib = peakKib(scan(book({})));
        QVERIFY(m_baselineKib > 0);
    }

    void peak_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("5 MB attachment") << book(attachment(5 << 20));
        QTest::newRow("long rich text")
            << book("<item name='Comment'><richtext><par>" +
                    QByteArray("A line of a long comment.<break/>").repeated(250000) +
                    "</par></richtext></item>\n");
    }
    void peak()
    {
        QFETCH(QByteArray, content);
        const QString answer = scan(content);
        QVERIFY2(answer.startsWith(QLatin1String("kind=0 contacts=1 first=Ann peak_kib=")),
                 qPrintable(answer)); // completed
        // What the book itself may cost: three times its size, and 64 MiB for the rest.
        const qint64 grewKib = peakKib(answer) - m_baselineKib;
        const qint64 boundKib = 3 * content.size() / 1024 + 64 * 1024;
        QVERIFY2(
            grewKib < boundKib,
            qPrintable(QStringLiteral("grew %1 KiB, bound %2 KiB").arg(grewKib).arg(boundKib)));
    }
};

QTEST_GUILESS_MAIN(TestDxlMemory)
#include "tst_dxlmemory.moc"
