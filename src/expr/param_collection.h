// The one variable collection: the system variables (its first 50 items), the
// script's globals, locals, status variables and the temporaries of
// expression evaluation, looked up by name without regard to case.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/hash_collection.h"
#include "core/stream.h"
#include "expr/param_collection_item.h"
#include "expr/system_variable_host.h"

namespace tova {

// The message history settings that saves of versions 113 to 134 carry.
using THistorySettings = std::array<std::pair<int32_t, int32_t>, 3>;

// Where a name was last found, kept by a compiled expression for each name
// it uses. The chain of the name stays valid as long as the collection's
// epoch does, so a repeated lookup never hashes the name again; the item
// found stays the answer while the call depth and the chain's version (moved
// on by any change to the items of that name) are the ones it was found with.
struct TFoundName {
    uint64_t Epoch = 0;
    const THashCollection::TChain* Chain = nullptr;
    uint64_t Version = 0;
    int32_t Depth = 0;
    TParamCollectionItem* Item = nullptr;
};

class TParamCollection final : public THashCollectionOf<TParamCollectionItem> {
public:
    static constexpr int kCurrentSaveVersion = 139;

    // Creates the system variables, answered by the default host.
    TParamCollection();

    // host must outlive its registration; null restores the default host.
    void SetSystemHost(TSystemVariableHost* host);
    TSystemVariableHost& SystemHost() const { return *systemHost_; }

    // The variable a name stands for: a local of CurrentDepth first, else
    // among globals of that name the one linked earliest. Locals of other
    // depths are never found.
    TParamCollectionItem* FindItem(std::string_view name) const;
    // The same answer, skipping the lookup while what found is still holds.
    TParamCollectionItem* FindItem(std::string_view name, TFoundName& found) const {
        if (found.Epoch != Epoch()) return FindAndRemember(name, found);
        if (found.Depth != CurrentDepth || found.Chain->version != found.Version) {
            found.Version = found.Chain->version;
            found.Depth = CurrentDepth;
            found.Item = FindInChain(found.Chain->head);
        }
        return found.Item;
    }
    // The newest item of that name that is a local of CurrentDepth (local) or
    // a global (not local).
    TParamCollectionItem* FindDeclared(std::string_view name, bool local) const;
    // Appends an unnamed variable holding a fresh value of typeCode; an
    // unknown code raises "内部エラー".
    TParamCollectionItem* AddItem(int typeCode);

    // The declaration of a variable of typeCode and kind (VK_*): the declared
    // one found or created, and whether its initial value is to be stored (a
    // status variable that exists already keeps its value). An empty name
    // raises "変数名がありません".
    struct TDeclared {
        TParamCollectionItem* Item;
        bool AssignInitial;
    };
    TDeclared Declare(std::string_view name, int typeCode, int kind);

    // A free-standing copy of the variable's type, shape and elements, or null
    // when it does not exist; a variable that holds no data of its own raises
    // "%s:不正な変数です".
    std::unique_ptr<TCustomParam> DetachedCopy(std::string_view name) const;

    // Destroys one variable; system variables are never destroyed.
    void DeleteVariable(TParamCollectionItem& item);
    // Destroys the variables owned by the call depth being left.
    void FreeOwned(int32_t depth);
    // Destroys every variable that is neither a system nor a status variable
    // and resets @TextDelay and @Cursor.
    void ClearVars();

    // Pushes a set of the named data variables (missing ones and references
    // are left out); PopVars restores the newest set by name.
    void PushVars(const std::vector<std::string>& names);
    void PopVars();

    void SaveGameVars(TStream& stream) const;
    void LoadGameVars(TStream& stream, int32_t version);
    void SaveStatusVars(TStream& stream) const;
    void LoadStatusVars(TStream& stream);

    int32_t CurrentDepth = 0;  // frames on the page call stack
    std::vector<TTpMemoryStream> PushedSets;
    std::string SelStr;      // @SelStr
    int32_t SelIndex = 0;    // @SelIndex
    int32_t TextDelay = 50;  // @TextDelay
    std::string Cursor;      // @Cursor
    std::string TempTarget;  // the variable @Temp stands for
    // What the last LoadGameVars found of the history settings (only old saves carry them).
    std::optional<THistorySettings> LoadedHistorySettings;

    // Called by an item whose value was replaced (it may now be a reference).
    void NoteRetyped(TParamCollectionItem& item);

private:
    TParamCollectionItem* FindAndRemember(std::string_view name, TFoundName& found) const;
    TParamCollectionItem* FindInChain(THashCollectionItem* head) const;
    // Destroys, from the last to the first, the items doom selects (never a
    // system variable), unbinding the references that pointed at them.
    void DestroyWhere(const std::function<bool(const TParamCollectionItem&)>& doom);
    // The same for a known set: costs what the set and the references cost,
    // not what the whole collection holds.
    void DestroyItems(const std::unordered_set<const TParamCollectionItem*>& doomed);
    // Notes an added item's owner and whether it is a reference.
    void Track(TParamCollectionItem& item);
    void SaveRecords(TStream& stream, bool status) const;
    void LoadRecords(TStream& stream);
    // Reads one pushed set from the stream into a stream of its own.
    static TTpMemoryStream ReadPushedSet(TStream& stream);

    // The items each call depth owns (freed when that call returns), and the
    // items holding references, so a return never walks every variable.
    std::unordered_map<int32_t, std::vector<TParamCollectionItem*>> owned_;
    std::unordered_set<TParamCollectionItem*> references_;
    TSystemVariableHost defaultHost_;
    TSystemVariableHost* systemHost_ = &defaultHost_;
};

}  // namespace tova
