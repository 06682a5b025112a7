// The keyboard focus: which control hears the keys, how it moves, and the
// first focusable control Input falls back to.
#include "objects/property_ids.h"
#include "objects/tova_base_list.h"

namespace tova {

TTovaControl* TTovaBaseList::Focus() const {
    TTovaObject* object = Resolve(focus_);
    return object ? object->AsControl() : nullptr;
}

void TTovaBaseList::SetFocus(TTovaControl* control) {
    TTovaControl* old = Focus();
    if (control == old) {
        focusDirty_ = false;
        return;
    }
    if (old && !old->Name.empty() && !old->HandlesMouse())
        old->QueueEvent(old->KeyText(TKeyEvent::FocusOut), PR_ONFOCUSOUT);
    focus_ = control ? control->Handle() : TComponentHandle{};
    if (old) old->FocusChanged(false);
    if (control && !control->HandlesMouse())
        control->QueueEvent(control->KeyText(TKeyEvent::FocusIn), PR_ONFOCUSIN);
    focusDirty_ = false;
    if (control) control->FocusChanged(true);
}

void TTovaBaseList::DropFocus() {
    TTovaControl* old = Focus();
    focus_ = {};
    if (old) old->FocusChanged(false);
}

TTovaControl* TTovaBaseList::FirstFocusable(TTovaControl& control) const {
    const auto children = control.Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        if ((*child)->Visible)
            if (TTovaControl* found = FirstFocusable(**child)) return found;
    return control.HandleKey && !control.Paused() ? &control : nullptr;
}

}  // namespace tova
