#include "common/paths.h"

#include "common/errorpolicy.h"

namespace slate {

namespace {
// Character positions are 16-bit in these helpers; longer texts are refused, not misread.
constexpr qsizetype kMaxPositions = 32767;

void checkPositions(const QString& path) {
    if (path.size() > kMaxPositions)
        throw AppError(QStringLiteral("Overflow"));
}
}  // namespace

QString GetFileName(const QString& path, QChar separator) {
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? path : path.mid(last + 1);
}

QString GetFolderPath(const QString& path, QChar separator) {
    checkPositions(path);
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? QString() : path.left(last + 1);
}

QString GetExtension(const QString& path) {
    checkPositions(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? path : path.mid(dot + 1);
}

QString collapsePairs(const QString& text, QChar ch) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.append(text.at(i));
        if (text.at(i) == ch && i + 1 < text.size() && text.at(i + 1) == ch)
            ++i;
    }
    return out;
}

QString FixBackslashes(const QString& path, QChar separator) {
    if (!path.startsWith(separator))
        return collapsePairs(path, separator);
    qsizetype k = 0;
    while (k < path.size() && path.at(k) == separator)
        ++k;
    const QString prefix = separator == kBackslash ? QString(2, separator) : QString(separator);
    return prefix + collapsePairs(path.mid(k), separator);
}

}  // namespace slate
