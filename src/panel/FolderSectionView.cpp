#include "panel/FolderSectionView.h"

#include "dragdrop/FolderHeaderDragSourceView.h"
#include "panel/FolderInsertionLine.h"
#include "panel/InPlaceNameField.h"
#include "panel/PanelPainting.h"
#include "panel/SymbolButton.h"
#include "stores/FolderStore.h"
#include "ui/Style.h"

#include <QFontMetrics>
#include <QPainter>

using Style::Role;

namespace {

constexpr int rowIndent = 12;
constexpr int lineIndent = 20;

constexpr int headerPaddingX = 14;
constexpr int headerPaddingY = 11;
constexpr int headerSpacing = 8;
constexpr int chevronWidth = 12;
constexpr int countTrailingPadding = 2;

constexpr int editHeaderPadding = 10;
constexpr int editHeaderSpacing = 10;
constexpr QSize handleSize(28, 36);

constexpr qreal folderIconPointSize = 14;

QFont nameFont() {
    return Style::font(15, QFont::DemiBold);
}

QFont countFont() {
    return Style::font(12);
}

int headerHeight(bool editMode) {
    if (editMode)
        return editHeaderPadding * 2 + handleSize.height();
    return headerPaddingY * 2 + QFontMetrics(nameFont()).height();
}

QString trimmedSpacesAndTabs(const QString &text) {
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

FolderSectionView::FolderSectionView(const TabFolder &folder, const QList<TabItem> &tabs,
                                     bool isEditMode, const PanelContext &context, QWidget *parent)
    : TabSectionView(context, parent)
    , m_folder(folder)
    , m_tabs(tabs)
    , m_editMode(isEditMode) {
    setAcceptsDrops(!isEditMode);

    m_stack.addSpace(headerHeight(isEditMode));
    if (folder.isExpanded) {
        FolderStore *store = context.folderStore;
        m_lines.reserve(tabs.size() + 1);
        for (qsizetype p = 0; p <= tabs.size(); ++p) {
            auto *line = new FolderInsertionLine(folder.id, tabs, p, store, this);
            m_lines.append(line);
            m_stack.add(line, lineIndent);
            if (p < tabs.size())
                addRow(tabs[p], rowIndent);
        }
    }
    attachHeaderSource();
    if (isEditMode) {
        m_deleteButton = new SymbolButton(QStringLiteral("trash"), 13, Role::Red, 0.8, this);
        m_deleteButton->setToolTip(tr("Delete Folder"));
        connect(m_deleteButton, &QAbstractButton::clicked, this, &FolderSectionView::deleteFolder);
    }
}

void FolderSectionView::attachHeaderSource() {
    m_headerSource = new FolderHeaderDragSourceView(this);
    const auto doNothing = [] {};
    m_headerSource->setFields({
        .folderID = m_folder.id,
        .folderName = m_folder.name,
        .editMode = m_editMode,
        .onTap = m_editMode ? std::function<void()>(doNothing) : std::function<void()>([this] {
            if (!isRenaming())
                toggleExpanded();
        }),
        .onHover = [](bool) {},
        .onRename = [this] { startRenaming(); },
        .onDelete = [this] { deleteFolder(); },
    });
}

QColor FolderSectionView::folderIconColor() const {
    if (!m_editMode && isDragTargeted())
        return Qt::white;
    return Style::color(Role::Blue, palette());
}

QString FolderSectionView::countText() const {
    return QString::number(m_tabs.size());
}

void FolderSectionView::startRenaming() {
    if (!m_renameField) {
        m_renameField = new InPlaceNameField(m_folder.name, this);
        connect(m_renameField, &InPlaceNameField::submitted, this,
                &FolderSectionView::commitRename);
        connect(m_renameField, &InPlaceNameField::cancelled, this,
                &FolderSectionView::cancelRename);
    }
    m_renameField->setText(m_folder.name);
    m_renameField->setGeometry(nameRect().toAlignedRect());
    m_renameField->show();
    m_renameField->raise();
    m_renameField->setFocus(Qt::OtherFocusReason);
    m_renameField->selectAll();
    update();
}

void FolderSectionView::commitRename() {
    if (!m_renameField)
        return;
    const QString name = trimmedSpacesAndTabs(m_renameField->text());
    endRenaming();
    if (!name.isEmpty() && m_context.folderStore)
        m_context.folderStore->renameFolder(m_folder.id, name);
}

void FolderSectionView::cancelRename() {
    endRenaming();
}

void FolderSectionView::endRenaming() {
    if (!m_renameField)
        return;
    // The field may be the sender of the signal being handled; delete it once that returns.
    m_renameField->hide();
    m_renameField->deleteLater();
    m_renameField = nullptr;
    update();
}

void FolderSectionView::toggleExpanded() {
    if (m_context.folderStore)
        m_context.folderStore->toggleExpanded(m_folder.id);
}

void FolderSectionView::deleteFolder() {
    if (m_context.folderStore)
        m_context.folderStore->deleteFolder(m_folder.id);
}

void FolderSectionView::dropTabs(const QStringList &stableIDs) {
    if (!m_editMode && m_context.folderStore)
        m_context.folderStore->appendTabs(stableIDs, m_folder.id);
}

QRect FolderSectionView::headerRect() const {
    const QRect background = backgroundRect();
    return {background.left(), background.top(), background.width(), headerHeight(m_editMode)};
}

QRect FolderSectionView::headerContentRect() const {
    if (m_editMode)
        return headerRect().adjusted(editHeaderPadding, editHeaderPadding, -editHeaderPadding,
                                     -editHeaderPadding);
    return headerRect().adjusted(headerPaddingX, headerPaddingY, -headerPaddingX, -headerPaddingY);
}

QRectF FolderSectionView::nameRect() const {
    const QRectF content = headerContentRect();
    const qreal spacing = m_editMode ? editHeaderSpacing : headerSpacing;
    const qreal leading = m_editMode ? handleSize.width() : chevronWidth;
    const qreal iconWidth = PanelPainting::symbolBox(folderIconPointSize).width();
    const qreal left = content.left() + leading + spacing + iconWidth + spacing;
    qreal right = content.right() - PanelPainting::textWidth(countFont(), countText()) - spacing;
    if (m_editMode)
        right -= (m_deleteButton ? m_deleteButton->sizeHint().width() : 0) + editHeaderSpacing;
    else
        right -= countTrailingPadding;
    const qreal height = QFontMetrics(nameFont()).height() + 4;
    return {left, content.center().y() - height / 2, qMax(0.0, right - left), height};
}

void FolderSectionView::resizeEvent(QResizeEvent *event) {
    TabSectionView::resizeEvent(event);
    const QRect content = headerContentRect();
    if (m_editMode) {
        m_headerSource->setGeometry(QRect(
            QPoint(content.left(), content.center().y() - handleSize.height() / 2), handleSize));
        const QSize button = m_deleteButton->sizeHint();
        m_deleteButton->setGeometry(content.right() + 1 - button.width(),
                                    content.center().y() - button.height() / 2, button.width(),
                                    button.height());
    } else {
        m_headerSource->setGeometry(headerRect());
    }
    if (m_renameField)
        m_renameField->setGeometry(nameRect().toAlignedRect());
}

void FolderSectionView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paintBackground(painter);

    const QRectF content = headerContentRect();
    const qreal spacing = m_editMode ? editHeaderSpacing : headerSpacing;
    qreal x = content.left();
    if (m_editMode) {
        PanelPainting::drawSymbol(
            painter, QStringLiteral("line.3.horizontal"),
            QRectF(QPointF(x, content.center().y() - handleSize.height() / 2.0),
                   QSizeF(handleSize)),
            13, Style::color(Role::Secondary, palette()));
        x += handleSize.width() + spacing;
    } else {
        PanelPainting::drawSymbol(painter,
                                  m_folder.isExpanded ? QStringLiteral("chevron.down")
                                                      : QStringLiteral("chevron.right"),
                                  QRectF(x, content.top(), chevronWidth, content.height()), 10,
                                  Style::color(Role::Tertiary, palette()));
        x += chevronWidth + spacing;
    }
    const qreal iconWidth = PanelPainting::symbolBox(folderIconPointSize).width();
    PanelPainting::drawSymbol(painter, QStringLiteral("folder.fill"),
                              QRectF(x, content.top(), iconWidth, content.height()),
                              folderIconPointSize, folderIconColor());

    const QRectF name = nameRect();
    if (!m_renameField)
        PanelPainting::drawElidedText(painter, name, nameFont(),
                                      Style::color(Role::Primary, palette()), m_folder.name);

    const qreal countRight =
        m_editMode ? (m_deleteButton ? m_deleteButton->geometry().left() - editHeaderSpacing
                                     : content.right())
                   : content.right() - countTrailingPadding;
    const qreal countWidth = PanelPainting::textWidth(countFont(), countText());
    PanelPainting::drawElidedText(
        painter, QRectF(countRight - countWidth, content.top(), countWidth + 1, content.height()),
        countFont(), Style::color(Role::Tertiary, palette()), countText());
}
