#include "settings/SettingsView.h"

#include "hotkey/HotkeyRecorderView.h"
#include "platform/AutostartService.h"
#include "settings/DividerLine.h"
#include "settings/ShortcutHandlerNote.h"
#include "settings/StyledLabel.h"
#include "settings/UpdateDialogPresenter.h"
#include "settings/UpdaterManager.h"
#include "settings/VersionText.h"
#include "ui/Style.h"
#include "ui/SymbolIcon.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPushButton *smallButton(const QString &text, QWidget *parent) {
    auto *button = new QPushButton(text, parent);
    button->setFont(Style::font(11));
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QHBoxLayout *row(std::initializer_list<QWidget *> leading, QWidget *trailing = nullptr) {
    auto *layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *widget : leading)
        layout->addWidget(widget, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    if (trailing)
        layout->addWidget(trailing, 0, Qt::AlignVCenter);
    return layout;
}

} // namespace

SettingsView::SettingsView(SpotlightSearchController &hotkey, UpdaterManager &updater,
                           AutostartService &autostart, std::function<void()> onClose,
                           QWidget *parent)
    : QWidget(parent)
    , m_updater(updater)
    , m_autostart(autostart)
    , m_onClose(std::move(onClose)) {
    setFixedWidth(panelWidth);
    UpdateDialogPresenter::ensureFor(updater);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(new DividerLine(0.5, this));

    auto *scroll = m_scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(buildSections(hotkey));
    scroll->widget()->installEventFilter(this);
    // The page's own background shows through, the same under the header and the sections.
    scroll->viewport()->setAutoFillBackground(false);
    scroll->widget()->setAutoFillBackground(false);
    scroll->setAutoFillBackground(false);
    scroll->setBackgroundRole(QPalette::Window);
    scroll->viewport()->setBackgroundRole(QPalette::Window);
    layout->addWidget(scroll, 1);
}

SettingsView::~SettingsView() = default;

QSize SettingsView::sizeHint() const {
    // All of the page rather than the scroll area's capped guess: the panel grows to show it.
    QSize hint = QWidget::sizeHint();
    hint.rheight() += m_scroll->widget()->sizeHint().height() - m_scroll->sizeHint().height();
    return hint;
}

bool SettingsView::eventFilter(QObject *watched, QEvent *event) {
    // The scroll area keeps its page's new height to itself: a note that came or went left the
    // panel as tall as before, the page scrolled inside it.
    if (watched == m_scroll->widget() && event->type() == QEvent::LayoutRequest) {
        layout()->invalidate();
        updateGeometry();
    }
    return QWidget::eventFilter(watched, event);
}

QWidget *SettingsView::buildHeader() {
    auto *header = new QWidget(this);
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);

    auto *back = new QToolButton(header);
    m_back = back;
    back->setAutoRaise(true);
    back->setFixedSize(28, 28);
    back->setIconSize(QSize(13, 13));
    applyIconColour();
    back->setCursor(Qt::PointingHandCursor);
    back->setToolTip(QStringLiteral("Back"));
    back->setAccessibleName(QStringLiteral("Back"));
    connect(back, &QToolButton::clicked, this, [this] {
        if (m_onClose)
            m_onClose();
    });

    layout->addWidget(back, 0, Qt::AlignVCenter);
    layout->addWidget(
        styledLabel(QStringLiteral("Settings"), 17, QFont::DemiBold, Style::Role::Primary, header),
        0, Qt::AlignVCenter);
    layout->addStretch(1);
    return header;
}

QWidget *SettingsView::buildSections(SpotlightSearchController &hotkey) {
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(22);

    m_startAtLogin = new QCheckBox(QStringLiteral("Start at login"), content);
    m_startAtLogin->setFont(Style::font(13));
    // Only the user's own clicks change the login item, never the value shown on appearance.
    connect(m_startAtLogin, &QCheckBox::clicked, this, [this](bool enabled) {
        QTimer::singleShot(0, this, [this, enabled] { m_autostart.setEnabled(enabled); });
    });

    auto *openLabel = styledLabel(QStringLiteral("Open Nookery"), 13, QFont::Normal,
                                  Style::Role::Primary, content);
    auto *recorder = new HotkeyRecorderView(hotkey, content);
    auto *shortcut = new QVBoxLayout;
    shortcut->setSpacing(8);
    shortcut->addLayout(row({openLabel}, recorder));
    shortcut->addWidget(new ShortcutHandlerNote(hotkey, content));

    auto *updatesText = styledLabel(QStringLiteral("Get the latest version of Nookery."), 12,
                                    QFont::Normal, Style::Role::Secondary, content);
    auto *checkButton = smallButton(QStringLiteral("Check for Updates"), content);
    if (!m_updater.isConfigured())
        checkButton->setToolTip(QStringLiteral("Updates come from your package manager"));
    connect(checkButton, &QPushButton::clicked, &m_updater, &UpdaterManager::checkForUpdates);

    auto *versionLabel =
        styledLabel(currentVersionText(), 12, QFont::Normal, Style::Role::Secondary, content);
    versionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *quitButton = smallButton(QStringLiteral("Quit Nookery"), content);
    connect(quitButton, &QPushButton::clicked, qApp, &QCoreApplication::quit);

    const std::initializer_list<std::pair<QString, QLayout *>> sections{
        {QStringLiteral("GENERAL"), row({m_startAtLogin})},
        {QStringLiteral("SHORTCUT"), shortcut},
        {QStringLiteral("UPDATES"), row({updatesText}, checkButton)},
        {QStringLiteral("ABOUT"), row({versionLabel}, quitButton)},
    };
    bool first = true;
    for (const auto &[title, rowLayout] : sections) {
        if (!first)
            layout->addWidget(new DividerLine(0.4, content));
        first = false;
        layout->addWidget(section(title, rowLayout));
    }
    layout->addStretch(1);
    return content;
}

QWidget *SettingsView::section(const QString &title, QLayout *rowLayout) {
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    auto *titleLabel = styledLabel(title, 11, QFont::DemiBold, Style::Role::Tertiary, box);
    QFont font = titleLabel->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.4);
    titleLabel->setFont(font);
    layout->addWidget(titleLabel);
    layout->addLayout(rowLayout);
    return box;
}

void SettingsView::applyIconColour() {
    m_back->setIcon(SymbolIcon::icon(QStringLiteral("chevron.left"),
                                     Style::color(Style::Role::Secondary, palette())));
}

void SettingsView::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    // Light and dark follow the desktop, as the panel does.
    if (event->type() == QEvent::PaletteChange && m_back)
        applyIconColour();
}

void SettingsView::showEvent(QShowEvent *event) {
    // Read on every appearance: the entry may have been changed outside Nookery.
    m_startAtLogin->setChecked(m_autostart.isEnabled());
    QWidget::showEvent(event);
}
