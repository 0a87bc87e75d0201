#include "platform/toolkit/Collections.h"

#include <QMetaProperty>
#include <algorithm>

namespace tk {

TCollectionItem::TCollectionItem(TCollection* collection) : m_collection(collection) {}

TCollectionItem::~TCollectionItem() = default;

int TCollectionItem::Index() const {
    if (!m_collection) {
        return -1;
    }
    const auto& items = m_collection->m_items;
    auto it =
        std::find_if(items.begin(), items.end(), [this](const auto& p) { return p.get() == this; });
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::Assign(const TCollectionItem& other) {
    // Every stored property, by name: enough for plain value items.
    const QMetaObject* mo = metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        if (p.isWritable() && p.isStored()) {
            p.write(this, other.property(p.name()));
        }
    }
    Changed();
}

void TCollectionItem::Changed() {
    if (m_collection) {
        m_collection->Changed();
    }
}

TCollection::TCollection(ItemFactory factory, QObject* parent)
    : QObject(parent), m_factory(std::move(factory)) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Add() {
    m_items.push_back(m_factory(this));
    Changed();
    return m_items.back().get();
}

void TCollection::Delete(int i) {
    if (i < 0 || i >= Count()) {
        return;
    }
    m_items.erase(m_items.begin() + i);
    Changed();
}

void TCollection::Clear() {
    if (m_items.empty()) {
        return;
    }
    m_items.clear();
    Changed();
}

void TCollection::Assign(const TCollection& other) {
    if (&other == this) {
        return;
    }
    BeginUpdate();
    m_items.clear();
    for (const auto& item : other.m_items) {
        m_items.push_back(m_factory(this));
        m_items.back()->Assign(*item);
    }
    m_changedWhileUpdating = true;
    EndUpdate();
}

void TCollection::EndUpdate() {
    if (m_updating > 0 && --m_updating == 0 && m_changedWhileUpdating) {
        m_changedWhileUpdating = false;
        Changed();
    }
}

void TCollection::Changed() {
    if (m_updating > 0) {
        m_changedWhileUpdating = true;
        return;
    }
    if (OnChange) {
        OnChange();
    }
}

} // namespace tk
