#include "panel/model/PanelTexts.h"

#include "panel/model/FolderNaming.h"

#include <QDir>

namespace PanelTexts {

namespace {
QString counted(qsizetype count, const QString &one, const QString &many) {
    return count == 1 ? QStringLiteral("1 ") + one : QString::number(count) + u' ' + many;
}

QString quoted(const QString &text) {
    return u'"' + text + u'"';
}

QString fromHome(const QString &path) {
    const QString home = QDir::homePath();
    if (home != QLatin1String("/") && path.startsWith(home + u'/'))
        return u'~' + path.mid(home.size());
    return path;
}

// "a", "a or b", "a, b or c".
QString alternatives(const QStringList &items) {
    if (items.size() < 2)
        return items.value(0);
    return items.first(items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           items.last();
}
} // namespace

QString tabCount(qsizetype count) {
    return counted(count, QStringLiteral("tab"), QStringLiteral("tabs"));
}

QString resultCount(qsizetype count) {
    return counted(count, QStringLiteral("result"), QStringLiteral("results"));
}

QString noResults(const QString &searchText) {
    return QStringLiteral("No results for ") + quoted(searchText);
}

QString createFolder(const QString &searchText) {
    return QStringLiteral("Create folder ") + quoted(FolderNaming::trimmed(searchText));
}

QString openHint(const QString &shortcut) {
    return shortcut + QStringLiteral(" to open");
}

QString sessionFileNotFound(const QStringList &paths) {
    if (paths.isEmpty())
        return {};
    QStringList shown;
    for (const QString &path : paths)
        shown.append(fromHome(path));
    return QStringLiteral("Looked for Figma's session file at ") + alternatives(shown) + u'.';
}

QString sessionFileUnreadable(const QString &failure) {
    return failure.isEmpty()
               ? QString()
               : QStringLiteral("Cannot read Figma's session file: ") + failure + u'.';
}

} // namespace PanelTexts
