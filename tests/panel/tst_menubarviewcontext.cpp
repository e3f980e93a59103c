#include "tst_menubarviewcontext.h"

PanelTestContext::PanelTestContext() {
    context.hotkey = &hotkey;
    context.updaterManager = &updater;
    context.autostart = &autostart;
    context.onboardingStore = &onboarding;
    context.shell = this;
}
