#include "panel/model/PanelTexts.h"

#include "panel/model/FolderNaming.h"

namespace PanelTexts {

namespace {
QString counted(qsizetype count, const QString &one, const QString &many) {
    return count == 1 ? QStringLiteral("1 ") + one : QString::number(count) + u' ' + many;
}

QString quoted(const QString &text) {
    return u'"' + text + u'"';
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

} // namespace PanelTexts
