#include "tabs/SessionReader.h"

#include "tabs/StrictUrlParser.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SessionRead readSession(const QString &filePath) {
    SessionRead read;
    if (const std::optional<QByteArray> bytes = readSessionFileBytes(filePath, &read.failure))
        read.tabs = parseSessionTabs(*bytes);
    return read;
}

QList<TabItem> readSessionTabs(const QString &filePath) {
    return readSession(filePath).tabs;
}

std::optional<QByteArray> readSessionFileBytes(const QString &filePath, QString *failure) {
    const auto fail = [failure](const QString &why) -> std::optional<QByteArray> {
        if (failure)
            *failure = why;
        return std::nullopt;
    };
    const auto systemError = [](int error) {
        return QStringLiteral("cannot read it: ") + qt_error_string(error);
    };
    // Without O_NONBLOCK, opening a FIFO would wait for a writer; regular files ignore it.
    const int fd = ::open(QFile::encodeName(filePath).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? std::nullopt : fail(systemError(errno));
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    const QString tooLarge =
        QStringLiteral("it is larger than %1 MiB").arg(maxSessionFileBytes / (1024 * 1024));

    // The size comes from the open handle, so a file swapped in after opening cannot slip by.
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return fail(systemError(errno));
    if (!S_ISREG(status.st_mode))
        return fail(QStringLiteral("it is not a regular file"));
    if (status.st_size > maxSessionFileBytes)
        return fail(tooLarge);

    // The file may grow or shrink while it is read: read to the end, never past the limit.
    QByteArray bytes(qMin<qint64>(status.st_size + 1, maxSessionFileBytes + 1), Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxSessionFileBytes)
                return fail(tooLarge);
            bytes.resize(qMin<qint64>(bytes.size() * 2, maxSessionFileBytes + 1));
        }
        const ssize_t count = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return fail(systemError(errno));
        }
        total += count;
    }
    bytes.truncate(total);
    return bytes;
}

static bool isArrayOfObjects(const QJsonValue &value) {
    if (!value.isArray())
        return false;
    const QJsonArray array = value.toArray();
    return std::all_of(array.begin(), array.end(),
                       [](const QJsonValue &element) { return element.isObject(); });
}

static QUrl thumbnailURL(const QJsonValue &thumbnail, StrictUrlParser &parser) {
    const QJsonValue address = thumbnail.toObject().value(QLatin1String("url"));
    return address.isString() ? parser.parse(address.toString()) : QUrl();
}

// The tab paths Figma writes may differ from the active path only in Unicode normalisation.
class ActivePath {
public:
    explicit ActivePath(const QJsonValue &value)
        : present(value.isString())
        , path(value.toString())
        , normalizedPath(path.normalized(QString::NormalizationForm_C)) {}

    bool matches(const QString &tabPath) const {
        return present && (tabPath == path ||
                           tabPath.normalized(QString::NormalizationForm_C) == normalizedPath);
    }

private:
    bool present;
    QString path;
    QString normalizedPath;
};

static void appendWindowTabs(const QJsonObject &window, qsizetype windowPosition,
                             StrictUrlParser &urlParser, QList<TabItem> &tabs) {
    const QJsonValue tabList = window.value(QLatin1String("tabs"));
    if (!isArrayOfObjects(tabList))
        return;
    const ActivePath activePath(window.value(QLatin1String("activeTabPath")));
    const QString idPrefix = QLatin1String("figma-") + QString::number(windowPosition) + u'-';
    const QJsonArray tabObjects = tabList.toArray();
    for (qsizetype tabPosition = 0; tabPosition < tabObjects.size(); ++tabPosition) {
        const QJsonObject tab = tabObjects.at(tabPosition).toObject();
        const QJsonValue title = tab.value(QLatin1String("title"));
        const QJsonValue path = tab.value(QLatin1String("path"));
        if (!title.isString() || !path.isString())
            continue;
        const QString pathText = path.toString();
        tabs.append(TabItem(idPrefix + QString::number(tabPosition), title.toString(),
                            figmaWebOrigin.toString() + pathText, activePath.matches(pathText),
                            thumbnailURL(tab.value(QLatin1String("thumbnail")), urlParser)));
    }
}

QList<TabItem> parseSessionTabs(const QByteArray &json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    const QJsonValue windowList = document.object().value(QLatin1String("windows"));
    if (!isArrayOfObjects(windowList))
        return {};
    const QJsonArray windows = windowList.toArray();
    StrictUrlParser urlParser;
    QList<TabItem> tabs;
    for (qsizetype windowPosition = 0; windowPosition < windows.size(); ++windowPosition)
        appendWindowTabs(windows.at(windowPosition).toObject(), windowPosition, urlParser, tabs);
    return tabs;
}
