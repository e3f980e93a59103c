#pragma once

#include "platform/AutostartService.h"

// Remembers the state in memory; `setFailing` makes every change fail.
class FakeAutostartService : public AutostartService {
public:
    bool isEnabled() const override { return m_enabled; }
    bool setEnabled(bool enabled) override {
        ++m_changeCount;
        m_enabled = m_failing ? m_enabled : enabled;
        return !m_failing;
    }

    void setFailing(bool failing) { m_failing = failing; }
    int changeCount() const { return m_changeCount; }

private:
    bool m_enabled = false;
    bool m_failing = false;
    int m_changeCount = 0;
};
