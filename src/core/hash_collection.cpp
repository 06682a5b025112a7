#include "core/hash_collection.h"

#include "core/sjis.h"

namespace tova {

int NameHash(std::string_view name) {
    const std::string folded = SjisLowerCase(name);
    const size_t n = folded.size();
    unsigned value = static_cast<unsigned>(n) * 16;
    if (n >= 2) value += static_cast<unsigned char>(folded[n - 2]) + static_cast<unsigned char>(folded[0]);
    return static_cast<int>(value % 256);
}

size_t TFoldedNameHash::operator()(std::string_view name) const {
    uint64_t hash = 14695981039346656037ull;
    for (size_t pos = 0; pos < name.size();) {
        const size_t len = SjisCharLength(name, pos);
        for (size_t k = 0; k < len; ++k) {
            auto c = static_cast<unsigned char>(name[pos + k]);
            if (len == 1 && c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
            hash = (hash ^ c) * 1099511628211ull;
        }
        pos += len;
    }
    return static_cast<size_t>(hash);
}

bool TFoldedNameEqual::operator()(std::string_view a, std::string_view b) const {
    return a.size() == b.size() && SjisSameText(a, b);
}

void THashCollectionItem::SetName(std::string name) {
    if (name == name_) return;
    if (collection_) collection_->Unlink(*this);
    name_ = std::move(name);
    if (collection_) collection_->Link(*this);
}

THashCollection::~THashCollection() = default;

void THashCollection::Link(THashCollectionItem& item) {
    item.bucket_ = NameHash(item.name_);
    THashCollectionItem*& head = chains_.try_emplace(item.name_, nullptr).first->second;
    item.prev_ = nullptr;
    item.next_ = head;
    if (head) head->prev_ = &item;
    head = &item;
}

void THashCollection::Unlink(THashCollectionItem& item) {
    if (item.prev_) {
        item.prev_->next_ = item.next_;
    } else {
        const auto it = chains_.find(std::string_view(item.name_));
        if (item.next_) {
            it->second = item.next_;
        } else {
            chains_.erase(it);
        }
    }
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
}

THashCollectionItem* THashCollection::FirstNamed(std::string_view name) const {
    const auto it = chains_.find(name);
    return it == chains_.end() ? nullptr : it->second;
}

int THashCollection::IndexOf(std::string_view name) const {
    const THashCollectionItem* item = FirstNamed(name);
    return item ? item->index_ : -1;
}

}  // namespace tova
