#include "dragdrop/InsertionMarkerStrip.h"

#include "ui/Style.h"

#include <QPainter>

namespace {
constexpr int fadeMilliseconds = 80;
constexpr qreal edgeInset = 10;
constexpr qreal dotDiameter = 8;
constexpr qreal barThickness = 2;
} // namespace

InsertionMarkerStrip::InsertionMarkerStrip(QWidget *parent)
    : QWidget(parent) {
    setFixedHeight(stripHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    fade_.setDuration(fadeMilliseconds);
    fade_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        opacity_ = value.toReal();
        update();
    });
}

void InsertionMarkerStrip::setMarkerShown(bool shown) {
    if (shown == shown_)
        return;
    shown_ = shown;
    fade_.stop();
    fade_.setStartValue(opacity_);
    fade_.setEndValue(shown ? 1.0 : 0.0);
    fade_.start();
}

void InsertionMarkerStrip::paintEvent(QPaintEvent *) {
    if (opacity_ <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity_);
    if (isRightToLeft()) {
        painter.translate(width(), 0);
        painter.scale(-1, 1);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Style::color(Style::Role::Accent, palette()));
    const qreal middle = height() / 2.0;
    painter.drawEllipse(QRectF(edgeInset, middle - dotDiameter / 2, dotDiameter, dotDiameter));
    const qreal barStart = edgeInset + dotDiameter;
    const qreal barEnd = width() - edgeInset;
    if (barEnd > barStart)
        painter.drawRect(
            QRectF(barStart, middle - barThickness / 2, barEnd - barStart, barThickness));
}
