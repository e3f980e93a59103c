#include "panel/EmptyStateView.h"
#include "panel/ListController.h"
#include "panel/MenuBarView.h"
#include "panel/PaintedRows.h"
#include "panel/PanelFooterView.h"
#include "panel/PanelHeaderView.h"
#include "panel/PanelLineEdit.h"
#include "panel/PlainTextButton.h"
#include "panel/RowListView.h"
#include "panel/SearchFieldView.h"
#include "panel/SymbolButton.h"
#include "panel/model/PanelTexts.h"
#include "support/PanelTestContext.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
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

    // The header counted tabs no longer open; the footer named a shortcut no longer bound.
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

    // The empty page never said where it looked for Figma's session file, or kept saying so
    // after one appeared (without tabs yet), or took one it cannot read for no tabs.
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

    // The new-folder row took a blank name, kept the field (and the keys) after Return or
    // Escape, or opened again holding the last name typed.
    void folderCreation() {
        openTabs({"a", "b"});
        PanelLineEdit *field = m_view->list()->newFolderField();
        const struct {
            const char *typed;
            Qt::Key key;
            QStringList folders;
        } cases[] = {{"   ", Qt::Key_Return, {}},
                     {"Work", Qt::Key_Escape, {}},
                     {" \tWork ", Qt::Key_Return, {"Work"}}};
        for (const auto &[typed, key, folders] : cases) {
            m_view->header()->newFolderButton()->click();
            QVERIFY(m_view->isCreatingFolder() && field->isVisible());
            QVERIFY(field->hasFocus());
            QCOMPARE(field->text(), QString());
            QTest::keyClicks(field, typed);
            QTest::keyClick(field, key);
            m_view->flushRebuild();
            QCOMPARE(m_env->folderNames(), folders);
            QVERIFY(!m_view->isCreatingFolder() && !field->isVisible());
            QVERIFY(m_view->searchField()->hasFieldFocus());
        }
    }

    // Edit mode outlived the last folder: no Done button left, the list stuck in edit mode.
    void editModeEndsWithTheLastFolder() {
        openTabs({"a", "b"});
        QVERIFY(!m_view->editButton()->isVisible());
        const QList<QUuid> ids = m_env->makeFolders({{"One", {"b"}}, {"Two", {}}});
        m_view->flushRebuild();
        m_view->editButton()->click();
        m_view->flushRebuild();
        QVERIFY(m_view->isEditingFolders() && m_view->doneButton()->isVisible());

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

    // The arrows left the field dead, reached a collapsed folder's tabs, or kept a highlight
    // on a row the query took away.
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

    // Return in the search opened the wrong file or left the panel open, or made a folder under
    // a name already taken. Tabs a and b, folder "Clients", tab a selected.
    void returnInTheSearch() {
        const struct {
            const char *typed;
            const char *opened;
            QStringList folders;
            const char *textAfter;
        } cases[] = {{"b", "figma:///design/b/file", {"Clients"}, ""},
                     {" Work ", "", {"Clients", "Work"}, ""},
                     {"clients", "", {"Clients"}, "clients"}};
        for (const auto &[typed, opened, folders, textAfter] : cases) {
            restart();
            openTabs({"a", "b"});
            m_env->makeFolders({{"Clients", {}}});
            m_env->selectionStore.toggle(QStringLiteral("a"));
            QTest::keyClicks(m_view->searchField()->field(), typed);
            QTest::keyClick(m_view->searchField()->field(), Qt::Key_Return);
            const bool opens = *opened != 0;
            QCOMPARE(m_env->workspace.openedUrls,
                     opens ? QList<QUrl>{QUrl(opened)} : QList<QUrl>{});
            QCOMPARE(m_env->selectionStore.selectedIDs().isEmpty(), opens);
            QCOMPARE(m_env->closeRequests, opens ? 1 : 0);
            QCOMPARE(m_env->folderNames(), folders);
            QCOMPARE(m_view->searchText(), QString::fromUtf8(textAfter));
        }
    }

    // Results out of order, a folder the user named "Ungrouped" taken for the tray, or no rows
    // to file a result on while folders exist.
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

    // A click on the button under "No results" missed it, or made a folder of the untrimmed
    // query.
    void createFolderFromNoResults() {
        const QString query = QStringLiteral(" Launch ");
        m_env->makeFolders({{"Work", {}}});
        openTabs({"a"});
        m_view->setSearchText(query);
        m_view->flushRebuild();
        RowListView *list = m_view->list();
        const QPoint button =
            PaintedRows::createFolderButtonRect(rowOfKind(list, RowKind::NoResults), query)
                .center()
                .toPoint();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, button);
        QCOMPARE(m_env->folderNames(), (QStringList{"Work", "Launch"}));
    }

    // The panel reopened with the last query and highlight: Return opened a file nobody saw
    // highlighted.
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

    // A long list grew past the screen, jumped to the top on every rebuild, or kept the
    // keyboard highlight out of sight.
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
        QTest::newRow("markup") << "<b>bold</b> <img src=\"/dev/zero\">";
        QTest::newRow("ampersands and entities") << "Tom & &Jerry &lt;&#169;";
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

    // Return or typing acted through a field the user could not see: behind the settings page,
    // the results or the empty page.
    void focusOnlyGoesToAFieldOnScreen() {
        const struct {
            QStringList tabs;
            const char *search;
            bool settings;
        } cases[] = {{{"a"}, "", true}, {{"a"}, "a", false}, {{}, "", false}};
        for (const auto &[tabs, search, settings] : cases) {
            restart();
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
                QCOMPARE(m_view->searchText(), search + QStringLiteral("x"));
            }
        }
    }

    // A press during an easing hit rows already gone, or the easing ran on and kept waking the
    // program while the panel sat open. Folder "Work" {a} over ungrouped b, one closed tab;
    // one action of each way rows ease in, and a new tab list, which does not ease.
    void actionsEaseTheRows_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("eases");
        QTest::addColumn<RowKind>("absent"); // a kind of row the action takes out of the list
        QTest::newRow("Edit") << "edit" << true << RowKind::UngroupedCaption;
        QTest::newRow("header click collapses") << "header" << true << RowKind::FolderLine;
        QTest::newRow("search clear button") << "clear search" << true << RowKind::ResultsCaption;
        QTest::newRow("new tab list") << "refresh" << false << RowKind::ClosedRow;
    }
    void actionsEaseTheRows() {
        QFETCH(QString, action);
        QFETCH(bool, eases);
        QFETCH(RowKind, absent);
        m_env->recentlyClosedStore.recordClosed({PanelTestContext::tab("gone")}, {});
        openTabs({"a", "b"});
        m_env->makeFolders({{"Work", {"a"}}});
        if (action == "clear search")
            m_view->setSearchText(QStringLiteral("a"));
        m_view->flushRebuild();
        RowListView *list = m_view->list();
        QTRY_VERIFY(!list->isAnimatingRows());

        if (action == "edit") {
            m_view->editButton()->click();
        } else if (action == "header") {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              rowOfKind(list, RowKind::FolderHeader).center().toPoint());
        } else if (action == "clear search") {
            m_view->searchField()->clearButton()->click();
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
    void restart() {
        cleanup();
        init();
    }
    void openTabs(const QStringList &keys) {
        m_env->setOpenTabs(PanelTestContext::tabs(keys));
        m_view->flushRebuild();
    }

    std::unique_ptr<PanelTestContext> m_env;
    std::unique_ptr<MenuBarView> m_view;
};

QTEST_MAIN(MenuBarViewTest)
#include "tst_menubarview.moc"
