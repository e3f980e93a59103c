#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Built only into the program the end-to-end tests start (nookery-under-test): when
// NOOKERY_TEST_GEOMETRY_FILE names a file, writes there, as JSON, where the tray icon, the panel
// and every widget shown in it are on screen, shortly after any of them is shown, hidden, moved
// or resized. It installs itself when the program's QApplication is created.
class TestGeometryReporter : public QObject {
    Q_OBJECT
public:
    TestGeometryReporter(QString path, QObject *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void write() const;

    QString m_path;
    QTimer m_pending;
};
