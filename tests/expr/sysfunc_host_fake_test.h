// A scriptable host of every role and a fixture that calls built-in functions the way
// the evaluator does: a result temporary of the result type, and operands
// that are constants or references bound to variables.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "expr/param_collection.h"
#include "expr/param_factory.h"
#include "expr/param_var.h"
#include "expr/sys_func_man.h"
#include "expr/sys_host.h"

namespace tova::test {

struct TFakeComponent {
    int Type = 2;
    std::map<std::pair<int, int>, bool> Flags;  // (flag, item) -> state
    std::map<int, int32_t> Groups;
    std::pair<int32_t, int32_t> Origin{0, 0};
    std::string Items;
    bool Cabinet = false;
    bool Primary = false;
    std::vector<TComponentEntry> Children;
    std::map<int, std::string> Props;
};

class TFakeHost : public TScriptHost,
                  public TInputHost,
                  public TComponentHost,
                  public THistoryHost,
                  public TSoundHost,
                  public TShellHost {
public:
    TSysHost AllRoles() { return {this, this, this, this, this, this}; }
    std::map<std::string, TFakeComponent> Compos;
    std::vector<TComponentEntry> Screen;
    std::vector<TSaveCaption> Captions;
    std::vector<TDisplayMode> Modes;
    std::map<std::string, std::pair<int32_t, int32_t>> Histories;  // name -> (count, max)
    std::optional<std::string> DialogAnswer;
    std::string SaveFolderAnswer;
    std::vector<TOverwriteAnswer> Answers;  // consumed in order; No when used up
    std::vector<std::string> Questions;
    std::vector<std::string> Opened;
    std::optional<TSaveScreenRequest> LastCapture;
    int32_t ScrW = 640, ScrH = 480;

    std::optional<int> ComponentType(std::string_view name) override {
        auto it = Compos.find(std::string(name));
        if (it == Compos.end()) return std::nullopt;
        return it->second.Type;
    }
    void GetProperty(std::string_view compo, int id, TCustomParam& result) override {
        result.SetStr(Compos[std::string(compo)].Props[id]);
    }
    bool SetProperty(std::string_view compo, int id, const TCustomParam& value) override {
        Compos[std::string(compo)].Props[id] = value.GetStr();
        return true;
    }
    std::optional<bool> GetItemFlag(std::string_view compo, TItemFlag flag, int item) override {
        auto& flags = Compos[std::string(compo)].Flags;
        auto it = flags.find({static_cast<int>(flag), item});
        return it == flags.end() ? false : it->second;
    }
    void SetItemFlag(std::string_view compo, TItemFlag flag, int item, bool value) override {
        Compos[std::string(compo)].Flags[{static_cast<int>(flag), item}] = value;
    }
    std::optional<int32_t> GetGroupIndex(std::string_view compo, int item) override {
        return Compos[std::string(compo)].Groups[item];
    }
    std::optional<std::pair<int32_t, int32_t>> ScreenOrigin(std::string_view name) override {
        auto it = Compos.find(std::string(name));
        if (it == Compos.end()) return std::nullopt;
        return it->second.Origin;
    }
    std::optional<std::string> ItemText(std::string_view name) override {
        auto it = Compos.find(std::string(name));
        if (it == Compos.end()) return std::nullopt;
        return it->second.Items;
    }
    bool InCabinet(std::string_view name) override {
        return Compos.count(std::string(name)) && Compos[std::string(name)].Cabinet;
    }
    bool InPrimary(std::string_view name) override {
        return Compos.count(std::string(name)) && Compos[std::string(name)].Primary;
    }
    std::vector<TComponentEntry> ScreenComponents() override { return Screen; }
    std::optional<std::vector<TComponentEntry>> ChildComponents(std::string_view name) override {
        auto it = Compos.find(std::string(name));
        if (it == Compos.end()) return std::nullopt;
        return it->second.Children;
    }
    std::string SaveCaption(int32_t slot) override {
        for (const TSaveCaption& c : Captions)
            if (c.Slot == slot) return c.Caption;
        return {};
    }
    std::vector<TSaveCaption> SaveCaptions() override { return Captions; }
    std::vector<TDisplayMode> DisplayModes() override { return Modes; }
    int32_t HistoryCount(std::string_view name) override {
        auto it = Histories.find(std::string(name));
        return it == Histories.end() ? -1 : it->second.first;
    }
    int32_t HistoryMaxCount(std::string_view name) override {
        auto it = Histories.find(std::string(name));
        return it == Histories.end() ? -1 : it->second.second;
    }
    bool SetHistoryMaxCount(std::string_view name, int32_t n) override {
        auto it = Histories.find(std::string(name));
        if (it == Histories.end()) return false;
        it->second.second = n;
        return true;
    }
    int32_t ScreenWidth() override { return ScrW; }
    int32_t ScreenHeight() override { return ScrH; }
    void OpenUrl(std::string_view target) override { Opened.emplace_back(target); }
    bool SaveScreen(const TSaveScreenRequest& request) override {
        LastCapture = request;
        return true;
    }
    bool SetWallPaper(std::string_view image, int32_t style) override {
        return image == "wall.brz" && style == 2;
    }
    std::optional<std::string> SelectOpenFile(std::string_view) override { return DialogAnswer; }
    std::optional<std::string> SelectSaveFile(std::string_view) override { return DialogAnswer; }
    std::optional<std::string> SelectDirectory() override { return DialogAnswer; }
    std::string SaveFolder() override { return SaveFolderAnswer; }
    TOverwriteAnswer AskOverwrite(std::string_view message, bool) override {
        Questions.emplace_back(message);
        if (Answers.empty()) return TOverwriteAnswer::No;
        const TOverwriteAnswer answer = Answers.front();
        Answers.erase(Answers.begin());
        return answer;
    }
};

class TSysFuncFixture : public ::testing::Test {
protected:
    TSysFuncFixture() : man_(TSysFuncEnvironment{&vars_, nullptr, nullptr, &roles_, nullptr}) {}

    TCustomParam* Const(int type, std::string_view text) {
        owned_.push_back(CreateParam(type));
        owned_.back()->SetStr(text);
        return owned_.back().get();
    }
    TCustomParam* Str(std::string_view text) { return Const(PT_STR, text); }
    TCustomParam* Int(int32_t value) {
        owned_.push_back(CreateParam(PT_INT));
        owned_.back()->SetInt(value);
        return owned_.back().get();
    }
    TCustomParam* Bool(bool value) {
        owned_.push_back(CreateParam(PT_BOOL));
        owned_.back()->SetBool(value);
        return owned_.back().get();
    }
    // A reference to the variable, declared with the type when missing.
    TCustomParam* Ref(std::string_view name, int type = PT_STR) {
        TParamCollectionItem* item = vars_.FindItem(name);
        if (!item) item = vars_.Declare(name, type, VK_GLOBAL).Item;
        auto ref = std::make_unique<TParamVar>(&vars_);
        ref->Bind(item);
        owned_.push_back(std::move(ref));
        return owned_.back().get();
    }
    TParamCollectionItem& Var(std::string_view name) { return *vars_.FindItem(name); }

    TParamCollectionItem& Call(int id, int resultType, std::vector<TCustomParam*> args = {}) {
        TParamCollectionItem* target = vars_.AddItem(resultType);
        man_.CallFunction(*target, id, args);
        return *target;
    }

    TParamCollection vars_;
    TFakeHost host_;
    TSysHost roles_ = host_.AllRoles();
    TSysFuncMan man_;
    std::vector<std::unique_ptr<TCustomParam>> owned_;
};

}  // namespace tova::test
