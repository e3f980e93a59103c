#include "panel/NewFolderRowView.h"

#include "panel/PanelLineEdit.h"
#include "panel/PanelPainting.h"
#include "panel/SymbolView.h"
#include "ui/Style.h"

#include <QHBoxLayout>
#include <QPainter>

namespace {
// Space between the row's edge and its filled background.
const QMargins backgroundInset(10, 6, 10, 6);
} // namespace

NewFolderRowView::NewFolderRowView(QWidget *parent)
    : QWidget(parent)
    , m_field(new PanelLineEdit(this)) {
    m_field->setPlaceholderText(QStringLiteral("Folder name"));
    m_field->setFont(Style::font(15, QFont::DemiBold));
    m_field->onKey = [this](int key) {
        if (key == Qt::Key_Return) {
            emit submitted(m_field->text());
            return true;
        }
        if (key == Qt::Key_Escape) {
            emit cancelled();
            return true;
        }
        return false;
    };

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(backgroundInset + QMargins(14, 11, 14, 11));
    layout->setSpacing(10);
    layout->addWidget(new SymbolView(QStringLiteral("folder.fill"),
                                     PanelPainting::symbolBox(15).toSize(), Style::Role::Blue,
                                     this));
    layout->addWidget(m_field, 1);
}

void NewFolderRowView::begin() {
    m_field->clear();
    // Hidden behind a search, the loading or the empty state, it must not take the keyboard.
    if (isVisibleTo(window()))
        m_field->setFocus(Qt::OtherFocusReason);
}

void NewFolderRowView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    PanelPainting::fillRounded(painter, QRectF(rect()).marginsRemoved(backgroundInset), 8,
                               Style::color(Style::Role::Accent, palette(), 0.1));
}
