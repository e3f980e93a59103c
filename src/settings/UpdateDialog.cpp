#include "settings/UpdateDialog.h"

#include "settings/StyledLabel.h"
#include "ui/Style.h"
#include "ui/SymbolIcon.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int iconSize = 48;
constexpr int textWidth = 300;

} // namespace

UpdateDialog::UpdateDialog(const UpdateCheckResult &result, const QString &currentVersion,
                           QWidget *parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Software Update"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *buttons = new QDialogButtonBox(this);
    using Outcome = UpdateCheckResult::Outcome;
    switch (result.outcome) {
    case Outcome::UpToDate:
        m_headline = QStringLiteral("You’re up to date!");
        m_message = QStringLiteral("Nookery %1 is currently the newest version available.")
                        .arg(currentVersion);
        break;
    case Outcome::UpdateAvailable: {
        m_headline = QStringLiteral("A new version of Nookery is available!");
        m_message = QStringLiteral("Nookery %1 is now available — you have %2.")
                        .arg(result.item.displayVersion(), currentVersion);
        auto *download =
            buttons->addButton(QStringLiteral("Download"), QDialogButtonBox::AcceptRole);
        download->setEnabled(result.item.downloadUrl.isValid());
        const QUrl url = result.item.downloadUrl;
        connect(download, &QPushButton::clicked, this, [url] { QDesktopServices::openUrl(url); });
        buttons->addButton(QStringLiteral("Later"), QDialogButtonBox::RejectRole);
        break;
    }
    case Outcome::Failed:
        m_headline = QStringLiteral("Update Error!");
        m_message = QStringLiteral("Nookery could not check for updates. %1").arg(result.error);
        break;
    case Outcome::NotConfigured:
        m_headline = QStringLiteral("Updates come from your package manager");
        m_message = QStringLiteral("This copy of Nookery is kept up to date by your system’s "
                                   "package manager or software centre.");
        break;
    }
    if (buttons->buttons().isEmpty())
        buttons->addButton(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *icon = new QLabel(this);
    icon->setPixmap(SymbolIcon::pixmap(QStringLiteral("MenuBarIcon"), QSize(iconSize, iconSize),
                                       Style::color(Style::Role::Primary, palette()),
                                       devicePixelRatioF()));
    auto *headline = styledLabel(m_headline, 14, QFont::DemiBold, Style::Role::Primary, this);
    auto *message = styledLabel(m_message, 12, QFont::Normal, Style::Role::Secondary, this);
    message->setWordWrap(true);
    message->setFixedWidth(textWidth);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(headline);
    texts->addWidget(message);
    texts->addStretch(1);
    texts->addWidget(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts);
}
