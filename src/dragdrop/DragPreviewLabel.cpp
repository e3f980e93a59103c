#include "dragdrop/DragPreviewLabel.h"

#include "ui/Style.h"

#include <QFontMetricsF>
#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr qreal cornerRadius = 6;
constexpr qreal backgroundAlpha = 0.95;
constexpr qreal labelHeight = 26;
constexpr qreal gapAbovePointer = 8;
constexpr qreal maxWidth = 200;
constexpr qreal horizontalPadding = 20;
} // namespace

QRectF DragPreviewLabel::frameFor(const QPointF &pointer, qreal textWidth) {
    const qreal width = std::min(textWidth + horizontalPadding, maxWidth);
    return {pointer.x() - width / 2, pointer.y() - labelHeight - gapAbovePointer, width,
            labelHeight};
}

DragPreviewLabel::DragPreviewLabel(QWidget *window)
    : QWidget(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(Style::font(12, QFont::Medium));
    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setColor(QColor(0, 0, 0, int(0.15 * 255)));
    shadow->setBlurRadius(8);
    shadow->setOffset(0, 2);
    setGraphicsEffect(shadow);
}

void DragPreviewLabel::setText(const QString &text) {
    if (text == text_)
        return;
    text_ = text;
    textWidth_ = QFontMetricsF(font()).horizontalAdvance(text);
    update();
}

QString DragPreviewLabel::displayedText() const {
    const qreal room = width() - horizontalPadding;
    return QFontMetricsF(font()).elidedText(text_, Qt::ElideRight, room);
}

void DragPreviewLabel::placeAbove(const QPointF &pointer) {
    const QRectF frame = frameFor(pointer, textWidth_);
    setGeometry(int(std::lround(frame.x())), int(std::lround(frame.y())),
                int(std::ceil(frame.width())), int(frame.height()));
}

void DragPreviewLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor background = palette().color(QPalette::Base);
    background.setAlphaF(float(backgroundAlpha));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, background);
    painter.setPen(Style::color(Style::Role::Primary, palette()));
    painter.drawText(rect(), Qt::AlignCenter, displayedText());
}
