#include "expr/sys_func_pure.h"

#include "core/error.h"
#include "expr/param_var.h"
#include "expr/sys_func_registry.h"

namespace tova {
namespace pure {

std::string TextArg(const TSysCall& call, int n) {
    return call.Arg(n).GetStr();
}

int32_t IntArg(const TSysCall& call, int n) {
    return call.Arg(n).GetInt();
}

long double FloatArg(const TSysCall& call, int n) {
    return call.Arg(n).GetFloat();
}

bool BoolArg(const TSysCall& call, int n, bool fallback) {
    return call.HasArg(n) ? call.Arg(n).GetBool() : fallback;
}

TCustomParam& VariableArg(const TSysCall& call, int n, std::string_view functionName) {
    const auto* ref = call.HasArg(n) ? dynamic_cast<const TParamVar*>(&call.Arg(n)) : nullptr;
    if (!ref || !ref->Target()) throw ETovaError::Format("%s:変数が見つかりません", {functionName});
    return call.Arg(n);
}

void CopyElementAs(int typeCode, TCustomParam& dest, int destIndex, const TCustomParam& src, int srcIndex) {
    switch (typeCode) {
        case PT_INT:
            dest.SetIntAt(destIndex, src.GetIntAt(srcIndex));
            break;
        case PT_FLOAT:
            dest.SetFloatAt(destIndex, src.GetFloatAt(srcIndex));
            break;
        case PT_BOOL:
            dest.SetBoolAt(destIndex, src.GetBoolAt(srcIndex));
            break;
        case PT_STR:
            dest.SetStrAt(destIndex, src.GetStrAt(srcIndex));
            break;
        default:
            break;
    }
}

}  // namespace pure

void RegisterPureFunctions(TSysFunctionImpl* table) {
    using namespace pure;
    struct TEntry {
        int Id;
        TSysFunctionImpl Impl;
    };
    static constexpr TEntry kEntries[] = {
        {0, IntToStr},
        {1, IntToHex},
        {4, GetArraySize},
        {5, Length},
        {6, JLength},
        {7, Copy},
        {8, JCopy},
        {9, Delete},
        {10, JDelete},
        {11, Insert},
        {12, JInsert},
        {13, CompareStr},
        {14, CompareText},
        {15, Pos},
        {16, JPos},
        {17, Trim},
        {18, JTrim},
        {20, Not},
        {21, SetArray},
        {22, FillMem},
        {23, CopyMem},
        {26, Random},
        {28, ArrayToString},
        {29, StringToArray},
        {30, IndexOfStr},
        {31, SortStr},
        {37, Int},
        {38, Float},
        {39, Sin},
        {40, Cos},
        {41, Tan},
        {42, ArcSin},
        {43, ArcCos},
        {44, ArcTan},
        {45, ArcTan2},
        {46, Hypot},
        {48, Abs},
        {49, Fabs},
        {51, EncodeDate},
        {52, EncodeTime},
        {53, DecodeDate},
        {54, DecodeTime},
        {55, GetYear},
        {56, GetMonth},
        {57, GetDay},
        {58, GetHour},
        {59, GetMin},
        {60, GetSec},
        {61, GetWeek},
        {62, GetWeekStr},
        {63, GetWeekJStr},
        {64, FixStr},
        {66, AddArray},
        {67, InsertArray},
        {68, DeleteArray},
        {70, CopyArray},
        {73, LowerCase},
        {74, UpperCase},
        {75, ExtractFilePath},
        {76, ExtractFileName},
        {77, ExtractFileExt},
        {78, IsPathDelimiter},
        {79, AddBackSlash},
        {80, ChangeFileExt},
        {81, IsDelimiter},
        {82, StringOfChar},
        {83, StringReplace},
        {85, HanToZen},
        {86, ZenToHan},
        {126, Min},
        {127, Max},
        {128, Fmin},
        {129, Fmax},
        {133, AddDelimiter},
        {138, StrToIntDef},
        {139, StrToFloatDef},
        {152, Chr},
        {153, Ord},
    };
    for (const TEntry& entry : kEntries)
        table[entry.Id] = entry.Impl;
}

}  // namespace tova
