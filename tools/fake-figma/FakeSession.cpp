#include "FakeSession.h"

#include <QColor>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>
#include <QUrl>

namespace {

QString keyFor(const QString &title) {
    const QByteArray digest = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1);
    QString key;
    for (const char byte : digest.toBase64(QByteArray::Base64UrlEncoding)) {
        if (QChar::isLetterOrNumber(byte) && key.size() < 22)
            key.append(QLatin1Char(byte));
    }
    return key;
}

QString pathFor(const QString &key, const QString &title) {
    QString slug = title;
    slug.replace(QLatin1Char(' '), QLatin1Char('-'));
    return QStringLiteral("/design/%1/%2").arg(key, slug);
}

void drawThumbnail(const QString &file, const QString &key, const QString &title) {
    QImage image(320, 180, QImage::Format_RGB32);
    const int hue = int(qHash(key) % 360);
    image.fill(QColor::fromHsv(hue, 70, 240));
    QPainter painter(&image);
    painter.setBrush(QColor::fromHsv(hue, 160, 200));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(24, 24, 120, 80, 8, 8);
    painter.drawEllipse(180, 60, 90, 90);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 140, 320, 36), Qt::AlignCenter, title);
    painter.end();
    image.save(file, "PNG");
}

} // namespace

FakeSession FakeSession::sample() {
    const QList<QStringList> windows{
        {QStringLiteral("Design system"), QStringLiteral("Icons"), QStringLiteral("Marketing site"),
         QStringLiteral("Marketing site v2"), QStringLiteral("Onboarding flow"),
         QStringLiteral("Checkout redesign"), QStringLiteral("Mobile app – iOS"),
         QStringLiteral("Mobile app – Android"), QStringLiteral("Brand guidelines")},
        {QStringLiteral("Q3 roadmap"), QStringLiteral("Team offsite board"),
         QStringLiteral("User research synthesis"), QStringLiteral("Sprint 42 retro"),
         QStringLiteral("Pricing page"), QStringLiteral("Email templates"),
         QStringLiteral("Dashboard widgets"), QStringLiteral("Settings screens")},
        {QStringLiteral("Untitled"), QStringLiteral("Illustrations"), QStringLiteral("Wireframes"),
         QStringLiteral("Style guide"), QStringLiteral("Landing page experiments"),
         QStringLiteral("Accessibility audit"), QStringLiteral("Component playground"),
         QStringLiteral("Presentation deck")},
    };
    FakeSession session;
    for (int index = 0; index < windows.size(); ++index) {
        for (const QString &name : windows[index])
            session.openTab(keyFor(name), name + QStringLiteral(" – Figma"), index);
        Window &window = session.m_windows[index];
        window.activeTabPath = window.tabs.value(index).path;
    }
    return session;
}

FakeSession::Window &FakeSession::window(int index) {
    while (m_windows.size() <= index)
        m_windows.append(Window{});
    return m_windows[index];
}

void FakeSession::openTab(const QString &key, const QString &title, int index) {
    Window &target = window(index);
    for (const Tab &tab : std::as_const(target.tabs)) {
        if (tab.key == key) {
            target.activeTabPath = tab.path;
            return;
        }
    }
    const QString path = pathFor(key, QString(title).remove(QStringLiteral(" – Figma")));
    target.tabs.append(Tab{key, title, path});
    target.activeTabPath = path;
}

bool FakeSession::closeTab(const QString &key) {
    bool closed = false;
    for (Window &window : m_windows) {
        closed |= window.tabs.removeIf([&](const Tab &tab) { return tab.key == key; }) > 0;
        const bool activeOpen =
            std::any_of(window.tabs.cbegin(), window.tabs.cend(),
                        [&](const Tab &tab) { return tab.path == window.activeTabPath; });
        if (!activeOpen)
            window.activeTabPath = window.tabs.isEmpty() ? QString() : window.tabs.first().path;
    }
    return closed;
}

void FakeSession::show(const QString &figmaPath) {
    const QStringList segments = figmaPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString key = segments.value(1);
    for (Window &window : m_windows) {
        for (const Tab &tab : std::as_const(window.tabs)) {
            if (tab.key == key) {
                window.activeTabPath = tab.path;
                return;
            }
        }
    }
    QString name = segments.value(2, key);
    name.replace(QLatin1Char('-'), QLatin1Char(' '));
    openTab(key, name + QStringLiteral(" – Figma"), 0);
}

bool FakeSession::save(const QString &sessionFile, const QString &thumbnailFolder) const {
    QDir().mkpath(QFileInfo(sessionFile).absolutePath());
    QDir().mkpath(thumbnailFolder);
    QJsonArray windows;
    for (const Window &window : m_windows) {
        QJsonArray tabs;
        for (const Tab &tab : window.tabs) {
            const QString thumbnail =
                QDir(thumbnailFolder).filePath(tab.key + QStringLiteral(".png"));
            if (!QFileInfo::exists(thumbnail))
                drawThumbnail(thumbnail, tab.key, tab.title);
            tabs.append(QJsonObject{
                {QStringLiteral("title"), tab.title},
                {QStringLiteral("path"), tab.path},
                {QStringLiteral("thumbnail"),
                 QJsonObject{{QStringLiteral("url"), QUrl::fromLocalFile(thumbnail).toString()}}}});
        }
        QJsonObject object{{QStringLiteral("tabs"), tabs}};
        if (!window.activeTabPath.isEmpty())
            object.insert(QStringLiteral("activeTabPath"), window.activeTabPath);
        windows.append(object);
    }
    // Figma keeps more than tabs in this file; a reader must ignore the rest.
    const QJsonObject root{{QStringLiteral("windows"), windows},
                           {QStringLiteral("theme"), QStringLiteral("light")},
                           {QStringLiteral("version"), 1}};
    QSaveFile file(sessionFile);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return file.commit();
}

QStringList FakeSession::describe() const {
    QStringList lines;
    for (int index = 0; index < m_windows.size(); ++index) {
        for (const Tab &tab : m_windows[index].tabs) {
            const bool active = tab.path == m_windows[index].activeTabPath;
            lines.append(QStringLiteral("%1 %2 %3")
                             .arg(index)
                             .arg(active ? QStringLiteral("*") : QStringLiteral(" "), tab.title));
        }
    }
    return lines;
}
