#include "settings/WelcomeView.h"

#include "hotkey/SpotlightSearchController.h"
#include "settings/OnboardingStore.h"
#include "settings/StyledLabel.h"
#include "ui/Style.h"
#include "ui/SymbolIcon.h"

#include <QEvent>
#include <QFontDatabase>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

constexpr int sideInset = 32;
constexpr int iconSize = 52;

QString cssColor(const QColor &color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF());
}

} // namespace

WelcomeView::WelcomeView(SpotlightSearchController &hotkey, OnboardingStore &onboarding,
                         QWidget *parent)
    : QWidget(parent) {
    setFixedWidth(panelWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(28);

    m_icon = new QLabel(this);
    m_icon->setFixedSize(iconSize, iconSize);
    layout->addWidget(m_icon, 0, Qt::AlignHCenter);
    layout->addSpacing(16);

    layout->addWidget(styledLabel(QStringLiteral("Welcome to Nookery"), 20, QFont::DemiBold,
                                  Style::Role::Primary, this),
                      0, Qt::AlignHCenter);
    layout->addSpacing(8);

    // Two pixels of extra leading on a 13 px line.
    auto *about = styledLabel(
        QStringLiteral("<div style=\"line-height: 118%\">Organize your open Figma tabs into "
                       "folders so you can find and switch between files in seconds.</div>"),
        13, QFont::Normal, Style::Role::Secondary, this);
    about->setTextFormat(Qt::RichText);
    about->setWordWrap(true);
    about->setAlignment(Qt::AlignHCenter);
    about->setContentsMargins(sideInset, 0, sideInset, 0);
    layout->addWidget(about);
    layout->addSpacing(22);

    layout->addWidget(buildShortcutBlock(hotkey), 0, Qt::AlignHCenter);
    layout->addSpacing(26);

    m_getStarted = new QPushButton(QStringLiteral("Get Started"), this);
    m_getStarted->setFont(Style::font(13, QFont::DemiBold));
    m_getStarted->setCursor(Qt::PointingHandCursor);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(sideInset, 0, sideInset, 0);
    buttonRow->addWidget(m_getStarted);
    layout->addLayout(buttonRow);
    layout->addSpacing(24);

    connect(m_getStarted, &QPushButton::clicked, &onboarding,
            [&onboarding] { onboarding.setHasSeenWelcome(true); });
    // The default action: Return or Enter anywhere in the panel presses it.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, m_getStarted, &QPushButton::click);
    }
    applyColours();
}

void WelcomeView::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    // Light and dark follow the desktop, as the panel does.
    if (event->type() == QEvent::PaletteChange && m_getStarted)
        applyColours();
}

void WelcomeView::applyColours() {
    const QPalette colours = palette();
    m_icon->setPixmap(SymbolIcon::pixmap(QStringLiteral("MenuBarIcon"), QSize(iconSize, iconSize),
                                         Style::color(Style::Role::Primary, colours),
                                         devicePixelRatioF()));
    m_shortcut->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: %2; border-radius: 8px; "
                       "padding: 8px 14px; }")
            .arg(cssColor(Style::color(Style::Role::Secondary, colours, 0.12)),
                 cssColor(Style::color(Style::Role::Primary, colours))));
    m_getStarted->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: white; border: none; "
                       "border-radius: 8px; padding: 10px 0px; }")
            .arg(cssColor(Style::color(Style::Role::Accent, colours))));
}

QWidget *WelcomeView::buildShortcutBlock(SpotlightSearchController &hotkey) {
    auto *block = new QWidget(this);
    auto *layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto *caption = styledLabel(QStringLiteral("OPEN ANYTIME WITH"), 10, QFont::DemiBold,
                                Style::Role::Tertiary, block);
    QFont captionFont = caption->font();
    captionFont.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    caption->setFont(captionFont);

    m_shortcut = new QLabel(hotkey.shortcutText(), block);
    m_shortcut->setTextFormat(Qt::PlainText);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(15);
    mono.setWeight(QFont::DemiBold);
    m_shortcut->setFont(mono);
    connect(&hotkey, &SpotlightSearchController::statusChanged, m_shortcut,
            [this, &hotkey] { m_shortcut->setText(hotkey.shortcutText()); });

    auto *hint = styledLabel(QStringLiteral("You can change this in Settings."), 11, QFont::Normal,
                             Style::Role::Tertiary, block);

    layout->addWidget(caption, 0, Qt::AlignHCenter);
    layout->addWidget(m_shortcut, 0, Qt::AlignHCenter);
    layout->addWidget(hint, 0, Qt::AlignHCenter);
    return block;
}
