// The box component (LT_BOX) that BoxNew creates: a rectangle filled with
// PR_COLOR and framed by a border of PR_BORDERWIDTH in PR_BORDERCOLOR (a
// negative colour draws nothing for that part), at PR_ALPHA; or, with a
// source, that picture's first frame stretched over the box.
#pragma once

#include <cstdint>
#include <string>

#include "objects/components/picture_holder.h"
#include "objects/tova_control.h"

namespace tova {

class TRecordIO;

class TTovaBox : public TTovaControl, public TPicturePlay {
public:
    int TypeCode() const override { return LT_BOX; }
    void GetProp(int id, TCustomParam& result) const override;
    void SetProp(int id, const TCustomParam& value) override;
    bool Paused() const override { return paused_; }
    std::string IdleText() const override { return OnIdle; }
    void Paint(TPaintContext& context) override;
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    // Loads the picture through the screen's image cache; empty: none.
    void SetSource(const std::string& source);
    const std::string& Source() const { return picture_.Source(); }

    int32_t BorderWidth = 0;
    int32_t BorderColor = -1;
    int32_t Alpha = 255;

private:
    void VisitBoxRecord(TRecordIO& io);

    TPictureHolder picture_{this};
    bool paused_ = false;
};

}  // namespace tova
