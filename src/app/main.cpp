#include "app/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    // Terminal options are answered before any GUI object exists, so they need no display.
    std::optional<int> exitCode;
    {
        QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        exitCode = CommandLine().run(QCoreApplication::arguments(), out, err);
    }
    if (exitCode)
        return *exitCode;
    // The tray application starts here.
    return 0;
}
