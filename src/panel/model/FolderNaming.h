#pragma once

#include "stores/TabFolder.h"

#include <QList>
#include <QString>

class FolderStore;

// Turning typed text into a new folder: from the new-folder row and from a search with no results.
namespace FolderNaming {

// The text without spaces and tabs at either end; newlines stay.
QString trimmed(const QString &text);

// Whether the search text may become a folder: not blank once trimmed, and no folder already has
// that name under a case-insensitive comparison (names compared as stored).
bool canCreateFromSearch(const QString &searchText, const QList<TabFolder> &folders);

// Creates the folder named by the trimmed search text when allowed; true when it was created.
bool createFromSearch(FolderStore &store, const QString &searchText);

// The new-folder row's Return: creates a folder with the trimmed name unless it is blank.
bool createFromRow(FolderStore &store, const QString &typedName);

} // namespace FolderNaming
