// The one field list of each command record: what it describes to the SDK
// is exactly what the page writer stores and the reader reads back, at every
// page version, so a field the description offers is never lost on the way.
#include <gtest/gtest.h>

#include <string>

#include "engine/command_archive.h"
#include "engine/page.h"

namespace tova {
namespace {

std::string Stored(const TTovaParser& parser) {
    TTpMemoryStream stream;
    parser.SaveToStream(stream);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

void Fill(TTovaParser& parser, int value) {
    CompileExpression(std::to_string(value), parser);
}

TEST(CommandFields, EveryDescribedFieldSurvivesTheRecordExactlyWhenItsVersionHoldsIt) {
    for (int32_t version : {103, 104, 106, 107, 108, 110, 111, 114}) {
        for (int code = 0; code < kCommandCodeCount; ++code) {
            SCOPED_TRACE("version " + std::to_string(version) + ", code " + std::to_string(code));
            TPage written;
            written.Version = version;
            written.Commands.push_back(CreateCommand(written, static_cast<uint8_t>(code)));
            const std::vector<TExpressionField> fields = DescribeExpressions(*written.Commands[0]);
            int value = 1;
            for (const TExpressionField& field : fields) {
                if (field.Parser) Fill(*field.Parser, value++);
                for (int item = 0; field.List && item < 2; ++item) {
                    field.List->push_back(std::make_unique<TTovaParser>());
                    Fill(*field.List->back(), value++);
                }
            }
            TTpMemoryStream bytes;
            written.SaveToStream(bytes);
            bytes.SetPosition(0);
            TPage read;
            read.LoadFromStream(bytes);
            ASSERT_EQ(read.Count(), 1);
            EXPECT_EQ(bytes.Remaining(), 0);
            const std::vector<TExpressionField> back = DescribeExpressions(*read.Commands[0]);
            ASSERT_EQ(back.size(), fields.size());
            for (size_t i = 0; i < fields.size(); ++i) {
                SCOPED_TRACE(std::string(fields[i].Name));
                EXPECT_EQ(back[i].Name, fields[i].Name);
                const bool stored = version >= fields[i].MinVersion;
                if (fields[i].Parser) {
                    EXPECT_EQ(back[i].Parser->Records().empty(), !stored);
                    if (stored) {
                        EXPECT_EQ(Stored(*back[i].Parser), Stored(*fields[i].Parser));
                    }
                } else {
                    ASSERT_EQ(back[i].List->size(), fields[i].List->size());
                    for (size_t k = 0; k < fields[i].List->size(); ++k)
                        EXPECT_EQ(Stored(*(*back[i].List)[k]), Stored(*(*fields[i].List)[k]));
                }
            }
        }
    }
}

}  // namespace
}  // namespace tova
