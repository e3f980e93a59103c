#include "app/NookeryApp.h"

#include "app/AccessibleApplication.h"
#include "app/AppDelegate.h"
#include "app/SingleInstance.h"
#include "panel/RowListAccessible.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int NookeryApp::run(int &argc, char **argv, bool openPanel) {
    // Settings live under "Nookery"/"Nookery"; the windows' WM_CLASS class is "Nookery".
    QCoreApplication::setOrganizationName(QStringLiteral("Nookery"));
    QCoreApplication::setApplicationName(QStringLiteral("Nookery"));

    // Decided before any display is opened: a second copy only passes the request on.
    SingleInstance instance;
    switch (instance.claimOrForwardToggle()) {
    case SingleInstance::Claim::Forwarded:
        return 0;
    case SingleInstance::Claim::Unreachable:
        std::fprintf(stderr, "Nookery is already running but does not answer.\n");
        return 1;
    case SingleInstance::Claim::Primary:
        break;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        // Qt would abort with a core dump; say what is missing instead.
        std::fprintf(stderr, "Nookery needs a graphical session: neither DISPLAY nor "
                             "WAYLAND_DISPLAY is set.\n");
        return 1;
    }
    // In a Wayland session with XWayland, run as an X client unless the user chose otherwise:
    // only there can the panel be placed under the tray icon and the shortcut be grabbed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    AccessibleApplication::install();
    RowListAccessible::install();
    // The installed desktop entry, so that desktops find our name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(NOOKERY_APP_ID));
    // Closing the panel never ends the program; only the settings page's "Quit Nookery" does.
    QApplication::setQuitOnLastWindowClosed(false);

    AppDelegate delegate;
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();

    QObject::connect(&instance, &SingleInstance::toggleRequested, &delegate,
                     &AppDelegate::statusItemClicked);
    instance.listen();
    if (openPanel)
        QTimer::singleShot(0, &delegate, &AppDelegate::statusItemClicked);
    return QApplication::exec();
}
