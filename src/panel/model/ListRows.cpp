#include "panel/model/ListRows.h"

#include "panel/model/DragGeometry.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int sectionInsetX = 8;
constexpr int sectionInsetY = 1;
constexpr int folderRowIndent = 12;
constexpr int lineIndent = 20;

std::optional<FolderHint> hintFor(const TabItem &tab, const QList<FolderContent> &folders) {
    if (folders.isEmpty())
        return std::nullopt;
    const QString id = tab.stableID();
    for (const FolderContent &content : folders) {
        if (content.folder.tabIDs.contains(id))
            return FolderHint{content.folder.displayName()};
    }
    return FolderHint{.folderName = {}, .isUngrouped = true};
}

} // namespace

ListRow &ListRows::add(RowKind kind, int height, int indent) {
    ListRow row{.kind = kind, .top = m_height, .height = height, .indent = indent};
    if (m_openSection >= 0) {
        row.indent += sectionInsetX;
        row.trailing = sectionInsetX;
        row.section = m_openSection;
    }
    m_height += height;
    m_rows.append(row);
    return m_rows.last();
}

void ListRows::beginSection(DropTarget target, bool takesDrops, bool expanded) {
    m_sections.append({target, m_height, 0, takesDrops, expanded});
    m_openSection = m_sections.size() - 1;
    m_height += sectionInsetY;
}

void ListRows::endSection() {
    m_height += sectionInsetY;
    ListSection &section = m_sections[m_openSection];
    section.height = m_height - section.top;
    m_openSection = -1;
}

void ListRows::addTabRows(const QList<TabItem> &tabs, RowKind lineKind, const QUuid &folderID,
                          int rowIndent, const RowHeights &heights) {
    for (qsizetype p = 0; p <= tabs.size(); ++p) {
        ListRow &line = add(lineKind, heights.insertionLine, lineIndent);
        line.index = int(p);
        line.folderID = folderID;
        line.item = m_lines.size();
        m_lines.append({p < tabs.size() ? tabs[p].stableID() : QString(),
                        p > 0 ? tabs[p - 1].stableID() : QString()});
        if (p == tabs.size())
            break;
        addTabRow(tabs[p], heights.tabRow, rowIndent, std::nullopt);
        m_rows.last().folderID = folderID;
    }
}

void ListRows::addTabRow(const TabItem &tab, int height, int indent,
                         std::optional<FolderHint> hint) {
    ListRow &row = add(RowKind::TabRow, height, indent);
    row.item = m_tabs.size();
    row.repeat = m_repeats[tab.stableID()]++;
    m_tabs.append(tab);
    m_hints.append(std::move(hint));
}

ListRows ListRows::normal(const PanelSnapshot &snapshot, bool isEditingFolders,
                          bool isCreatingFolder, const RowHeights &heights) {
    ListRows list;
    list.m_folders = snapshot.folders;
    list.m_isEditingFolders = isEditingFolders;
    if (isCreatingFolder)
        list.add(RowKind::NewFolder, heights.newFolder);
    const auto orderLine = [&](int index) {
        if (isEditingFolders)
            list.add(RowKind::FolderOrderLine, heights.insertionLine).index = index;
    };
    orderLine(0);
    for (qsizetype p = 0; p < snapshot.folders.size(); ++p) {
        const FolderContent &content = snapshot.folders[p];
        const QUuid id = content.folder.id;
        list.beginSection({.kind = DropTarget::Kind::FolderSection, .folderID = id},
                          !isEditingFolders, content.folder.isExpanded);
        ListRow &header =
            list.add(RowKind::FolderHeader,
                     isEditingFolders ? heights.editFolderHeader : heights.folderHeader);
        header.index = int(p);
        header.folderID = id;
        if (content.folder.isExpanded)
            list.addTabRows(content.tabs, RowKind::FolderLine, id, folderRowIndent, heights);
        list.endSection();
        orderLine(int(p) + 1);
    }
    if (isEditingFolders) {
        list.m_repeats.clear();
        return list;
    }
    if (!snapshot.ungroupedTabs.isEmpty()) {
        list.beginSection({.kind = DropTarget::Kind::UngroupedSection}, true, true);
        list.add(RowKind::UngroupedCaption, heights.ungroupedCaption);
        if (snapshot.folders.isEmpty())
            list.add(RowKind::HintCard, heights.hintCard);
        list.addTabRows(snapshot.ungroupedTabs, RowKind::UngroupedLine, {}, 0, heights);
        list.endSection();
    }
    if (!snapshot.recentTabs.isEmpty()) {
        list.add(RowKind::RecentCaption, heights.recentCaption);
        for (const ClosedTab &closed : snapshot.recentTabs) {
            list.add(RowKind::ClosedRow, heights.closedRow).item = list.m_closed.size();
            list.m_closed.append(closed);
        }
    }
    list.m_repeats.clear();
    return list;
}

ListRows ListRows::search(const PanelSnapshot &snapshot, const RowHeights &heights) {
    ListRows list;
    list.m_folders = snapshot.folders;
    list.m_query = snapshot.searchText;
    list.m_isSearch = true;
    if (snapshot.searchResults.isEmpty()) {
        list.add(RowKind::NoResults, heights.noResults);
    } else {
        list.add(RowKind::ResultsCaption, heights.resultsCaption);
        for (const TabItem &tab : snapshot.searchResults)
            list.addTabRow(tab, heights.searchTabRow, 0, hintFor(tab, snapshot.folders));
        list.m_repeats.clear();
    }
    if (snapshot.folders.isEmpty())
        return list;
    list.add(RowKind::DropCaption, heights.dropCaption);
    for (qsizetype p = 0; p < snapshot.folders.size(); ++p) {
        ListRow &row = list.add(RowKind::FolderDropRow, heights.dropRow);
        row.folderID = snapshot.folders[p].folder.id;
        row.index = int(p);
    }
    list.add(RowKind::UngroupedDropRow, heights.dropRow);
    return list;
}

std::pair<qsizetype, qsizetype> ListRows::rowsBetween(qreal top, qreal bottom) const {
    const auto first =
        std::upper_bound(m_rows.cbegin(), m_rows.cend(), top,
                         [](qreal y, const ListRow &row) { return y < row.bottom(); });
    const auto last = std::lower_bound(first, m_rows.cend(), bottom,
                                       [](const ListRow &row, qreal y) { return row.top < y; });
    return {first - m_rows.cbegin(), last - m_rows.cbegin()};
}

std::optional<qsizetype> ListRows::rowAt(const QPointF &point, qreal width) const {
    const auto [first, last] = rowsBetween(point.y(), point.y() + 1);
    for (qsizetype i = first; i < last; ++i) {
        if (DragGeometry::contains(m_rows[i].rect(width), point))
            return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> ListRows::rowOfTab(const QString &stableID) const {
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].kind == RowKind::TabRow && stableIDOf(m_rows[i]) == stableID)
            return i;
    }
    return std::nullopt;
}

QString ListRows::stableIDOf(const ListRow &row) const {
    return row.kind == RowKind::TabRow ? m_tabs[row.item].stableID() : QString();
}

QStringList ListRows::inShownOrder(const QSet<QString> &stableIDs) const {
    QStringList ordered;
    QSet<QString> rest = stableIDs;
    for (const ListRow &row : m_rows) {
        const QString id = stableIDOf(row);
        if (rest.remove(id))
            ordered.append(id);
    }
    QStringList hidden(rest.cbegin(), rest.cend());
    hidden.sort();
    return ordered + hidden;
}

RowKey ListRows::key(const ListRow &row) const {
    switch (row.kind) {
    case RowKind::FolderOrderLine:
    case RowKind::UngroupedLine:
        return {.kind = row.kind, .index = row.index};
    case RowKind::FolderLine:
        return {.kind = row.kind, .index = row.index, .folderID = row.folderID};
    case RowKind::FolderHeader:
    case RowKind::FolderDropRow:
        return {.kind = row.kind, .folderID = row.folderID};
    case RowKind::TabRow:
        return {
            .kind = row.kind, .isResult = m_isSearch, .index = row.repeat, .item = stableIDOf(row)};
    case RowKind::ClosedRow:
        return {.kind = row.kind, .item = m_closed[row.item].stableID};
    default:
        return {.kind = row.kind};
    }
}

std::optional<qsizetype> ListRows::rowWithKey(const RowKey &key) const {
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].kind == key.kind && this->key(m_rows[i]) == key)
            return i;
    }
    return std::nullopt;
}

std::optional<FolderHint> ListRows::folderHint(qsizetype item) const {
    return m_hints.value(item);
}

namespace {

bool isTabLine(RowKind kind) {
    return kind == RowKind::FolderLine || kind == RowKind::UngroupedLine;
}

} // namespace

DropTarget ListRows::lineTarget(const ListRow &row) const {
    switch (row.kind) {
    case RowKind::FolderLine:
        return {DropTarget::Kind::FolderLine, row.folderID, row.index, m_lines.value(row.item)};
    case RowKind::UngroupedLine:
        return {.kind = DropTarget::Kind::UngroupedLine,
                .index = row.index,
                .between = m_lines.value(row.item)};
    default:
        return {.kind = DropTarget::Kind::FolderOrderLine, .index = row.index};
    }
}

std::optional<DropTarget> ListRows::insertionLineAt(const QPointF &point, qreal width) const {
    const qreal slack = DragGeometry::insertionSlack;
    const auto [first, last] = rowsBetween(point.y() - slack, point.y() + slack + 1);
    std::optional<DropTarget> nearest;
    qreal nearestDistance = std::numeric_limits<qreal>::max();
    for (qsizetype i = first; i < last; ++i) {
        const ListRow &row = m_rows[i];
        if (!isTabLine(row.kind))
            continue;
        const std::optional<qreal> distance =
            DragGeometry::insertionDistance(row.rect(width), point);
        // Strictly nearer only: on a tie the earlier line keeps it.
        if (distance && *distance < nearestDistance) {
            nearestDistance = *distance;
            nearest = lineTarget(row);
        }
    }
    return nearest;
}

std::optional<DropTarget> ListRows::tabZoneAt(const QPointF &point, qreal width) const {
    for (const ListSection &section : m_sections) {
        if (section.takesDrops &&
            DragGeometry::contains(QRectF(0, section.top, width, section.height), point))
            return section.target;
    }
    const std::optional<qsizetype> index = rowAt(point, width);
    if (!index)
        return std::nullopt;
    const ListRow &row = m_rows[*index];
    const bool isDropRow =
        row.kind == RowKind::FolderDropRow || row.kind == RowKind::UngroupedDropRow;
    if (!isDropRow || !DragGeometry::contains(dropRowShape(row.rect(width)), point))
        return std::nullopt;
    if (row.kind == RowKind::FolderDropRow)
        return DropTarget{DropTarget::Kind::FolderRow, row.folderID};
    return DropTarget{.kind = DropTarget::Kind::UngroupedRow};
}

std::optional<DropTarget> ListRows::folderLineAt(const QPointF &point, qreal width) const {
    const std::optional<qsizetype> row = rowAt(point, width);
    if (row && m_rows[*row].kind == RowKind::FolderOrderLine)
        return lineTarget(m_rows[*row]);
    return std::nullopt;
}

std::optional<QRectF> ListRows::targetRect(const DropTarget &target, qreal width) const {
    for (const ListSection &section : m_sections) {
        if (section.target == target)
            return QRectF(0, section.top, width, section.height);
    }
    for (const ListRow &row : m_rows) {
        const bool matches =
            (row.kind == RowKind::FolderDropRow &&
             target == DropTarget{.kind = DropTarget::Kind::FolderRow, .folderID = row.folderID}) ||
            (row.kind == RowKind::UngroupedDropRow &&
             target == DropTarget{.kind = DropTarget::Kind::UngroupedRow}) ||
            ((isTabLine(row.kind) || row.kind == RowKind::FolderOrderLine) &&
             lineTarget(row) == target);
        if (matches)
            return row.rect(width);
    }
    return std::nullopt;
}

QRectF ListRows::dropRowShape(const QRectF &row) {
    return row.adjusted(10, 2, -10, -2);
}
