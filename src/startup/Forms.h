#pragma once
// The program's windows, each existing once. A form is created ("loaded") the first time
// it is asked for, and stays until it is unloaded. Reach them only through forms():
//   forms().get<FrmMain>().player_Play(1);
//   if (forms().isLoaded<FrmLyrics>()) ...
#include "startup/FormList.h"

#include <QWidget>
#include <map>
#include <typeindex>
#include <vector>

class Forms {
public:
    template <class F>
    F& get()
    {
        static_assert(formlist::listed<F>, "a form of the program is in the program's list of forms");
        auto it = m_forms.find(std::type_index(typeid(F)));
        if (it != m_forms.end()) return *static_cast<F*>(it->second);
        F* form = new F();
        follow(form);
        m_forms[std::type_index(typeid(F))] = form;
        m_order.push_back(form);
        return *form;
    }

    // A dialog loaded afresh for this opening: an instance left from an earlier one is
    // dropped first, so the dialog starts from its design state.
    template <class F>
    F& fresh()
    {
        unload<F>();
        return get<F>();
    }

    template <class F>
    bool isLoaded() const
    {
        return m_forms.count(std::type_index(typeid(F))) != 0;
    }

    // Drops the form without its close handling.
    template <class F>
    void unload()
    {
        auto it = m_forms.find(std::type_index(typeid(F)));
        if (it == m_forms.end()) return;
        QWidget* w = it->second;
        m_forms.erase(it);
        std::erase(m_order, w);
        delete w;
    }

    // The same for a form known by its window; nothing when it is not a loaded form.
    void unload(QWidget* form);

    // The same for a form that unloads itself from one of its own handlers: it is deleted
    // once the handler has returned.
    template <class F>
    void unloadLater()
    {
        auto it = m_forms.find(std::type_index(typeid(F)));
        if (it == m_forms.end()) return;
        QWidget* w = it->second;
        m_forms.erase(it);
        std::erase(m_order, w);
        w->hide();
        w->deleteLater();
    }

    // Every loaded form, newest first dropped (tests and the end of the program).
    void unloadAll();
    std::vector<QWidget*> loaded() const { return m_order; }

private:
    // Every window of the program keeps its state and place one way, from its loading on.
    static void follow(QWidget* form);

    std::map<std::type_index, QWidget*> m_forms;
    std::vector<QWidget*> m_order;
};

Forms& forms();
