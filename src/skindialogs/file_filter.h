#pragma once
// The file-type entries of a file dialog and the masks they carry: the "|"-separated filter text, which
// names a file shows under a mask, and the extension a save dialog adds to a typed name.
#include <QList>
#include <QString>

namespace dorvanel::skindialogs {

struct TFilterEntry {
    QString Description;
    QString Mask;
};

// Splits a filter such as "Text files (*.txt)|*.txt|All files|*.*" into description and mask pairs. A last
// description without a mask is dropped; a text without "|" gives no entries.
QList<TFilterEntry> ParseFilter(const QString& filter);

// The mask of entry index (0-based); an index outside the entries takes the last entry, and no entries at
// all give "*.*".
QString MaskOfEntry(const QList<TFilterEntry>& entries, int index);

// Whether a file name is shown under a mask: the mask is split at ";" and "|", only parts holding a "." are
// tried, and the name must match one of them ("*" any run, "?" one character, letters in any case).
bool MatchesMask(const QString& name, const QString& mask);

// Wildcard match of one pattern against a name, letters compared without regard to case.
bool MatchesWildcard(const QString& name, const QString& pattern);

// The extension of a path's file part from its last ".", the dot included; empty when it has none.
QString ExtractFileExt(const QString& path);

// A save dialog's name after the chosen mask's extension is applied: unless the mask holds ".*", the mask's
// extension is appended when the name's extension differs from it in lower case ("out" -> "out.csv",
// "out.txt" -> "out.txt.csv", "out.CSV" stays).
QString ApplyMaskExtension(const QString& fileName, const QString& mask);

}  // namespace dorvanel::skindialogs
