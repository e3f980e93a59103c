#include "support/FakeAutostartService.h"

bool FakeAutostartService::setEnabled(bool enabled) {
    ++m_changeCount;
    if (m_failing)
        return false;
    m_enabled = enabled;
    return true;
}
