#pragma once

#include "settings/UpdaterManager.h"

#include <QDialog>

// The answer to an update check in a small window of its own: up to date, a newer version with
// a Download button that opens its link, or what went wrong.
class UpdateDialog : public QDialog {
    Q_OBJECT
public:
    UpdateDialog(const UpdateCheckResult &result, const QString &currentVersion,
                 QWidget *parent = nullptr);

    QString headline() const { return m_headline; }
    QString message() const { return m_message; }

private:
    QString m_headline;
    QString m_message;
};
