// Renders the whole panel in its main states to PNG files, from the real widgets and stores with
// a realistic sample: render_panel_screenshots <output directory>.

#include "panel/MenuBarView.h"
#include "panel/PanelLineEdit.h"
#include "panel/PanelRootView.h"
#include "panel/RowListView.h"
#include "panel/SearchFieldView.h"
#include "support/PanelTestContext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

QPalette lightPalette() {
    QPalette palette = QStyleFactory::create(QStringLiteral("Fusion"))->standardPalette();
    palette.setColor(QPalette::Window, QColor(0xf6, 0xf6, 0xf6));
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x7a, 0xff));
    return palette;
}

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x2a, 0x2a, 0x2c));
    palette.setColor(QPalette::WindowText, QColor(0xf2, 0xf2, 0xf2));
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x20));
    palette.setColor(QPalette::Text, QColor(0xf2, 0xf2, 0xf2));
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3c));
    palette.setColor(QPalette::ButtonText, QColor(0xf2, 0xf2, 0xf2));
    palette.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

// A small canvas-like thumbnail: a tinted board with a few shapes.
QUrl makeThumbnail(const QDir &directory, int index) {
    static const QColor tints[] = {QColor(0xff, 0xd6, 0xa5), QColor(0xca, 0xff, 0xbf),
                                   QColor(0x9b, 0xf6, 0xff), QColor(0xbd, 0xb2, 0xff),
                                   QColor(0xff, 0xc6, 0xff), QColor(0xfd, 0xff, 0xb6)};
    QImage image(192, 144, QImage::Format_ARGB32);
    image.fill(tints[index % 6]);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRoundedRect(QRectF(18, 18, 96, 108), 8, 8);
    painter.setBrush(tints[(index + 3) % 6].darker(130));
    painter.drawEllipse(QPointF(146, 48 + (index % 3) * 20), 26, 26);
    painter.setBrush(QColor(0, 0, 0, 60));
    for (int line = 0; line < 4; ++line)
        painter.drawRoundedRect(QRectF(30, 34 + line * 20, 70 - line * 10, 8), 4, 4);
    painter.end();
    const QString path = directory.filePath(QStringLiteral("thumb-%1.png").arg(index));
    image.save(path);
    return QUrl::fromLocalFile(path);
}

class Renderer {
public:
    explicit Renderer(QString outputDirectory)
        : m_output(std::move(outputDirectory)) {}

    void renderAll() {
        // The welcome first: the flag, once set, is remembered in the settings.
        {
            PanelTestContext env;
            PanelRootView root(env.context);
            show(root);
            save(root, QStringLiteral("welcome"));
        }
        renderEmpty();
        renderLoading();
        renderSample(lightPalette(), QString());
        renderSample(darkPalette(), QStringLiteral("-dark"));
    }

private:
    // No session file at any of the usual places of a home folder.
    void renderEmpty() {
        qunsetenv("XDG_CONFIG_HOME"); // shown as ~/.config, as for most users
        TabManager::Options options = TabManager::Options::standard();
        options.readSessionTabs = [](const QString &) { return QList<TabItem>(); };
        renderReading(options, QStringLiteral("panel-empty"));
    }

    // A first read of the session file that takes longer than the loading delay.
    void renderLoading() {
        TabManager::Options slow;
        slow.loadingDelay = std::chrono::milliseconds(0);
        slow.readSessionTabs = [](const QString &) {
            QThread::msleep(1500);
            return QList<TabItem>();
        };
        renderReading(slow, QStringLiteral("panel-loading"));
    }

    // The panel of a tab manager of its own, shown once its first read has started.
    void renderReading(const TabManager::Options &options, const QString &name) {
        PanelTestContext env;
        env.onboarding.setHasSeenWelcome(true);
        TabManager manager(env.fileWatcher, env.workspace, options);
        env.context.tabManager = &manager;
        PanelRootView root(env.context);
        manager.refresh();
        show(root);
        save(root, name);
    }

    void renderSample(const QPalette &palette, const QString &suffix) {
        QApplication::setPalette(palette);
        PanelTestContext env;
        env.onboarding.setHasSeenWelcome(true);
        fillSample(env);
        PanelRootView root(env.context);
        show(root);
        MenuBarView *panel = root.menuBarView();
        save(root, QStringLiteral("panel") + suffix);
        if (!suffix.isEmpty())
            return;

        panel->setSearchText(QStringLiteral("des"));
        settle();
        save(root, QStringLiteral("panel-search"));
        panel->searchField()->setFocus();
        QTest::keyClick(panel->searchField()->field(), Qt::Key_Down);
        QTest::keyClick(panel->searchField()->field(), Qt::Key_Down);
        settle();
        save(root, QStringLiteral("panel-search-keyboard"));
        panel->setSearchText(QStringLiteral("Moodboard"));
        settle();
        save(root, QStringLiteral("panel-no-results"));
        panel->setSearchText(QString());
        settle();

        panel->startCreatingFolder();
        QTest::keyClicks(panel->list()->newFolderField(), QStringLiteral("Q3 launch"));
        settle();
        save(root, QStringLiteral("panel-new-folder"));
        QTest::keyClick(panel->list()->newFolderField(), Qt::Key_Escape);
        settle();

        panel->setEditingFolders(true);
        settle();
        save(root, QStringLiteral("panel-edit-mode"));
        panel->setEditingFolders(false);
        settle();

        renderDrag(env, root);
        panel->setShowingSettings(true);
        settle();
        save(root, QStringLiteral("panel-settings"));
    }

    // Two selected tabs dragged over the "Client work" folder, the label under the pointer.
    void renderDrag(PanelTestContext &env, PanelRootView &root) {
        env.selectionStore.toggle(QStringLiteral("KeyBrand"));
        env.selectionStore.toggle(QStringLiteral("KeyOnboard"));
        settle();
        RowListView *list = root.menuBarView()->list();
        QWidget *viewport = list->viewport();
        const ListRows &rows = list->rows();
        const QPoint from =
            list->rowRect(*rows.rowOfTab(QStringLiteral("KeyBrand"))).center().toPoint();
        qsizetype header = 0;
        while (rows.rows()[header].kind != RowKind::FolderHeader)
            ++header;
        const QRectF target = list->rowRect(header);
        const QPoint over(int(target.width() * 2 / 3), int(target.center().y()));
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + QPoint(0, -10));
        QTest::mouseMove(viewport, over);
        settle();
        save(root, QStringLiteral("panel-drag"));
        // Closing ends the drag without a drop.
        list->hide();
        list->show();
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, over);
        env.selectionStore.clear();
        settle();
    }

    static void fillSample(PanelTestContext &env) {
        const QDir thumbnails(env.directory.path());
        const std::pair<const char *, const char *> files[] = {
            {"KeyBrand", "Brand guidelines 2026 \u2013 Figma"},
            {"KeyDS", "Design system"},
            {"KeyIcons", "Icon library"},
            {"KeyOnboard", "Onboarding flow v3"},
            {"KeyCheckout", "Checkout redesign"},
            {"KeyMobile", "Mobile app – navigation study"},
            {"KeyUI", "UI design review"},
            {"KeyWeb", "Website hero explorations"},
            {"KeyPitch", "Pitch deck"},
            {"KeyRoad", "Roadmap Q3"},
            {"KeyAnalytics", "Analytics dashboard"},
            {"KeyNotes", "Workshop notes"},
        };
        QList<TabItem> tabs;
        for (const auto &[key, title] : files) {
            tabs.append(PanelTestContext::tab(QString::fromUtf8(key), QString::fromUtf8(title),
                                             qstrcmp(key, "KeyDS") == 0,
                                             makeThumbnail(thumbnails, int(tabs.size()))));
        }
        // Closed tabs are recorded the way the tab manager reports them.
        const QList<TabItem> closed{
            PanelTestContext::tab(QStringLiteral("KeyOld1"),
                                 QStringLiteral("Holiday campaign \u2013 Figma"), false,
                                 makeThumbnail(thumbnails, 20)),
            PanelTestContext::tab(QStringLiteral("KeyOld2"), QStringLiteral("Wireframes (old)"))};
        env.recentlyClosedStore.recordClosed(closed, {});
        env.setOpenTabs(tabs);
        const QList<QUuid> ids =
            env.makeFolders({{QStringLiteral("Client work"),
                              {QStringLiteral("KeyBrand"), QStringLiteral("KeyCheckout"),
                               QStringLiteral("KeyWeb")}},
                             {QStringLiteral("Design system"),
                              {QStringLiteral("KeyDS"), QStringLiteral("KeyIcons")}},
                             {QStringLiteral("Archive"),
                              {QStringLiteral("KeyPitch"), QStringLiteral("KeyNotes")}}});
        env.folderStore.toggleExpanded(ids.at(2));
    }

    void show(PanelRootView &root) {
        root.show();
        settle();
    }

    // Lets rebuilds, thumbnail loads and animations finish.
    static void settle() {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 400)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    void save(QWidget &root, const QString &name) {
        const QString path = QDir(m_output).filePath(name + QStringLiteral(".png"));
        QImage image = root.grab().toImage();
        image.save(path);
        qInfo("%s %dx%d", qPrintable(path), image.width(), image.height());
    }

    QString m_output;
};

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(lightPalette());
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        qCritical("usage: render_panel_screenshots <output directory>");
        return 2;
    }
    QDir().mkpath(arguments.at(1));
    Renderer(arguments.at(1)).renderAll();
    return 0;
}
