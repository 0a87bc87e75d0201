#include "platform/toolkit/Actions.h"

#include <algorithm>

#include "platform/toolkit/Controls.h"

namespace tk {

// ---- link ------------------------------------------------------------------------

TActionLink::TActionLink(TChangeHandler onChange) : m_onChange(std::move(onChange)) {}

TActionLink::~TActionLink() {
    if (m_action) {
        auto& links = m_action->m_links;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
}

void TActionLink::SetAction(TBasicAction* action) {
    if (action == m_action) {
        return;
    }
    if (m_action) {
        auto& links = m_action->m_links;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    m_action = action;
    if (m_action) {
        m_action->m_links.push_back(this);
        if (m_onChange) {
            // An action still being read may not have its values yet: the
            // client's own values that are set win.
            m_onChange(m_action, m_action->IsLoading());
        }
    }
}

bool TActionLink::Execute(TComponent* client) {
    if (!m_action) {
        return false;
    }
    TBasicAction* action = m_action;
    action->SetActionComponent(client);
    const bool done = action->Execute();
    // The action may have unlinked or freed itself in its handler.
    if (m_action == action) {
        action->SetActionComponent(nullptr);
    }
    return done;
}

void TActionLink::ActionChanged() {
    if (m_onChange && m_action) {
        m_onChange(m_action, false);
    }
}

TActionClient::TActionClient()
    : m_link([this](TBasicAction* action, bool checkDefaults) {
          ActionChange(action, checkDefaults);
      }) {}

TActionClient::~TActionClient() = default;

void ApplyActionToControl(TControl& control, const TBasicAction* action, bool checkDefaults) {
    const auto* a = qobject_cast<const TCustomAction*>(action);
    if (!a) {
        return;
    }
    if (!checkDefaults || control.Caption().isEmpty()) {
        control.SetCaption(a->Caption());
    }
    if (!checkDefaults || control.Enabled()) {
        control.SetEnabled(a->Enabled());
    }
    if (!checkDefaults || control.Hint().isEmpty()) {
        control.SetHint(a->Hint());
    }
    if (!checkDefaults || control.Visible()) {
        control.SetVisible(a->Visible());
    }
}

// ---- basic action ----------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {
    PublishEvent("OnExecute", OnExecute);
    PublishEvent("OnUpdate", OnUpdate);
}

TBasicAction::~TBasicAction() {
    for (TActionLink* link : m_links) {
        link->ActionGone();
    }
}

void TBasicAction::BeforeDestruction() {
    TComponent::BeforeDestruction();
    for (TActionLink* link : m_links) {
        link->ActionGone();
    }
    m_links.clear();
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == m_actionComponent) {
        m_actionComponent = nullptr;
    }
}

bool TBasicAction::Execute() {
    if (OnExecute) {
        OnExecute(this);
        return true;
    }
    return false;
}

bool TBasicAction::Update() {
    if (OnUpdate) {
        OnUpdate(this);
        return true;
    }
    return false;
}

void TBasicAction::Change() {
    // A client may drop its link while it hears the change.
    const std::vector<TActionLink*> links = m_links;
    for (TActionLink* link : links) {
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end()) {
            link->ActionChanged();
        }
    }
}

// ---- contained action --------------------------------------------------------

TContainedAction::TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TContainedAction::~TContainedAction() {
    if (m_actionList) {
        m_actionList->RemoveAction(this);
    }
}

void TContainedAction::BeforeDestruction() {
    SetActionList(nullptr);
    TBasicAction::BeforeDestruction();
}

void TContainedAction::SetCategory(const QString& category) {
    m_category = category;
}

void TContainedAction::SetActionList(TCustomActionList* list) {
    if (list == m_actionList) {
        return;
    }
    if (m_actionList) {
        m_actionList->RemoveAction(this);
    }
    m_actionList = list;
    if (m_actionList) {
        m_actionList->AddAction(this);
    }
    if (!IsDestroying()) {
        Change(); // the clients' images come from the list
    }
}

int TContainedAction::Index() const {
    return m_actionList ? m_actionList->IndexOf(this) : -1;
}

bool TContainedAction::Execute() {
    if (m_actionList && m_actionList->OnExecute) {
        bool handled = false;
        m_actionList->OnExecute(this, handled);
        if (handled) {
            return true;
        }
    }
    return TBasicAction::Execute();
}

void TContainedAction::SetParentComponent(TComponent* parent) {
    if (auto* list = qobject_cast<TCustomActionList*>(parent)) {
        SetActionList(list);
    }
}

TComponent* TContainedAction::ParentComponent() const {
    return m_actionList;
}

// ---- custom action -----------------------------------------------------------

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

void TCustomAction::SetCaption(const QString& caption) {
    if (caption != m_caption) {
        m_caption = caption;
        Change();
    }
}

void TCustomAction::SetChecked(bool checked) {
    if (checked == m_checked) {
        return;
    }
    m_checked = checked;
    if (checked && m_groupIndex > 0 && ActionList()) {
        TCustomActionList* list = ActionList();
        for (int i = 0; i < list->ActionCount(); ++i) {
            auto* other = qobject_cast<TCustomAction*>(list->Actions(i));
            if (other && other != this && other->m_groupIndex == m_groupIndex) {
                other->SetChecked(false);
            }
        }
    }
    Change();
}

void TCustomAction::SetEnabled(bool enabled) {
    if (enabled != m_enabled) {
        m_enabled = enabled;
        Change();
    }
}

void TCustomAction::SetVisible(bool visible) {
    if (visible != m_visible) {
        m_visible = visible;
        Change();
    }
}

void TCustomAction::SetImageIndex(int index) {
    if (index != m_imageIndex) {
        m_imageIndex = index;
        Change();
    }
}

void TCustomAction::SetShortCut(TShortCut shortCut) {
    if (shortCut != m_shortCut) {
        m_shortCut = shortCut;
        Change();
    }
}

void TCustomAction::SetHint(const QString& hint) {
    if (hint != m_hint) {
        m_hint = hint;
        Change();
    }
}

void TCustomAction::SetGroupIndex(int index) {
    if (index != m_groupIndex) {
        m_groupIndex = index;
        Change();
    }
}

void TCustomAction::SetAutoCheck(bool v) {
    if (v != m_autoCheck) {
        m_autoCheck = v;
        Change();
    }
}

TCustomImageList* TCustomAction::Images() const {
    return ActionList() ? ActionList()->Images() : nullptr;
}

bool TCustomAction::Execute() {
    Update();
    if (!m_enabled) {
        return false;
    }
    // A checked member of a group stays checked, as a radio item does.
    if (m_autoCheck && !(m_checked && m_groupIndex > 0)) {
        SetChecked(!m_checked);
    }
    return TContainedAction::Execute();
}

// ---- action list -------------------------------------------------------------

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {
    PublishEvent("OnExecute", OnExecute);
    PublishEvent("OnUpdate", OnUpdate);
    PublishEvent("OnChange", OnChange);
}

TCustomActionList::~TCustomActionList() {
    for (TContainedAction* a : m_actions) {
        a->m_actionList = nullptr;
    }
}

void TCustomActionList::BeforeDestruction() {
    TComponent::BeforeDestruction();
    m_images.Disconnect();
    for (TContainedAction* a : m_actions) {
        a->m_actionList = nullptr;
    }
    m_actions.clear();
}

void TCustomActionList::SetImages(TCustomImageList* images) {
    if (m_images.Set(images, &TCustomImageList::Changed, [this] { Change(); })) {
        Change();
    }
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (m_images.Removed(AComponent, Operation)) {
        Change();
    }
}

int TCustomActionList::IndexOf(const TContainedAction* action) const {
    auto it = std::find(m_actions.begin(), m_actions.end(), action);
    return it == m_actions.end() ? -1 : static_cast<int>(it - m_actions.begin());
}

void TCustomActionList::AddAction(TContainedAction* action) {
    if (IndexOf(action) < 0) {
        m_actions.push_back(action);
    }
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
    m_actions.erase(std::remove(m_actions.begin(), m_actions.end(), action), m_actions.end());
}

bool TCustomActionList::IsShortCut(unsigned key, TShiftState shift) {
    const TShortCut sc = ShortCut(key, shift);
    if (sc == scNone) {
        return false;
    }
    for (TContainedAction* a : std::vector<TContainedAction*>(m_actions)) {
        auto* action = qobject_cast<TCustomAction*>(a);
        if (action && action->ShortCut() == sc) {
            action->Update();
            return action->Enabled() && action->Execute();
        }
    }
    return false;
}

void TCustomActionList::UpdateActions() {
    for (TContainedAction* a : std::vector<TContainedAction*>(m_actions)) {
        bool handled = false;
        if (OnUpdate) {
            OnUpdate(a, handled);
        }
        if (!handled) {
            a->Update();
        }
    }
}

void TCustomActionList::Change() {
    if (OnChange) {
        OnChange(this);
    }
    for (TContainedAction* a : std::vector<TContainedAction*>(m_actions)) {
        a->Change();
    }
}

} // namespace tk
