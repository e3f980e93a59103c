#include "panel/EmptyStateView.h"
#include "panel/FolderSectionView.h"
#include "panel/ListController.h"
#include "panel/MenuBarView.h"
#include "panel/PaintedRows.h"
#include "panel/PanelFooterView.h"
#include "panel/PanelHeaderView.h"
#include "panel/PanelLineEdit.h"
#include "panel/PanelRootView.h"
#include "panel/PlainTextButton.h"
#include "panel/RowListView.h"
#include "panel/SearchFieldView.h"
#include "panel/SymbolButton.h"
#include "panel/model/PanelTexts.h"
#include "support/PanelTestContext.h"
#include "ui/Style.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

qsizetype rowsOfKind(const RowListView *list, RowKind kind) {
    return std::count_if(list->rows().rows().cbegin(), list->rows().rows().cend(),
                         [kind](const ListRow &row) { return row.kind == kind; });
}

// The first row of the kind, in the list's viewport.
QRectF rowOfKind(const RowListView *list, RowKind kind) {
    const QList<ListRow> &rows = list->rows().rows();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].kind == kind)
            return list->rowRect(i);
    }
    return {};
}

QString objectPath(const QWidget *widget) {
    QStringList path;
    for (; widget; widget = widget->parentWidget())
        path.prepend(QString::fromLatin1(widget->metaObject()->className()));
    return path.join('/');
}

QList<TabItem> manyTabs(int count) {
    QStringList keys;
    for (int i = 0; i < count; ++i)
        keys.append(QStringLiteral("t%1").arg(i, 2, 10, QLatin1Char('0')));
    return PanelTestContext::tabs(keys);
}

} // namespace

class MenuBarViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_env = std::make_unique<PanelTestContext>();
        m_view = std::make_unique<MenuBarView>(m_env->context);
        m_view->show();
        QApplication::setActiveWindow(m_view.get());
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    }
    void cleanup() {
        m_view.reset();
        m_env.reset();
    }

    void headerAndFooterFollowTheStores() {
        QCOMPARE(m_view->header()->tabCountText(), QStringLiteral("0 tabs"));
        QVERIFY(m_view->visibleContent()->inherits("EmptyStateView"));
        openTabs({"a"});
        QCOMPARE(m_view->header()->tabCountText(), QStringLiteral("1 tab"));
        QCOMPARE(m_view->visibleList(), m_view->list());
        QCOMPARE(m_view->footer()->hintText(), QStringLiteral("Alt+Space to open"));
        m_env->hotkey.setBinding({49, HotkeyBinding::controlBit | HotkeyBinding::optionBit});
        QCOMPARE(m_view->footer()->hintText(), QStringLiteral("Ctrl+Alt+Space to open"));
    }

    // With no session file anywhere the empty state says where it looked; once there is one,
    // even without tabs, it does not; one it cannot read is named, not taken for no tabs.
    void emptyStateSaysWhereItLookedWhileThereIsNoSessionFile() {
        PanelTestContext env;
        const QString sessionFile = env.directory.filePath("Figma/settings.json");
        TabManager::Options options;
        options.sessionFileCandidates = {sessionFile};
        QString failure;
        options.readSessionTabs = [&failure](const QString &) {
            SessionRead read;
            read.failure = failure;
            return read;
        };
        TabManager manager(env.fileWatcher, env.workspace, options);
        env.context.tabManager = &manager;
        MenuBarView view(env.context);
        const auto *empty = qobject_cast<EmptyStateView *>(view.visibleContent());
        QVERIFY(empty);
        QCOMPARE(empty->lookedForText(), QString());
        manager.refresh();
        QTRY_COMPARE(empty->lookedForText(), PanelTexts::sessionFileNotFound({sessionFile}));

        QVERIFY(QDir().mkpath(QFileInfo(sessionFile).path()));
        QVERIFY(QFile(sessionFile).open(QIODevice::WriteOnly));
        manager.refresh();
        QTRY_COMPARE(empty->lookedForText(), QString());
        QCOMPARE(view.visibleContent(), empty);
        failure = QStringLiteral("it is not a regular file");
        manager.refresh();
        QTRY_COMPARE(empty->lookedForText(),
                     QStringLiteral("Cannot read Figma's session file: it is not a regular file."));
    }

    void folderCreation_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("return trims") << " \tWork " << int(Qt::Key_Return) << QStringList{"Work"};
        QTest::newRow("return on blank") << "   " << int(Qt::Key_Return) << QStringList{};
        QTest::newRow("escape") << "Work" << int(Qt::Key_Escape) << QStringList{};
    }
    void folderCreation() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QStringList, folders);
        openTabs({"a", "b"});
        m_view->header()->newFolderButton()->click();
        PanelLineEdit *field = m_view->list()->newFolderField();
        QVERIFY(m_view->isCreatingFolder() && field->isVisible());
        QVERIFY(field->hasFocus());
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key(key));
        m_view->flushRebuild();
        QCOMPARE(m_env->folderNames(), folders);
        QVERIFY(!m_view->isCreatingFolder() && !field->isVisible());
        QVERIFY(m_view->searchField()->hasFieldFocus());

        // Opening the row again starts from an empty field.
        emit m_env->notifications.startCreatingFolder();
        QVERIFY(field->isVisible());
        QCOMPARE(field->text(), QString());
    }

    void folderRowWaitsForTheNormalList() {
        openTabs({"a"});
        m_view->setSearchText(QStringLiteral("zzz"));
        m_view->startCreatingFolder();
        QVERIFY(!m_view->list()->newFolderField()->isVisible());
        m_view->setSearchText(QString());
        m_view->flushRebuild();
        QVERIFY(m_view->list()->newFolderField()->isVisible());
    }

    void editModeEndsWithTheLastFolder() {
        openTabs({"a", "b"});
        QVERIFY(!m_view->editButton()->isVisible());
        const QList<QUuid> ids = m_env->makeFolders({{"One", {"b"}}, {"Two", {}}});
        m_view->flushRebuild();
        m_view->editButton()->click();
        m_view->flushRebuild();
        QVERIFY(m_view->isEditingFolders() && m_view->doneButton()->isVisible());
        QCOMPARE(rowsOfKind(m_view->list(), RowKind::FolderOrderLine), 3);
        QCOMPARE(rowsOfKind(m_view->list(), RowKind::UngroupedCaption), 0);
        // The keys reach the folders, the only rows shown.
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Down);
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Down);
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Down);
        QCOMPARE(m_view->list()->keyboardHighlight()->folderID, ids.at(1));

        m_env->folderStore.deleteFolder(ids.at(0));
        m_view->flushRebuild();
        QVERIFY(m_view->isEditingFolders());
        m_env->folderStore.deleteFolder(ids.at(1));
        m_view->flushRebuild();
        QVERIFY(!m_view->isEditingFolders());
        QVERIFY(!m_view->editButton()->isVisible() && !m_view->doneButton()->isVisible());
        QCOMPARE(rowsOfKind(m_view->list(), RowKind::FolderOrderLine), 0);
        QCOMPARE(rowsOfKind(m_view->list(), RowKind::UngroupedCaption), 1);
    }

    void arrowsMoveTheHighlight() {
        PanelLineEdit *field = m_view->searchField()->field();
        // Without tabs the field keeps its own meaning for the key.
        QKeyEvent upOnEmpty(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &upOnEmpty);
        QVERIFY(!upOnEmpty.isAccepted());
        QVERIFY(!m_view->keyboardHighlight().hasNavigated());

        openTabs({"a", "b", "c", "d", "e"});
        m_env->folderStore.toggleExpanded(m_env->makeFolders({{"Closed", {"b"}}}).first());
        m_view->flushRebuild();
        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(m_view->list()->keyboardHighlight()->kind, RowKind::FolderHeader);
        QCOMPARE(m_view->keyboardHighlightedTabID(), QString());
        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(m_view->keyboardHighlightedTabID(), QStringLiteral("a"));
        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(m_view->keyboardHighlightedTabID(), QStringLiteral("c")); // b is collapsed
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(m_view->list()->keyboardHighlight()->item, QStringLiteral("a"));

        // Typing removes the highlight; the next Down lands on the first result.
        QTest::keyClicks(field, QStringLiteral("d"));
        m_view->flushRebuild();
        QCOMPARE(m_view->keyboardHighlightedTabID(), QString());
        QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(m_view->list()->keyboardHighlight()->item, QStringLiteral("d"));
    }

    // Tabs a and b, folder "Clients", tab a selected; keys typed into the search field.
    void returnAndEscape_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("textAfter");
        QTest::newRow("opens the first result")
            << "b" << int(Qt::Key_Return) << "figma:///design/b/File" << QStringList{"Clients"}
            << "";
        QTest::newRow("no results: creates a folder")
            << " Work " << int(Qt::Key_Return) << "" << QStringList{"Clients", "Work"} << "";
        QTest::newRow("an existing name is refused")
            << "clients" << int(Qt::Key_Return) << "" << QStringList{"Clients"} << "clients";
        QTest::newRow("escape clears the search")
            << "a" << int(Qt::Key_Escape) << "" << QStringList{"Clients"} << "";
    }
    void returnAndEscape() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, opened);
        QFETCH(QStringList, folders);
        QFETCH(QString, textAfter);
        openTabs({"a", "b"});
        m_env->makeFolders({{"Clients", {}}});
        m_env->selectionStore.toggle(QStringLiteral("a"));
        QTest::keyClicks(m_view->searchField()->field(), typed);
        QTest::keyClick(m_view->searchField()->field(), Qt::Key(key));
        const bool opens = !opened.isEmpty();
        QCOMPARE(m_env->workspace.openedUrls, opens ? QList<QUrl>{QUrl(opened)} : QList<QUrl>{});
        QCOMPARE(m_env->selectionStore.selectedIDs().isEmpty(), opens);
        QCOMPARE(m_env->closeRequests, opens ? 1 : 0);
        QCOMPARE(m_env->folderNames(), folders);
        QCOMPARE(m_view->searchText(), textAfter);
    }

    void searchResultsList() {
        m_env->setOpenTabs({PanelTestContext::tab("u", "UI design"),
                            PanelTestContext::tab("r", "Roadmap"),
                            PanelTestContext::tab("s", "Design system")});
        m_view->setSearchText(QStringLiteral("des"));
        m_view->flushRebuild();
        const ListRows &rows = m_view->list()->rows();
        QCOMPARE(rows.rows().first().kind, RowKind::ResultsCaption);
        QCOMPARE(rows.tabs().size(), 2);
        QCOMPARE(rows.tabs().at(0).title, QStringLiteral("Design system"));
        QVERIFY(!rows.folderHint(0));
        QCOMPARE(rowsOfKind(m_view->list(), RowKind::DropCaption), 0);

        // A folder the user named "Ungrouped" is a folder, not the tray.
        m_env->makeFolders({{"Ungrouped", {"s"}}});
        m_view->flushRebuild();
        QCOMPARE(*m_view->list()->rows().folderHint(0), FolderHint{QStringLiteral("Ungrouped")});
        QVERIFY(m_view->list()->rows().folderHint(1)->isUngrouped);
        QCOMPARE(rowsOfKind(m_view->list(), RowKind::DropCaption), 1);
    }

    // With no results, the button under the text creates a folder named by the trimmed query,
    // unless that name is blank or taken.
    void createFolderFromNoResults_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("creates") << " Launch " << QStringList{"Work", "Launch"};
        QTest::newRow("blank") << "  " << QStringList{"Work"};
        QTest::newRow("taken") << "work" << QStringList{"Work"};
    }
    void createFolderFromNoResults() {
        QFETCH(QString, query);
        QFETCH(QStringList, folders);
        m_env->makeFolders({{"Work", {}}});
        openTabs({"a"});
        m_view->setSearchText(query);
        m_view->flushRebuild();
        RowListView *list = m_view->list();
        QCOMPARE(PaintedRows::noResultsMessage(query), PanelTexts::noResults(query));
        const QPoint button =
            PaintedRows::createFolderButtonRect(rowOfKind(list, RowKind::NoResults), query)
                .center()
                .toPoint();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, button);
        QCOMPARE(m_env->folderNames(), folders);
    }

    void focusSearchFieldResets() {
        openTabs({"a", "b"});
        PanelLineEdit *field = m_view->searchField()->field();
        QTest::keyClick(field, Qt::Key_Down);
        QTest::keyClick(field, Qt::Key_Down);
        m_view->setSearchText(QStringLiteral("left over"));
        m_view->editButton()->setFocus();
        field->clearFocus();

        emit m_env->notifications.focusSearchField();
        QCOMPARE(m_view->searchText(), QString());
        QVERIFY(!m_view->keyboardHighlight().hasNavigated());
        QCOMPARE(m_view->keyboardHighlight().selectedIndex(), 0);
        QVERIFY(m_view->searchField()->hasFieldFocus());
    }

    void settingsPageReplacesThePanel() {
        QSignalSpy resized(m_view.get(), &MenuBarView::preferredHeightChanged);
        m_view->footer()->settingsButton()->click();
        QVERIFY(m_view->settingsView()->isVisible());
        QVERIFY(!m_view->header()->isVisible());
        QVERIFY(!resized.isEmpty());
        // The page's back button hands the panel back.
        m_view->settingsView()->findChildren<QAbstractButton *>().first()->click();
        QVERIFY(!m_view->isShowingSettings());
        QVERIFY(m_view->header()->isVisible());
    }

    void rebuildsAreFolded() {
        openTabs({"a", "b"});
        m_env->makeFolders({{"One", {}}, {"Two", {}}});
        QCOMPARE(m_view->snapshot().folders.size(), 0); // not before the next turn
        QCoreApplication::processEvents();
        QCOMPARE(m_view->snapshot().folders.size(), 2);
    }

    void longList() {
        openTabs({"a"});
        RowListView *list = m_view->visibleList();
        QVERIFY(list->height() < list->heightCap());
        QSignalSpy resized(m_view.get(), &MenuBarView::preferredHeightChanged);
        m_env->setOpenTabs(manyTabs(40));
        m_view->flushRebuild();
        QTRY_COMPARE(list->height(), list->heightCap());
        QVERIFY(!resized.isEmpty());

        // A rebuild keeps the scroll position.
        QScrollBar *bar = list->verticalScrollBar();
        bar->setValue(300);
        m_env->folderStore.createFolder(QStringLiteral("Later"));
        m_view->flushRebuild();
        QCOMPARE(bar->value(), 300);

        // The results and the normal list keep their own places: results used to open scrolled
        // as the list was, their caption and the first result (the one Return opens) off screen,
        // and a single result lost the list's place when the search was cleared.
        m_view->setSearchText(QStringLiteral("t39"));
        m_view->flushRebuild();
        QCOMPARE(bar->value(), 0);
        m_view->setSearchText(QString());
        m_view->flushRebuild();
        QCOMPARE(bar->value(), 300);
        QTRY_COMPARE(list->height(), list->heightCap());

        // The highlighted row is scrolled to the centre (the folder's header comes first).
        for (int i = 0; i < 21; ++i)
            QTest::keyClick(m_view->searchField()->field(), Qt::Key_Down);
        QCOMPARE(list->keyboardHighlight()->item, QStringLiteral("t19"));
        const qsizetype row = *list->rows().rowOfTab(QStringLiteral("t19"));
        QTRY_COMPARE_WITH_TIMEOUT(int(list->rowRect(row).center().y()),
                                  list->viewport()->height() / 2, 2000);
    }

    // Texts from the user (the query), Figma and our own files (folder names) are shown as they
    // are: never read as markup (an image tag would read a file on the GUI thread), never with
    // an Alt mnemonic.
    void textsAreShownLiterally_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup") << "<b>bold</b> <i>tilted</i>";
        QTest::newRow("entities") << "&lt;tag&gt; &amp; &#169;";
        QTest::newRow("ampersands") << "Tom & &Jerry";
        QTest::newRow("device image") << "<img src=\"/dev/zero\">";
    }
    void textsAreShownLiterally() {
        QFETCH(QString, text);
        openTabs({"a"});
        m_env->makeFolders({{"Folder " + text, {}}});
        m_view->setSearchText(text);
        m_view->flushRebuild();
        QVERIFY(!m_view->grab().isNull());
        for (const QLabel *label : m_view->findChildren<QLabel *>())
            QVERIFY(!label->isVisible() || label->textFormat() == Qt::PlainText);
        QVERIFY(PaintedRows::noResultsMessage(text).contains(text));
        for (qsizetype at = text.indexOf('&'); at >= 0 && at + 1 < text.size();
             at = text.indexOf('&', at + 1))
            QTest::keyClick(m_view.get(), text.at(at + 1).toLatin1(), Qt::AltModifier);
        QCOMPARE(m_env->folderNames(), QStringList{"Folder " + text});

        // The row's menu names the folder as it is.
        m_view->setSearchText(QString());
        m_view->flushRebuild();
        const RowListView *list = m_view->list();
        const QPoint centre = list->viewport()->mapTo(
            m_view.get(),
            list->rowRect(*list->rows().rowOfTab(QStringLiteral("a"))).center().toPoint());
        QWidget *target = m_view->childAt(centre);
        QContextMenuEvent click(QContextMenuEvent::Mouse, target->mapFrom(m_view.get(), centre),
                                m_view->mapToGlobal(centre));
        QApplication::sendEvent(target, &click);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const QAction *item = menu->actions().first()->menu()->actions().first();
        QCOMPARE(item->iconText(), "Folder " + text);
        QVERIFY(QKeySequence::mnemonic(item->text()).isEmpty());
        menu->close();
    }

    // Return or typing never acts through a field the user cannot see.
    void focusOnlyGoesToAFieldOnScreen_data() {
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("settings");
        QTest::newRow("settings page") << QStringList{"a"} << "" << true;
        QTest::newRow("search results") << QStringList{"a"} << "a" << false;
        QTest::newRow("empty state") << QStringList{} << "" << false;
    }
    void focusOnlyGoesToAFieldOnScreen() {
        QFETCH(QStringList, tabs);
        QFETCH(QString, search);
        QFETCH(bool, settings);
        if (!tabs.isEmpty())
            openTabs(tabs);
        m_view->setSearchText(search);
        m_view->flushRebuild();
        m_view->setShowingSettings(settings);
        if (settings)
            emit m_env->notifications.focusSearchField(); // as on every opening of the panel
        emit m_env->notifications.startCreatingFolder();

        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(!focus || focus->isVisible(), focus ? qPrintable(objectPath(focus)) : "");
        if (settings) {
            QTest::keyClick(focus ? focus : m_view.get(), Qt::Key_Return);
            QVERIFY(m_env->workspace.openedUrls.isEmpty());
        } else {
            QTest::keyClicks(focus, QStringLiteral("x"));
            QCOMPARE(m_view->searchText(), search + "x");
        }
    }

    // With a short list the panel grows to show the whole settings page, and shrinks back.
    void thePanelFitsThePageShown() {
        PanelTestContext env;
        env.onboarding.setHasSeenWelcome(true);
        env.setOpenTabs(PanelTestContext::tabs({"a"}));
        PanelRootView root(env.context);
        root.show();
        MenuBarView *panel = root.menuBarView();
        QTRY_COMPARE(root.height(), panel->sizeHint().height());
        const int listHeight = root.height();
        panel->setShowingSettings(true);
        const auto *scroll = panel->settingsView()->findChild<QScrollArea *>();
        QTRY_VERIFY(scroll->viewport()->height() > 0);
        QTRY_COMPARE(scroll->verticalScrollBar()->maximum(), 0);
        QCOMPARE(scroll->widget()->height(), scroll->viewport()->height());
        panel->setShowingSettings(false);
        QTRY_COMPARE(root.height(), listHeight);
    }

    void longQueriesStayInsideThePanel_data() {
        QTest::addColumn<QString>("query");
        QTest::newRow("one long word") << QString(300, 'W');
        QTest::newRow("many words") << QStringLiteral("word ").repeated(80);
    }
    void longQueriesStayInsideThePanel() {
        QFETCH(QString, query);
        openTabs({"a"});
        m_view->setSearchText(query);
        m_view->flushRebuild();
        const RowListView *list = m_view->list();
        const QRectF button =
            PaintedRows::createFolderButtonRect(rowOfKind(list, RowKind::NoResults), query);
        QVERIFY(QRectF(list->viewport()->rect()).contains(button));
        QVERIFY(PaintedRows::noResultsMessage(query).contains(QStringLiteral("…")));
        QVERIFY(
            QFontMetrics(Style::font(14)).horizontalAdvance(PaintedRows::noResultsMessage(query)) <=
            MenuBarView::panelWidth - 2 * 18);
    }

    // Folder "Work" {a} over ungrouped b, one closed tab. Each action's rows are in the list at
    // once; only the actions that ease do, and the easing ends by itself.
    void actionsEaseTheRows_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("eases");
        QTest::addColumn<RowKind>("absent"); // a kind of row the action takes out of the list
        QTest::newRow("Edit") << "edit" << true << RowKind::UngroupedCaption;
        QTest::newRow("header click collapses") << "header" << true << RowKind::FolderLine;
        QTest::newRow("edit-mode delete") << "trash" << true << RowKind::FolderHeader;
        QTest::newRow("Clear in Recently Closed") << "clear" << true << RowKind::ClosedRow;
        QTest::newRow("search clear button") << "clear search" << true << RowKind::ResultsCaption;
        QTest::newRow("Delete Folder in the menu")
            << "menu delete" << false << RowKind::FolderHeader;
        QTest::newRow("Escape in the search") << "escape" << false << RowKind::ResultsCaption;
        QTest::newRow("new tab list") << "refresh" << false << RowKind::ClosedRow;
    }
    void actionsEaseTheRows() {
        QFETCH(QString, action);
        QFETCH(bool, eases);
        QFETCH(RowKind, absent);
        m_env->recentlyClosedStore.recordClosed({PanelTestContext::tab("gone")}, {});
        openTabs({"a", "b"});
        m_env->makeFolders({{"Work", {"a"}}});
        if (action == "trash")
            m_view->setEditingFolders(true);
        if (action == "clear search" || action == "escape")
            m_view->setSearchText(QStringLiteral("a"));
        m_view->flushRebuild();
        RowListView *list = m_view->list();
        QTRY_VERIFY(!list->isAnimatingRows());

        const auto click = [list](RowKind kind, auto rectOf) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              rectOf(rowOfKind(list, kind)).center().toPoint());
        };
        const auto whole = [](const QRectF &rect) { return rect; };
        if (action == "edit") {
            m_view->editButton()->click();
        } else if (action == "header") {
            click(RowKind::FolderHeader, whole);
        } else if (action == "trash") {
            click(RowKind::FolderHeader,
                  [](const QRectF &r) { return FolderSectionView::headerParts(r, true, 1).trash; });
        } else if (action == "clear") {
            click(RowKind::RecentCaption, &PaintedRows::clearButtonRect);
        } else if (action == "clear search") {
            m_view->searchField()->clearButton()->click();
        } else if (action == "menu delete") {
            std::unique_ptr<QMenu> menu(list->controller()->createMenu(
                list->hitAt(rowOfKind(list, RowKind::FolderHeader).center())->row, nullptr));
            menu->actions().constLast()->trigger();
        } else if (action == "escape") {
            QTest::keyClick(m_view->searchField()->field(), Qt::Key_Escape);
        } else {
            m_env->setOpenTabs(PanelTestContext::tabs({"a", "b", "c"}));
            m_env->recentlyClosedStore.clear();
        }
        m_view->flushRebuild();
        QCOMPARE(rowsOfKind(list, absent), 0);
        QCOMPARE(list->isAnimatingRows(), eases);
        QTRY_VERIFY(!list->isAnimatingRows());
    }

private:
    void openTabs(const QStringList &keys) {
        m_env->setOpenTabs(PanelTestContext::tabs(keys));
        m_view->flushRebuild();
    }

    std::unique_ptr<PanelTestContext> m_env;
    std::unique_ptr<MenuBarView> m_view;
};

QTEST_MAIN(MenuBarViewTest)
#include "tst_menubarview.moc"
