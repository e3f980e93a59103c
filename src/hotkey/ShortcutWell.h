#pragma once

#include <QAbstractButton>

// The key-cap field of the shortcut recorder: shows a shortcut, or a prompt in the accent colour
// while recording.
class ShortcutWell : public QAbstractButton {
    Q_OBJECT
public:
    explicit ShortcutWell(QWidget *parent = nullptr);

    // Shown in the well; a screen reader hears it as "Shortcut: <text>".
    void setText(const QString &text);
    void setRecording(bool recording);
    bool isRecording() const { return m_recording; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_recording = false;
};
