// tova eval [--var SPEC]... [--dump-vars FILE] TEXT: runs one expression
// over a fresh variable collection with the system variables, the built-in
// functions and an empty table database, and prints its value.
#include <fstream>
#include <iostream>
#include <random>

#include "core/encoding.h"
#include "core/error.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "expr/param_types.h"
#include "expr/sys_func_man.h"
#include "expr/system_variables.h"
#include "expr/tova_parser.h"
#include "expr/variable_dump.h"
#include "platform/file_system.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"
#include "vfs/file_manager.h"

namespace tova::sdk {

namespace {

int TypeCode(const std::string& name) {
    if (name == "int") return PT_INT;
    if (name == "float") return PT_FLOAT;
    if (name == "bool") return PT_BOOL;
    if (name == "str") return PT_STR;
    throw EUsage("--var: unknown type '" + name + "' (int, float, bool or str)");
}

// NAME:TYPE[=VALUE] or NAME:TYPE[D1,D2,...] (an array of default elements).
void CreateVariable(TParamCollection& vars, const std::string& spec) {
    const size_t colon = spec.find(':');
    if (colon == std::string::npos || colon == 0)
        throw EUsage("--var takes NAME:TYPE=VALUE, not '" + spec + "'");
    const std::string name = Utf8ToCp932(spec.substr(0, colon));
    std::string rest = spec.substr(colon + 1);
    std::optional<std::string> value;
    if (const size_t equals = rest.find('='); equals != std::string::npos) {
        value = Utf8ToCp932(rest.substr(equals + 1));
        rest.resize(equals);
    }
    TDynamicIntArray dims;
    if (const size_t open = rest.find('['); open != std::string::npos) {
        if (rest.back() != ']') throw EUsage("--var: the dimensions of '" + spec + "' lack their ']'");
        std::string list = rest.substr(open + 1, rest.size() - open - 2);
        rest.resize(open);
        for (size_t start = 0; start <= list.size();) {
            const size_t comma = std::min(list.find(',', start), list.size());
            dims.push_back(static_cast<int32_t>(ParseCount("--var", list.substr(start, comma - start))));
            start = comma + 1;
        }
    }
    TParamCollectionItem* item = vars.AddItem(TypeCode(rest));
    item->SetName(name);
    if (!dims.empty()) item->SetDims(dims);
    if (value) item->SetStr(*value);
}

}  // namespace

int RunEval(const TArgs& args) {
    // --var may be given many times: pick those out first.
    TArgs rest;
    std::vector<std::string> specs;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--var") {
            if (i + 1 >= args.size()) throw EUsage("--var needs a value");
            specs.push_back(args[++i]);
        } else if (args[i].starts_with("--var=")) {
            specs.push_back(args[i].substr(6));
        } else {
            rest.push_back(args[i]);
        }
    }
    const TCommandLine line(rest, {}, {"--dump-vars", "--seed"});
    line.ExpectOperands(1);

    TParamCollection vars;
    TSystemVariables systemVariables(vars);
    vars.SetSystemHost(&systemVariables);
    TDBManager database;
    TVrFileManagerOptions fileOptions;
    fileOptions.cdRoots = std::vector<std::string>{};
    TVrFileManager files(fileOptions);
    files.AddArchive("");
    files.SetDataDir(".");
    std::mt19937 random(line.Value("--seed")
                            ? static_cast<uint32_t>(ParseCount("--seed", *line.Value("--seed")))
                            : std::random_device{}());
    TSysFuncEnvironment environment;
    environment.Vars = &vars;
    environment.Files = &files;
    environment.Database = &database;
    environment.Random = &random;
    TSysFuncMan functions(environment);
    TOpeEvaluator evaluator(vars, &functions);

    for (const std::string& spec : specs)
        CreateVariable(vars, spec);
    TTovaParser parser;
    try {
        CompileExpression(Utf8ToCp932(line.Operands().front()), parser,
                          [&vars](std::string_view name) { return vars.FindItem(name) != nullptr; });
    } catch (const ETovaError& e) {
        std::cerr << "error: " << Cp932ToUtf8(e.Message()) << "\n";
        return 1;
    }
    std::string error;
    parser.Execute(evaluator, &error);

    const int type = parser.Result ? parser.Result->GetParamType() : PT_NONE;
    if (type >= PT_INT && type <= PT_STR) {
        std::cout << ParamTypeShortName(type) << " " << Cp932ToUtf8(parser.Result->GetStr()) << "\n";
    } else {
        std::cout << "none\n";
    }
    if (const auto dump = line.Value("--dump-vars")) {
        if (*dump == "-") {
            std::cout << VariableDumpJson(vars, &database);
        } else {
            std::ofstream out(*dump, std::ios::binary);
            out << VariableDumpJson(vars, &database);
            if (!out) throw ETovaError(Utf8ToCp932Lossy("cannot write the variable dump '" + *dump + "'"));
        }
    }
    // The player goes on silently after a failed expression; here the
    // author wants to know why there is no value.
    if (!error.empty()) {
        std::cerr << "error: " << Cp932ToUtf8(error) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace tova::sdk
