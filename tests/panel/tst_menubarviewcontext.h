#pragma once

#include "hotkey/SpotlightSearchController.h"
#include "panel/PanelShell.h"
#include "settings/OnboardingStore.h"
#include "settings/UpdaterManager.h"
#include "support/FakeAutostartService.h"
#include "support/FakeGlobalKeyGrabber.h"
#include "tst_tabrowcontext.h"

// Everything the whole panel reads: the rows' stores plus the shortcut, updates, the login
// item, the onboarding flag and a shell that counts how often it was asked to close the panel.
class PanelTestContext : public RowsTestContext, public PanelShell {
public:
    PanelTestContext();

    void closePanel() override { ++closeRequests; }

    SpotlightSearchController hotkey{std::make_unique<FakeGlobalKeyGrabber>()};
    UpdaterManager updater{UpdaterConfig{}};
    FakeAutostartService autostart;
    OnboardingStore onboarding;
    int closeRequests = 0;
};
