#include "sdk/script_structure.h"

#include "engine/command_flow.h"

#include <algorithm>

namespace tova::sdk {

int32_t* LoopTargetField(TCommand& command) {
    switch (command.GetCode()) {
        case TCommandCode::While:
            return &static_cast<TComWhile&>(command).ExitTarget;
        case TCommandCode::WhileLoop:
            return &static_cast<TComWhileLoop&>(command).LoopTarget;
        case TCommandCode::Break:
            return &static_cast<TComBreak&>(command).Target;
        case TCommandCode::Continue:
            return &static_cast<TComContinue&>(command).Target;
        default:
            return nullptr;
    }
}

const int32_t* LoopTargetField(const TCommand& command) {
    return LoopTargetField(const_cast<TCommand&>(command));
}

TLoopStructure AnalyzeLoops(const std::vector<TCommandShape>& shapes) {
    const auto n = static_cast<int32_t>(shapes.size());
    const auto at = [](int32_t i) { return static_cast<size_t>(i); };
    TLoopStructure s;
    s.Init.assign(at(n), -1);
    s.Loop.assign(at(n), -1);
    s.BodyEnd.assign(at(n), -1);
    s.Target.assign(at(n), 0);
    std::vector<int32_t> enclosing(at(n), -1);  // Break and Continue: the innermost While around them
    // The Whiles whose bodies are still open, innermost on top, Indents rising.
    std::vector<int32_t> open;
    for (int32_t i = 0; i <= n; ++i) {
        while (!open.empty() && (i == n || shapes[at(open.back())].Indent >= shapes[at(i)].Indent)) {
            const int32_t w = open.back();
            open.pop_back();
            s.BodyEnd[at(w)] = i;
            if (i < n && shapes[at(i)].Code == TCommandCode::WhileLoop &&
                shapes[at(i)].Indent == shapes[at(w)].Indent)
                s.Loop[at(w)] = i;
        }
        if (i == n) break;
        const TCommandShape& shape = shapes[at(i)];
        if (shape.Code == TCommandCode::Break || shape.Code == TCommandCode::Continue)
            enclosing[at(i)] = open.empty() ? -1 : open.back();
        if (shape.Code == TCommandCode::While) {
            if (i > 0 && shapes[at(i - 1)].Code == TCommandCode::WhileInit &&
                shapes[at(i - 1)].Indent == shape.Indent)
                s.Init[at(i)] = i - 1;
            open.push_back(i);
        }
    }
    for (int32_t i = 0; i < n; ++i) {
        const TCommandCode code = shapes[at(i)].Code;
        if (code == TCommandCode::While) {
            const int32_t loop = s.Loop[at(i)];
            s.Target[at(i)] = loop >= 0 ? loop + 1 : s.BodyEnd[at(i)];
            if (loop >= 0) s.Target[at(loop)] = i;
        }
    }
    for (int32_t i = 0; i < n; ++i) {
        const int32_t w = enclosing[at(i)];
        if (shapes[at(i)].Code == TCommandCode::Break)
            s.Target[at(i)] = w < 0 ? -1 : s.Target[at(w)];
        else if (shapes[at(i)].Code == TCommandCode::Continue)
            s.Target[at(i)] = w < 0 ? -1 : s.Loop[at(w)] >= 0 ? s.Loop[at(w)] : w;
    }
    return s;
}

std::vector<TPlannedCommand> PlanLoopRecords(const std::vector<TWrittenShape>& written) {
    const auto n = static_cast<int32_t>(written.size());
    const auto at = [](int32_t i) { return static_cast<size_t>(i); };
    std::vector<TCommandShape> shapes;
    shapes.reserve(written.size());
    for (const TWrittenShape& command : written)
        shapes.push_back(command.Shape);
    const TLoopStructure loops = AnalyzeLoops(shapes);
    std::vector<std::vector<int32_t>> loopsBefore(at(n) + 1);
    for (int32_t w = 0; w < n; ++w)
        if (shapes[at(w)].Code == TCommandCode::While && !written[at(w)].NoLoop && loops.Loop[at(w)] < 0)
            loopsBefore[at(loops.BodyEnd[at(w)])].push_back(w);
    std::vector<TPlannedCommand> plan;
    plan.reserve(written.size());
    for (int32_t p = 0; p <= n; ++p) {
        std::vector<int32_t>& ending = loopsBefore[at(p)];
        std::sort(ending.begin(), ending.end(),
                  [&](int32_t a, int32_t b) { return shapes[at(a)].Indent > shapes[at(b)].Indent; });
        for (const int32_t w : ending)
            plan.push_back({-1, w, {TCommandCode::WhileLoop, shapes[at(w)].Indent}});
        if (p == n) break;
        if (shapes[at(p)].Code == TCommandCode::While && !written[at(p)].NoInit && loops.Init[at(p)] < 0)
            plan.push_back({-1, p, {TCommandCode::WhileInit, shapes[at(p)].Indent}});
        plan.push_back({p, -1, shapes[at(p)]});
    }
    return plan;
}

}  // namespace tova::sdk
