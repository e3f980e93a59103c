#include "panel/SearchFieldView.h"

#include "panel/PanelLineEdit.h"
#include "panel/PanelPainting.h"
#include "panel/SymbolButton.h"
#include "ui/Style.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QtMath>

SearchFieldView::SearchFieldView(QWidget *parent)
    : QWidget(parent)
    , m_field(new PanelLineEdit(this))
    , m_clearButton(new SymbolButton(QStringLiteral("xmark.circle.fill"),
                                     QStringLiteral("Clear Search"), symbolPointSize,
                                     Style::Role::Tertiary, this)) {
    m_field->setPlaceholderText(QStringLiteral("Search tabs…"));
    // The placeholder is gone once something is typed; the name stays.
    m_field->setAccessibleName(QStringLiteral("Search tabs"));
    m_field->setFont(Style::font(14));
    m_clearButton->hide();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 7, 10, 7);
    layout->setSpacing(8);
    layout->addSpacing(glassWidth()); // the magnifying glass is painted there
    layout->addWidget(m_field, 1);
    layout->addWidget(m_clearButton);

    connect(m_field, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_clearButton->setVisible(!text.isEmpty());
        emit textChanged(text);
    });
    connect(m_clearButton, &QAbstractButton::clicked, this, [this] {
        setText(QString());
        emit clearPressed();
    });
}

int SearchFieldView::glassWidth() {
    return qCeil(PanelPainting::symbolBox(symbolPointSize).width());
}

QString SearchFieldView::text() const {
    return m_field->text();
}

void SearchFieldView::setText(const QString &text) {
    if (text != m_field->text())
        m_field->setText(text);
}

void SearchFieldView::focusField() {
    m_field->setFocus(Qt::OtherFocusReason);
}

bool SearchFieldView::hasFieldFocus() const {
    return m_field->hasFocus();
}

void SearchFieldView::setOnKey(std::function<bool(int, Qt::KeyboardModifiers)> onKey) {
    m_field->onKey = std::move(onKey);
}

void SearchFieldView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    PanelPainting::fillRounded(painter, rect(), 8,
                               Style::color(Style::Role::Secondary, palette(), 0.1));
    const QMargins margins = layout()->contentsMargins();
    PanelPainting::drawSymbol(painter, QStringLiteral("magnifyingglass"),
                              QRectF(margins.left(), 0, glassWidth(), height()), symbolPointSize,
                              Style::color(Style::Role::Tertiary, palette()));
}

void SearchFieldView::mousePressEvent(QMouseEvent *) {
    // The whole group is the field's target, not only the text line.
    focusField();
}
