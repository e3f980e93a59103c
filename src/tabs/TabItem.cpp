#include "tabs/TabItem.h"

#include "tabs/StrictUrlParser.h"

#include <QStringTokenizer>

static QString stableIDOf(const QString &id, const QString &url) {
    if (url.isEmpty())
        return id;
    // Tabs share the Figma web origin: a parser per thread parses it once.
    thread_local StrictUrlParser parser;
    const QUrl parsed = parser.parse(url);
    if (parsed.isEmpty())
        return id;
    // Path components as a URL type splits them: empty segments and "/" never count.
    const QString path = parsed.path(QUrl::FullyDecoded);
    int index = 0;
    for (const auto segment : QStringTokenizer{path, u'/', Qt::SkipEmptyParts}) {
        if (index == 1)
            return segment.toString();
        ++index;
    }
    return id;
}

TabItem::TabItem(QString tabId, QString tabTitle, QString tabUrl, bool active, QUrl thumbnail)
    : id(std::move(tabId))
    , title(std::move(tabTitle))
    , url(std::move(tabUrl))
    , isActive(active)
    , thumbnailURL(std::move(thumbnail))
    , m_stableID(stableIDOf(id, url)) {
}

QString TabItem::displayTitle() const {
    return ::displayTitle(title);
}

static bool isTrimmedSpace(QChar c) {
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QString displayTitle(const QString &title) {
    QString text = title;
    text.remove(QStringLiteral(" \u2013 Figma"));
    text.remove(QStringLiteral(" - Figma"));
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmedSpace(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmedSpace(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

size_t qHash(const TabItem &item, size_t seed) noexcept {
    QtPrivate::QHashCombine combine;
    seed = combine(seed, item.id);
    seed = combine(seed, item.title);
    seed = combine(seed, item.url);
    seed = combine(seed, item.isActive);
    seed = combine(seed, !item.thumbnailURL.isEmpty());
    if (!item.thumbnailURL.isEmpty())
        seed = combine(seed, item.thumbnailURL);
    return seed;
}
