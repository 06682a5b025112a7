#include "shell/screen_dump.h"

#include <memory>

#include "core/json_text.h"
#include "expr/component_types.h"
#include "expr/custom_param.h"
#include "expr/param_factory.h"
#include "expr/property_names.h"
#include "expr/property_types.h"
#include "expr/variable_dump.h"
#include "objects/property_access.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"
#include "objects/tova_control.h"

namespace tova {
namespace {

void AppendProperties(std::string& out, const TTovaObject& object) {
    out += "{";
    bool first = true;
    for (int id = 0; id < kPropertyCount; ++id) {
        if (!object.AcceptsProperty(id)) continue;
        const int type = PropertyValueType(id);
        const std::unique_ptr<TCustomParam> value = CreateParam(type);
        GetProperty(object, id, *value);
        out += first ? "" : ", ";
        first = false;
        // Appended piece by piece: a literal + std::string temporary makes
        // GCC 12 at -O3 report a false -Wrestrict (GCC bug 105329).
        out += '"';
        out += PropertyName(id);
        out += "\": ";
        AppendTypedJsonValue(out, type, value->GetStr());
    }
    out += "}";
}

void AppendComponent(std::string& out, const TTovaObject& object) {
    const TTovaControl* control = object.AsControl();
    const TTovaBase* layer = control ? control->GetLayer() : nullptr;
    const TRect bounds = control ? control->GetBoundsRect() : TRect{};
    out += "{\"name\": " + JsonString(object.Name) + ", \"type\": \"" +
           std::string(ComponentTypeName(object.TypeCode())) + "\", \"parent\": " +
           JsonString(control && control->Parent() ? control->Parent()->Name : std::string()) +
           ", \"layer\": " + std::to_string(layer ? layer->Index() : -1) +
           ", \"left\": " + std::to_string(bounds.Left) + ", \"top\": " + std::to_string(bounds.Top) +
           ", \"width\": " + std::to_string(bounds.Width()) +
           ", \"height\": " + std::to_string(bounds.Height()) +
           ", \"visible\": " + (control && control->Visible ? "true" : "false") +
           ", \"priority\": " + std::to_string(object.Priority) + ", \"properties\": ";
    AppendProperties(out, object);
    out += "}";
}

void AppendEvent(std::string& out, const TTovaBaseList& screen, const TTimerData& event) {
    out += "{\"page\": " + JsonString(event.Handler) +
           ", \"sender\": " + JsonString(screen.NameOf(event.Sender)) +
           ", \"kind\": " + JsonString(PropertyName(event.Kind)) + ", \"args\": [";
    for (size_t i = 0; i < event.Args.size(); ++i)
        out += (i ? ", " : "") + JsonString(event.Args[i]);
    out += "]}";
}

}  // namespace

std::string ScreenDumpJson(const TTovaBaseList& screen) {
    const TTovaControl* focus = screen.Focus();
    std::string out =
        "{\"width\": " + std::to_string(screen.Width()) + ", \"height\": " + std::to_string(screen.Height()) +
        ", \"current\": " + std::to_string(screen.Current()) +
        ", \"frame_rate\": " + std::to_string(screen.FrameRate) +
        ", \"focus\": " + JsonString(focus ? focus->Name : std::string()) + ",\n\"components\": [";
    for (size_t i = 0; i < screen.ObjectCount(); ++i) {
        out += i ? ",\n  " : "\n  ";
        AppendComponent(out, screen.Object(i));
    }
    out += "],\n\"events\": [";
    for (size_t i = 0; i < screen.Events.Count(); ++i) {
        out += i ? ",\n  " : "\n  ";
        AppendEvent(out, screen, screen.Events[i]);
    }
    out += "]}\n";
    return out;
}

}  // namespace tova
