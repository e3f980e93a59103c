#include "hotkey/HotkeyRecorderView.h"

#include "hotkey/HotkeyBinding.h"
#include "hotkey/KeyCodeTable.h"
#include "hotkey/ShortcutWell.h"
#include "hotkey/SpotlightSearchController.h"
#include "ui/Style.h"
#include "ui/SymbolIcon.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>
#include <optional>

namespace {

constexpr quint32 escapeKeyCode = 53;

// The key's position in the binding's numbering: from the X keycode where there is one, else
// (the offscreen platform) from the key it produced.
std::optional<quint32> macKeyCode(const QKeyEvent &event) {
    if (event.nativeScanCode() > KeyCodeTable::x11KeycodeOffset)
        return KeyCodeTable::macFromEvdev(event.nativeScanCode() - KeyCodeTable::x11KeycodeOffset);
    return KeyCodeTable::macFromQtKey(event.key(), event.modifiers() & Qt::KeypadModifier);
}

bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

HotkeyRecorderView::HotkeyRecorderView(SpotlightSearchController &hotkey, QWidget *parent)
    : QWidget(parent)
    , m_hotkey(hotkey)
    , m_well(new ShortcutWell(this))
    , m_resetButton(new QToolButton(this)) {
    const auto defaultText = displayString(HotkeyBinding::defaultBinding());
    m_resetButton->setAutoRaise(true);
    m_resetButton->setFixedSize(22, 22);
    m_resetButton->setIconSize(QSize(13, 13));
    applyIconColour();
    m_resetButton->setToolTip(QStringLiteral("Reset to default (%1)").arg(defaultText));
    m_resetButton->setCursor(Qt::PointingHandCursor);
    m_resetButton->setFocusPolicy(Qt::NoFocus);
    m_well->setFocusPolicy(Qt::NoFocus);

    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_well, 0, Qt::AlignVCenter);
    layout->addWidget(m_resetButton, 0, Qt::AlignVCenter);

    connect(m_well, &QAbstractButton::clicked, this, &HotkeyRecorderView::toggleRecording);
    connect(m_resetButton, &QToolButton::clicked, this,
            [this] { m_hotkey.setBinding(HotkeyBinding::defaultBinding()); });
    connect(&m_hotkey, &SpotlightSearchController::statusChanged, this,
            &HotkeyRecorderView::refreshWell);
    refreshWell();
}

HotkeyRecorderView::~HotkeyRecorderView() {
    if (m_isRecording)
        m_hotkey.setPaused(false);
    stopMonitoring();
}

void HotkeyRecorderView::toggleRecording() {
    setRecording(!m_isRecording);
}

void HotkeyRecorderView::setRecording(bool recording) {
    m_isRecording = recording;
    m_refusedKey = false;
    m_hotkey.setPaused(recording);
    if (recording && !m_monitoring) {
        qApp->installEventFilter(this);
        m_monitoring = true;
    } else if (!recording) {
        stopMonitoring();
    }
    refreshWell();
}

void HotkeyRecorderView::stopMonitoring() {
    if (!m_monitoring)
        return;
    qApp->removeEventFilter(this);
    m_monitoring = false;
}

void HotkeyRecorderView::refreshWell() {
    m_well->setRecording(m_isRecording);
    m_well->setText(!m_isRecording ? m_hotkey.shortcutText()
                    : m_refusedKey ? QStringLiteral("Not supported")
                                   : QStringLiteral("Press keys…"));
    m_well->updateGeometry();
}

bool HotkeyRecorderView::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken, so no shortcut of the panel fires; the key press itself follows.
        event->accept();
        return true;
    case QEvent::KeyPress:
        handleKeyPress(*static_cast<QKeyEvent *>(event));
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void HotkeyRecorderView::handleKeyPress(const QKeyEvent &event) {
    const auto keyCode = macKeyCode(event);
    // By position, and by the key the layout makes of it: Caps Lock often types Escape.
    if (keyCode == escapeKeyCode || event.key() == Qt::Key_Escape) {
        QTimer::singleShot(0, this, [this] { setRecording(false); });
        return;
    }
    // A modifier alone is a chord still being pressed.
    if (isModifierKey(event.key()))
        return;
    if (!keyCode) {
        m_refusedKey = true;
        refreshWell();
        return;
    }
    const quint32 modifiers = carbonModifiers(event.modifiers());
    if (modifiers == 0)
        return;
    const HotkeyBinding recorded{*keyCode, modifiers};
    QTimer::singleShot(0, this, [this, recorded] {
        m_hotkey.setBinding(recorded);
        setRecording(false);
    });
}

void HotkeyRecorderView::applyIconColour() {
    m_resetButton->setIcon(SymbolIcon::icon(QStringLiteral("arrow.counterclockwise"),
                                            Style::color(Style::Role::Tertiary, palette())));
}

void HotkeyRecorderView::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyIconColour();
}

void HotkeyRecorderView::hideEvent(QHideEvent *event) {
    // Hidden is gone for the user: a recording left running would take keys from the panel.
    setRecording(false);
    QWidget::hideEvent(event);
}
