// Painting the screen: each layer repaints its dirty rectangles; the current
// layer paints straight into the composed picture while no transition runs,
// so the common frame needs no copy between pictures.
#include "objects/tova_base_list.h"

namespace tova {

void TTovaBaseList::Paint() {
    ++layoutEpoch_;  // painting computes what the controls inherit afresh
    painted_.clear();
    for (auto& layer : layers_) {
        const bool presented = layer->Index() == current_ && !transitioning_;
        if (presented) painted_.assign(layer->Dirty().Rects().begin(), layer->Dirty().Rects().end());
        layer->PaintDirty(presented ? surface_ : layer->OwnSurface(), images_);
    }
}

void TTovaBaseList::ClearDirty() {
    for (auto& layer : layers_)
        layer->ClearDirty();
}

}  // namespace tova
