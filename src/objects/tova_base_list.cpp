// The screen's registry operations, its size and layers, and the Step stage.
#include "objects/tova_base_list.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <utility>

#include "core/encoding.h"
#include "expr/custom_param.h"
#include "objects/component_factory.h"
#include "objects/property_ids.h"

namespace tova {

TTovaBaseList::TTovaBaseList() {
    MakeLayers();
}

TTovaBaseList::~TTovaBaseList() {
    // Components first: they may still point at the layers.
    registry_.Clear();
}

void TTovaBaseList::MakeLayers() {
    for (int i = 0; i < 2; ++i) {
        if (layers_[static_cast<size_t>(i)]) registry_.ReleaseUnowned(*layers_[static_cast<size_t>(i)]);
        auto layer = std::make_unique<TTovaBase>(i);
        layer->Screen = this;
        registry_.AddUnowned(*layer);
        layer->Resize(width_, height_);
        layers_[static_cast<size_t>(i)] = std::move(layer);
    }
    surface_.Resize(width_, height_);
}

void TTovaBaseList::GetProp(int id, TCustomParam& result) const {
    switch (id) {
        case PR_WIDTH:
            return result.SetInt(width_);
        case PR_HEIGHT:
            return result.SetInt(height_);
        case PR_COLOR:
            return result.SetInt(CurrentLayer().Color);
        default:
            return TTovaObject::GetProp(id, result);
    }
}

void TTovaBaseList::SetProp(int id, const TCustomParam& value) {
    switch (id) {
        case PR_WIDTH:
            return SetSize(value.GetInt(), height_);
        case PR_HEIGHT:
            return SetSize(width_, value.GetInt());
        case PR_COLOR:
            return CurrentLayer().SetColor(value.GetInt());
        default:
            return TTovaObject::SetProp(id, value);
    }
}

// --- Registry -----------------------------------------------------------

TTovaObject& TTovaBaseList::AddObject(std::unique_ptr<TTovaObject> object) {
    object->Screen = this;
    TTovaControl* control = object->AsControl();
    if (control && !object->Name.empty()) MoveNameAside(object->Name, *object);
    TTovaObject& added = registry_.Add(std::move(object));
    if (added.Name.empty() && added.WantsAutoName()) added.SetName(MakeName("object"));
    if (control) {
        if (!control->Parent()) {
            control->parent_ = &CurrentLayer();
            control->inherited_.Epoch = 0;
            CurrentLayer().AddChild(*control);
            control->Invalidate();
        }
        if (!Focus()) focusDirty_ = true;
    }
    return added;
}

TTovaObject* TTovaBaseList::CreateComponent(int typeCode) {
    std::unique_ptr<TTovaObject> object = MakeComponent(typeCode & 0x7F);
    return object ? &AddObject(std::move(object)) : nullptr;
}

TTovaBase* TTovaBaseList::LayerNamed(std::string_view name) const {
    if (name.empty() || name == LayerName(0)) return &CurrentLayer();
    if (name == "\x01" || name == LayerName(1)) return &Layer(current_ + 1);
    return nullptr;
}

TTovaObject* TTovaBaseList::FindObject(std::string_view name) const {
    if (TTovaBase* layer = LayerNamed(name)) return layer;
    return registry_.Find(name);
}

TTovaControl* TTovaBaseList::FindControl(std::string_view name) const {
    if (TTovaBase* layer = LayerNamed(name)) return layer;
    return registry_.FindControl(name);
}

TComponentHandle TTovaBaseList::FindHandle(std::string_view name) const {
    const TTovaObject* object = FindObject(name);
    return object ? object->Handle() : TComponentHandle{};
}

TTovaObject* TTovaBaseList::Resolve(TComponentHandle handle) const {
    return registry_.Resolve(handle);
}

std::string TTovaBaseList::NameOf(TComponentHandle handle) const {
    const TTovaObject* object = Resolve(handle);
    return object ? object->Name : std::string();
}

std::string TTovaBaseList::LookupName(const TTovaObject& object) const {
    if (&object == &CurrentLayer()) return std::string(LayerName(0));
    if (&object == &Layer(current_ + 1)) return std::string(LayerName(1));
    return object.Name;
}

std::string TTovaBaseList::MakeName(std::string_view prefix) const {
    return registry_.FreeName(prefix);
}

int TTovaBaseList::IndexOfName(std::string_view name) const {
    return registry_.IndexOfName(name);
}

int TTovaBaseList::ListNames(std::vector<std::string>& names, int typeCode, const TTovaObject* parent) const {
    int count = 0;
    for (size_t i = 0; i < registry_.Count(); ++i) {
        const TTovaObject& object = registry_.At(i);
        if (typeCode != 0 && object.TypeCode() != typeCode) continue;
        if (parent != this) {
            const TTovaControl* control = object.AsControl();
            const TTovaObject* own = control ? control->Parent() : nullptr;
            if (own != parent) continue;
        }
        names.push_back(object.Name);
        ++count;
    }
    return count;
}

namespace {

// "name_N" with N > 1 gives name and N; anything else gives itself and 2.
std::pair<std::string_view, uint32_t> SplitCounter(std::string_view name) {
    const size_t underscore = name.rfind('_');
    if (underscore != std::string_view::npos && underscore + 1 < name.size() &&
        name.size() - underscore <= 10) {
        uint32_t n = 0;
        const char* first = name.data() + underscore + 1;
        const char* last = name.data() + name.size();
        const auto [end, error] = std::from_chars(first, last, n);
        if (error == std::errc() && end == last && n > 1) return {name.substr(0, underscore), n};
    }
    return {name, 2};
}

}  // namespace

void TTovaBaseList::MoveNameAside(const std::string& name, const TTovaObject& taker) {
    TTovaObject* holder = registry_.Find(name);
    if (!holder || holder == &taker) return;
    const auto [stem, first] = SplitCounter(name);
    std::string fresh;
    for (uint64_t n = first;; ++n) {
        fresh.assign(stem);
        fresh += '_';
        fresh += std::to_string(n);
        if (!registry_.Find(fresh)) break;
    }
    holder->TTovaObject::SetName(std::move(fresh));
    // Ties between priorities are broken by name.
    if (TTovaControl* control = holder->AsControl(); control && control->parent_)
        control->parent_->SortChildren();
}

bool TTovaBaseList::IsScheduledForDeletion(const TTovaObject& object) const {
    return object.Handle() &&
           std::find(pendingDelete_.begin(), pendingDelete_.end(), object.Handle()) != pendingDelete_.end();
}

void TTovaBaseList::DeleteObject(TTovaObject& object) {
    if (object.serial_ == 0 || IsScheduledForDeletion(object)) return;  // a layer, or already going
    pendingDelete_.push_back(object.Handle());
    object.TTovaObject::SetName({});
    // Without its name it has another place among its siblings until it goes.
    if (TTovaControl* control = object.AsControl(); control && control->parent_)
        control->parent_->SortChildren();
}

void TTovaBaseList::NoteTooDeep(const TTovaControl& control, const TTovaControl& parent) {
    const std::string line = "PR_PARENT of " + Cp932ToUtf8(control.Name) + " to " + Cp932ToUtf8(parent.Name) +
                             ": components nest at most " + std::to_string(kMaxControlDepth) +
                             " deep; the component stays where it is";
    if (trace_) *trace_ << line << "\n";
    if (errors_ && !std::exchange(tooDeepNoted_, true)) *errors_ << "tovaplayer: " << line << "\n";
}

void TTovaBaseList::RemoveObject(TTovaObject& object) {
    if (object.serial_ == 0) return;  // the layers stay
    if (TTovaControl* control = object.AsControl()) {
        while (!control->children_.empty())
            RemoveObject(*control->children_.back());
        control->Invalidate();
        const TTovaControl* focus = Focus();
        if (focus == control) DropFocus();
        control->Motion.reset();
        if (TTovaControl* parent = control->parent_) {
            parent->RemoveChild(*control);
            parent->CabinetChildRemoved(*control);
            control->parent_ = nullptr;
        }
    }
    Events.RemoveSender(object.Handle());
    registry_.Take(object);
}

void TTovaBaseList::ClearObjects() {
    for (size_t i = 0; i < registry_.Count(); ++i)
        Events.RemoveSender(registry_.At(i).Handle());
    DropFocus();
    for (auto& layer : layers_) {
        layer->children_.clear();
        layer->InvalidateAll();
    }
    registry_.Clear();
    pendingDelete_.clear();
    ++layoutEpoch_;
}

void TTovaBaseList::Reset() {
    const int32_t mouseX = CurrentLayer().Input.MouseX;
    const int32_t mouseY = CurrentLayer().Input.MouseY;
    transitioning_ = false;
    Events.Clear();
    ClearObjects();
    focusDirty_ = false;
    MakeLayers();
    for (auto& layer : layers_) {
        layer->Input.MouseX = mouseX;
        layer->Input.MouseY = mouseY;
    }
}

// --- Layers and size ----------------------------------------------------

void TTovaBaseList::SetSize(int32_t width, int32_t height) {
    width = std::clamp(width, 1, kMaxSide);
    height = std::clamp(height, 1, kMaxSide);
    if (width == width_ && height == height_ && surface_.Width() == width) return;
    width_ = width;
    height_ = height;
    for (auto& layer : layers_)
        layer->Resize(width, height);
    surface_.Resize(width, height);
}

void TTovaBaseList::StartTransition(int index) {
    current_ = index & 1;
    const TTovaControl* focus = Focus();
    if (focus && focus->GetLayer() != &CurrentLayer()) DropFocus();
    focusDirty_ = true;
    for (auto& layer : layers_)
        layer->InvalidateAll();
}

// --- Step -----------------------------------------------------------------

bool TTovaBaseList::Step(int32_t frameMs) {
    for (auto& layer : layers_)
        layer->Step(frameMs);
    constexpr uint8_t kIdleKind = PR_ONIDLE;
    for (registry_.Cursor = 0; registry_.Cursor < registry_.Count();) {
        TTovaObject& object = registry_.At(registry_.Cursor);
        const TComponentHandle handle = object.Handle();
        if (!object.InCabinet() && !object.HandlesMouse() && !Events.HasPending(handle, kIdleKind)) {
            std::string idle = object.IdleText();
            if (!idle.empty()) Events.Add({std::move(idle), handle, kIdleKind, 0, {}});
        }
        const bool keep =
            object.Paused() || IsScheduledForDeletion(object) || object.InCabinet() || object.Step(frameMs);
        // The component's own step may have freed it, or others before it.
        const bool stillHere = registry_.Cursor < registry_.Count() && Resolve(handle) == &object &&
                               &registry_.At(registry_.Cursor) == &object;
        if (!stillHere) continue;
        if (keep)
            ++registry_.Cursor;
        else
            RemoveObject(object);
    }
    registry_.Cursor = 0;
    const std::vector<TComponentHandle> doomed = std::move(pendingDelete_);
    pendingDelete_.clear();
    for (TComponentHandle handle : doomed)
        if (TTovaObject* object = Resolve(handle)) RemoveObject(*object);
    return true;
}

}  // namespace tova
