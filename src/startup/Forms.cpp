#include "startup/Forms.h"

Forms& forms()
{
    static Forms instance;
    return instance;
}

void Forms::unloadAll()
{
    while (!m_order.empty()) {
        QWidget* w = m_order.back();
        m_order.pop_back();
        for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
            if (it->second == w) {
                m_forms.erase(it);
                break;
            }
        }
        delete w;
    }
}
