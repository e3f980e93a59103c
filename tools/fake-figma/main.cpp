// fake-figma: a stand-in for the Figma desktop app. It writes a session file of Figma's shape,
// shows a window of class "com.figma.Desktop" and handles "figma:" URLs.

#include "FakeFigmaInstance.h"
#include "HandlerRegistration.h"

#include <QApplication>
#include <QDataStream>
#include <QLocalSocket>
#include <cstdio>

namespace {

const char usage[] =
    "usage: fake-figma [--background]           start with a sample session (--background:\n"
    "                                           without taking the focus)\n"
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
    if (first == "--help" || first == "-h") {
        std::fputs(usage, stdout);
        return 0;
    }
    if (first == "--install-handler") {
        QCoreApplication app(argc, argv);
        return registerFigmaUrlHandler(QCoreApplication::applicationFilePath()) ? 0 : 1;
    }
    const bool isUrl = first.startsWith("figma:") && arguments.size() == 1;
    const bool inBackground = arguments == QStringList{"--background"};
    if (!arguments.isEmpty() && !inBackground) {
        if (!isUrl && !first.startsWith("--")) {
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

    // The window's WM_CLASS class is the application name.
    QApplication::setApplicationName("com.figma.Desktop");
    QApplication app(argc, argv);
    FakeFigmaInstance instance;
    if (!instance.start(inBackground)) {
        std::fprintf(stderr, "fake-figma: already running\n");
        return 1;
    }
    QString output;
    if (isUrl)
        instance.run(arguments, &output);
    return app.exec();
}
