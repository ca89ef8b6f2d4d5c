#pragma once
// The framework's collection: an ordered list of items of one class that it owns. An item
// joins a collection when it is made for one and leaves it when it is freed; each item has an
// ID that stays the same while indexes change. A collection told of changes (Update) hears
// once at EndUpdate when they happened inside BeginUpdate/EndUpdate.

#include <functional>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Joins the collection (appended) when one is given.
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return FCollection; }
    // Leaves the old collection and joins the new one, at its end.
    void SetCollection(TCollection* value);
    int Index() const;
    // Moves the item within its collection (clamped to the list).
    virtual void SetIndex(int value);
    int ID() const { return FID; }
    // The class name unless a subclass names its items.
    virtual AnsiString DisplayName() const { return ClassName(); }
    virtual void SetDisplayName(const AnsiString&) { Changed(false); }

protected:
    // Tells the collection: this item alone changed, or every item may have.
    void Changed(bool AllItems);

private:
    TCollection* FCollection = nullptr;
    int FID = 0;
    friend class TCollection;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
    // Makes one item of the collection's class, already joined to the collection.
    using TItemClass = std::function<TCollectionItem*(TCollection*)>;
    template <class T>
    static TItemClass ItemClassOf()
    {
        return [](TCollection* c) -> TCollectionItem* { return new T(c); };
    }

    explicit TCollection(TItemClass ItemClass);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError("List index out of bounds (%d)") for a bad index.
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    // Frees the item at index.
    void Delete(int index);
    // Frees every item, last first.
    void Clear();
    TCollectionItem* FindItemID(int ID) const;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // Copies another collection: cleared, then one new item per source item, each assigned.
    void Assign(TPersistent* Source) override;
    // The object that owns the collection (null here; owned collections answer their owner).
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    // A change: Item changed, or null when the whole collection did.
    virtual void Update(TCollectionItem*) {}
    virtual void Notify(TCollectionItem*, TCollectionNotification) {}
    void Changed();

private:
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TItemClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
    bool FPendingChange = false;
    friend class TCollectionItem;
};

// A collection that knows its owner.
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* AOwner, TItemClass ItemClass) : TCollection(std::move(ItemClass)), FOwner(AOwner) {}
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
