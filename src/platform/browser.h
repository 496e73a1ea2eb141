#pragma once
// Sending the user to a web page. Banners and Make Money start the system's browser for HTML pages (the
// desktop entry that `xdg-mime query default text/html` names, found in the XDG data folders) with the
// address as its one argument; footer links hand their address to the desktop's default handler (xdg-open).
// Neither ever goes through a shell, so an address reaches the program exactly as given.
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>

namespace dorvanel::platform {

// The program an Exec line of a desktop entry starts: its first field, with the entry's quoting undone.
// The options and field codes after it are not used. Empty when the line holds no program.
std::string ExecProgram(std::string_view exec);

// The Exec value of the "[Desktop Entry]" group of a desktop file; empty when the file or the key is missing.
std::string DesktopEntryExec(const QString& path);

// The XDG data folders in the order they are searched: XDG_DATA_HOME (default ~/.local/share), then
// XDG_DATA_DIRS (default /usr/local/share:/usr/share).
QStringList XdgDataFolders();

// The path of the desktop entry with this id (like "firefox.desktop"; "vendor-app.desktop" may also lie in
// applications/vendor/app.desktop) in the first data folder that has it; empty when none does.
QString FindDesktopEntry(const QString& id);

// The program of the system's browser for HTML, as above; empty when there is none (no xdg-mime, no default,
// no desktop entry, or an Exec line without a program).
QString HtmlBrowserProgram();

// Starts the browser for HTML with `url` as its one argument. True when such a browser was found (whether or
// not it then started), false when there is none: then nothing starts and nothing is shown.
bool OpenInBrowser(const QString& url);

// Opens `url` with the desktop's default handler; an empty address opens nothing. True when the handler was
// started.
bool OpenWithDefaultHandler(const QString& url);

}  // namespace dorvanel::platform
