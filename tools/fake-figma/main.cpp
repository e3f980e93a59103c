// fake-figma: a stand-in for the Figma desktop app. Like the Linux client, it writes a session
// file of Figma's shape to $XDG_CONFIG_HOME/Figma/settings.json, shows a window of WM_CLASS
// "figma", "Figma" and handles "figma:" URLs. With --macos it keeps the macOS client's layout:
// ~/Library/Application Support/Figma/settings.json and the class "com.figma.Desktop".

#include "FakeFigmaInstance.h"
#include "HandlerRegistration.h"

#include <QApplication>
#include <QDataStream>
#include <QLocalSocket>
#include <algorithm>
#include <cstdio>

namespace {

const char usage[] =
    "usage: fake-figma [--background] [--macos] start with a sample session (--background:\n"
    "                                           without taking the focus; --macos: the macOS\n"
    "                                           client's file location and window class)\n"
    "       fake-figma figma://<path>           show that tab (starts fake-figma if needed)\n"
    "       fake-figma --open-tab <key> <title> [<window>]\n"
    "       fake-figma --close-tab <key>\n"
    "       fake-figma --list | --quit\n"
    "       fake-figma --install-handler        become the figma: URL handler\n";

enum class Forwarded { Done, Failed, NotRunning };

// Hands the command to the running instance and prints its answer.
Forwarded forward(const QStringList &command) {
    QLocalSocket socket;
    socket.connectToServer(FakeFigmaInstance::socketPath());
    if (!socket.waitForConnected(1000))
        return Forwarded::NotRunning;
    QDataStream stream(&socket);
    stream << command;
    socket.flush();
    bool ok = false;
    QString output;
    do {
        if (!socket.waitForReadyRead(5000)) {
            std::fprintf(stderr, "fake-figma: no answer from the running instance\n");
            return Forwarded::Failed;
        }
        stream.startTransaction();
        stream >> ok >> output;
    } while (!stream.commitTransaction());
    if (!output.isEmpty())
        std::fprintf(ok ? stdout : stderr, "%s\n", qPrintable(output));
    return ok ? Forwarded::Done : Forwarded::Failed;
}

} // namespace

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    const QString first = arguments.value(0);
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (first == QLatin1String("--install-handler")) {
        QCoreApplication app(argc, argv);
        return registerFigmaUrlHandler(QCoreApplication::applicationFilePath()) ? 0 : 1;
    }
    const bool isUrl = first.startsWith(QLatin1String("figma:")) && arguments.size() == 1;
    const QStringList startOptions{QStringLiteral("--background"), QStringLiteral("--macos")};
    const bool starting = std::all_of(arguments.cbegin(), arguments.cend(),
                                      [&](const QString &a) { return startOptions.contains(a); });
    if (!starting) {
        if (!isUrl && !first.startsWith(QLatin1String("--"))) {
            std::fputs(usage, stderr);
            return 2;
        }
        switch (forward(arguments)) {
        case Forwarded::Done:
            return 0;
        case Forwarded::Failed:
            return 1;
        case Forwarded::NotRunning:
            if (!isUrl) {
                std::fprintf(stderr, "fake-figma: not running\n");
                return 1;
            }
        }
    }

    // The window's WM_CLASS class is the application name, its instance RESOURCE_NAME.
    const bool macOS = arguments.contains(QLatin1String("--macos"));
    if (macOS) {
        QApplication::setApplicationName(QStringLiteral("com.figma.Desktop"));
    } else {
        QApplication::setApplicationName(QStringLiteral("Figma"));
        qputenv("RESOURCE_NAME", "figma");
    }
    QApplication app(argc, argv);
    FakeFigmaInstance instance(macOS ? FakeFigmaInstance::Layout::MacOS
                                     : FakeFigmaInstance::Layout::Linux);
    if (!instance.start(arguments.contains(QLatin1String("--background")))) {
        std::fprintf(stderr, "fake-figma: already running\n");
        return 1;
    }
    QString output;
    if (isUrl)
        instance.run(arguments, &output);
    return app.exec();
}
