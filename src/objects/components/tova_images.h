// The image component (LT_IMAGES) that ImgNew creates: a picture, animated
// when its source has several frames.
#pragma once

#include "objects/components/tova_custom_images.h"

namespace tova {

class TTovaImages : public TTovaCustomImages {
public:
    int TypeCode() const override { return LT_IMAGES; }
};

}  // namespace tova
