#include "panel/UngroupedHintCard.h"

#include "panel/PanelPainting.h"
#include "ui/Style.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

using Style::Role;

namespace {

constexpr int padding = 14;
constexpr int spacing = 8;
constexpr int buttonTopSpace = 2;
constexpr int buttonPaddingX = 12;
constexpr int buttonPaddingY = 7;
constexpr int buttonIconSpacing = 6;
constexpr qreal buttonPointSize = 12;
// The card's natural width inside the panel: 420 less the section's and the card's margins.
constexpr int naturalWidth = 420 - 2 * 8 - 2 * 14;

QFont titleFont() {
    return Style::font(13, QFont::DemiBold);
}

QFont bodyFont() {
    return Style::font(12);
}

QFont buttonFont() {
    return Style::font(buttonPointSize, QFont::DemiBold);
}

QString titleText() {
    return QObject::tr("Group related files into folders");
}

QString bodyText() {
    return QObject::tr("Drag tabs into a folder to organize them, or search to jump instantly.");
}

// "folder.badge.plus" and "Create your first folder" in white on an accent capsule.
class FirstFolderButton : public QAbstractButton {
public:
    explicit FirstFolderButton(QWidget *parent)
        : QAbstractButton(parent) {
        setText(QObject::tr("Create your first folder"));
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
    }

    QSize sizeHint() const override {
        const QSizeF icon = PanelPainting::symbolBox(buttonPointSize);
        const qreal width = icon.width() + buttonIconSpacing +
                            PanelPainting::textWidth(buttonFont(), text()) + 2 * buttonPaddingX;
        return {qCeil(width) + 1, QFontMetrics(buttonFont()).height() + 2 * buttonPaddingY};
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        QColor fill = Style::color(Role::Accent, palette());
        if (isDown())
            fill = fill.darker(115);
        PanelPainting::fillRounded(painter, rect(), 7, fill);
        const QRectF content = QRectF(rect()).adjusted(buttonPaddingX, 0, -buttonPaddingX, 0);
        const QSizeF icon = PanelPainting::symbolBox(buttonPointSize);
        PanelPainting::drawSymbol(
            painter, QStringLiteral("folder.badge.plus"),
            QRectF(content.left(), content.top(), icon.width(), content.height()), buttonPointSize,
            Qt::white);
        const qreal textLeft = content.left() + icon.width() + buttonIconSpacing;
        PanelPainting::drawElidedText(
            painter, QRectF(textLeft, content.top(), content.right() - textLeft, content.height()),
            buttonFont(), Qt::white, text());
    }
};

} // namespace

UngroupedHintCard::UngroupedHintCard(QWidget *parent)
    : QWidget(parent)
    , m_createButton(new FirstFolderButton(this)) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(m_createButton, &QAbstractButton::clicked, this,
            &UngroupedHintCard::createFolderRequested);
}

int UngroupedHintCard::bodyHeight(int width) const {
    const QRect bounds = QFontMetrics(bodyFont())
                             .boundingRect(QRect(0, 0, qMax(1, width - 2 * padding), 10000),
                                           Qt::TextWordWrap, bodyText());
    return bounds.height();
}

int UngroupedHintCard::heightForWidth(int width) const {
    return padding + QFontMetrics(titleFont()).height() + spacing + bodyHeight(width) + spacing +
           buttonTopSpace + m_createButton->sizeHint().height() + padding;
}

QSize UngroupedHintCard::sizeHint() const {
    return {naturalWidth, heightForWidth(naturalWidth)};
}

void UngroupedHintCard::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    const QSize button = m_createButton->sizeHint();
    m_createButton->setGeometry(padding, height() - padding - button.height(), button.width(),
                                button.height());
}

void UngroupedHintCard::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    PanelPainting::fillRounded(painter, rect(), 10, Style::color(Role::Accent, palette(), 0.08));
    PanelPainting::strokeRoundedInside(painter, rect(), 10, 1,
                                       Style::color(Role::Accent, palette(), 0.2));
    const int textWidth = width() - 2 * padding;
    const int titleHeight = QFontMetrics(titleFont()).height();
    PanelPainting::drawElidedText(painter, QRectF(padding, padding, textWidth, titleHeight),
                                  titleFont(), Style::color(Role::Primary, palette()), titleText());
    painter.setFont(bodyFont());
    painter.setPen(Style::color(Role::Secondary, palette()));
    painter.drawText(
        QRect(padding, padding + titleHeight + spacing, textWidth, bodyHeight(width())),
        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, bodyText());
}
