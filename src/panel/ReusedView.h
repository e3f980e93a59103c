#pragma once

#include <QPointer>
#include <QWidget>

// A view kept across rebuilds as long as the values it was built from stay the same, so an
// unrelated store change does not re-create hundreds of rows.
template <typename Inputs, typename View> class ReusedView {
public:
    // The kept view when `inputs` equal the last ones, else a fresh one from `make`.
    template <typename Make> View *take(const Inputs &inputs, Make make) {
        if (m_view && m_inputs == inputs)
            return m_view;
        discard();
        m_inputs = inputs;
        m_view = make();
        return m_view;
    }

    View *view() const { return m_view; }

    void discard() {
        if (!m_view)
            return;
        // Later: a rebuild may run while one of its children is still on the call stack.
        m_view->hide();
        m_view->deleteLater();
        m_view = nullptr;
    }

private:
    Inputs m_inputs{};
    QPointer<View> m_view;
};
