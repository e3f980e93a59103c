#include "settings/UpdateDialogPresenter.h"

#include "settings/UpdateDialog.h"
#include "settings/UpdaterManager.h"

UpdateDialogPresenter *UpdateDialogPresenter::ensureFor(UpdaterManager &updater) {
    if (auto *existing =
            updater.findChild<UpdateDialogPresenter *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new UpdateDialogPresenter(updater);
}

UpdateDialogPresenter::UpdateDialogPresenter(UpdaterManager &updater)
    : QObject(&updater)
    , m_updater(updater) {
    connect(&updater, &UpdaterManager::checkFinished, this, &UpdateDialogPresenter::present);
}

void UpdateDialogPresenter::present(const UpdateCheckResult &result) {
    const bool isNews = result.outcome == UpdateCheckResult::Outcome::UpdateAvailable &&
                        !m_offeredVersions.contains(result.item.version);
    if (!result.userInitiated && !isNews)
        return;
    if (result.outcome == UpdateCheckResult::Outcome::UpdateAvailable)
        m_offeredVersions.insert(result.item.version);
    if (m_dialog)
        m_dialog->close();
    m_dialog = new UpdateDialog(result, m_updater.config().displayVersion);
    // A check nobody asked for must not take the keyboard: a Return meant for another window
    // would press Download.
    m_dialog->setAttribute(Qt::WA_ShowWithoutActivating, !result.userInitiated);
    m_dialog->show();
    m_dialog->raise();
    if (result.userInitiated)
        m_dialog->activateWindow();
}
