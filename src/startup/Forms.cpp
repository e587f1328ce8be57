#include "startup/Forms.h"

#include "platform/WindowPlace.h"

Forms& forms()
{
    static Forms instance;
    return instance;
}

void Forms::unload(QWidget* form)
{
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if (it->second == form) {
            m_forms.erase(it);
            std::erase(m_order, form);
            delete form;
            return;
        }
    }
}

void Forms::unloadAll()
{
    while (!m_order.empty()) unload(m_order.back());
}

void Forms::follow(QWidget* form) { windowplace::followPlace(form); }
