#include "app/CommandLine.h"
#include "app/NookeryApp.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    // Terminal options are answered before any GUI object exists, so they need no display.
    std::optional<int> exitCode;
    CommandLine commandLine;
    {
        QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        exitCode = commandLine.run(QCoreApplication::arguments(), out, err);
    }
    if (exitCode)
        return *exitCode;
    return NookeryApp::run(argc, argv, commandLine.opensPanel());
}
