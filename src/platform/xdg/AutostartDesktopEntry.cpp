#include "platform/xdg/AutostartDesktopEntry.h"

#include "platform/XdgBaseDirectories.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

// The desktop shell waits this many seconds, so the tray exists when we start.
constexpr int autostartDelaySeconds = 3;

// One argument of an Exec line: quoted when it holds anything the format reserves, with the
// quoting escapes, then the string escapes of the file format on top, and "%" doubled.
QString execArgument(const QString &argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=%");
    const bool needsQuotes =
        std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
    QString result;
    if (needsQuotes) {
        result = QLatin1Char('"');
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                result += QLatin1Char('\\');
            result += c;
        }
        result += QLatin1Char('"');
    } else {
        result = argument;
    }
    result.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    result.replace(QLatin1Char('%'), QLatin1String("%%"));
    return result;
}

bool isSwitchedOff(const QString &text) {
    bool inMainGroup = false;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            inMainGroup = trimmed == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QStringView key = trimmed.left(equals).trimmed();
        const QStringView value = trimmed.mid(equals + 1).trimmed();
        if (key == QLatin1String("Hidden") && value == QLatin1String("true"))
            return true;
        if (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false"))
            return true;
    }
    return false;
}

} // namespace

AutostartDesktopEntry::AutostartDesktopEntry()
    : AutostartDesktopEntry(xdgConfigHome() + QStringLiteral("/autostart/nookery.desktop"),
                            QCoreApplication::applicationFilePath()) {
}

AutostartDesktopEntry::AutostartDesktopEntry(QString entryPath, QString executablePath)
    : m_entryPath(std::move(entryPath))
    , m_executablePath(std::move(executablePath)) {
}

bool AutostartDesktopEntry::isEnabled() const {
    QFile file(m_entryPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return !isSwitchedOff(QString::fromUtf8(file.readAll()));
}

bool AutostartDesktopEntry::setEnabled(bool enabled) {
    if (!enabled)
        return !QFileInfo::exists(m_entryPath) || QFile::remove(m_entryPath);
    if (m_executablePath.isEmpty() || !QDir().mkpath(QFileInfo(m_entryPath).absolutePath()))
        return false;
    QSaveFile file(m_entryPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(entryText(m_executablePath).toUtf8());
    return file.commit();
}

QString AutostartDesktopEntry::entryText(const QString &executablePath) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Nookery\n"
                          "Comment=Your open Figma tabs, in folders\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "Hidden=false\n"
                          "X-GNOME-Autostart-enabled=true\n"
                          "X-GNOME-Autostart-Delay=%2\n"
                          "X-KDE-autostart-after=panel\n"
                          "X-LXQt-Need-Tray=true\n")
        // One pass, so a "%2" inside the path stays as it is.
        .arg(execArgument(executablePath), QString::number(autostartDelaySeconds));
}
