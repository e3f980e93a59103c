#pragma once

#include "settings/UpdateDialog.h"

#include <QObject>
#include <QPointer>
#include <QSet>

// Shows the update manager's answers: every answer to a check the user asked for, and a newer
// version found by a scheduled check (once per version and run, without taking the keyboard
// focus). One window at a time.
class UpdateDialogPresenter : public QObject {
    Q_OBJECT
public:
    // The presenter of this manager, made on first call; it lives as long as the manager.
    static UpdateDialogPresenter *ensureFor(UpdaterManager &updater);

    UpdateDialog *currentDialog() const { return m_dialog; }

private:
    explicit UpdateDialogPresenter(UpdaterManager &updater);
    void present(const UpdateCheckResult &result);

    UpdaterManager &m_updater;
    QPointer<UpdateDialog> m_dialog;
    QSet<QString> m_offeredVersions;
};
