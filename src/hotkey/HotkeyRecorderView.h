#pragma once

#include <QWidget>

class QKeyEvent;
class QToolButton;
class ShortcutWell;
class SpotlightSearchController;

// Records a new global shortcut: click the well, press a key together with at least one of
// Ctrl, Alt, Shift and Super. Escape cancels, known by its position or by the key the layout
// types (Caps Lock is often made an Escape); while recording every key press in the application
// is taken, so none reaches another control. A key the shortcut cannot use is answered with
// "Not supported" in the well. The reset button restores "Alt+Space".
class HotkeyRecorderView : public QWidget {
    Q_OBJECT
public:
    explicit HotkeyRecorderView(SpotlightSearchController &hotkey, QWidget *parent = nullptr);
    ~HotkeyRecorderView() override;

    bool isRecording() const { return m_isRecording; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void toggleRecording();
    void setRecording(bool recording);
    void stopMonitoring();
    void handleKeyPress(const QKeyEvent &event);
    void refreshWell();
    void applyIconColour();

    SpotlightSearchController &m_hotkey;
    ShortcutWell *m_well;
    QToolButton *m_resetButton;
    bool m_isRecording = false;
    bool m_refusedKey = false;
    bool m_monitoring = false;
};
