// The owners' shares of the status record, in their stored order: the
// status variables, the read marks, the image collection's depth-conversion
// flag and (from status version 103) the table database's status tables.
#pragma once

#include "engine/status_record.h"

namespace tova {

class TParamCollection;
class TTovaReadList;
class TImageDepthFlag;
class TDBManager;

class TVariableStatusPart final : public TStatusPart {
public:
    explicit TVariableStatusPart(TParamCollection& variables) : variables_(variables) {}
    void Save(TStream& stream, int version) const override;
    void Load(TStream& stream, int version) override;

private:
    TParamCollection& variables_;
};

class TReadListStatusPart final : public TStatusPart {
public:
    explicit TReadListStatusPart(TTovaReadList& readList) : readList_(readList) {}
    void Save(TStream& stream, int version) const override;
    void Load(TStream& stream, int version) override;

private:
    TTovaReadList& readList_;
};

class TImageDepthStatusPart final : public TStatusPart {
public:
    explicit TImageDepthStatusPart(TImageDepthFlag& flag) : flag_(flag) {}
    void Save(TStream& stream, int version) const override;
    void Load(TStream& stream, int version) override;

private:
    TImageDepthFlag& flag_;
};

// The status tables; records older than version 103 have none.
class TDatabaseStatusPart final : public TStatusPart {
public:
    static constexpr int kFirstStoredVersion = 103;

    explicit TDatabaseStatusPart(TDBManager& database) : database_(database) {}
    void Save(TStream& stream, int version) const override;
    void Load(TStream& stream, int version) override;

private:
    TDBManager& database_;
};

}  // namespace tova
