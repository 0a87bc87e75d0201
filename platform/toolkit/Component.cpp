#include "platform/toolkit/Component.h"

#include <algorithm>

namespace tk {

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) {
        AOwner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    // Reached through Free() normally; a plain delete still leaves no dangling
    // pointers behind, only the derived classes' notifications are lost.
    if (!m_freed) {
        m_freed = true;
        Destroying();
        for (TComponent* c : std::vector<TComponent*>(m_freeNotifies)) {
            c->RemoveNotification(this);
            c->Notification(this, TOperation::opRemove);
        }
        m_freeNotifies.clear();
        DestroyComponents();
        if (m_owner) {
            m_owner->RemoveComponent(this);
        }
    }
}

void TComponent::Free() {
    if (m_freed) {
        return;
    }
    Destroying();
    BeforeDestruction();
    m_freed = true;
    // Everybody who asked to be told.
    while (!m_freeNotifies.empty()) {
        TComponent* c = m_freeNotifies.back();
        m_freeNotifies.pop_back();
        c->RemoveNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (m_owner) {
        m_owner->RemoveComponent(this);
    }
    delete this;
}

void TComponent::DestroyComponents() {
    // Last created goes first, as the classic toolkits free them.
    while (!m_components.empty()) {
        TComponent* c = m_components.back();
        c->Free();
        // Free removed it from the list through RemoveComponent; guard against
        // a component that was not freed (already freeing further up).
        if (!m_components.empty() && m_components.back() == c) {
            m_components.pop_back();
            c->m_owner = nullptr;
        }
    }
}

int TComponent::ComponentIndex() const {
    if (!m_owner) {
        return -1;
    }
    const auto& list = m_owner->m_components;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetName(const QString& name) {
    m_name = name;
    setObjectName(name);
}

QString TComponent::ClassName() const {
    QString name = QString::fromLatin1(metaObject()->className());
    const int colon = name.lastIndexOf(QLatin1Char(':'));
    return colon >= 0 ? name.mid(colon + 1) : name;
}

TComponent* TComponent::FindComponent(const QString& name) const {
    if (name.isEmpty()) {
        return nullptr;
    }
    for (TComponent* c : m_components) {
        if (c->m_name.compare(name, Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    if (!c || c->m_owner == this) {
        return;
    }
    if (c->m_owner) {
        c->m_owner->RemoveComponent(c);
    }
    m_components.push_back(c);
    c->m_owner = this;
    SendNotification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    if (!c || c->m_owner != this) {
        return;
    }
    // Told before it leaves the list, so the component itself hears it too.
    SendNotification(c, TOperation::opRemove);
    auto it = std::find(m_components.begin(), m_components.end(), c);
    if (it != m_components.end()) {
        m_components.erase(it);
    }
    c->m_owner = nullptr;
}

void TComponent::SendNotification(TComponent* c, TOperation op) {
    Notification(c, op);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove && AComponent) {
        RemoveFreeNotification(AComponent);
    }
    // Every owned component hears about it, newest first; the list may shrink
    // while we walk it.
    for (std::size_t i = m_components.size(); i-- > 0;) {
        if (i < m_components.size()) {
            m_components[i]->Notification(AComponent, Operation);
        }
    }
}

void TComponent::FreeNotification(TComponent* c) {
    if (!c || c == this) {
        return;
    }
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), c) == m_freeNotifies.end()) {
        m_freeNotifies.push_back(c);
    }
    if (std::find(c->m_freeNotifies.begin(), c->m_freeNotifies.end(), this) ==
        c->m_freeNotifies.end()) {
        c->m_freeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    RemoveNotification(c);
    if (c) {
        c->RemoveNotification(this);
    }
}

void TComponent::RemoveNotification(TComponent* c) {
    auto it = std::find(m_freeNotifies.begin(), m_freeNotifies.end(), c);
    if (it != m_freeNotifies.end()) {
        m_freeNotifies.erase(it);
    }
}

void TComponent::SetParentComponent(TComponent* /*parent*/) {}

bool TComponent::SetEventHandler(const QString& eventName, const std::any& handler) {
    auto it = m_events.find(eventName);
    return it != m_events.end() && it->second(handler);
}

bool TComponent::HasEvent(const QString& eventName) const {
    return m_events.find(eventName) != m_events.end();
}

namespace {
struct ClassEntry {
    TComponentFactory factory;
    const QMetaObject* meta = nullptr;
};
std::map<QString, ClassEntry, CaseInsensitiveLess>& ClassTable() {
    static std::map<QString, ClassEntry, CaseInsensitiveLess> table;
    return table;
}
} // namespace

void RegisterComponentClass(const QString& className, TComponentFactory factory,
                            const QMetaObject* meta) {
    ClassTable()[className] = ClassEntry{std::move(factory), meta};
}

TComponent* CreateComponentByClassName(const QString& className, TComponent* owner) {
    auto it = ClassTable().find(className);
    return it == ClassTable().end() ? nullptr : it->second.factory(owner);
}

bool IsClassRegistered(const QString& className) {
    return ClassTable().find(className) != ClassTable().end();
}

QMetaProperty FindPublishedProperty(const QObject* object, const QString& name) {
    if (!object) {
        return {};
    }
    const QMetaObject* mo = object->metaObject();
    for (int i = mo->propertyCount() - 1; i >= 0; --i) {
        const QMetaProperty p = mo->property(i);
        if (name.compare(QLatin1String(p.name()), Qt::CaseInsensitive) == 0) {
            return p;
        }
    }
    return {};
}

} // namespace tk
