#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class AppDelegate;

// For end-to-end tests only: when NOOKERY_TEST_GEOMETRY_FILE names a file, writes there, as
// JSON, where the tray icon, the panel and every widget shown in it are on screen, shortly
// after any of them is shown, hidden, moved or resized. Does nothing otherwise.
class TestGeometryReporter : public QObject {
    Q_OBJECT
public:
    explicit TestGeometryReporter(const AppDelegate &delegate);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void write() const;

    const AppDelegate &m_delegate;
    QString m_path;
    QTimer m_pending;
};
