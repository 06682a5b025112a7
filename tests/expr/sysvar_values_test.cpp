#include <numbers>

#include "expr/param_collection.h"
#include "expr/param_data.h"
#include "expr/param_var.h"
#include "expr/sys_host.h"
#include "expr/system_variables.h"
#include "expr_test_util.h"

namespace tova::test {
namespace {

// A host whose state is plain fields.
class TStateHost : public TScriptHost,
                   public TInputHost,
                   public TComponentHost,
                   public THistoryHost,
                   public TSoundHost,
                   public TShellHost {
public:
    TSysHost AllRoles() { return {this, this, this, this, this, this}; }
    bool LClickFlag = false;
    int32_t MouseXValue = 10, MouseYValue = 20;
    bool Held[256] = {};
    bool Clicked[256] = {};
    bool Down = false, Up = false;
    std::unique_ptr<TCustomParam> Result;
    std::vector<std::string> Args;
    std::vector<std::string> Ports;
    std::vector<std::string> Fonts = {" Gothic", "Mincho ", "Mono"};
    std::string Active;
    int32_t ModeIndex = 0;
    int32_t HistoryMax = 100;
    bool Full = false;

    TCustomParam* ResultValue() override { return Result.get(); }
    int ParamCount() override { return static_cast<int>(Args.size()); }
    std::string ParamStr(int i) override { return Args.at(static_cast<size_t>(i)); }
    bool LClick() override { return LClickFlag; }
    void SetLClick(bool v) override { LClickFlag = v; }
    int32_t MouseX() override { return MouseXValue; }
    int32_t MouseY() override { return MouseYValue; }
    void SetMouseX(int32_t v) override { MouseXValue = v; }
    bool KeyState(TKeyTable table, int key) override {
        return table == TKeyTable::Push ? Held[key] : table == TKeyTable::Click ? Clicked[key] : false;
    }
    bool WheelDown() override { return Down; }
    bool WheelUp() override { return Up; }
    std::vector<std::string> MidiPorts() override { return Ports; }
    std::vector<std::string> FontNames(bool fixed) override {
        return fixed ? std::vector<std::string>{"Mono"} : Fonts;
    }
    std::string ActiveCompo() override { return Active; }
    void SetActiveCompo(std::string_view name) override { Active = name; }
    int32_t DisplayModeIndex() override { return ModeIndex; }
    void SetDisplayModeIndex(int32_t v) override { ModeIndex = v; }
    int32_t DefaultHistoryMaxCount() override { return HistoryMax; }
    void SetDefaultHistoryMaxCount(int32_t v) override { HistoryMax = v; }
    bool FullScreen() override { return Full; }
    void SetFullScreen(bool v) override { Full = v; }
    TLocalDateTime Now() override { return {2024, 2, 29, 5, 23, 59, 58}; }
};

class SysVarTest : public ::testing::Test {
protected:
    SysVarTest() : sys_(vars_, &roles_) { vars_.SetSystemHost(&sys_); }
    ~SysVarTest() override { vars_.SetSystemHost(nullptr); }

    TParamCollectionItem& V(std::string_view name) { return *vars_.FindItem(name); }

    TParamCollection vars_;
    TStateHost host_;
    TSysHost roles_ = host_.AllRoles();
    TSystemVariables sys_;
};

TEST_F(SysVarTest, BooleanFromStringTakesTheIntegerValue) {
    TParamCollectionItem& click = V("@LClick");
    EXPECT_EQ(click.GetParamType(), PT_BOOL);
    click.SetStr("1");
    EXPECT_TRUE(host_.LClickFlag);
    click.SetStr("TRUE");
    EXPECT_FALSE(host_.LClickFlag);
    click.SetStr("-3");
    EXPECT_TRUE(host_.LClickFlag);
    click.SetStr("x");
    EXPECT_FALSE(host_.LClickFlag);
    // The element write compares with "TRUE" instead.
    click.SetStrAt(0, "TRUE");
    EXPECT_TRUE(host_.LClickFlag);
    click.SetStrAt(5, "1");
    EXPECT_FALSE(host_.LClickFlag);
    click.SetInt(7);
    EXPECT_TRUE(host_.LClickFlag);
    click.SetFloat(0.0L);
    EXPECT_FALSE(host_.LClickFlag);
    host_.LClickFlag = true;
    EXPECT_EQ(click.GetStr(), "TRUE");
    EXPECT_EQ(click.GetInt(), 1);
    EXPECT_EQ(click.GetStrAt(99), "TRUE");  // a scalar answers any index
}

TEST_F(SysVarTest, IntegerFromBadStringKeepsTheValue) {
    TParamCollectionItem& delay = V("@TextDelay");
    EXPECT_EQ(delay.GetInt(), 50);
    delay.SetStr("120");
    EXPECT_EQ(vars_.TextDelay, 120);
    delay.SetStr("fast");
    EXPECT_EQ(vars_.TextDelay, 120);
    delay.SetStrAt(3, "");
    EXPECT_EQ(vars_.TextDelay, 120);
    delay.SetStr("$10");
    EXPECT_EQ(vars_.TextDelay, 16);
    delay.SetFloat(7.9L);
    EXPECT_EQ(vars_.TextDelay, 7);
    delay.SetBool(true);
    EXPECT_EQ(delay.GetStr(), "1");
    EXPECT_TRUE(delay.GetBool());

    V("@MouseX").SetStr("nope");
    EXPECT_EQ(host_.MouseXValue, 10);
    V("@MouseX").SetStr("300");
    EXPECT_EQ(host_.MouseXValue, 300);
    EXPECT_EQ(host_.MouseYValue, 20);
}

TEST_F(SysVarTest, ReadOnlyVariablesDropWrites) {
    host_.Args = {"a", "b"};
    V("@ParamCount").SetInt(9);
    EXPECT_EQ(V("@ParamCount").GetInt(), 2);
    V("@MouseY").SetInt(1);
    EXPECT_EQ(host_.MouseYValue, 20);
    V("@Pi").SetFloat(3.0L);
    EXPECT_NEAR(static_cast<double>(V("@Pi").GetFloat()), std::numbers::pi, 1e-15);
    V("@IsDebug").SetBool(true);
    EXPECT_FALSE(V("@IsDebug").GetBool());
    // Shape changes are ignored too.
    V("@TextDelay").SetDims({4});
    EXPECT_EQ(V("@TextDelay").GetCount(), 1);
    EXPECT_EQ(V("@TextDelay").GetDimCount(), 1);
}

TEST_F(SysVarTest, FloatConstantsAndTheirConversions) {
    EXPECT_EQ(V("@Pi").GetStr(), "3.14159265358979");
    EXPECT_EQ(V("@Pi").GetInt(), 3);
    EXPECT_EQ(V("@Pi").GetParamType(), PT_FLOAT);
    EXPECT_EQ(V("@1Hour").GetFloat() * 24, 1.0L);
    EXPECT_NEAR(static_cast<double>(V("@1Min").GetFloat() * 1440), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(V("@1Sec").GetFloat() * 86400), 1.0, 1e-15);
}

TEST_F(SysVarTest, StringVariablesOfTheCollection) {
    V("@Cursor").SetStr("hand");
    EXPECT_EQ(vars_.Cursor, "hand");
    V("@SelStr").SetInt(12);
    EXPECT_EQ(vars_.SelStr, "12");
    V("@SelStr").SetBool(false);
    EXPECT_EQ(V("@SelStr").GetStr(), "FALSE");
    vars_.SelStr = "TRUE";
    EXPECT_TRUE(V("@SelStr").GetBool());
    V("@SelIndex").SetStr("4");
    EXPECT_EQ(vars_.SelIndex, 4);
    EXPECT_EQ(V("@SelIndex").GetParamType(), PT_INT);
}

TEST_F(SysVarTest, KeyTablesAndWheel) {
    TParamCollectionItem& push = V("@KeyPush");
    host_.Held[65] = true;
    host_.Clicked[13] = true;
    EXPECT_EQ(push.GetCount(), 258);
    EXPECT_EQ(push.GetDimSize(0), 258);
    EXPECT_FALSE(push.GetBool());
    EXPECT_TRUE(push.GetBoolAt(65));
    EXPECT_EQ(push.GetStrAt(65), "TRUE");
    EXPECT_EQ(push.GetIntAt(66), 0);
    EXPECT_FALSE(push.GetBoolAt(13));
    EXPECT_TRUE(V("@KeyClick").GetBoolAt(13));
    EXPECT_FALSE(V("@KeyRepeat").GetBoolAt(65));
    EXPECT_FALSE(push.GetBoolAt(-1));
    EXPECT_FALSE(push.GetBoolAt(258));
    EXPECT_EQ(push.IndexOfStr("TRUE", true, false), 65);

    host_.Down = true;
    EXPECT_TRUE(push.GetBoolAt(256));
    EXPECT_TRUE(V("@KeyClick").GetBoolAt(256));
    EXPECT_FALSE(push.GetBoolAt(257));
    EXPECT_TRUE(V("@WheelDown").GetBool());
    EXPECT_FALSE(V("@WheelUp").GetBool());
    push.SetBoolAt(1, true);
    EXPECT_FALSE(push.GetBoolAt(1));
}

TEST_F(SysVarTest, ParamStrAndMidiPortsAreArrays) {
    TParamCollectionItem& params = V("@ParamStr");
    EXPECT_EQ(params.GetCount(), 0);
    host_.Args = {"first", "12"};
    EXPECT_EQ(params.GetCount(), 2);
    EXPECT_EQ(params.GetStr(), "");
    EXPECT_EQ(params.GetStrAt(0), "first");
    EXPECT_EQ(params.GetIntAt(1), 12);
    EXPECT_EQ(params.GetStrAt(2), "");
    EXPECT_EQ(params.GetStrAt(-1), "");

    TParamCollectionItem& ports = V("@MidiPorts");
    EXPECT_EQ(ports.GetCount(), 0);
    EXPECT_EQ(ports.GetStr(), "");
    host_.Ports = {"Synth A", "Synth B"};
    EXPECT_EQ(ports.GetCount(), 2);
    EXPECT_EQ(ports.GetStr(), "Synth A");
    EXPECT_EQ(ports.GetStrAt(1), "Synth B");
}

TEST_F(SysVarTest, ResultForwardsToTheTopFrame) {
    TParamCollectionItem& result = V("@Result");
    EXPECT_EQ(result.GetParamType(), 0);
    result.SetInt(5);  // dropped with an empty stack
    EXPECT_EQ(result.GetInt(), 0);

    host_.Result = std::make_unique<TParamInt>();
    EXPECT_EQ(result.GetParamType(), PT_INT);
    result.SetStr("42");
    EXPECT_EQ(host_.Result->GetInt(), 42);
    result.SetDims({3});
    result.SetIntAt(2, 7);
    EXPECT_EQ(host_.Result->GetCount(), 3);
    EXPECT_EQ(result.GetIntAt(2), 7);
}

TEST_F(SysVarTest, TempFollowsTheTargetByName) {
    TParamCollectionItem& temp = V("@Temp");
    vars_.AddItem(PT_STR);  // an unnamed temporary is never the target
    EXPECT_EQ(temp.GetParamType(), 0);
    vars_.TempTarget = "later";
    temp.SetInt(3);
    EXPECT_EQ(temp.GetInt(), 0);
    // Created after the target was chosen: @Temp sees it at once.
    vars_.Declare("later", PT_STR, VK_GLOBAL);
    EXPECT_EQ(temp.GetParamType(), PT_STR);
    temp.SetInt(3);
    EXPECT_EQ(V("later").GetStr(), "3");
    temp.SetDims({2});
    temp.SetStrAt(1, "b");
    EXPECT_EQ(V("later").GetStrAt(1), "b");
    EXPECT_EQ(temp.GetCount(), 2);
}

TEST_F(SysVarTest, TempStandingForItselfAnswersNothing) {
    vars_.TempTarget = "@Temp";
    EXPECT_EQ(V("@Temp").GetParamType(), 0);
    EXPECT_EQ(V("@Temp").GetInt(), 0);

    // Through a reference that leads back to @Temp.
    TParamCollectionItem* ref = vars_.AddItem(PT_NONE);
    ref->SetName("loop");
    ASSERT_TRUE(dynamic_cast<TParamVar&>(ref->Value()).Bind(&V("@Temp")));
    vars_.TempTarget = "loop";
    EXPECT_NO_THROW(V("@Temp").SetInt(1));
    EXPECT_EQ(V("@Temp").GetStr(), "");
}

TEST_F(SysVarTest, HostBackedVariables) {
    EXPECT_EQ(V("@Fonts").GetStr(), "Gothic\r\nMincho \r\nMono");
    EXPECT_EQ(V("@FixedFonts").GetStr(), "Mono");
    V("@ActiveCompo").SetStr("edit1");
    EXPECT_EQ(host_.Active, "edit1");
    V("@ActiveCompo").SetStr("");
    EXPECT_EQ(V("@ActiveCompo").GetStr(), "edit1");
    V("@DisplayModeIndex").SetInt(2);
    EXPECT_EQ(host_.ModeIndex, 2);
    V("@HistoryMaxCount").SetStr("30");
    EXPECT_EQ(host_.HistoryMax, 30);
    V("@FullScr").SetStr("1");
    EXPECT_TRUE(host_.Full);
}

TEST_F(SysVarTest, DateAndTimeFromTheClock) {
    EXPECT_EQ(V("@Year").GetInt(), 2024);
    EXPECT_EQ(V("@Month").GetInt(), 2);
    EXPECT_EQ(V("@Day").GetInt(), 29);
    EXPECT_EQ(V("@Week").GetInt(), 5);
    EXPECT_EQ(V("@Hour").GetInt(), 23);
    EXPECT_EQ(V("@Min").GetInt(), 59);
    EXPECT_EQ(V("@Sec").GetStr(), "58");
}

TEST(SysVarDefaultHostTest, AnswersNoneAndReadsThePlatformClock) {
    TParamCollection vars;
    TSystemVariables sys(vars);
    vars.SetSystemHost(&sys);
    EXPECT_EQ(vars.FindItem("@ScrWidth")->GetInt(), 0);
    EXPECT_EQ(vars.FindItem("@DisplayModeIndex")->GetInt(), -1);
    EXPECT_EQ(vars.FindItem("@Title")->GetStr(), "");
    EXPECT_FALSE(vars.FindItem("@SoundON")->GetBool());
    const int32_t month = vars.FindItem("@Month")->GetInt();
    EXPECT_GE(month, 1);
    EXPECT_LE(month, 12);
    const int32_t week = vars.FindItem("@Week")->GetInt();
    EXPECT_GE(week, 1);
    EXPECT_LE(week, 7);
    EXPECT_GE(vars.FindItem("@Year")->GetInt(), 2024);
    vars.SetSystemHost(nullptr);
}

}  // namespace
}  // namespace tova::test
