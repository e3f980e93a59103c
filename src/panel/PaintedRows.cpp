#include "panel/PaintedRows.h"

#include "panel/ClosedTabRowView.h"
#include "panel/FolderSectionView.h"
#include "panel/PanelPainting.h"
#include "panel/TabRowView.h"
#include "panel/model/PanelTexts.h"
#include "ui/Style.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QtMath>

using Style::Role;

namespace {

constexpr int panelWidth = 420;
constexpr int captionPaddingX = 18;
constexpr int sectionInsetX = 8;
constexpr int dropRowPaddingY = 11;

// The hint card inside the ungrouped section.
constexpr int cardPaddingX = 14;
constexpr int cardPaddingBottom = 10;
constexpr int cardPadding = 14;
constexpr int cardSpacing = 8;
constexpr int cardButtonTopSpace = 2;

// Buttons in the accent colour: symbol, text, padding.
constexpr qreal buttonPaddingX = 12;
constexpr qreal buttonPaddingY = 7;
constexpr qreal buttonIconSpacing = 6;
constexpr qreal buttonPointSize = 12;

// The no-results block.
constexpr int noResultsPaddingY = 32;
constexpr int noResultsSpacing = 14;
constexpr int noResultsWidth = panelWidth - 2 * captionPaddingX;

// The recently closed caption: a divider, then the caption with "Clear" at its end.
constexpr int dividerPadding = 6;
constexpr int recentPaddingTop = 10;
constexpr int recentPaddingBottom = 6;

const QMargins newFolderInset(10, 6, 10, 6);
constexpr int newFolderPaddingX = 14;
constexpr int newFolderPaddingY = 11;
constexpr int newFolderSpacing = 10;

QString tr(const char *text) {
    return QCoreApplication::translate("PaintedRows", text);
}

int lineHeight(const QFont &font) {
    return QFontMetrics(font).height();
}

QFont clearFont() {
    return Style::font(12, QFont::Medium);
}

QFont cardTitleFont() {
    return Style::font(13, QFont::DemiBold);
}

QFont cardBodyFont() {
    return Style::font(12);
}

QFont noResultsFont() {
    return Style::font(14);
}

// One line of the message as a wrapping label lays it out: a pixel taller than the font's
// height with some fonts, which places the button as before.
int messageHeight() {
    return QFontMetrics(noResultsFont())
        .boundingRect(QRect(0, 0, noResultsWidth, 1000), Qt::TextWordWrap,
                      PanelTexts::noResults({}))
        .height();
}

QFont createButtonFont() {
    return Style::font(13, QFont::Medium);
}

QFont firstFolderButtonFont() {
    return Style::font(buttonPointSize, QFont::DemiBold);
}

// A symbol and a text on padding: the size of the hint card's and the no-results buttons.
QSizeF buttonSize(const QFont &font, const QString &text) {
    const QSizeF symbol = PanelPainting::symbolBox(buttonPointSize);
    return {std::ceil(2 * buttonPaddingX + symbol.width() + buttonIconSpacing +
                      PanelPainting::textWidth(font, text)) +
                1,
            std::ceil(2 * buttonPaddingY + qMax(symbol.height(), qreal(lineHeight(font))))};
}

void paintButton(QPainter &painter, const QRectF &rect, const QFont &font, const QString &text,
                 const QColor &fill, const QColor &ink, qreal radius) {
    PanelPainting::fillRounded(painter, rect, radius, fill);
    const QRectF content = rect.adjusted(buttonPaddingX, 0, -buttonPaddingX, 0);
    const QSizeF symbol = PanelPainting::symbolBox(buttonPointSize);
    PanelPainting::drawSymbol(
        painter, QStringLiteral("folder.badge.plus"),
        QRectF(content.left(), content.top(), symbol.width(), content.height()), buttonPointSize,
        ink);
    const qreal textLeft = content.left() + symbol.width() + buttonIconSpacing;
    PanelPainting::drawElidedText(
        painter, QRectF(textLeft, content.top(), content.right() - textLeft, content.height()),
        font, ink, text);
}

QRectF cardRect(const QRectF &row) {
    return row.adjusted(cardPaddingX, 0, -cardPaddingX, -cardPaddingBottom);
}

// The body as it wraps inside a card in a row `rowWidth` wide.
int cardBodyHeight(qreal rowWidth) {
    const int textWidth = int(cardRect(QRectF(0, 0, rowWidth, 1)).width()) - 2 * cardPadding;
    return QFontMetrics(cardBodyFont())
        .boundingRect(QRect(0, 0, qMax(1, textWidth), 10000), Qt::TextWordWrap,
                      PaintedRows::cardBody())
        .height();
}

int dropRowHeight() {
    return 2 * 2 + 2 * dropRowPaddingY +
           qMax(lineHeight(Style::font(15, QFont::DemiBold)),
                int(std::ceil(PanelPainting::symbolBox(14).height())));
}

int captionHeight() {
    return lineHeight(PanelPainting::captionFont());
}

int recentLineHeight() {
    return qMax(captionHeight(), lineHeight(clearFont()));
}

QRectF recentCaptionText(const QRectF &row) {
    const qreal top = row.top() + 2 * dividerPadding + 1 + recentPaddingTop;
    return {row.left() + captionPaddingX, top, row.width() - 2 * captionPaddingX,
            qreal(recentLineHeight())};
}

} // namespace

namespace PaintedRows {

RowHeights measuredHeights(int newFolderFieldHeight, int listWidth) {
    RowHeights h;
    const int caption = captionHeight();
    h.newFolder = newFolderInset.top() + newFolderInset.bottom() + 2 * newFolderPaddingY +
                  qMax(newFolderFieldHeight, int(std::ceil(PanelPainting::symbolBox(15).height())));
    h.folderHeader = FolderSectionView::headerHeight(false);
    h.editFolderHeader = FolderSectionView::headerHeight(true);
    h.tabRow = TabRowView::rowHeight;
    h.searchTabRow = TabRowView::rowHeight;
    h.insertionLine = 12;
    h.ungroupedCaption = 14 + caption + 8;
    h.hintCard = cardPadding + lineHeight(cardTitleFont()) + cardSpacing +
                 cardBodyHeight(listWidth - 2 * sectionInsetX) + cardSpacing + cardButtonTopSpace +
                 int(buttonSize(firstFolderButtonFont(), PaintedRows::firstFolderText()).height()) +
                 cardPadding + cardPaddingBottom;
    h.recentCaption =
        2 * dividerPadding + 1 + recentPaddingTop + recentLineHeight() + recentPaddingBottom;
    h.closedRow = ClosedTabRowView::rowHeight;
    h.resultsCaption = 14 + caption + 8;
    h.noResults = 2 * noResultsPaddingY + messageHeight() + noResultsSpacing +
                  int(buttonSize(createButtonFont(), QString()).height());
    h.dropCaption = 10 + 1 + 10 + caption + 8;
    h.dropRow = dropRowHeight();
    return h;
}

QRectF clearButtonRect(const QRectF &caption) {
    const QRectF text = recentCaptionText(caption);
    const qreal width = PanelPainting::textWidth(clearFont(), clearText()) + 8;
    return {text.right() - width + 4, text.top() - 2, width, text.height() + 4};
}

QRectF hintCardButtonRect(const QRectF &row) {
    const QRectF card = cardRect(row);
    const QSizeF size = buttonSize(firstFolderButtonFont(), firstFolderText());
    return {card.left() + cardPadding, card.bottom() - cardPadding - size.height(), size.width(),
            size.height()};
}

QRectF createFolderButtonRect(const QRectF &row, const QString &query) {
    QSizeF size = buttonSize(createButtonFont(), PanelTexts::createFolder(query));
    size.setWidth(qMin(size.width(), qreal(noResultsWidth)));
    const qreal top = row.top() + noResultsPaddingY + messageHeight() + noResultsSpacing;
    return {row.center().x() - size.width() / 2, top, size.width(), size.height()};
}

QString ungroupedCaption() {
    return tr("Ungrouped");
}

QString recentCaption() {
    return tr("Recently Closed");
}

QString clearText() {
    return tr("Clear");
}

QString dropCaption() {
    return tr("Drop into folder");
}

QString hintTitle() {
    return tr("Group related files into folders");
}

QString cardBody() {
    return tr("Drag tabs into a folder to organize them, or search to jump instantly.");
}

QString firstFolderText() {
    return tr("Create your first folder");
}

QRectF newFolderFieldRect(const QRectF &row, int fieldHeight) {
    const QRectF inner = row.marginsRemoved(QMarginsF(newFolderInset))
                             .adjusted(newFolderPaddingX, 0, -newFolderPaddingX, 0);
    const qreal left = inner.left() + PanelPainting::symbolBox(15).width() + newFolderSpacing;
    return {left, inner.center().y() - fieldHeight / 2.0, inner.right() - left, qreal(fieldHeight)};
}

QString noResultsMessage(const QString &query) {
    const QFontMetrics metrics(noResultsFont());
    const int frame = metrics.horizontalAdvance(PanelTexts::noResults(QString()));
    return PanelTexts::noResults(
        metrics.elidedText(query, Qt::ElideMiddle, qMax(noResultsWidth - frame, 0)));
}

void paintUngroupedCaption(QPainter &painter, const QRectF &row, const Look &look) {
    const QRectF caption = row.adjusted(captionPaddingX, 14, -captionPaddingX, -8);
    PanelPainting::drawElidedText(
        painter, caption, PanelPainting::captionFont(),
        Style::color(look.lit ? Role::Accent : Role::Secondary, look.palette),
        ungroupedCaption().toUpper());
    if (look.lit)
        PanelPainting::drawElidedText(painter, caption, PanelPainting::captionFont(),
                                      Style::color(Role::Accent, look.palette),
                                      tr("Drop to ungroup"), Qt::AlignRight);
}

void paintRecentCaption(QPainter &painter, const QRectF &row, const Look &look) {
    painter.fillRect(QRectF(row.left(), row.top() + dividerPadding, row.width(), 1),
                     Style::color(Role::Quaternary, look.palette, 0.5));
    PanelPainting::drawElidedText(painter, recentCaptionText(row), PanelPainting::captionFont(),
                                  Style::color(Role::Tertiary, look.palette),
                                  recentCaption().toUpper());
    if (look.opacity <= 0)
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * look.opacity);
    PanelPainting::drawElidedText(painter, clearButtonRect(row), clearFont(),
                                  Style::color(Role::Tertiary, look.palette), clearText(),
                                  Qt::AlignHCenter);
    painter.restore();
}

void paintResultsCaption(QPainter &painter, const QRectF &row, qsizetype count, const Look &look) {
    PanelPainting::drawElidedText(painter, row.adjusted(captionPaddingX, 14, -captionPaddingX, -8),
                                  PanelPainting::captionFont(),
                                  Style::color(Role::Tertiary, look.palette),
                                  PanelTexts::resultCount(count).toUpper());
}

void paintDropCaption(QPainter &painter, const QRectF &row, const Look &look) {
    painter.fillRect(QRectF(row.left(), row.top() + 10, row.width(), 1),
                     Style::color(Role::Primary, look.palette, 0.125));
    PanelPainting::drawElidedText(painter, row.adjusted(captionPaddingX, 21, -captionPaddingX, -8),
                                  PanelPainting::captionFont(),
                                  Style::color(Role::Tertiary, look.palette),
                                  dropCaption().toUpper());
}

void paintHintCard(QPainter &painter, const QRectF &row, const Look &look) {
    const QRectF card = cardRect(row);
    PanelPainting::fillRounded(painter, card, 10, Style::color(Role::Accent, look.palette, 0.08));
    PanelPainting::strokeRoundedInside(painter, card, 10, 1,
                                       Style::color(Role::Accent, look.palette, 0.2));
    const qreal textWidth = card.width() - 2 * cardPadding;
    const int titleHeight = lineHeight(cardTitleFont());
    PanelPainting::drawElidedText(
        painter,
        QRectF(card.left() + cardPadding, card.top() + cardPadding, textWidth, titleHeight),
        cardTitleFont(), Style::color(Role::Primary, look.palette), hintTitle());
    painter.setFont(cardBodyFont());
    painter.setPen(Style::color(Role::Secondary, look.palette));
    painter.drawText(QRectF(card.left() + cardPadding,
                            card.top() + cardPadding + titleHeight + cardSpacing, textWidth,
                            cardBodyHeight(row.width())),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, cardBody());
    const QColor accent = Style::color(Role::Accent, look.palette);
    paintButton(painter, hintCardButtonRect(row), firstFolderButtonFont(), firstFolderText(),
                accent, Qt::white, 7);
}

void paintNewFolder(QPainter &painter, const QRectF &row, const Look &look) {
    const QRectF background = row.marginsRemoved(QMarginsF(newFolderInset));
    PanelPainting::fillRounded(painter, background, 8,
                               Style::color(Role::Accent, look.palette, 0.1));
    const qreal symbol = PanelPainting::symbolBox(15).width();
    PanelPainting::drawSymbol(painter, QStringLiteral("folder.fill"),
                              QRectF(background.left() + newFolderPaddingX, background.top(),
                                     symbol, background.height()),
                              15, Style::color(Role::Blue, look.palette));
}

void paintNoResults(QPainter &painter, const QRectF &row, const QString &query, const Look &look) {
    const QRectF label(row.center().x() - noResultsWidth / 2.0, row.top() + noResultsPaddingY,
                       noResultsWidth, messageHeight());
    PanelPainting::drawElidedText(painter, label, noResultsFont(),
                                  Style::color(Role::Secondary, look.palette),
                                  noResultsMessage(query), Qt::AlignHCenter);
    const QRectF button = createFolderButtonRect(row, query);
    painter.save();
    painter.setOpacity(painter.opacity() * (look.enabled ? 1.0 : 0.4));
    paintButton(painter, button, createButtonFont(), PanelTexts::createFolder(query),
                Style::color(Role::Accent, look.palette, 0.12),
                Style::color(Role::Accent, look.palette), button.height() / 2);
    painter.restore();
}

void paintLitShape(QPainter &painter, const QRectF &shape, const QPalette &palette, qreal lit) {
    if (lit <= 0)
        return;
    PanelPainting::fillRounded(painter, shape, 8, Style::color(Role::Accent, palette, 0.14 * lit));
    PanelPainting::strokeRoundedInside(painter, shape, 8, 1.5,
                                       Style::color(Role::Accent, palette, 0.5 * lit));
}

void paintDropRow(QPainter &painter, const QRectF &row, const DropRowLook &look) {
    const bool toFolder = look.folderName.has_value();
    const QRectF shape = ListRows::dropRowShape(row);
    paintLitShape(painter, shape, look.palette, look.lit);
    const QRectF box = shape.adjusted(14, dropRowPaddingY, -14, -dropRowPaddingY);
    const qreal symbolWidth = PanelPainting::symbolBox(14).width();
    PanelPainting::drawSymbol(painter,
                              toFolder ? QStringLiteral("folder.fill") : QStringLiteral("tray"),
                              QRectF(box.left(), box.top(), symbolWidth, box.height()), 14,
                              Style::color(look.isTargeted ? Role::Accent
                                           : toFolder      ? Role::Blue
                                                           : Role::Secondary,
                                           look.palette));
    qreal right = box.right();
    if (look.isTargeted) {
        const QFont font = Style::font(12, QFont::Medium);
        const QString dropHere = tr("Drop here");
        const qreal width = PanelPainting::textWidth(font, dropHere);
        PanelPainting::drawElidedText(painter,
                                      QRectF(right - width, box.top(), width + 1, box.height()),
                                      font, Style::color(Role::Accent, look.palette), dropHere);
        right -= width + 10;
    }
    const qreal left = box.left() + symbolWidth + 10;
    PanelPainting::drawElidedText(
        painter, QRectF(left, box.top(), qMax(0.0, right - left), box.height()),
        Style::font(15, QFont::DemiBold),
        Style::color(toFolder ? Role::Primary : Role::Secondary, look.palette),
        toFolder ? *look.folderName : ungroupedCaption());
}

} // namespace PaintedRows
