// Run-time behaviour of the commands that work on variables, components and
// the game as a whole: expressions, declarations, properties, the resets,
// the end of the game and the save and load requests.
#include <memory>

#include "core/error.h"
#include "engine/call_man.h"
#include "engine/command_flow.h"
#include "engine/interpreter_host.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "expr/param_factory.h"
#include "expr/param_types.h"
#include "expr/property_names.h"
#include "expr/property_types.h"
#include "objects/property_access.h"
#include "objects/tova_base_list.h"

namespace tova {

namespace {

std::string EvaluateText(TCallMan& callMan, TTovaParser& expression) {
    const TCustomParam* value = callMan.Evaluate(expression);
    return value ? value->GetStr() : std::string();
}

int32_t EvaluateInt(TCallMan& callMan, TTovaParser& expression) {
    const TCustomParam* value = callMan.Evaluate(expression);
    return value ? value->GetInt() : 0;
}

// The component named by the expression, or null.
TTovaObject* FindComponent(TCallMan& callMan, TTovaParser& object) {
    return callMan.Screen().FindObject(EvaluateText(callMan, object));
}

int32_t PropertyIdOf(TCallMan& callMan, TTovaParser& propertyId) {
    const TCustomParam* id = callMan.Evaluate(propertyId);
    if (!id) throw ETovaError::Format("プロパティ指定が不正です");
    return id->GetInt();
}

}  // namespace

void TComCalc::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    callMan.Evaluate(Expression);
}

void TComVarNew::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    const TParamCollection::TDeclared declared = callMan.Vars().Declare(Name, Type, Scope);
    if (!declared.AssignInitial) return;  // a status variable keeps its value
    TParamCollectionItem& item = *declared.Item;
    const TCustomParam* value = callMan.Evaluate(InitialValue);
    if (!value) return;
    switch (Type) {
        case PT_INT:
            item.SetInt(value->GetInt());
            break;
        case PT_FLOAT:
            item.SetFloat(value->GetFloat());
            break;
        case PT_BOOL:
            item.SetBool(value->GetBool());
            break;
        case PT_STR:
            item.SetStr(value->GetStr());
            break;
        default:
            break;
    }
}

void TComVarDel::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    if (Name.empty()) return;
    if (TParamCollectionItem* item = callMan.Vars().FindItem(Name)) callMan.Vars().DeleteVariable(*item);
}

void TComGetProp::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    const TTovaObject* component = FindComponent(callMan, Object);
    if (!component) return;
    const int32_t id = PropertyIdOf(callMan, PropertyId);
    if (VarName.empty()) return;
    TParamCollectionItem* target = callMan.Vars().FindItem(VarName);
    if (!target) return;
    if (id < 0 || id >= kPropertyCount) throw ETovaError::Format("GetPropエラー");
    const std::unique_ptr<TCustomParam> value = CreateParam(PropertyValueType(id));
    GetProperty(*component, id, *value);
    target->AssignConverted(*value);
}

void TComSetProp::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    TTovaObject* component = FindComponent(callMan, Object);
    if (!component) return;
    const int32_t id = PropertyIdOf(callMan, PropertyId);
    const TCustomParam* value = callMan.Evaluate(Value);
    if (!value) return;
    if (id >= 0 && id < kPropertyCount && !TakesProperty(*component, id))
        callMan.Warn(NotTakenMessage(component->Name, id));
    SetProperty(*component, id, *value);
}

void TComObjDel::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    const std::string name = EvaluateText(callMan, Object);
    if (name.empty()) return;
    // Freed at the end of the frame's component steps; the name is free at once.
    if (TTovaObject* component = callMan.Screen().FindObject(name)) callMan.Screen().DeleteObject(*component);
}

void TComTerminate::Execute(TCallMan& callMan, TPage*&, int32_t&) {
    callMan.Flags().Stop = true;
    callMan.Host().RequestClose();
}

namespace {

// Unwinds the whole stack: the variables of every level are freed and a
// suspended command of the main flow is finished at once.
void UnwindStack(TCallMan& callMan) {
    callMan.Vars().FreeOwned(callMan.Stack.Count());
    for (int32_t i = callMan.Stack.Count() - 1; i >= 0; --i) {
        const TStack& frame = callMan.Stack[i];
        callMan.Vars().FreeOwned(i);
        if (frame.EventSource || frame.Started == 0 || frame.PageName.empty()) continue;
        TPage* page = callMan.GetPage(frame.PageName, false);
        if (frame.PC >= 0 && frame.PC < page->Count())
            page->Commands[static_cast<size_t>(frame.PC)]->Stop(callMan);
    }
}

// The lowest frame that returns into the main flow below the event handling
// (the frame the handler will return into), or -1.
int32_t MainFlowFrame(TCallMan& callMan) {
    int32_t handling = -1;
    for (int32_t i = 0; i < callMan.Stack.Count(); ++i)
        if (callMan.Stack[i].EventSource) {
            handling = i;
            break;
        }
    if (handling < 0 && callMan.EventSource && callMan.Screen().Contains(callMan.EventSource))
        handling = callMan.Stack.Count();
    for (int32_t i = handling - 1; i >= 0; --i)
        if (!callMan.Stack[i].EventSource) return i;
    return -1;
}

}  // namespace

void TComPCReset::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    if (Mode != 0) {
        UnwindStack(callMan);
        callMan.Start(PageName);
        page = callMan.Page;
        pc = Target;
        callMan.Screen().Events.Clear();
        return;
    }
    callMan.Vars().FreeOwned(callMan.Stack.Count());
    if (const int32_t index = MainFlowFrame(callMan); index >= 0) {
        callMan.Vars().FreeOwned(index);
        TStack& frame = callMan.Stack[index];
        frame.PageName = PageName;
        frame.PC = Target;
        frame.Started = 0;
        frame.ResultVar.clear();
        frame.Args.clear();
        frame.StateStream.reset();
        ++pc;
    } else {
        page = callMan.GetPage(PageName, true);
        pc = Target;
    }
    callMan.Screen().Events.RemoveTaken();
}

void TComReset::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    callMan.Screen().Reset();
    callMan.Vars().ClearVars();
    if (TDBManager* database = callMan.Database()) database->RemoveOrdinaryTables();
    callMan.Host().ResetHistoryFormats();
    callMan.Start(PageName);
    page = callMan.Page;
    pc = Target;
}

void TComGameSave::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    const int32_t slot = EvaluateInt(callMan, Slot);
    callMan.Host().RequestSave(slot, EvaluateText(callMan, Text), Caption, Value);
}

void TComGameLoad::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    callMan.Host().RequestLoad(EvaluateInt(callMan, Slot));
}

}  // namespace tova
