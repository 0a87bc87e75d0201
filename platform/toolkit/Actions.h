// Actions: a command with its caption, image, enabled and checked state,
// shared by the menu items, tool buttons and controls that show it. A client
// holds a link to its action and hears ActionChange whenever the action
// changes.
#pragma once

#include <functional>
#include <vector>

#include "platform/toolkit/Component.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/ShortCuts.h"

namespace tk {

class TBasicAction;
class TControl;
class TCustomAction;
class TCustomActionList;

// The client's end of the link to an action.
class TActionLink {
public:
    // onChange(action, checkDefaults): the action changed (or was just
    // assigned); with checkDefaults the client copies only into properties
    // that still have their default value.
    using TChangeHandler = std::function<void(TBasicAction* action, bool checkDefaults)>;

    explicit TActionLink(TChangeHandler onChange);
    ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TBasicAction* Action() const { return m_action; }
    // Links to the action (or to none) and tells the client.
    void SetAction(TBasicAction* action);
    // Runs the action for client; false without an action or when it did nothing.
    bool Execute(TComponent* client);

private:
    friend class TBasicAction;
    void ActionChanged();
    void ActionGone() { m_action = nullptr; }

    TBasicAction* m_action = nullptr;
    TChangeHandler m_onChange;
};

// Mix-in for a component that takes an action. The class publishes it with
// Q_PROPERTY(tk::TBasicAction* Action READ Action WRITE SetAction).
class TActionClient {
public:
    TBasicAction* Action() const { return m_link.Action(); }
    void SetAction(TBasicAction* action) { m_link.SetAction(action); }

protected:
    TActionClient();
    virtual ~TActionClient();
    TActionClient(const TActionClient&) = delete;
    TActionClient& operator=(const TActionClient&) = delete;

    // The action (Sender) changed, or was assigned.
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults) = 0;
    bool ExecuteAction(TComponent* client) { return m_link.Execute(client); }

private:
    TActionLink m_link;
};

// What a plain control takes from its action: caption, enabled, hint and
// visible state. Clients call it first in their own ActionChange.
void ApplyActionToControl(TControl& control, const TBasicAction* action, bool checkDefaults);

class TBasicAction : public TComponent {
    Q_OBJECT
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Raises OnExecute; true when there was a handler.
    virtual bool Execute();
    // Raises OnUpdate so the action can set its state; true when there was a handler.
    virtual bool Update();
    // The client that ran it last.
    TComponent* ActionComponent() const { return m_actionComponent; }
    void SetActionComponent(TComponent* c) { m_actionComponent = c; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    // Tells every client that the action changed.
    void Change();
    void BeforeDestruction() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TActionLink;
    friend class TCustomActionList;
    std::vector<TActionLink*> m_links;
    TComponent* m_actionComponent = nullptr;
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
    Q_OBJECT
    Q_PROPERTY(QString Category READ Category WRITE SetCategory)
    Q_PROPERTY(tk::TCustomActionList* ActionList READ ActionList WRITE SetActionList)

public:
    explicit TContainedAction(TComponent* AOwner);
    ~TContainedAction() override;

    QString Category() const { return m_category; }
    void SetCategory(const QString& category);
    TCustomActionList* ActionList() const { return m_actionList; }
    void SetActionList(TCustomActionList* list);
    int Index() const;

    // The action list's OnExecute may take it first.
    bool Execute() override;

    // Nested in an action list in a description, the action joins it.
    void SetParentComponent(TComponent* parent) override;
    TComponent* ParentComponent() const override;

protected:
    void BeforeDestruction() override;

private:
    friend class TCustomActionList;
    QString m_category;
    TCustomActionList* m_actionList = nullptr;
};

class TCustomAction : public TContainedAction {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool AutoCheck READ AutoCheck WRITE SetAutoCheck)

public:
    explicit TCustomAction(TComponent* AOwner);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    // Checking an action with a group index unchecks the others of its list
    // with the same index.
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut shortCut);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& hint);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int index);
    bool AutoCheck() const { return m_autoCheck; }
    void SetAutoCheck(bool v);

    // The image list of the action's list, null when none.
    TCustomImageList* Images() const;

    // Updates first; a disabled action does not run; an auto-check action
    // toggles before its handler runs.
    bool Execute() override;

private:
    QString m_caption;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_visible = true;
    int m_imageIndex = -1;
    TShortCut m_shortCut = 0;
    QString m_hint;
    int m_groupIndex = 0;
    bool m_autoCheck = false;
};

class TAction : public TCustomAction {
    Q_OBJECT
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
    Q_OBJECT
    Q_PROPERTY(tk::TCustomImageList* Images READ Images WRITE SetImages)

public:
    explicit TCustomActionList(TComponent* AOwner);
    ~TCustomActionList() override;

    TCustomImageList* Images() const { return m_images; }
    void SetImages(TCustomImageList* images);

    int ActionCount() const { return static_cast<int>(m_actions.size()); }
    TContainedAction* Actions(int i) const { return m_actions.at(static_cast<std::size_t>(i)); }
    int IndexOf(const TContainedAction* action) const;

    // Runs the enabled action with this short-cut; true when one ran.
    bool IsShortCut(unsigned key, TShiftState shift);
    // Raises OnUpdate of every action.
    void UpdateActions();

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

private:
    friend class TContainedAction;
    friend class TCustomAction;
    void AddAction(TContainedAction* action);
    void RemoveAction(TContainedAction* action);
    // The images changed: every action's clients look again.
    void Change();

    std::vector<TContainedAction*> m_actions; // not owned: the form owns them
    TComponentRef<TCustomImageList> m_images{this};
};

class TActionList : public TCustomActionList {
    Q_OBJECT
public:
    explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

} // namespace tk
