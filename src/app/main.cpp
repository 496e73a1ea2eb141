// Program entry: the application object, the main window, the message loop. No command-line argument is read.
#include "app/application.h"
#include "app/main_window.h"

#include <QScreen>

int main(int argc, char** argv) {
    dorvanel::app::TDorvanelApplication app(argc, argv);
    // Only the application name: a display name would be added to every window's title by the toolkit, and
    // the program's titles read exactly their captions.
    QCoreApplication::setApplicationName(QStringLiteral("dorvanel"));
    dorvanel::app::TfrmMain frmMain;
    // The window opens in the centre of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        frmMain.move(area.left() + (area.width() - frmMain.width()) / 2,
                     area.top() + (area.height() - frmMain.height()) / 2);
    }
    frmMain.show();
    return app.exec();
}
