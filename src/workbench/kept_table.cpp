#include "workbench/kept_table.h"

#include "common/files.h"
#include "workbench/csv_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dorvanel::workbench {

QString KeptTablePath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/dorvanel/last-table.csv");
}

bool KeptTableExists() { return QFileInfo(KeptTablePath()).isFile(); }

void KeepTable(const skinctrls::TListItems& items) {
    const QString path = KeptTablePath();
    QDir().mkpath(QFileInfo(path).path());
    common::WriteFileReplacing(QFile::encodeName(path).toStdString(), BuildCsv(items));
}

}  // namespace dorvanel::workbench
