// Safe and unique contact file names (see ContactFileNames.h).
#include "ContactFileNames.h"

#include <QRegularExpression>

namespace {

// Well under every file system's limit of 255 (UTF-16 units or octets), with room for " (12345)"
// and ".vcf": 60 characters of up to four octets each.
constexpr qsizetype kMaxBase = 60;

bool refused(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"<>:\"/\\|?*").contains(c);
}

} // namespace

QString ContactFileNames::safeBase(const QString &name)
{
    QString base;
    base.reserve(name.size());
    for (const QChar c : name.normalized(QString::NormalizationForm_C))
        base += refused(c) ? QChar(u'_') : c;
    base = base.simplified();
    if (base.size() > kMaxBase) {
        qsizetype cut = kMaxBase;
        if (base.at(cut - 1).isHighSurrogate())
            --cut;
        base.truncate(cut);
    }
    // Windows drops trailing dots and spaces, and a leading dot hides a file elsewhere.
    while (!base.isEmpty() && (base.front() == u'.' || base.front() == u' '))
        base.remove(0, 1);
    while (!base.isEmpty() && (base.back() == u'.' || base.back() == u' '))
        base.chop(1);
    if (base.isEmpty())
        return QStringLiteral("Contact");
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])( *\\.|$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (device.match(base).hasMatch())
        base.prepend(u'_');
    return base;
}

QString ContactFileNames::take(const QString &name)
{
    const QString base = safeBase(name);
    QString candidate = base;
    for (int n = 2;; ++n) {
        const QString key = candidate.toCaseFolded();
        if (!m_taken.contains(key)) {
            m_taken.insert(key);
            return candidate + QStringLiteral(".vcf");
        }
        candidate = QStringLiteral("%1 (%2)").arg(base).arg(n);
    }
}
