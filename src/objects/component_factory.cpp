// The classes behind the LT_ codes, one line per class.
#include "objects/component_factory.h"

#include "objects/components/tova_box.h"
#include "objects/components/tova_images.h"
#include "objects/tova_control.h"

namespace tova {

std::unique_ptr<TTovaObject> MakeComponent(int typeCode) {
    switch (typeCode) {
        case LT_BOX:
            return std::make_unique<TTovaBox>();
        case LT_IMAGES:
            return std::make_unique<TTovaImages>();
        case LT_CABINET:
            return std::make_unique<TTovaCabinet>();
        default:
            return nullptr;
    }
}

}  // namespace tova
