#include "app/CommandLine.h"

#include "tabs/SessionFileLocation.h"
#include "tabs/SessionReader.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {
// No session file, or one that cannot be read whole.
constexpr int noSessionFileExitCode = 1;
constexpr int usageErrorExitCode = 2;
} // namespace

CommandLine::CommandLine()
    : helpOption({QStringLiteral("h"), QStringLiteral("help")},
                 QStringLiteral("Show this help and exit."))
    , versionOption({QStringLiteral("v"), QStringLiteral("version")},
                    QStringLiteral("Show the version and exit."))
    , printTabsOption(
          QStringLiteral("print-tabs"),
          QStringLiteral("Print the tabs open in Figma, one JSON object a line, and exit."))
    , toggleOption(
          QStringLiteral("toggle"),
          QStringLiteral("Open the panel, or close it if it is open. Bind this to a key in "
                         "your desktop's shortcut settings when it has no tray.")) {
    parser.setApplicationDescription(
        QStringLiteral(
            "Nookery lists the tabs open in the Figma desktop app from the system tray.\n"
            "Only one Nookery runs per session: starting it again, with or without --toggle,\n"
            "opens or closes the panel of the one already running.\n"
            "Figma's session file is read from the first of these that exists:\n"
            "  $%1 (a full path)\n"
            "  $XDG_CONFIG_HOME/Figma/settings.json (~/.config/Figma/settings.json)\n"
            "  ~/Library/Application Support/Figma/settings.json")
            .arg(QLatin1String(sessionFileVariable)));
    parser.addOptions({helpOption, versionOption, printTabsOption, toggleOption});
}

QString CommandLine::versionText() {
    return QStringLiteral("Nookery " NOOKERY_VERSION " (" NOOKERY_BUILD_NUMBER ")");
}

std::optional<int> CommandLine::run(const QStringList &arguments, QTextStream &out,
                                    QTextStream &err) {
    if (!parser.parse(arguments))
        return usageError(parser.errorText(), err);
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("Unexpected argument '") +
                              parser.positionalArguments().constFirst() + QStringLiteral("'."),
                          err);
    if (parser.isSet(helpOption)) {
        out << parser.helpText();
        out.flush();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        out << versionText() << '\n';
        out.flush();
        return 0;
    }
    if (parser.isSet(printTabsOption))
        return printTabs(out, err);
    return std::nullopt;
}

int CommandLine::usageError(const QString &message, QTextStream &err) const {
    err << message << '\n' << parser.helpText();
    err.flush();
    return usageErrorExitCode;
}

static QJsonObject tabObject(const TabItem &tab) {
    QJsonObject object{{QStringLiteral("id"), tab.id},
                       {QStringLiteral("title"), tab.title},
                       {QStringLiteral("url"), tab.url},
                       {QStringLiteral("isActive"), tab.isActive},
                       {QStringLiteral("stableID"), tab.stableID()},
                       {QStringLiteral("displayTitle"), tab.displayTitle()}};
    if (!tab.thumbnailURL.isEmpty())
        object.insert(QStringLiteral("thumbnailURL"),
                      tab.thumbnailURL.toString(QUrl::FullyEncoded));
    return object;
}

int CommandLine::printTabs(QTextStream &out, QTextStream &err) const {
    const QStringList candidates = sessionFileCandidates();
    const QString path = firstExistingFile(candidates);
    if (path.isEmpty()) {
        err << "No Figma session file at '" << candidates.join(QStringLiteral("', '")) << "'; set "
            << sessionFileVariable << " to its full path.\n";
        err.flush();
        return noSessionFileExitCode;
    }
    const SessionRead read = readSession(path);
    if (!read.failure.isEmpty()) {
        err << "Cannot read the Figma session file '" << path << "': " << read.failure << ".\n";
        err.flush();
        return noSessionFileExitCode;
    }
    // A malformed session file means no open tabs, as everywhere else.
    for (const TabItem &tab : read.tabs)
        out << QJsonDocument(tabObject(tab)).toJson(QJsonDocument::Compact) << '\n';
    out.flush();
    return 0;
}
