#include "expr/param_types.h"

#include "core/error.h"

namespace tova {

std::string ParamTypeCaption(int typeCode) {
    switch (typeCode) {
        case PT_INT:
            return SysText("整数");
        case PT_FLOAT:
            return SysText("実数");
        case PT_BOOL:
            return SysText("フラグ");
        case PT_STR:
            return SysText("文字列");
        default:
            return {};
    }
}

std::string VarKindCaption(int kind) {
    switch (kind) {
        case VK_GLOBAL:
            return SysText("グローバル");
        case VK_AUTOFREE:
            return SysText("自動破棄");
        case VK_LOCAL:
            return SysText("ローカル");
        case VK_STATUS:
            return SysText("ステータス");
        default:
            return {};
    }
}

const char* ParamTypeShortName(int typeCode) {
    static const char* const names[] = {"ref", "int", "float", "bool", "str"};
    return typeCode >= 0 && typeCode <= 4 ? names[typeCode] : "";
}

}  // namespace tova
