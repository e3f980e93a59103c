#include "panel/model/FolderNaming.h"

#include "stores/FolderStore.h"

#include <algorithm>

namespace FolderNaming {

namespace {
bool isSpaceOrTab(QChar c) {
    return c == u' ' || c == u'\t';
}
} // namespace

QString trimmed(const QString &text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text.at(begin)))
        ++begin;
    while (end > begin && isSpaceOrTab(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool canCreateFromSearch(const QString &searchText, const QList<TabFolder> &folders) {
    const QString name = trimmed(searchText);
    if (name.isEmpty())
        return false;
    return std::none_of(folders.cbegin(), folders.cend(), [&](const TabFolder &folder) {
        return folder.name.compare(name, Qt::CaseInsensitive) == 0;
    });
}

bool createFromSearch(FolderStore &store, const QString &searchText) {
    if (!canCreateFromSearch(searchText, store.folders()))
        return false;
    store.createFolder(trimmed(searchText));
    return true;
}

bool createFromRow(FolderStore &store, const QString &typedName) {
    const QString name = trimmed(typedName);
    if (name.isEmpty())
        return false;
    store.createFolder(name);
    return true;
}

} // namespace FolderNaming
