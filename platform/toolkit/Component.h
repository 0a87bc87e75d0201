// The component model: owners, owned components in creation order, names,
// removal notifications and the loading state.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QMetaProperty>
#include <QObject>
#include <QString>

namespace tk {

using TObject = QObject;
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4, // never set at run time; kept so code can ask
    csFreeNotification = 1u << 5,
};
using TComponentState = unsigned;

class TComponent;

// Case-insensitive map used for event and handler tables.
struct CaseInsensitiveLess {
    bool operator()(const QString& a, const QString& b) const {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    }
};

class TComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Destroys the component the way the classic toolkits do: while the object
    // is still whole, it is told it is going (BeforeDestruction), everybody
    // who asked is notified, owned components are freed, and the owner lets
    // its components know. Use this (or TComponentPtr) instead of delete.
    void Free();

    TComponent* Owner() const { return m_owner; }
    const std::vector<TComponent*>& Components() const { return m_components; }
    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Component(int i) const { return m_components.at(static_cast<std::size_t>(i)); }
    int ComponentIndex() const;

    QString Name() const { return m_name; }
    virtual void SetName(const QString& name);
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // The class name without namespace, as form descriptions spell it.
    QString ClassName() const;
    bool InheritsFrom(const char* className) const { return inherits(className); }

    // Owned component by name, case-insensitive; null if none.
    TComponent* FindComponent(const QString& name) const;

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    // Asks to be told (Notification with opRemove) when c goes away.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

    TComponentState ComponentState() const { return m_state; }
    bool IsLoading() const { return (m_state & csLoading) != 0; }
    bool IsDesigning() const { return (m_state & csDesigning) != 0; }
    bool IsDestroying() const { return (m_state & csDestroying) != 0; }

    // Loading protocol used by the form reader.
    void BeginLoading() { m_state |= csLoading | csReading; }
    void EndReading() { m_state &= ~csReading; }
    virtual void Loaded() { m_state &= ~csLoading; }

    // Form descriptions nest objects; the enclosing object becomes the parent
    // component (a control's parent, a menu item's parent item).
    virtual void SetParentComponent(TComponent* parent);
    virtual TComponent* ParentComponent() const { return nullptr; }

    // Events published by name for the form reader. A handler is a
    // std::function of the event's exact type wrapped in std::any.
    bool SetEventHandler(const QString& eventName, const std::any& handler);
    bool HasEvent(const QString& eventName) const;

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void BeforeDestruction() {}
    void Destroying() { m_state |= csDestroying; }

    template <class F> void PublishEvent(const QString& name, F& member) {
        m_events[name] = [&member](const std::any& h) {
            if (const F* f = std::any_cast<F>(&h)) {
                member = *f;
                return true;
            }
            return false;
        };
    }

    friend class TFormReader;

private:
    void DestroyComponents();
    void RemoveNotification(TComponent* c);
    void SendNotification(TComponent* c, TOperation op);

    TComponent* m_owner = nullptr;
    std::vector<TComponent*> m_components;
    std::vector<TComponent*> m_freeNotifies;
    QString m_name;
    int m_tag = 0;
    TComponentState m_state = 0;
    bool m_freed = false;
    std::map<QString, std::function<bool(const std::any&)>, CaseInsensitiveLess> m_events;
};

// A reference from one component (the holder) to another: the holder asks to
// be told when the other goes, and may keep one of its signals connected
// while it holds it. The holder's Notification calls Removed, which forgets
// a target that is going.
template <class T> class TComponentRef {
public:
    explicit TComponentRef(TComponent* holder) : m_holder(holder) {}
    ~TComponentRef() { QObject::disconnect(m_connection); }
    TComponentRef(const TComponentRef&) = delete;
    TComponentRef& operator=(const TComponentRef&) = delete;

    T* Get() const { return m_target; }
    operator T*() const { return m_target; }
    T* operator->() const { return m_target; }

    // Both return false, changing nothing, when target is held already.
    bool Set(T* target) {
        return Rebind(target, [](T*) { return QMetaObject::Connection(); });
    }
    template <class Signal, class Slot> bool Set(T* target, Signal signal, Slot slot) {
        return Rebind(target,
                      [&](T* t) { return QObject::connect(t, signal, m_holder, std::move(slot)); });
    }
    // For Notification: true, and the target forgotten, when c is it going.
    bool Removed(TComponent* c, TOperation op) {
        if (op != TOperation::opRemove || !c || c != m_target) {
            return false;
        }
        QObject::disconnect(m_connection);
        m_target = nullptr;
        return true;
    }
    // Stops listening to the target's signal (the holder is going).
    void Disconnect() { QObject::disconnect(m_connection); }

private:
    template <class Connect> bool Rebind(T* target, Connect connect) {
        if (target == m_target) {
            return false;
        }
        QObject::disconnect(m_connection);
        if (m_target) {
            m_holder->RemoveFreeNotification(m_target);
        }
        m_target = target;
        if (m_target) {
            m_holder->FreeNotification(m_target);
            m_connection = connect(m_target);
        }
        return true;
    }

    TComponent* m_holder;
    T* m_target = nullptr;
    QMetaObject::Connection m_connection;
};

struct ComponentFree {
    void operator()(TComponent* c) const {
        if (c) {
            c->Free();
        }
    }
};
template <class T> using TComponentPtr = std::unique_ptr<T, ComponentFree>;

// Registry of classes that form descriptions may create by name.
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

void RegisterComponentClass(const QString& className, TComponentFactory factory,
                            const QMetaObject* meta);
template <class T> void RegisterClass() {
    QString name = QString::fromLatin1(T::staticMetaObject.className());
    const int colon = name.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        name = name.mid(colon + 1);
    }
    RegisterComponentClass(
        name, [](TComponent* owner) -> TComponent* { return new T(owner); }, &T::staticMetaObject);
}
TComponent* CreateComponentByClassName(const QString& className, TComponent* owner);
bool IsClassRegistered(const QString& className);

// The published property of that name (case-insensitive), looked up most
// derived class first: a class that publishes a property of its base anew (a
// panel's Height that is its expanded height) gets its own. Form descriptions
// and code that sets properties by name use this one rule.
QMetaProperty FindPublishedProperty(const QObject* object, const QString& name);

// Registers the toolkit's own classes (idempotent).
void RegisterToolkitClasses();

} // namespace tk
