#include "core/hash_collection.h"

#include <atomic>

#include "core/sjis.h"

namespace tova {

// Case folding touches only single-byte letters and keeps the length, so
// the two bytes are folded where they stand, without a folded copy.
int NameHash(std::string_view name) {
    const size_t n = name.size();
    unsigned value = static_cast<unsigned>(n) * 16;
    if (n >= 2) {
        bool second = false;  // the byte at n - 2 starts a single-byte character
        for (size_t pos = 0; pos <= n - 2;) {
            const size_t len = SjisCharLength(name, pos);
            if (pos == n - 2) second = len == 1;
            pos += len;
        }
        const auto fold = [](unsigned char c, bool single) {
            return single && c >= 'A' && c <= 'Z' ? static_cast<unsigned>(c + 32) : unsigned{c};
        };
        const auto first = static_cast<unsigned char>(name[0]);
        value += fold(static_cast<unsigned char>(name[n - 2]), second) + fold(first, !IsSjisLeadByte(first));
    }
    return static_cast<int>(value % 256);
}

size_t TFoldedNameHash::operator()(std::string_view name) const {
    uint64_t hash = 14695981039346656037ull;
    for (size_t pos = 0; pos < name.size(); ++pos) {
        auto c = static_cast<unsigned char>(name[pos]);
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c + 32);
        } else if (IsSjisLeadByte(c) && pos + 1 < name.size()) {
            // A double-byte character is hashed as it stands, trail byte included.
            hash = (hash ^ c) * 1099511628211ull;
            c = static_cast<unsigned char>(name[++pos]);
        }
        hash = (hash ^ c) * 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool TFoldedNameEqual::operator()(std::string_view a, std::string_view b) const {
    // The same spelling is the usual case and needs no folding.
    return a.size() == b.size() && (a == b || SjisSameText(a, b));
}

void THashCollectionItem::SetName(std::string name) {
    if (name == name_) return;
    if (collection_) collection_->Unlink(*this);
    name_ = std::move(name);
    if (collection_) collection_->Link(*this);
}

namespace {

uint64_t NextEpoch() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

}  // namespace

THashCollection::THashCollection() : epoch_(NextEpoch()) {}

THashCollection::~THashCollection() = default;

void THashCollection::Link(THashCollectionItem& item) {
    item.bucket_ = NameHash(item.name_);
    TChain& chain = chains_.try_emplace(item.name_).first->second;
    item.prev_ = nullptr;
    item.next_ = chain.head;
    if (chain.head) chain.head->prev_ = &item;
    chain.head = &item;
    ++chain.version;
}

void THashCollection::Unlink(THashCollectionItem& item) {
    TChain& chain = chains_.find(std::string_view(item.name_))->second;
    if (item.prev_) {
        item.prev_->next_ = item.next_;
    } else {
        chain.head = item.next_;
    }
    ++chain.version;
    if (item.next_) item.next_->prev_ = item.prev_;
    item.prev_ = item.next_ = nullptr;
    item.bucket_ = -1;
}

THashCollectionItem* THashCollection::AddItem(std::unique_ptr<THashCollectionItem> item) {
    THashCollectionItem* raw = item.get();
    raw->collection_ = this;
    raw->index_ = Count();
    items_.push_back(std::move(item));
    Link(*raw);
    return raw;
}

void THashCollection::Delete(int index) {
    const auto position = items_.begin() + index;
    Unlink(**position);
    items_.erase(position);
    for (size_t i = static_cast<size_t>(index); i < items_.size(); ++i)
        items_[i]->index_ = static_cast<int>(i);
}

void THashCollection::Clear() {
    chains_.clear();
    items_.clear();
    epoch_ = NextEpoch();
}

void THashCollection::TouchChain(const THashCollectionItem& item) {
    if (item.collection_ != this) return;
    ++chains_.find(std::string_view(item.name_))->second.version;
}

const THashCollection::TChain* THashCollection::ChainOf(std::string_view name) const {
    const auto it = chains_.find(name);
    return it == chains_.end() ? nullptr : &it->second;
}

THashCollectionItem* THashCollection::FirstNamed(std::string_view name) const {
    const TChain* chain = ChainOf(name);
    return chain ? chain->head : nullptr;
}

int THashCollection::IndexOf(std::string_view name) const {
    const THashCollectionItem* item = FirstNamed(name);
    return item ? item->index_ : -1;
}

}  // namespace tova
