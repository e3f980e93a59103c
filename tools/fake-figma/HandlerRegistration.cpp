#include "HandlerRegistration.h"

#include <QDir>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>

bool registerFigmaUrlHandler(const QString &program) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/applications");
    QDir().mkpath(folder);
    QSaveFile entry(folder + QStringLiteral("/fake-figma.desktop"));
    if (!entry.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "fake-figma: cannot write %s\n", qPrintable(entry.fileName()));
        return false;
    }
    // xdg-open takes the first word of Exec as it stands, so the path is quoted only when
    // it has to be.
    const QByteArray path = program.toUtf8();
    const QByteArray exec = path.contains(' ') ? '"' + path + '"' : path;
    entry.write("[Desktop Entry]\n"
                "Type=Application\n"
                "Name=Fake Figma\n"
                "NoDisplay=true\n"
                "MimeType=x-scheme-handler/figma;\n"
                "Exec=" +
                exec + " %u\n");
    if (!entry.commit()) {
        std::fprintf(stderr, "fake-figma: cannot write %s\n", qPrintable(entry.fileName()));
        return false;
    }
    const int status =
        QProcess::execute(QStringLiteral("xdg-mime"),
                          {QStringLiteral("default"), QStringLiteral("fake-figma.desktop"),
                           QStringLiteral("x-scheme-handler/figma")});
    if (status != 0) {
        std::fprintf(stderr, "fake-figma: xdg-mime failed (%d)\n", status);
        return false;
    }
    return true;
}
