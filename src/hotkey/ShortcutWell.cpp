#include "hotkey/ShortcutWell.h"

#include "ui/FocusRing.h"
#include "ui/Style.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int minimumTextWidth = 90;
constexpr int horizontalPadding = 10;
constexpr int verticalPadding = 5;
constexpr qreal cornerRadius = 6;
constexpr qreal borderWidth = 1.2;

QFont wellFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    return font;
}

} // namespace

ShortcutWell::ShortcutWell(QWidget *parent)
    : QAbstractButton(parent) {
    setFont(wellFont());
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleDescription(QStringLiteral("Press to record a new shortcut"));
}

void ShortcutWell::setText(const QString &text) {
    QAbstractButton::setText(text);
    setAccessibleName(QStringLiteral("Shortcut: ") + text);
}

void ShortcutWell::setRecording(bool recording) {
    if (m_recording == recording)
        return;
    m_recording = recording;
    update();
}

QSize ShortcutWell::sizeHint() const {
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    return {qMax(minimumTextWidth, textWidth) + 2 * horizontalPadding,
            metrics.height() + 2 * verticalPadding};
}

void ShortcutWell::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QRectF frame = QRectF(rect()).adjusted(borderWidth / 2, borderWidth / 2, -borderWidth / 2,
                                                 -borderWidth / 2);
    QPainterPath shape;
    shape.addRoundedRect(frame, cornerRadius, cornerRadius);
    painter.fillPath(shape, m_recording ? Style::color(Style::Role::Accent, pal, 0.12)
                                        : Style::color(Style::Role::Secondary, pal, 0.1));
    if (m_recording)
        painter.strokePath(shape, QPen(Style::color(Style::Role::Accent, pal, 0.6), borderWidth));
    painter.setPen(m_recording ? Style::color(Style::Role::Accent, pal)
                               : Style::color(Style::Role::Primary, pal));
    painter.drawText(rect(), Qt::AlignCenter, text());
    if (hasFocus())
        FocusRing::paint(painter, rect(), cornerRadius, pal);
}
