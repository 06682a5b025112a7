// A named, ordered collection with case-insensitive lookup, used for
// variables, archive entries, read marks and the image cache.
//
// Every item records its bucket (NameHash of its name) and its index, which
// is kept equal to its position. Items that share a folded name are chained,
// the most recently named first; a lookup walks only that chain, so the
// order of duplicates is exactly that of a walk through the item's bucket,
// while a lookup costs one hash probe however the 256 buckets fill up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tova {

// The bucket of a name: (n * 16 + (n >= 2 ? c2 + c0 : 0)) mod 256 over the
// case-folded name, n its length, c0 its first and c2 its second-to-last byte.
int NameHash(std::string_view name);

class THashCollection;

// Hashing and comparing names without regard to case, in place: a lookup
// never builds a folded copy of the name.
struct TFoldedNameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
};
struct TFoldedNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

class THashCollectionItem {
public:
    THashCollectionItem() = default;
    virtual ~THashCollectionItem() = default;
    THashCollectionItem(const THashCollectionItem&) = delete;
    THashCollectionItem& operator=(const THashCollectionItem&) = delete;

    const std::string& GetName() const { return name_; }
    // Renaming relinks the item at the head of its new name's chain.
    void SetName(std::string name);

    THashCollection* Collection() const { return collection_; }
    int Index() const { return index_; }
    // NameHash of the name, or -1 while the item is in no collection.
    int Bucket() const { return bucket_; }
    // The next older item of the same name (ignoring case), or null.
    THashCollectionItem* NextSameName() const { return next_; }

private:
    friend class THashCollection;

    THashCollection* collection_ = nullptr;
    int index_ = -1;
    int bucket_ = -1;
    std::string name_;
    THashCollectionItem* prev_ = nullptr;
    THashCollectionItem* next_ = nullptr;
};

class THashCollection {
public:
    // The items of one name (ignoring case): the newest first, and a count
    // of the changes to the chain, so that a caller may remember what it
    // found and know when to look again.
    struct TChain {
        THashCollectionItem* head = nullptr;
        uint64_t version = 0;
    };

    THashCollection();
    virtual ~THashCollection();
    THashCollection(const THashCollection&) = delete;
    THashCollection& operator=(const THashCollection&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    THashCollectionItem* Item(int index) const { return items_[static_cast<size_t>(index)].get(); }

    // Appends the item (taking ownership) and links it under its name.
    THashCollectionItem* AddItem(std::unique_ptr<THashCollectionItem> item);
    // Frees the item at index; the indices of the items after it drop by one.
    void Delete(int index);
    void Clear();

    // Index of the most recently linked item of that name (ignoring case), or -1.
    int IndexOf(std::string_view name) const;
    // Head of the chain of items named `name` (ignoring case), or null.
    THashCollectionItem* FirstNamed(std::string_view name) const;
    // The chain of that name, or null when no item ever had it. A chain
    // stays where it is until Clear or the collection's end; Epoch tells
    // them apart (no two collections, nor one before and after a Clear,
    // share an epoch).
    const TChain* ChainOf(std::string_view name) const;
    uint64_t Epoch() const { return epoch_; }

protected:
    // Marks the item's chain as changed: for changes other than adding,
    // removing or renaming items that decide what a lookup answers.
    void TouchChain(const THashCollectionItem& item);

private:
    friend class THashCollectionItem;

    void Link(THashCollectionItem& item);
    void Unlink(THashCollectionItem& item);

    std::vector<std::unique_ptr<THashCollectionItem>> items_;
    // Keyed by the name of the item that made the chain (any spelling of
    // the name finds it) -> the newest item of that name. A chain that
    // empties keeps its key with a null head, so that names which come and
    // go (the evaluator's temporaries) cost no allocation after the first.
    std::unordered_map<std::string, TChain, TFoldedNameHash, TFoldedNameEqual> chains_;
    uint64_t epoch_;
};

// Typed access for collections that hold one item class.
template <class T>
class THashCollectionOf : public THashCollection {
public:
    T* Item(int index) const { return static_cast<T*>(THashCollection::Item(index)); }
    T* Add(std::unique_ptr<T> item) { return static_cast<T*>(AddItem(std::move(item))); }
    T* Find(std::string_view name) const { return static_cast<T*>(FirstNamed(name)); }
};

}  // namespace tova
