#pragma once

#include <QString>
#include <QStringList>

// The panel's counted and quoted texts.
namespace PanelTexts {

// "1 tab", otherwise the count and " tabs" ("0 tabs").
QString tabCount(qsizetype count);
// "1 result", otherwise the count and " results".
QString resultCount(qsizetype count);
// No results for "<query as typed>".
QString noResults(const QString &searchText);
// Create folder "<trimmed query>".
QString createFolder(const QString &searchText);
// "<shortcut> to open".
QString openHint(const QString &shortcut);
// Where the session file was looked for, paths below the home folder shown from "~":
// "Looked for Figma's session file at ~/a or ~/b." Empty when no place is given.
QString sessionFileNotFound(const QStringList &paths);
// Why the session file that is there gave no tabs ("it is not a regular file").
QString sessionFileUnreadable(const QString &failure);

} // namespace PanelTexts
