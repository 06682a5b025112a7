#include "objects/tova_object.h"

#include "expr/custom_param.h"
#include "objects/property_ids.h"
#include "objects/record_io.h"
#include "objects/tova_base_list.h"

namespace tova {

bool TTovaObject::AcceptsProperty(int id) const {
    return PropertySupported(id, TypeCode(), Kind());
}

void TTovaObject::GetProp(int id, TCustomParam& result) const {
    switch (id) {
        case PR_NAME:
            result.SetStr(Name);
            return;
        case PR_TAG:
            result.SetStr(Tag);
            return;
        case PR_PRIORITY:
            result.SetInt(Priority);
            return;
        case PR_COMPOTYPE:
            result.SetInt(AcceptsProperty(PR_COMPOTYPE) ? TypeCode() : 0);
            return;
        default:
            NeutralDefault(id, result);
            return;
    }
}

void TTovaObject::SetProp(int id, const TCustomParam& value) {
    switch (id) {
        case PR_NAME:
            SetName(value.GetStr());
            return;
        case PR_TAG:
            Tag = value.GetStr();
            return;
        case PR_PRIORITY:
            SetPriority(value.GetInt());
            return;
        default:
            return;
    }
}

void TTovaObject::SetName(std::string name) {
    if (name == Name) return;
    Name = std::move(name);
    if (Screen) Screen->Renamed(*this);
}

void TTovaObject::SetPriority(int32_t priority) {
    Priority = priority;
    PriorityBias = 0;
}

void TTovaObject::SetPriorityBias(int32_t bias) {
    PriorityBias = bias;
}

bool TTovaObject::Step(int32_t) {
    return true;
}

void TTovaObject::VisitObjectRecord(TRecordIO& io, int32_t version) {
    std::string name = Name;
    io.String(name);
    if (io.Reading()) SetName(std::move(name));
    int32_t priority = Priority;
    io.I32(priority);
    if (io.Reading()) Priority = priority;
    if (version >= kPriorityBiasVersion) io.I32(PriorityBias);
    if (version >= kTagVersion) io.String(Tag);
}

void TTovaObject::SaveToStream(TStream& stream) const {
    TRecordIO io(stream, TRecordIO::TMode::Write);
    const_cast<TTovaObject*>(this)->VisitObjectRecord(io, kObjectsSaveVersion);
}

void TTovaObject::LoadFromStream(TStream& stream, int32_t version) {
    TRecordIO io(stream, TRecordIO::TMode::Read);
    VisitObjectRecord(io, version);
}

namespace {

// 0: an ordinary name, 1: one leading character 1 (system objects, below
// everything), 2: exactly two characters 1 (the transition's snapshot,
// above everything).
int NameClass(const std::string& name) {
    if (name == "\x01\x01") return 2;
    return !name.empty() && name[0] == '\x01' ? 1 : 0;
}

}  // namespace

bool DrawsBefore(const TTovaObject& a, const TTovaObject& b) {
    if (&a == &b) return false;
    const int ca = NameClass(a.Name);
    const int cb = NameClass(b.Name);
    if (ca == 2 || cb == 2) return cb == 2 && ca != 2;
    if (ca != cb) return ca == 1;
    const int64_t pa = int64_t{a.Priority} + a.PriorityBias;
    const int64_t pb = int64_t{b.Priority} + b.PriorityBias;
    if (pa != pb) return pa < pb;
    return std::string_view(a.Name).compare(b.Name) > 0;
}

}  // namespace tova
