#include "platform/browser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace dorvanel::platform {

namespace {

// xdg-mime is a small script; a desktop that does not answer in this time has no usable default.
constexpr int kXdgMimeTimeoutMs = 10000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

QStringList SplitPathList(const QByteArray& value) {
    QStringList out;
    for (const QString& part : QString::fromLocal8Bit(value).split(QLatin1Char(':'), Qt::SkipEmptyParts)) out << part;
    return out;
}

// A desktop file id names applications/<id>, or with each '-' possibly standing for a folder separator.
QString FindIn(const QString& folder, const QString& id) {
    const QString direct = folder + QLatin1Char('/') + id;
    if (QFileInfo(direct).isFile()) return direct;
    for (qsizetype dash = id.indexOf(QLatin1Char('-')); dash > 0; dash = id.indexOf(QLatin1Char('-'), dash + 1)) {
        const QString found = FindIn(folder + QLatin1Char('/') + id.left(dash), id.mid(dash + 1));
        if (!found.isEmpty()) return found;
    }
    return QString();
}

}  // namespace

std::string ExecProgram(std::string_view exec) {
    std::size_t at = 0;
    while (at < exec.size() && IsBlank(exec[at])) ++at;
    std::string program;
    if (at < exec.size() && exec[at] == '"') {
        // A quoted field: a backslash keeps the next character ("\"", "\\", "\$", "\`").
        bool closed = false;
        for (++at; at < exec.size(); ++at) {
            if (exec[at] == '\\' && at + 1 < exec.size()) {
                program += exec[++at];
            } else if (exec[at] == '"') {
                closed = true;
                break;
            } else {
                program += exec[at];
            }
        }
        if (!closed) return std::string();
    } else {
        while (at < exec.size() && !IsBlank(exec[at])) program += exec[at++];
        // A field code in place of the program starts nothing.
        if (!program.empty() && program.front() == '%') return std::string();
    }
    return program;
}

std::string DesktopEntryExec(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::string();
    bool inEntry = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed() == "Exec") return line.mid(eq + 1).trimmed().toStdString();
    }
    return std::string();
}

QStringList XdgDataFolders() {
    QStringList folders;
    const QByteArray home = qgetenv("XDG_DATA_HOME");
    folders << (home.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : QString::fromLocal8Bit(home));
    const QByteArray dirs = qgetenv("XDG_DATA_DIRS");
    folders << (dirs.isEmpty() ? QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")}
                               : SplitPathList(dirs));
    return folders;
}

QString FindDesktopEntry(const QString& id) {
    // An id is a file name: anything that could climb out of the applications folders is not one.
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.startsWith(QLatin1Char('.'))) return QString();
    for (const QString& folder : XdgDataFolders()) {
        const QString found = FindIn(folder + QStringLiteral("/applications"), id);
        if (!found.isEmpty()) return found;
    }
    return QString();
}

QString HtmlBrowserProgram() {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return QString();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(kXdgMimeTimeoutMs) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        query.kill();
        return QString();
    }
    // xdg-mime may name several entries separated by ';': the first one is the default.
    const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed().section(QLatin1Char(';'), 0, 0);
    const QString entry = FindDesktopEntry(id);
    if (entry.isEmpty()) return QString();
    return QString::fromLocal8Bit(ExecProgram(DesktopEntryExec(entry)));
}

bool OpenInBrowser(const QString& url) {
    const QString program = HtmlBrowserProgram();
    if (program.isEmpty()) return false;
    // The result of starting it is not examined: a browser that fails to start ends silently.
    QProcess::startDetached(program, {url});
    return true;
}

bool OpenWithDefaultHandler(const QString& url) {
    if (url.isEmpty()) return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url});
}

}  // namespace dorvanel::platform
