#include "engine/command_archive.h"

#include "engine/page.h"

namespace tova {
namespace {

// The smallest stored expression: its int32 record count.
constexpr int64_t kMinExpressionSize = 4;

}  // namespace

void TCommandArchive::Expression(std::string_view name, TTovaParser& parser, int32_t since) {
    if (Mode() == TArchiveMode::Describe) {
        fields_.push_back({name, &parser, nullptr, since});
        return;
    }
    if (!Holds(since)) return;
    if (IsReading())
        parser.LoadFromStream(Stream());
    else
        parser.SaveToStream(Stream());
}

void TCommandArchive::ExpressionList(std::string_view name, TParserList& list) {
    if (Mode() == TArchiveMode::Describe) {
        fields_.push_back({name, nullptr, &list, 0});
        return;
    }
    const int32_t count = Count(static_cast<int32_t>(list.size()), kMinExpressionSize, "expression");
    if (IsWriting()) {
        for (const auto& parser : list)
            parser->SaveToStream(Stream());
        return;
    }
    list.clear();
    list.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        list.push_back(std::make_unique<TTovaParser>());
        list.back()->LoadFromStream(Stream());
    }
}

void TCommandArchive::Properties(std::array<std::unique_ptr<TTovaParser>, kComponentPropertyCount>& slots) {
    if (Mode() == TArchiveMode::Describe) return;
    for (const auto& slot : slots) {
        if (!slot) continue;
        if (IsReading())
            slot->LoadFromStream(Stream());
        else
            slot->SaveToStream(Stream());
    }
}

std::vector<TExpressionField> DescribeExpressions(TCommand& command) {
    TCommandArchive archive(command.Page->Version);
    command.Serialize(archive);
    return archive.Fields();
}

}  // namespace tova
