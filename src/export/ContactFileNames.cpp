// SPDX-License-Identifier: GPL-3.0-or-later
// Safe and unique contact file names (see ContactFileNames.h).
#include "export/ContactFileNames.h"

#include <QRegularExpression>

namespace exporting {

namespace {

// Well under every file system's limit of 255 (UTF-16 units or octets), with room for " (12345)"
// and ".vcf": 60 characters of up to four octets each.
constexpr qsizetype kMaxBase = 60;

bool refused(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"<>:\"/\\|?*").contains(c);
}

// Embeddings, overrides and isolates: "Anna\u202Efdp.vcf" would show as "Annafcv.pdf".
bool bidiControl(QChar c)
{
    return (c.unicode() >= 0x202A && c.unicode() <= 0x202E) ||
           (c.unicode() >= 0x2066 && c.unicode() <= 0x2069);
}

} // namespace

QString ContactFileNames::safeBase(const QString &name)
{
    QString base;
    base.reserve(name.size());
    for (const QChar c : name.normalized(QString::NormalizationForm_C)) {
        if (!bidiControl(c))
            base += refused(c) ? QChar(u'_') : c;
    }
    base = base.simplified();
    // A leading dot hides a file outside Windows, and a leading dash makes the name an option
    // to command-line tools. They go before the cut, so that a long run of them cannot leave
    // nothing of the name.
    qsizetype start = 0;
    while (start < base.size() && QStringView(u". -").contains(base.at(start)))
        ++start;
    base.remove(0, start);
    if (base.size() > kMaxBase) {
        qsizetype cut = kMaxBase;
        if (base.at(cut - 1).isHighSurrogate())
            --cut;
        base.truncate(cut);
    }
    // Windows drops trailing dots and spaces.
    while (!base.isEmpty() && (base.back() == u'.' || base.back() == u' '))
        base.chop(1);
    if (base.isEmpty())
        return QStringLiteral("Contact");
    // Windows opens the device instead of the file for these names, with any extension; it
    // takes the superscript digits as digits there.
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9\u00B9\u00B2\u00B3]|LPT[0-9\u00B9\u00B2\u00B3]|"
                       "CONIN\\$|CONOUT\\$)( *\\.|$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (device.match(base).hasMatch())
        base.prepend(u'_');
    return base;
}

QString ContactFileNames::take(const QString &name)
{
    const QString base = safeBase(name);
    const QString baseKey = base.toCaseFolded();
    int &next = m_next[baseKey];
    if (next == 0) {
        next = 2;
        if (!m_taken.contains(baseKey)) {
            m_taken.insert(baseKey);
            return base + QStringLiteral(".vcf");
        }
    }
    // A contact may itself be called "Anna Lee (3)", so a number is taken only once it is
    // checked to be free.
    for (;; ++next) {
        const QString suffix = QStringLiteral(" (%1)").arg(next);
        const QString key = baseKey + suffix;
        if (!m_taken.contains(key)) {
            m_taken.insert(key);
            ++next;
            return base + suffix + QStringLiteral(".vcf");
        }
    }
}

} // namespace exporting
