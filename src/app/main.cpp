#include "app/Application.h"
#include "app/SingleInstance.h"
#include "mainwindow/MainWindow.h"
#include "settings/Settings.h"

#include <QIcon>
#include <QScreen>
#include <QStyleFactory>

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillery"));
    QApplication::setDesktopFileName(QStringLiteral("quillery"));

    TSingleInstanceGuard guard;
    if (!guard.TryAcquire()) {
        // Another Quillery runs; it has been asked to come to the front.
        return 0;
    }

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillery.png")));
    TDataGlobal::Initialize(QCoreApplication::applicationDirPath());

    TMainWindow formMain;
    QObject::connect(&guard, &TSingleInstanceGuard::ActivationRequested, &formMain,
                     &TMainWindow::BringToFront);
    // Without a window manager a maximised window keeps its size, so it starts screen-sized.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        formMain.setGeometry(screen->availableGeometry());
    }
    formMain.showMaximized();
    return QApplication::exec();
}
