#include "skindialogs/file_filter.h"

namespace dorvanel::skindialogs {

QList<TFilterEntry> ParseFilter(const QString& filter) {
    QList<TFilterEntry> entries;
    QString rest = filter;
    qsizetype bar = rest.indexOf(QLatin1Char('|'));
    while (bar >= 0) {
        TFilterEntry entry;
        entry.Description = rest.left(bar);
        rest = rest.mid(bar + 1);
        bar = rest.indexOf(QLatin1Char('|'));
        if (bar >= 0) {
            entry.Mask = rest.left(bar);
            rest = rest.mid(bar + 1);
            bar = rest.indexOf(QLatin1Char('|'));
        } else {
            entry.Mask = rest;
            rest.clear();
        }
        entries.append(entry);
    }
    return entries;
}

QString MaskOfEntry(const QList<TFilterEntry>& entries, int index) {
    if (entries.isEmpty()) return QStringLiteral("*.*");
    if (index < 0 || index >= entries.size()) return entries.last().Mask;
    return entries[index].Mask;
}

namespace {

// Backtracking over the last "*" keeps the match linear in practice and never recursive.
bool MatchFrom(const QString& name, const QString& pattern) {
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*')) ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(const QString& name, const QString& pattern) { return MatchFrom(name, pattern); }

bool MatchesMask(const QString& name, const QString& mask) {
    QString parts = mask;
    parts.replace(QLatin1Char('|'), QLatin1Char(';'));
    for (const QString& part : parts.split(QLatin1Char(';'))) {
        if (!part.contains(QLatin1Char('.'))) continue;
        // "*.*" matches a name without a dot too, as the desktop's file dialogs always did.
        if (part == QLatin1String("*.*")) return true;
        if (MatchesWildcard(name, part)) return true;
    }
    return false;
}

QString ExtractFileExt(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < slash) return {};
    return path.mid(dot);
}

QString ApplyMaskExtension(const QString& fileName, const QString& mask) {
    if (mask.contains(QLatin1String(".*"))) return fileName;
    const QString ext = ExtractFileExt(mask);
    if (ExtractFileExt(fileName).toLower() == ext.toLower()) return fileName;
    return fileName + ext;
}

}  // namespace dorvanel::skindialogs
