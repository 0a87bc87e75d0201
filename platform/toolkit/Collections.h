// Collections of items owned by a component property (title-bar buttons,
// status panels, columns): form descriptions fill them with <item ... end>.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace tk {

class TCollection;

class TCollectionItem : public QObject {
    Q_OBJECT
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollection* Collection() const { return m_collection; }
    int Index() const;
    // Copies the item's properties from another item of the same class.
    virtual void Assign(const TCollectionItem& other);

protected:
    void Changed();

private:
    TCollection* m_collection;
};

class TCollection : public QObject {
    Q_OBJECT
public:
    using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;
    explicit TCollection(ItemFactory factory, QObject* parent = nullptr);
    ~TCollection() override;

    int Count() const { return static_cast<int>(m_items.size()); }
    TCollectionItem* Items(int i) const { return m_items.at(static_cast<std::size_t>(i)).get(); }
    template <class T> T* ItemAs(int i) const { return static_cast<T*>(Items(i)); }
    TCollectionItem* Add();
    void Delete(int i);
    void Clear();
    // Same number of items, each assigned from the other's.
    void Assign(const TCollection& other);
    void BeginUpdate() { ++m_updating; }
    void EndUpdate();

    // Raised after any change when not updating.
    std::function<void()> OnChange;

private:
    friend class TCollectionItem;
    void Changed();

    ItemFactory m_factory;
    std::vector<std::unique_ptr<TCollectionItem>> m_items;
    int m_updating = 0;
    bool m_changedWhileUpdating = false;
};

template <class T> TCollection::ItemFactory CollectionItemFactory() {
    return [](TCollection* c) { return std::make_unique<T>(c); };
}

} // namespace tk
