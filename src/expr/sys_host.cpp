#include "expr/sys_host.h"

namespace tova {

// Defined here so that each role's virtual table has one home.
TScriptHost::~TScriptHost() = default;
TInputHost::~TInputHost() = default;
TComponentHost::~TComponentHost() = default;
THistoryHost::~THistoryHost() = default;
TSoundHost::~TSoundHost() = default;
TShellHost::~TShellHost() = default;

namespace {

template <class TRole>
TRole& OrDefault(TRole* role) {
    static TRole defaults;
    return role ? *role : defaults;
}

}  // namespace

TScriptHost& TSysHost::Script() const {
    return OrDefault(ScriptRole);
}
TInputHost& TSysHost::Input() const {
    return OrDefault(InputRole);
}
TComponentHost& TSysHost::Components() const {
    return OrDefault(ComponentRole);
}
THistoryHost& TSysHost::History() const {
    return OrDefault(HistoryRole);
}
TSoundHost& TSysHost::Sound() const {
    return OrDefault(SoundRole);
}
TShellHost& TSysHost::Shell() const {
    return OrDefault(ShellRole);
}

}  // namespace tova
