// The system functions' view of components, answered from the screen: a
// component's type and properties by name, where it stands (its origin, a
// cabinet, the current layer) and the lists of components and children.
// An empty name names no component here (the screen's lookups would give the
// current layer for it).
#pragma once

#include "expr/sys_host.h"

namespace tova {

class TTovaBaseList;
class TTovaObject;

class TScreenComponentRole final : public TComponentHost {
public:
    explicit TScreenComponentRole(TTovaBaseList& screen) : screen_(screen) {}

    std::optional<int> ComponentType(std::string_view name) override;
    void GetProperty(std::string_view name, int id, TCustomParam& result) override;
    bool SetProperty(std::string_view name, int id, const TCustomParam& value) override;
    std::optional<std::pair<int32_t, int32_t>> ScreenOrigin(std::string_view name) override;
    bool InCabinet(std::string_view name) override;
    bool InPrimary(std::string_view name) override;
    // Registration order; components waiting for deletion are left out.
    std::vector<TComponentEntry> ScreenComponents() override;
    std::optional<std::vector<TComponentEntry>> ChildComponents(std::string_view name) override;

private:
    TTovaObject* Find(std::string_view name) const;

    TTovaBaseList& screen_;
};

}  // namespace tova
