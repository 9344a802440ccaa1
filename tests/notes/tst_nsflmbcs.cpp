// SPDX-License-Identifier: GPL-3.0-or-later
// The LMBCS decoder of the database file reader against ICU's "LMBCS-1" converter, which its
// tables were generated from: every character of up to three bytes (each single byte, each
// group byte with every byte or byte pair after it), followed by "A" so that the length ICU
// reads for it is checked too. Sequences ICU refuses must give U+FFFD.
#include "notes/nsf/Lmbcs.h"

#include <QTest>

#include <unicode/ucnv.h>

#include <string>
#include <vector>

class TestNsfLmbcs final : public QObject {
    Q_OBJECT

    UConverter *m_icu = nullptr;
    int m_compared = 0;

    void check(const std::vector<std::uint8_t> &sequence)
    {
        std::vector<std::uint8_t> input = sequence;
        input.push_back('A');
        UErrorCode e = U_ZERO_ERROR;
        ucnv_reset(m_icu);
        UChar icu[8];
        const int32_t n = ucnv_toUChars(m_icu, icu, 8, reinterpret_cast<const char *>(input.data()),
                                        static_cast<int32_t>(input.size()), &e);
        const std::u16string ours = notes::nsf::lmbcsToUtf16(input);
        // Where ICU wraps a control group byte followed by a byte below 0x20 into U+FFE0 and
        // up, the decoder refuses the pair.
        const bool wrapped = sequence.size() == 2 && sequence[0] == 0x0F && sequence[1] < 0x20;
        const QByteArray bytes =
            QByteArray(reinterpret_cast<const char *>(sequence.data()), sequence.size()).toHex(' ');
        if (U_FAILURE(e) || wrapped) {
            QVERIFY2(!ours.empty() && ours[0] == 0xFFFD,
                     "ICU refuses " + bytes + ", the decoder takes it");
            return;
        }
        QVERIFY2(ours == std::u16string(reinterpret_cast<const char16_t *>(icu), n),
                 bytes + " decodes differently from ICU");
        ++m_compared;
    }

private slots:
    void initTestCase()
    {
        UErrorCode e = U_ZERO_ERROR;
        m_icu = ucnv_open("LMBCS-1", &e);
        QVERIFY(U_SUCCESS(e));
        ucnv_setToUCallBack(m_icu, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &e);
    }
    void cleanupTestCase() { ucnv_close(m_icu); }

    void everySequence()
    {
        for (int b = 0; b < 256; ++b)
            check({std::uint8_t(b)});
        for (const int group : {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x08, 0x0B, 0x0F})
            for (int b = 0; b < 256; ++b)
                check({std::uint8_t(group), std::uint8_t(b)});
        for (int group = 0x10; group <= 0x14; ++group)
            for (int b = 0; b < 0x10000; ++b)
                check({std::uint8_t(group), std::uint8_t(b >> 8), std::uint8_t(b)});
        // Every character the tables hold decoded the same: about 75 000 of them.
        QVERIFY2(m_compared > 70000, qPrintable(QString::number(m_compared)));
    }
};

QTEST_GUILESS_MAIN(TestNsfLmbcs)
#include "tst_nsflmbcs.moc"
