#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

#include <optional>

// The options answered on the terminal, without a display: help, version and the tab list.
class CommandLine {
public:
    CommandLine();

    // Exit code when the arguments are fully handled here, nothing when the program starts.
    std::optional<int> run(const QStringList &arguments, QTextStream &out, QTextStream &err);

    // "Nookery <version> (<build number>)".
    static QString versionText();

    // After `run`: the panel should open as soon as the program is up.
    bool opensPanel() const { return parser.isSet(toggleOption); }

private:
    int printTabs(QTextStream &out, QTextStream &err) const;
    int usageError(const QString &message, QTextStream &err) const;

    QCommandLineParser parser;
    QCommandLineOption helpOption;
    QCommandLineOption versionOption;
    QCommandLineOption printTabsOption;
    QCommandLineOption toggleOption;
};
